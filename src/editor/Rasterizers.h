#pragma once

#include "document/Raster.h"

#include <functional>

namespace vemurion {

// Called once per dot a rasteriser covers. Dots may lie outside any picture; the caller clips.
using PlotFn = std::function<void(int x, int y)>;

// The dots of the line from `from` (included) to `to` (excluded): 8-connected, exactly one dot
// per step along the longer axis. from == to covers no dot.
void drawLine(Dot from, Dot to, const PlotFn& plot);

// The outline of the ellipse inscribed in the box whose left and top edges are included and
// whose right and bottom edges are excluded (reversed edges are normalised). The outline is
// 8-connected, symmetric about both middle lines of the box and touches all four sides.
void drawEllipse(int left, int top, int right, int bottom, const PlotFn& plot);
// The same ellipse filled: exactly its outline plus every dot inside it.
void fillEllipse(int left, int top, int right, int bottom, const PlotFn& plot);

// Gives `fill` to the dot (x, y) and every dot connected to it through left, right, up and down
// neighbours, as long as it has the colour `surface`. Nothing happens when (x, y) lies outside
// the picture or has another colour.
void floodFill(Raster& picture, int x, int y, Rgb surface, Rgb fill);

} // namespace vemurion
