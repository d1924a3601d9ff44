// The area an adjust outline encloses, by the even-odd rule. Expected values are worked out by
// hand from the shapes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OutlineArea.h"

namespace {

OutlineAnchor Corner(double h, double v) { return {{h, v}, {h, v}, {h, v}}; }

std::vector<OutlineAnchor> Corners(std::initializer_list<OutlinePoint> points) {
    std::vector<OutlineAnchor> anchors;
    for (const OutlinePoint& p : points) anchors.push_back(Corner(p.h, p.v));
    return anchors;
}

struct AreaCase {
    const char* name;
    std::vector<OutlineAnchor> anchors;
    double area;
    double tolerance;
};

class OutlineAreaTest : public ::testing::TestWithParam<AreaCase> {};

TEST_P(OutlineAreaTest, MeasuresByTheEvenOddRule) {
    const AreaCase& c = GetParam();
    const double area = OutlineArea(c.anchors);
    EXPECT_NEAR(area, c.area, c.tolerance);
    EXPECT_EQ(area >= kMinOutlineArea, c.area >= kMinOutlineArea);
}

// Two anchors 10 apart whose handles stand 10 above and below: each arc x = 10(3t² − 2t³),
// y = 30t(1 − t) bounds ∫ y dx = 1800 ∫ t²(1 − t)² dt = 60 with its chord.
const std::vector<OutlineAnchor> kLens{{{0, 0}, {0, -10}, {0, 10}}, {{10, 0}, {10, 10}, {10, -10}}};

const AreaCase kAreas[] = {
    {"Square", Corners({{0, 0}, {10, 0}, {10, 10}, {0, 10}}), 100, 1e-9},
    {"ClockwiseTriangle", Corners({{0, 0}, {0, 3}, {4, 0}}), 6, 1e-9},
    {"FarFromTheOrigin", Corners({{16000, -16000}, {16002, -16000}, {16002, -15999}}), 1, 1e-6},
    {"Lens", kLens, 120, 0.5},
    {"FigureEightCountsBothLoops", Corners({{0, 0}, {10, 10}, {10, 0}, {0, 10}}), 50, 1e-9},
    {"Collinear", Corners({{0, 0}, {5, 5}, {10, 10}}), 0, 1e-9},
    {"Upright", Corners({{3, 0}, {3, 50}, {3, 20}}), 0, 1e-9},
    {"AllPointsEqual", Corners({{7, 7}, {7, 7}, {7, 7}, {7, 7}}), 0, 1e-9},
    {"OneAnchor", Corners({{7, 7}}), 0, 1e-9},
    {"NoAnchor", {}, 0, 1e-9},
    {"Sliver", Corners({{0, 0}, {100, 0}, {100, 0.005}, {0, 0.005}}), 0.5, 1e-6},
    {"DrawnTwiceRound", Corners({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}, {0, 10}}), 0, 1e-9},
    // A two-anchor outline without handles is a line there and back.
    {"TwoCorners", Corners({{0, 0}, {10, 0}}), 0, 1e-9},
};

INSTANTIATE_TEST_SUITE_P(Adjust, OutlineAreaTest, ::testing::ValuesIn(kAreas),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
