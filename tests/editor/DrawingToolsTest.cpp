#include "editor/DrawingTools.h"
#include "editor/Rasterizers.h"
#include "support/Pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace vemurion {
namespace {

int blackDots(const Raster& picture) {
    return static_cast<int>(std::count(picture.dots().begin(), picture.dots().end(), kBlack));
}

Raster drawnFigure(const FigureStroke& stroke) {
    Raster work(48, 32);
    Dot pen = stroke.start;
    drawFigureInto(work, Raster(48, 32), pen, stroke);
    return work;
}

TEST(ConstrainCornersTest, ShiftSquaresThenCtrlCentres) {
    struct Case {
        const char* name;
        Dot start;
        Dot target;
        bool shift;
        bool ctrl;
        Dot corner0;
        Dot corner1;
    };
    const Case cases[] = {
        {"shift, wider than tall", {10, 10}, {14, 11}, true, false, {10, 10}, {14, 14}},
        {"shift, wider, upwards", {10, 10}, {14, 8}, true, false, {10, 10}, {14, 6}},
        {"shift, taller, leftwards", {10, 10}, {8, 15}, true, false, {10, 10}, {5, 15}},
        {"shift, straight up", {10, 10}, {10, 6}, true, false, {10, 10}, {14, 6}},
        {"shift, straight left", {10, 10}, {6, 10}, true, false, {10, 10}, {6, 14}},
        {"ctrl", {10, 10}, {12, 13}, false, true, {8, 7}, {12, 13}},
        {"shift and ctrl", {10, 10}, {14, 11}, true, true, {6, 6}, {14, 14}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int x0 = c.start.x;
        int y0 = c.start.y;
        int x1 = c.target.x;
        int y1 = c.target.y;
        constrainCorners(x0, y0, x1, y1, c.shift, c.ctrl);
        EXPECT_EQ((Dot{x0, y0}), c.corner0);
        EXPECT_EQ((Dot{x1, y1}), c.corner1);
    }
}

TEST(DrawFigureTest, DrawsEachFigure) {
    struct Case {
        const char* name;
        FigureStroke stroke;
        Dot corner; // top-left dot of the region shown in `picture`
        std::vector<std::string> picture;
    };
    const Case cases[] = {
        {"line click", {EditTool::Line, {3, 3}, {3, 3}}, {2, 2}, {"...", ".#.", "..."}},
        {"line covers both ends",
         {EditTool::Line, {0, 0}, {5, 2}},
         {0, 0},
         {"##....", "..##..", "....##"}},
        {"line with shift",
         {EditTool::Line, {10, 10}, {14, 11}, kBlack, true},
         {10, 10},
         {"#....", ".#...", "..#..", "...#.", "....#"}},
        {"box", {EditTool::Box, {13, 12}, {10, 10}}, {10, 10}, {"####", "#..#", "####"}},
        {"box one dot wide", {EditTool::Box, {4, 1}, {4, 3}}, {3, 0}, {"...", ".#.", ".#.", ".#."}},
        {"box click sets its dot", {EditTool::Box, {4, 4}, {4, 4}}, {3, 3}, {"...", ".#.", "..."}},
        {"box with ctrl",
         {EditTool::Box, {10, 10}, {12, 13}, kBlack, false, true},
         {8, 7},
         {"#####", "#...#", "#...#", "#...#", "#...#", "#...#", "#####"}},
        {"box with shift dragged left",
         {EditTool::Box, {10, 10}, {6, 10}, kBlack, true},
         {6, 10},
         {"#####", "#...#", "#...#", "#...#", "#####"}},
        {"filled box", {EditTool::BoxFill, {2, 1}, {0, 0}}, {0, 0}, {"###.", "###.", "...."}},
        {"circle dragged left",
         {EditTool::Circle, {10, 10}, {5, 12}},
         {5, 10},
         {".####.", "#....#", ".####."}},
        {"circle dragged right",
         {EditTool::Circle, {5, 12}, {10, 10}},
         {5, 10},
         {".####.", "#....#", ".####."}},
        {"circle with ctrl",
         {EditTool::Circle, {10, 10}, {7, 10}, kBlack, false, true},
         {6, 9},
         {".........", ".#######.", "........."}},
        {"circle with shift dragged up",
         {EditTool::Circle, {10, 10}, {10, 6}, kBlack, true},
         {10, 6},
         {".###.", "#...#", "#...#", "#...#", ".###."}},
        {"filled circle",
         {EditTool::CircleFill, {14, 10}, {10, 6}},
         {10, 6},
         {".###.", "#####", "#####", "#####", ".###."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Raster work = drawnFigure(c.stroke);
        const int w = static_cast<int>(c.picture[0].size());
        const int h = static_cast<int>(c.picture.size());
        EXPECT_TRUE(test::pictureMatches(work.crop(c.corner.x, c.corner.y, w, h), c.picture));
        EXPECT_EQ(blackDots(work), blackDots(test::pictureFromText(c.picture)))
            << "dots drawn outside the region shown";
    }
}

TEST(DrawFigureTest, ClipsFiguresReachingBeyondThePicture) {
    // The same stroke drawn 50 dots further in on a large picture must show the same dots once
    // that picture is cropped back to 48 x 32.
    const FigureStroke strokes[] = {
        {EditTool::Line, {-10, -5}, {60, 40}},
        {EditTool::Box, {40, 20}, {60, 40}},
        {EditTool::BoxFill, {-5, 30}, {5, 40}},
        {EditTool::Circle, {30, 20}, {70, 50}},
        {EditTool::CircleFill, {-20, -20}, {10, 8}},
        {EditTool::Circle, {47, 31}, {40, 60}, kBlack, true, true},
    };
    for (const FigureStroke& stroke : strokes) {
        SCOPED_TRACE(static_cast<int>(stroke.tool));
        const Raster work = drawnFigure(stroke);
        FigureStroke shifted = stroke;
        shifted.start = {stroke.start.x + 50, stroke.start.y + 50};
        shifted.target = {stroke.target.x + 50, stroke.target.y + 50};
        Raster large(148, 132);
        Dot pen = shifted.start;
        drawFigureInto(large, Raster(148, 132), pen, shifted);
        EXPECT_GT(blackDots(work), 0);
        EXPECT_EQ(work, large.crop(50, 50, 48, 32));
    }
}

TEST(DrawFigureTest, PenDrawsFromItsLastDot) {
    const Raster snapshot(48, 32);
    Raster work(48, 32);
    Dot pen{0, 0};
    drawFigureInto(work, snapshot, pen, {EditTool::Pen, {0, 0}, {0, 0}});
    EXPECT_EQ(blackDots(work), 1);
    EXPECT_EQ(work.at(0, 0), kBlack);

    drawFigureInto(work, snapshot, pen, {EditTool::Pen, {0, 0}, {20, 5}});
    EXPECT_EQ(pen, (Dot{20, 5}));
    EXPECT_PICTURE(work,
                   {"###..................", "...####..............", ".......####..........",
                    "...........####......", "...............####..", "...................##"});
    EXPECT_EQ(blackDots(work), 21);

    // The pen keeps what is already on the picture; a white pen erases.
    drawFigureInto(work, snapshot, pen, {EditTool::Pen, {0, 0}, {20, 7}, kWhite});
    EXPECT_EQ(pen, (Dot{20, 7}));
    EXPECT_EQ(blackDots(work), 20);
    EXPECT_EQ(work.at(20, 5), kWhite);
}

TEST(DrawFigureTest, FiguresRestartFromTheSnapshotAndOtherToolsDrawNothing) {
    Raster snapshot(48, 32);
    snapshot.set(0, 0, kBlack);
    Raster work = snapshot;
    Dot pen{5, 5};
    drawFigureInto(work, snapshot, pen, {EditTool::Line, {2, 0}, {6, 0}});
    drawFigureInto(work, snapshot, pen, {EditTool::Line, {2, 0}, {2, 2}});
    EXPECT_PICTURE(work, {"#.#....", "..#....", "..#...."});
    EXPECT_EQ(blackDots(work), 4);
    EXPECT_EQ(pen, (Dot{5, 5}));

    for (const EditTool tool : {EditTool::Select, EditTool::Paint}) {
        const Raster before = work;
        drawFigureInto(work, snapshot, pen, {tool, {0, 0}, {6, 2}});
        EXPECT_EQ(work, before);
    }
}

} // namespace
} // namespace vemurion
