#include "editor/DrawingTools.h"

#include <cstdlib>

namespace vemurion {

namespace {

// Zero counts as positive: a SHIFT drag straight up or down grows the square to the right, one
// straight left or right grows it downwards.
int signOf(int v) {
    return v < 0 ? -1 : 1;
}

void drawBoxOutline(Raster& work, int x0, int y0, int x1, int y1, Rgb colour) {
    const PlotFn plot = [&](int x, int y) { work.set(x, y, colour); };
    // Each side covers its first corner and leaves the next one to the following side. A click
    // without movement makes four empty sides, so the corner dot is set on its own: the box of
    // one dot is that dot.
    drawLine({x0, y0}, {x1, y0}, plot);
    drawLine({x1, y0}, {x1, y1}, plot);
    drawLine({x1, y1}, {x0, y1}, plot);
    drawLine({x0, y1}, {x0, y0}, plot);
    plot(x0, y0);
}

void drawEllipseFigure(Raster& work, const FigureStroke& stroke, int x0, int y0, int x1, int y1) {
    // The ellipse primitive excludes its right and bottom edges, and a drag to the left or upwards
    // hands it those edges as x0 and y0. Shifting both corners by one dot makes the box, once the
    // primitive swaps the edges back, cover exactly the dots from one corner to the other.
    if (stroke.target.x < stroke.start.x) {
        ++x0;
        --x1;
    }
    if (stroke.target.y < stroke.start.y) {
        ++y0;
        --y1;
    }
    const Rgb colour = stroke.colour;
    const PlotFn plot = [&](int x, int y) { work.set(x, y, colour); };
    if (stroke.tool == EditTool::CircleFill) {
        fillEllipse(x0, y0, x1 + 1, y1 + 1, plot);
    } else {
        drawEllipse(x0, y0, x1 + 1, y1 + 1, plot);
    }
}

} // namespace

bool isDrawingTool(EditTool tool) {
    return tool == EditTool::Pen || isFigureTool(tool);
}

bool isFigureTool(EditTool tool) {
    switch (tool) {
    case EditTool::Line:
    case EditTool::Box:
    case EditTool::BoxFill:
    case EditTool::Circle:
    case EditTool::CircleFill:
        return true;
    case EditTool::Pen:
    case EditTool::Select:
    case EditTool::Paint:
        return false;
    }
    return false;
}

void constrainCorners(int& x0, int& y0, int& x1, int& y1, bool shift, bool ctrl) {
    if (shift) {
        const int dx = x1 - x0;
        const int dy = y1 - y0;
        if (std::abs(dx) > std::abs(dy)) {
            y1 = y0 + signOf(dy) * std::abs(dx);
        } else {
            x1 = x0 + signOf(dx) * std::abs(dy);
        }
    }
    if (ctrl) {
        x0 = 2 * x0 - x1;
        y0 = 2 * y0 - y1;
    }
}

void drawFigureInto(Raster& work, const Raster& snapshot, Dot& penPosition,
                    const FigureStroke& stroke) {
    const Rgb colour = stroke.colour;
    const PlotFn plot = [&](int x, int y) { work.set(x, y, colour); };
    if (stroke.tool == EditTool::Pen) {
        drawLine(penPosition, stroke.target, plot);
        work.set(stroke.target.x, stroke.target.y, colour);
        penPosition = stroke.target;
        return;
    }
    if (!isFigureTool(stroke.tool)) return;

    work = snapshot;
    int x0 = stroke.start.x;
    int y0 = stroke.start.y;
    int x1 = stroke.target.x;
    int y1 = stroke.target.y;
    constrainCorners(x0, y0, x1, y1, stroke.shift, stroke.ctrl);
    switch (stroke.tool) {
    case EditTool::Line:
        drawLine({x0, y0}, {x1, y1}, plot);
        work.set(x1, y1, colour);
        break;
    case EditTool::Box:
        drawBoxOutline(work, x0, y0, x1, y1, colour);
        break;
    case EditTool::BoxFill:
        work.fillRect(x0, y0, x1, y1, colour);
        break;
    case EditTool::Circle:
    case EditTool::CircleFill:
        drawEllipseFigure(work, stroke, x0, y0, x1, y1);
        break;
    case EditTool::Pen:
    case EditTool::Select:
    case EditTool::Paint:
        break;
    }
}

} // namespace vemurion
