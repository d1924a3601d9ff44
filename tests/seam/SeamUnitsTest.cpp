#include "SeamPrint.h"
#include "core/SeamGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <unordered_map>

namespace {

double PtFromMm(double mm) { return mm * 72.0 / 25.4; }
float TilePt(double mm) { return float(PtFromMm(mm)); }

// Material at 1/25000: 452 x 370 mm, whole hundredths.
SeamGrid MaterialGrid(int last = 2) { return SeamGrid(TilePt(452.0), TilePt(370.0), last, last); }

// Tokyo23 at 1/3000: 470 x 386.666... mm. The height is not a whole number
// of hundredths, so Y(2) is no multiple of Ny.
SeamGrid Tokyo3000Grid(int last = 3) { return SeamGrid(TilePt(470.0), TilePt(1160000.0 / 3000), last, last); }

TEST(SeamRound, HalfAwayFromZero) {
    struct Case {
        double v;
        int32_t want;
    };
    const Case cases[] = {
        {0.0, 0},   {0.4999, 0}, {0.5, 1},   {1.5, 2},        {2.5, 3},          {-0.4999, 0},
        {-0.5, -1}, {-1.5, -2},  {-2.5, -3}, {1000.49, 1000}, {-1000.51, -1001},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SeamRound(c.v), c.want) << c.v;
    }
}

TEST(SeamRound, SaturatesInsteadOfOverflowing) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(SeamRound(2147483646.6), kMax);
    EXPECT_EQ(SeamRound(1e12), kMax);
    EXPECT_EQ(SeamRound(-1e12), kMin);
    EXPECT_EQ(SeamRound(-2147483648.0), kMin);
    EXPECT_EQ(SeamRound(std::numeric_limits<double>::infinity()), kMax);
    EXPECT_EQ(SeamRound(-std::numeric_limits<double>::infinity()), kMin);
    EXPECT_EQ(SeamRound(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(SeamUnits, HundredthsOfAMillimetre) {
    struct Case {
        double mm;
        int32_t want;
    };
    const Case cases[] = {
        {10.001, 1000},   {10.004, 1000},   {10.006, 1001},   {0.0, 0},
        {-10.001, -1000}, {-10.004, -1000}, {-10.006, -1001}, {452.0, 45200},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToSeamUnits(PtFromMm(c.mm)), c.want) << c.mm;
    }
    // Host coordinates arrive as floats on macOS and are widened first.
    EXPECT_EQ(ToSeamUnits(double(float(PtFromMm(10.004)))), 1000);
    EXPECT_EQ(ToSeamPoint(PtFromMm(10.001), PtFromMm(-10.006)), (SeamPoint{1000, -1001}));
}

TEST(SeamPointHash, UsableAsHashKey) {
    std::unordered_map<SeamPoint, int> ends;
    ends[{1000, -1001}] = 1;
    ends[{-1001, 1000}] = 2;
    ends[ToSeamPoint(PtFromMm(10.004), PtFromMm(-10.006))] += 10;
    EXPECT_EQ(ends.size(), 2u);
    EXPECT_EQ((ends[{1000, -1001}]), 11);
    EXPECT_NE(std::hash<SeamPoint>{}({1, 2}), std::hash<SeamPoint>{}({2, 1}));
}

TEST(SeamGrid, PositionsAndModuli) {
    const SeamGrid material = MaterialGrid(3);
    EXPECT_EQ(material.Nx(), 45200);
    EXPECT_EQ(material.Ny(), 37000);
    for (int k = 0; k <= 3; ++k) {
        EXPECT_EQ(material.X(k), 45200 * k);
        EXPECT_EQ(material.Y(k), 37000 * k);
    }
    EXPECT_THROW(material.X(4), std::out_of_range);
    EXPECT_THROW(material.Y(-1), std::out_of_range);

    const SeamGrid tokyo = Tokyo3000Grid();
    EXPECT_NEAR(tokyo.HeightMm(), 386.6667, 1e-4);
    EXPECT_EQ(tokyo.Ny(), 38667);
    const int32_t wantY[] = {0, 38667, 77333, 116000};
    for (int k = 0; k <= 3; ++k) {
        EXPECT_EQ(tokyo.Y(k), wantY[k]);
        EXPECT_EQ(tokyo.X(k), 47000 * k);
    }
    EXPECT_NE(tokyo.Y(2) % tokyo.Ny(), 0);
}

TEST(SeamGrid, NoColumnsOrRows) {
    const SeamGrid grid(TilePt(452.0), TilePt(370.0), -1, -1);
    EXPECT_FALSE(grid.IsColumnPosition(0));
    EXPECT_FALSE(grid.IsRowPosition(0));
    EXPECT_FALSE(OnSeamLine(grid, {0, 0}, {45200, -37000}));
    EXPECT_FALSE(OnSeamEdge(grid, {0, 0}, {0, -37000}));
}

TEST(SeamGrid, ZeroSizeTileNeverMatchesByModulus) {
    const SeamGrid grid(0.0f, 0.0f, 1, 1);
    EXPECT_EQ(grid.Nx(), 0);
    EXPECT_FALSE(grid.OnColumnModulus(0));
    EXPECT_TRUE(OnSeamLine(grid, {0, 5}, {7, 5}));  // still X(0) = 0
    EXPECT_FALSE(OnSeamLine(grid, {3, 5}, {7, 5}));
}

struct LineCase {
    const char* name;
    SeamPoint first;
    SeamPoint last;
    bool want;
};

TEST(SeamLine, MaterialGrid) {
    const SeamGrid grid = MaterialGrid(2);
    const LineCase cases[] = {
        {"first end on column seam", {45200, -123}, {7, -456}, true},
        {"last end on column seam", {7, -123}, {90400, -456}, true},
        {"beyond last column by modulus", {135600, -123}, {7, -456}, true},
        {"negative column by modulus", {-45200, -123}, {7, -456}, true},
        {"row seam below origin", {7, -37000}, {8, -456}, true},
        {"top edge", {7, 0}, {8, -456}, true},
        {"one hundredth off", {45201, -37001}, {45199, -36999}, false},
        {"interior", {100, -200}, {300, -400}, false},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(OnSeamLine(grid, c.first, c.last), c.want) << c.name;
    }
}

// Regression: ends on a horizontal seam below the top row were found only by
// the modulus, so lines crossing the third row of 1/3000 Tokyo23 tiles stayed cut.
TEST(SeamLine, RowSeamsBelowOriginWithFractionalTileHeight) {
    const float tileHeight = TilePt(1160000.0 / 3000);
    const SeamGrid grid = Tokyo3000Grid();
    for (int k = 1; k <= 3; ++k) {
        const int32_t below = ToSeamUnits(-double(k) * tileHeight);
        const int32_t above = ToSeamUnits(double(k) * tileHeight);
        EXPECT_EQ(below, -grid.Y(k)) << k;
        EXPECT_TRUE(OnSeamLine(grid, {12345, below}, {12, 34})) << k;
        EXPECT_TRUE(OnSeamLine(grid, {12, 34}, {12345, above})) << k;
        // Multiples of Ny drift a hundredth per row from the seams, so the
        // neighbour outward from the origin would match the modulus.
        EXPECT_FALSE(OnSeamLine(grid, {12345, below + 1}, {12, 34})) << k;
    }
}

struct EdgeCase {
    const char* name;
    SeamPoint start;
    SeamPoint end;
    bool want;
};

void CheckEdges(const SeamGrid& grid, std::initializer_list<EdgeCase> cases) {
    for (const EdgeCase& c : cases) {
        EXPECT_EQ(OnSeamEdge(grid, c.start, c.end), c.want) << c.name;
        EXPECT_EQ(OnSeamEdge(grid, c.end, c.start), c.want) << c.name << ", reversed";
    }
}

TEST(SeamEdge, MaterialGrid) {
    CheckEdges(MaterialGrid(2),
               {
                   {"vertical on column seam", {45200, -10}, {45200, -900}, true},
                   {"vertical on left border", {0, -10}, {0, -900}, true},
                   {"vertical beyond last column", {180800, -10}, {180800, -900}, true},
                   {"horizontal on row seam", {10, -37000}, {900, -37000}, true},
                   {"horizontal on top border", {10, 0}, {900, 0}, true},
                   {"vertical off seam", {45201, -10}, {45201, -900}, false},
                   {"horizontal off seam", {10, -37001}, {900, -37001}, false},
                   {"diagonal between seams", {0, 0}, {45200, -37000}, false},
                   // Regression: an edge running from one seam to the next, across the
                   // seams, was spliced, so distinct faces sharing a straight inland
                   // border were fused.
                   {"horizontal spanning one column", {0, -500}, {45200, -500}, false},
                   {"vertical spanning one row", {300, 0}, {300, -37000}, false},
                   {"horizontal spanning one column on a row seam", {0, -37000}, {45200, -37000}, true},
                   {"horizontal from seam to interior", {0, -500}, {300, -500}, false},
                   {"single point on crossing", {45200, -37000}, {45200, -37000}, true},
                   {"single point on a column seam", {45200, -500}, {45200, -500}, true},
                   {"single point inland", {300, -500}, {300, -500}, false},
               });
}

// Regression: with a fractional tile height, a face edge on a row seam below
// the top row was a candidate but never spliced, and one above was never a
// candidate.
TEST(SeamEdge, RowSeamsOnBothSidesWithFractionalTileHeight) {
    const SeamGrid grid = Tokyo3000Grid();
    CheckEdges(grid, {
                         {"below, second row seam", {10, -77333}, {900, -77333}, true},
                         {"below, third row seam", {10, -116000}, {900, -116000}, true},
                         {"above, second row seam", {10, 77333}, {900, 77333}, true},
                         {"one off the seam", {10, -77332}, {900, -77332}, false},
                         {"on a multiple of Ny only", {10, -77334}, {900, -77334}, true},
                         {"vertical from first to second row seam", {10, -38667}, {10, -77333}, false},
                         {"vertical from top to first row seam", {10, 0}, {10, -38667}, false},
                     });
}

// The literal definitions: loops over k, with the seam positions taken on
// both sides of the origin.
bool LoopPosition(int32_t v, const SeamGrid& grid, bool column, int k) {
    const int32_t p = column ? grid.X(k) : grid.Y(k);
    return v == p || v == -p;
}

bool LoopModulus(int32_t v, int32_t n) { return n != 0 && v % n == 0; }

bool LoopOnSeamLine(const SeamGrid& g, SeamPoint f, SeamPoint l) {
    for (int k = 0; k <= g.LastColumn(); ++k) {
        if (LoopPosition(f.x, g, true, k) || LoopPosition(l.x, g, true, k) || LoopModulus(f.x, g.Nx()) ||
            LoopModulus(l.x, g.Nx())) {
            return true;
        }
    }
    for (int k = 0; k <= g.LastRow(); ++k) {
        if (LoopPosition(f.y, g, false, k) || LoopPosition(l.y, g, false, k) || LoopModulus(f.y, g.Ny()) ||
            LoopModulus(l.y, g.Ny())) {
            return true;
        }
    }
    return false;
}

// Along a seam line: same x on a vertical seam, or same y on a horizontal one.
bool LoopOnSeamEdge(const SeamGrid& g, SeamPoint s, SeamPoint e) {
    for (int k = 0; k <= g.LastColumn(); ++k) {
        if (s.x == e.x && (LoopPosition(s.x, g, true, k) || LoopModulus(s.x, g.Nx()))) {
            return true;
        }
    }
    for (int k = 0; k <= g.LastRow(); ++k) {
        if (s.y == e.y && (LoopPosition(s.y, g, false, k) || LoopModulus(s.y, g.Ny()))) {
            return true;
        }
    }
    return false;
}

TEST(SeamTests, AgreeWithLoopDefinitions) {
    std::mt19937 rng(20240611);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const double tileMm[] = {452.0, 370.0, 470.0, 1160000.0 / 3000, 1410000.0 / 7000, 0.37, 12.345};

    for (int round = 0; round < 400; ++round) {
        const double wMm = pick(3) == 0 ? tileMm[pick(7)] : 1.0 + pick(100000) / 97.0;
        const double hMm = pick(3) == 0 ? tileMm[pick(7)] : 1.0 + pick(100000) / 97.0;
        const SeamGrid g(TilePt(wMm), TilePt(hMm), pick(6) - 1, pick(6) - 1);

        // Coordinates near seams, multiples of the moduli, and noise, both signs.
        auto coordinate = [&](bool column) -> int32_t {
            const int last = column ? g.LastColumn() : g.LastRow();
            const int32_t n = column ? g.Nx() : g.Ny();
            const int32_t sign = pick(2) ? 1 : -1;
            switch (pick(4)) {
            case 0:
                if (last >= 0) {
                    return sign * (column ? g.X(pick(last + 1)) : g.Y(pick(last + 1))) + pick(3) - 1;
                }
                [[fallthrough]];
            case 1: return sign * n * pick(9) + pick(3) - 1;
            case 2: return sign * n * pick(9);
            default: return sign * pick(500000);
            }
        };
        for (int i = 0; i < 250; ++i) {
            SeamPoint a{coordinate(true), coordinate(false)};
            SeamPoint b{coordinate(true), coordinate(false)};
            switch (pick(3)) {
            case 0: b.x = a.x; break;
            case 1: b.y = a.y; break;
            default: break;
            }
            ASSERT_EQ(OnSeamLine(g, a, b), LoopOnSeamLine(g, a, b));
            ASSERT_EQ(OnSeam(g, a), LoopOnSeamLine(g, a, a));
            ASSERT_EQ(OnSeamEdge(g, a, b), LoopOnSeamEdge(g, a, b));
        }
    }
}

}  // namespace
