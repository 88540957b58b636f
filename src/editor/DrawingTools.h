#pragma once

#include "document/Raster.h"
#include "editor/Rasterizers.h"
#include "spine/Editor.h"

namespace vemurion {

// Pen, Line, Box, BoxFill, Circle and CircleFill.
bool isDrawingTool(EditTool tool);
// Line, Box, BoxFill, Circle and CircleFill: the tools that draw a figure from the press dot.
bool isFigureTool(EditTool tool);

// The SHIFT and CTRL constraint steps on the corners of a figure: SHIFT makes both extents the
// larger one (45-degree line, square, circle); CTRL then makes the press dot (x0, y0) the centre.
void constrainCorners(int& x0, int& y0, int& x1, int& y1, bool shift, bool ctrl);

struct FigureStroke {
    EditTool tool = EditTool::Pen;
    Dot start;  // the press dot
    Dot target; // the pointer dot
    Rgb colour = kBlack;
    bool shift = false;
    bool ctrl = false;
};

// Draws one step of a stroke into `work` (48 x 32), clipped to the picture.
// Pen: the line from `penPosition` to the target, then the target dot; `penPosition` becomes
// the target. Figures: `work` becomes `snapshot` again, then the figure from the press dot to the
// target, after the constraint steps, is drawn on it.
void drawFigureInto(Raster& work, const Raster& snapshot, Dot& penPosition,
                    const FigureStroke& stroke);

} // namespace vemurion
