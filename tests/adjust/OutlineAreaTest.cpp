// The area an adjust outline encloses, by the even-odd rule. Expected values are worked out by
// hand from the shapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/OutlineArea.h"

namespace {

PathAnchor Corner(double h, double v) { return {{h, v}, {h, v}, {h, v}}; }

std::vector<PathAnchor> Corners(std::initializer_list<PathPoint> points) {
    std::vector<PathAnchor> anchors;
    for (const PathPoint& p : points) anchors.push_back(Corner(p.h, p.v));
    return anchors;
}

struct AreaCase {
    const char* name;
    std::vector<PathAnchor> anchors;
    double area;
    double tolerance;
};

void PrintTo(const AreaCase& c, std::ostream* out) { *out << c.name; }

class OutlineAreaTest : public ::testing::TestWithParam<AreaCase> {};

TEST_P(OutlineAreaTest, MeasuresByTheEvenOddRule) {
    const AreaCase& c = GetParam();
    const double area = OutlineArea(c.anchors);
    EXPECT_NEAR(area, c.area, c.tolerance);
    EXPECT_EQ(area >= kMinOutlineArea, c.area >= kMinOutlineArea);
}

// Two anchors 10 apart whose handles stand 10 above and below: each arc x = 10(3t² − 2t³),
// y = 30t(1 − t) bounds ∫ y dx = 1800 ∫ t²(1 − t)² dt = 60 with its chord.
const std::vector<PathAnchor> kLens{{{0, 0}, {0, -10}, {0, 10}}, {{10, 0}, {10, 10}, {10, -10}}};

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

// Star-shaped polygons around the origin (anchors by angle) are simple, so the shoelace sum
// gives their area; drawn either way round.
TEST(OutlineArea, AgreesWithTheShoelaceOnStarShapedPolygons) {
    std::mt19937 random(17);
    std::uniform_real_distribution<double> radius(1, 500), angle(0, 2 * std::acos(-1.0));
    for (int round = 0; round < 200; ++round) {
        std::vector<double> angles(3 + round % 40);
        for (double& a : angles) a = angle(random);
        std::sort(angles.begin(), angles.end());
        std::vector<PathAnchor> anchors;
        for (double a : angles) {
            const double r = radius(random);
            anchors.push_back(Corner(r * std::cos(a), r * std::sin(a)));
        }
        double twice = 0;
        for (size_t i = 0; i < anchors.size(); ++i) {
            const PathPoint& p = anchors[i].p;
            const PathPoint& q = anchors[(i + 1) % anchors.size()].p;
            twice += p.h * q.v - q.h * p.v;
        }
        EXPECT_NEAR(OutlineArea(anchors), std::fabs(twice) / 2, 1e-6 * std::fabs(twice)) << round;
        std::reverse(anchors.begin(), anchors.end());
        EXPECT_NEAR(OutlineArea(anchors), std::fabs(twice) / 2, 1e-6 * std::fabs(twice)) << round;
    }
}

}  // namespace
