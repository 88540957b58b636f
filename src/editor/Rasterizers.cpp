#include "editor/Rasterizers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

namespace vemurion {

namespace {

// Floor of n / d for d > 0.
long long floorDiv(long long n, long long d) {
    return n >= 0 ? n / d : -((-n + d - 1) / d);
}

// n / d (d > 0) rounded to the nearest integer, halves rounded down. Rounding halves the same way
// whichever end a line starts from makes the line from A to B cover the same dots as the line
// from B to A, apart from the excluded end.
long long roundHalfDown(long long n, long long d) {
    return floorDiv(2 * n + d - 1, 2 * d);
}

// One quadrant of an ellipse in doubled coordinates centred on the box: u = 2 * column + 1 - W,
// v = 2 * row + 1 - H, so dot centres sit on odd values for an even extent and on even values
// for an odd one, and the ellipse is (u / W)^2 + (v / H)^2 = 1. The path runs from the bottom
// middle dot (smallest u >= 0, v = H - 1) to the right middle dot (u = W - 1, smallest v >= 0) in
// steps of 2 along u, v or both.
struct QuarterDot {
    int u = 0;
    int v = 0;
};

// First-order estimate of how far (u, v) lies from the ellipse: |F| / |grad F| with
// F = u^2 H^2 + v^2 W^2 - W^2 H^2. Plain |F| grows faster outside the curve than inside and would
// pull the outline inwards.
double distanceToEllipse(int u, int v, int w, int h) {
    const double du = u;
    const double dv = v;
    const double ww = static_cast<double>(w) * w;
    const double hh = static_cast<double>(h) * h;
    const double f = du * du * hh + dv * dv * ww - ww * hh;
    const double gu = du * hh;
    const double gv = dv * ww;
    const double gradient = 2.0 * std::sqrt(gu * gu + gv * gv);
    return gradient > 0.0 ? std::abs(f) / gradient : std::abs(f);
}

std::vector<QuarterDot> ellipseQuarter(int w, int h) {
    const int uStart = w % 2 == 0 ? 1 : 0;
    const int vEnd = h % 2 == 0 ? 1 : 0;
    const int uEnd = w - 1;
    const int vStart = h - 1;

    std::vector<QuarterDot> path{{uStart, vStart}};
    int u = uStart;
    int v = vStart;
    while (u != uEnd || v != vEnd) {
        int du = 0;
        int dv = 0;
        if (u == uEnd) {
            dv = -2;
        } else if (v == vEnd) {
            du = 2;
        } else {
            // The path enters the middle column only at its first dot and the middle row only at
            // its last: a straight step there would leave a 2 x 2 block or a one-dot spike once the
            // quarter is mirrored.
            const bool mayStepDown = !(u == uStart && v == vStart) && v - 2 != vEnd;
            const bool mayStepDiagonally = v - 2 != vEnd || u + 2 == uEnd;
            double best = distanceToEllipse(u + 2, v, w, h);
            du = 2;
            if (mayStepDiagonally) {
                const double d = distanceToEllipse(u + 2, v - 2, w, h);
                if (d <= best) {
                    best = d;
                    dv = -2;
                }
            }
            if (mayStepDown && distanceToEllipse(u, v - 2, w, h) < best) {
                du = 0;
                dv = -2;
            }
        }
        u += du;
        v += dv;
        const QuarterDot next{u, v};
        // A sideways step followed by a vertical one, or the reverse, leaves a corner dot whose
        // neighbours already touch diagonally; drop it.
        if (path.size() >= 2) {
            const QuarterDot before = path[path.size() - 2];
            if (next.u - before.u == 2 && before.v - next.v == 2) {
                path.back() = next;
                continue;
            }
        }
        path.push_back(next);
    }
    return path;
}

struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

Box normalisedBox(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    return {left, top, right - left, bottom - top};
}

} // namespace

void drawLine(Dot from, Dot to, const PlotFn& plot) {
    const long long dx = static_cast<long long>(to.x) - from.x;
    const long long dy = static_cast<long long>(to.y) - from.y;
    const long long steps = std::max(std::llabs(dx), std::llabs(dy));
    for (long long i = 0; i < steps; ++i) {
        const long long x = from.x + roundHalfDown(i * dx, steps);
        const long long y = from.y + roundHalfDown(i * dy, steps);
        plot(static_cast<int>(x), static_cast<int>(y));
    }
}

void drawEllipse(int left, int top, int right, int bottom, const PlotFn& plot) {
    const Box box = normalisedBox(left, top, right, bottom);
    if (box.width == 0 || box.height == 0) return;
    const auto column = [&](int u) { return box.left + (u + box.width - 1) / 2; };
    const auto row = [&](int v) { return box.top + (v + box.height - 1) / 2; };
    // Dots on a middle line are their own mirror image; plot them once.
    for (const QuarterDot& d : ellipseQuarter(box.width, box.height)) {
        plot(column(d.u), row(d.v));
        if (d.u != 0) plot(column(-d.u), row(d.v));
        if (d.v != 0) plot(column(d.u), row(-d.v));
        if (d.u != 0 && d.v != 0) plot(column(-d.u), row(-d.v));
    }
}

void fillEllipse(int left, int top, int right, int bottom, const PlotFn& plot) {
    const Box box = normalisedBox(left, top, right, bottom);
    if (box.width == 0 || box.height == 0) return;
    // The quarter path visits every v once or more, rightmost dot last.
    std::vector<int> reach(static_cast<std::size_t>(box.height), 0);
    for (const QuarterDot& d : ellipseQuarter(box.width, box.height)) {
        const int lower = box.top + (d.v + box.height - 1) / 2;
        const int upper = box.top + (box.height - 1 - d.v) / 2;
        const int right = box.left + (d.u + box.width - 1) / 2;
        reach[static_cast<std::size_t>(lower - box.top)] = right;
        reach[static_cast<std::size_t>(upper - box.top)] = right;
    }
    for (int y = 0; y < box.height; ++y) {
        const int right = reach[static_cast<std::size_t>(y)];
        for (int x = 2 * box.left + box.width - 1 - right; x <= right; ++x)
            plot(x, box.top + y);
    }
}

void floodFill(Raster& picture, int x, int y, Rgb surface, Rgb fill) {
    if (surface == fill || !picture.contains(x, y) || picture.at(x, y) != surface) return;
    // Scanline fill: each popped seed fills its whole run of `surface` dots in the row, then
    // pushes one seed per run of `surface` dots found directly above and below it.
    std::vector<Dot> seeds{{x, y}};
    const auto pushRuns = [&](int left, int right, int row) {
        if (row < 0 || row >= picture.height()) return;
        bool inRun = false;
        for (int col = left; col <= right; ++col) {
            const bool open = picture.at(col, row) == surface;
            if (open && !inRun) seeds.push_back({col, row});
            inRun = open;
        }
    };
    while (!seeds.empty()) {
        const Dot seed = seeds.back();
        seeds.pop_back();
        if (picture.at(seed.x, seed.y) != surface) continue;
        int left = seed.x;
        int right = seed.x;
        while (left > 0 && picture.at(left - 1, seed.y) == surface)
            --left;
        while (right < picture.width() - 1 && picture.at(right + 1, seed.y) == surface)
            ++right;
        for (int col = left; col <= right; ++col)
            picture.set(col, seed.y, fill);
        pushRuns(left, right, seed.y - 1);
        pushRuns(left, right, seed.y + 1);
    }
}

} // namespace vemurion
