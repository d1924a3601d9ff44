// The outline's bounds against boxes, anchors and the way between two anchors. The box is closed:
// an edge or a corner in common is contact, the smallest step past it is none.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/ClipBox.h"

namespace {

// left 0, right 10, bottom 0, top 10
constexpr Box kOutline{0, 10, 10, 0};

Box Rect(double left, double bottom, double right, double top) { return Box{left, top, right, bottom}; }

double Past(double x, double away) { return std::nextafter(x, away); }

struct BoxCase {
    const char* name;
    Box art;
    bool outside;
    bool inside;
};

const BoxCase kBoxCases[] = {
    {"the same box", Rect(0, 0, 10, 10), false, true},
    {"within", Rect(2, 3, 4, 5), false, true},
    {"covering", Rect(-5, -5, 15, 15), false, false},
    {"across the right edge", Rect(5, 2, 15, 4), false, false},
    {"sharing the right edge from outside", Rect(10, 2, 15, 4), false, false},
    {"sharing the top edge from outside", Rect(2, 10, 4, 12), false, false},
    {"sharing the left edge from inside", Rect(0, 2, 4, 4), false, true},
    {"touching the top right corner", Rect(10, 10, 12, 12), false, false},
    {"touching the bottom left corner", Rect(-2, -2, 0, 0), false, false},
    {"just past the right edge", Rect(Past(10, 20), 2, 15, 4), true, false},
    {"just past the bottom edge", Rect(2, -4, 4, Past(0, -1)), true, false},
    {"just past the corner diagonally", Rect(Past(10, 20), Past(10, 20), 12, 12), true, false},
    {"beside, overlapping in height", Rect(20, 2, 30, 8), true, false},
    {"above, overlapping in width", Rect(2, 20, 8, 30), true, false},
    {"a point on the edge", Rect(10, 5, 10, 5), false, true},
    {"a point in the middle", Rect(5, 5, 5, 5), false, true},
    {"a point outside", Rect(11, 5, 11, 5), true, false},
    {"a level line across", Rect(-5, 5, 15, 5), false, false},
    {"a level line on the top edge", Rect(2, 10, 8, 10), false, true},
    {"an upright line beside", Rect(-1, 2, -1, 8), true, false},
};

TEST(ClipBoxTest, BoxesAgainstTheOutline) {
    for (const BoxCase& c : kBoxCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WhollyOutside(kOutline, c.art), c.outside);
        EXPECT_EQ(WhollyInside(kOutline, c.art), c.inside);
        // Contact is symmetric.
        EXPECT_EQ(WhollyOutside(c.art, kOutline), c.outside);
    }
}

struct PointCase {
    const char* name;
    PathPoint p;
    bool inside;
};

const PointCase kPointCases[] = {
    {"middle", {5, 5}, true},
    {"on the left edge", {0, 5}, true},
    {"on the top edge", {5, 10}, true},
    {"on the bottom right corner", {10, 0}, true},
    {"just left of the left edge", {Past(0, -1), 5}, false},
    {"just above the top edge", {5, Past(10, 20)}, false},
    {"just past the corner", {Past(10, 20), Past(0, -1)}, false},
    {"far away", {-100, 100}, false},
};

TEST(ClipBoxTest, AnchorsAgainstTheOutline) {
    for (const PointCase& c : kPointCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AnchorInside(kOutline, c.p), c.inside);
    }
}

PathAnchor Corner(double h, double v) { return {{h, v}, {h, v}, {h, v}}; }

PathAnchor Smooth(PathPoint p, PathPoint in, PathPoint out) { return {p, in, out}; }

// The same way walked backwards: the anchors swap, and so do their control points.
PathAnchor Turned(const PathAnchor& a) { return {a.p, a.out, a.in}; }

struct SegmentCase {
    const char* name;
    PathAnchor from, to;
    bool meets;
};

const SegmentCase kSegmentCases[] = {
    {"inside", Corner(2, 2), Corner(8, 8), true},
    {"from inside to outside", Corner(5, 5), Corner(20, 5), true},
    {"across, both ends outside", Corner(-10, 5), Corner(20, 5), true},
    {"diagonally across, both ends outside", Corner(-5, -5), Corner(15, 15), true},
    {"ending on the edge", Corner(-10, 5), Corner(0, 5), true},
    {"along the top edge", Corner(-5, 10), Corner(15, 10), true},
    {"on the edge's line, beyond the box", Corner(12, 10), Corner(20, 10), false},
    {"through the top right corner only", Corner(5, 15), Corner(15, 5), true},
    {"just missing the top right corner", Corner(5, Past(15, 20)), Corner(15, Past(5, 20)), false},
    {"level, just above the box", Corner(-5, Past(10, 20)), Corner(15, Past(10, 20)), false},
    {"upright, beside the box", Corner(-1, -5), Corner(-1, 15), false},
    {"beside, sloping away", Corner(11, 0), Corner(20, 10), false},
    {"towards the box, stopping short", Corner(-10, 5), Corner(-1, 5), false},
    {"a point inside", Corner(5, 5), Corner(5, 5), true},
    {"a point on the corner", Corner(0, 0), Corner(0, 0), true},
    {"a point outside", Corner(-1, 5), Corner(-1, 5), false},
    // A curve is judged by the box of its anchors and control points.
    {"a curve dipping into the box from above", Smooth({-5, 15}, {-5, 15}, {2, 0}), Smooth({15, 15}, {8, 0}, {15, 15}),
     true},
    {"a curve bulging away above the box", Smooth({-5, 12}, {-5, 12}, {2, 30}), Smooth({15, 12}, {8, 30}, {15, 12}),
     false},
    // The curve itself stays above v = 12; its control point alone reaches the edge.
    {"a curve whose control point touches the edge", Smooth({-5, 20}, {-5, 20}, {5, 10}),
     Smooth({15, 20}, {15, 20}, {15, 20}), true},
    {"a curve beside the box", Smooth({-5, -5}, {-5, -5}, {-8, 5}), Smooth({-5, 15}, {-8, 5}, {-5, 15}), false},
};

TEST(ClipBoxTest, WaysBetweenAnchorsAgainstTheOutline) {
    for (const SegmentCase& c : kSegmentCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SegmentMeetsBox(c.from, c.to, kOutline), c.meets);
        EXPECT_EQ(SegmentMeetsBox(Turned(c.to), Turned(c.from), kOutline), c.meets);
    }
}

// Exact on a small integer grid: a line meets the closed box when their boxes meet and the box's
// corners are not all strictly on one side of the line.
bool MeetsByCorners(PathPoint a, PathPoint b, const Box& box) {
    if (WhollyOutside(box, Rect(std::min(a.h, b.h), std::min(a.v, b.v), std::max(a.h, b.h), std::max(a.v, b.v))))
        return false;
    int above = 0, below = 0;
    for (const PathPoint c : {PathPoint{box.left, box.bottom}, PathPoint{box.right, box.bottom},
                              PathPoint{box.right, box.top}, PathPoint{box.left, box.top}}) {
        const double side = (b.h - a.h) * (c.v - a.v) - (b.v - a.v) * (c.h - a.h);
        above += side > 0;
        below += side < 0;
    }
    return above < 4 && below < 4;
}

TEST(ClipBoxTest, StraightWaysAgreeWithTheCornerSides) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(-4, 14);
    for (int round = 0; round < 20000; ++round) {
        const PathPoint a{double(coordinate(random)), double(coordinate(random))};
        const PathPoint b{double(coordinate(random)), double(coordinate(random))};
        SCOPED_TRACE(std::to_string(a.h) + "," + std::to_string(a.v) + " to " + std::to_string(b.h) + "," +
                     std::to_string(b.v));
        ASSERT_EQ(SegmentMeetsBox(Corner(a.h, a.v), Corner(b.h, b.v), kOutline), MeetsByCorners(a, b, kOutline));
    }
}

}  // namespace
