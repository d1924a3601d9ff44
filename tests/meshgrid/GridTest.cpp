#include "core/MeshGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

MeshEntry Tile(int32_t mesh, int32_t area = 0) {
    MeshEntry e;
    e.mesh = mesh;
    e.area = area;
    e.select = true;
    return e;
}

MeshOffset Offset(MeshKind kind, const MeshEntry& e, const MeshBox& box) {
    return MeshTileOffset(kind, MeshGridCode(kind, e), box);
}

// JIS X 0410 codes of the squares holding a point, worked out from latitude
// and longitude without the plug-in's digit arithmetic.
struct JisCodes {
    int32_t primary;
    int32_t secondary;
    int32_t area;     // 1 SW, 2 SE, 3 NW, 4 NE
    int32_t quarter;  // secondary, then the quarter's row and column digits
    int32_t tokyo23;
};

JisCodes CodesAt(double lat, double lon) {
    const double y = lat * 1.5;
    const double x = lon - 100.0;
    const int32_t p = static_cast<int32_t>(std::floor(y));
    const int32_t u = static_cast<int32_t>(std::floor(x));
    const double fy = y - p;  // 0..1 inside the primary square
    const double fx = x - u;
    const int32_t c = static_cast<int32_t>(std::floor(fy * 8));
    const int32_t d = static_cast<int32_t>(std::floor(fx * 8));
    const int32_t qr = static_cast<int32_t>(std::floor(fy * 16)) % 2;
    const int32_t qc = static_cast<int32_t>(std::floor(fx * 16)) % 2;
    const int32_t g = static_cast<int32_t>(std::floor(fy * 64)) % 8;
    const int32_t h = static_cast<int32_t>(std::floor(fx * 64)) % 8;

    JisCodes j;
    j.primary = p * 100 + u;
    j.secondary = j.primary * 100 + c * 10 + d;
    j.area = 1 + qr * 2 + qc;
    j.quarter = j.secondary * 100 + qr * 10 + qc;
    j.tokyo23 = j.secondary * 100 + g * 10 + h;
    return j;
}

struct KindGrid {
    MeshKind kind;
    int32_t perPrimary;  // squares per primary side
};

const KindGrid kKindGrids[] = {
    {MeshKind::Mat1st, 1},
    {MeshKind::Material, 8},
    {MeshKind::MatQua, 16},
    {MeshKind::Tokyo23, 64},
};

// The grid code of the square of kind whose south-west corner lies i squares
// north and k squares east of 0N 100E; taken at the square's centre.
int32_t CodeOfSquare(const KindGrid& g, int32_t i, int32_t k) {
    const double lat = (i + 0.5) / (1.5 * g.perPrimary);
    const double lon = 100.0 + (k + 0.5) / g.perPrimary;
    const JisCodes j = CodesAt(lat, lon);
    switch (g.kind) {
    case MeshKind::Mat1st: return j.primary;
    case MeshKind::Material: return j.secondary;
    case MeshKind::MatQua: {
        EXPECT_EQ(MeshQuarterCode(j.secondary, j.area), j.quarter);
        return MeshQuarterCode(j.secondary, j.area);
    }
    case MeshKind::Tokyo23: return j.tokyo23;
    }
    return -1;
}

TEST(MeshGrid, ConverterAgreesWithAKnownPlace) {
    // Tokyo Station lies in secondary square 533946.
    const JisCodes j = CodesAt(35.681236, 139.767125);
    EXPECT_EQ(j.primary, 5339);
    EXPECT_EQ(j.secondary, 533946);
}

// Rows and columns count squares from the equator and from 100E, so steps on
// the ground and steps in the grid agree, across primary and secondary edges.
TEST(MeshGrid, RowsAndColumnsFollowLatitudeAndLongitude) {
    for (const KindGrid& g : kKindGrids) {
        SCOPED_TRACE(MeshNameLength(g.kind));
        const int32_t n = g.perPrimary;
        for (int32_t i = 52 * n; i < 55 * n; ++i) {
            for (int32_t k = 38 * n; k < 41 * n; ++k) {
                const int32_t code = CodeOfSquare(g, i, k);
                const int32_t north = CodeOfSquare(g, i + 1, k);
                const int32_t east = CodeOfSquare(g, i, k + 1);
                ASSERT_EQ(MeshGridRow(g.kind, code), i) << code;
                ASSERT_EQ(MeshGridColumn(g.kind, code), k) << code;
                ASSERT_EQ(MeshGridRow(g.kind, north) - MeshGridRow(g.kind, code), 1) << code;
                ASSERT_EQ(MeshGridColumn(g.kind, north), MeshGridColumn(g.kind, code)) << code;
                ASSERT_EQ(MeshGridColumn(g.kind, east) - MeshGridColumn(g.kind, code), 1) << code;
                ASSERT_EQ(MeshGridRow(g.kind, east), MeshGridRow(g.kind, code)) << code;
            }
        }
    }
}

struct Neighbours {
    MeshKind kind;
    int32_t west, east;  // or south, north
    bool vertical;
    int32_t first, second;  // their columns (rows when vertical)
};

const Neighbours kNeighbours[] = {
    {MeshKind::Material, 533947, 534040, false, 319, 320}, {MeshKind::Tokyo23, 53394777, 53404070, false, 2559, 2560},
    {MeshKind::Material, 533970, 543900, true, 431, 432},  {MeshKind::Tokyo23, 53397077, 54390007, true, 3455, 3456},
    {MeshKind::Mat1st, 5339, 5340, false, 39, 40},         {MeshKind::MatQua, 53394701, 53404000, false, 639, 640},
};

TEST(MeshGrid, NeighboursAcrossPrimaryBoundaries) {
    for (const Neighbours& n : kNeighbours) {
        SCOPED_TRACE(n.west);
        if (n.vertical) {
            EXPECT_EQ(MeshGridRow(n.kind, n.west), n.first);
            EXPECT_EQ(MeshGridRow(n.kind, n.east), n.second);
            EXPECT_EQ(MeshGridColumn(n.kind, n.west), MeshGridColumn(n.kind, n.east));
        } else {
            EXPECT_EQ(MeshGridColumn(n.kind, n.west), n.first);
            EXPECT_EQ(MeshGridColumn(n.kind, n.east), n.second);
            EXPECT_EQ(MeshGridRow(n.kind, n.west), MeshGridRow(n.kind, n.east));
        }
    }
}

TEST(MeshGrid, QuarterCodes) {
    EXPECT_EQ(MeshQuarterCode(533945, 1), 53394500);
    EXPECT_EQ(MeshQuarterCode(533945, 2), 53394501);
    EXPECT_EQ(MeshQuarterCode(533945, 3), 53394510);
    EXPECT_EQ(MeshQuarterCode(533945, 4), 53394511);
    EXPECT_EQ(MeshQuarterCode(533945, 0), -1);
    EXPECT_EQ(MeshQuarterCode(533945, 5), -1);
}

TEST(MeshGrid, DiagonalQuartersSpanTwoByTwo) {
    const MeshEntry sw = Tile(533945, 1);
    const MeshEntry ne = Tile(533945, 4);
    const std::vector<MeshEntry> tiles{sw, ne};
    const MeshBox box = MeshBounds(MeshKind::MatQua, tiles);
    EXPECT_EQ(box.rows, 2);
    EXPECT_EQ(box.columns, 2);
    EXPECT_EQ(Offset(MeshKind::MatQua, ne, box).k, 1);
    EXPECT_EQ(Offset(MeshKind::MatQua, ne, box).j, 0);
    EXPECT_EQ(Offset(MeshKind::MatQua, sw, box).k, 0);
    EXPECT_EQ(Offset(MeshKind::MatQua, sw, box).j, -1);
    // The unselected corners still have their place in the box.
    EXPECT_EQ(Offset(MeshKind::MatQua, Tile(533945, 3), box).k, 0);
    EXPECT_EQ(Offset(MeshKind::MatQua, Tile(533945, 3), box).j, 0);
}

TEST(MeshGrid, OneTileIsItsOwnBox) {
    const MeshEntry tiles[] = {Tile(533945, 3), Tile(533945), Tile(5339), Tile(53394511)};
    const MeshKind kinds[] = {MeshKind::MatQua, MeshKind::Material, MeshKind::Mat1st, MeshKind::Tokyo23};
    for (size_t i = 0; i < 4; ++i) {
        const MeshBox box = MeshBounds(kinds[i], std::span(&tiles[i], 1));
        EXPECT_EQ(box.rows, 1);
        EXPECT_EQ(box.columns, 1);
        EXPECT_EQ(Offset(kinds[i], tiles[i], box).k, 0);
        EXPECT_EQ(Offset(kinds[i], tiles[i], box).j, 0);
    }
}

TEST(MeshGrid, NoTilesGiveAnEmptyBox) {
    const MeshBox box = MeshBounds(MeshKind::Material, {});
    EXPECT_EQ(box.rows, 0);
    EXPECT_EQ(box.columns, 0);
}

// Scattered Tokyo23 tiles around a primary corner: each offset is the tile's
// ground position relative to the north-west corner of the box.
TEST(MeshGrid, OffsetsOfScatteredTiles) {
    const KindGrid g{MeshKind::Tokyo23, 64};
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int32_t> di(53 * 64 - 20, 53 * 64 + 20);
    std::uniform_int_distribution<int32_t> dk(40 * 64 - 20, 40 * 64 + 20);
    std::vector<MeshEntry> tiles;
    std::vector<std::pair<int32_t, int32_t>> cells;
    for (int n = 0; n < 12; ++n) {
        const int32_t i = di(rng), k = dk(rng);
        cells.emplace_back(i, k);
        tiles.push_back(Tile(CodeOfSquare(g, i, k)));
    }
    int32_t minI = cells[0].first, maxI = minI, minK = cells[0].second, maxK = minK;
    for (auto [i, k] : cells) {
        minI = std::min(minI, i), maxI = std::max(maxI, i);
        minK = std::min(minK, k), maxK = std::max(maxK, k);
    }
    const MeshBox box = MeshBounds(g.kind, tiles);
    EXPECT_EQ(box.rows, maxI - minI + 1);
    EXPECT_EQ(box.columns, maxK - minK + 1);
    for (size_t n = 0; n < tiles.size(); ++n) {
        const MeshOffset o = Offset(g.kind, tiles[n], box);
        EXPECT_EQ(o.k, cells[n].second - minK);
        EXPECT_EQ(o.j, cells[n].first - maxI);
        EXPECT_GE(o.k, 0);
        EXPECT_LT(o.k, box.columns);
        EXPECT_LE(o.j, 0);
        EXPECT_GT(o.j, -box.rows);
    }
}

struct PaperSize {
    MeshKind kind;
    int32_t scale;
    double widthMm, heightMm;
};

const PaperSize kPaperSizes[] = {
    {MeshKind::Material, 25000, 452, 370},
    {MeshKind::MatQua, 25000, 226, 185},
    {MeshKind::Mat1st, 200000, 452, 370},
    {MeshKind::Tokyo23, 2500, 564, 464},
    {MeshKind::Material, 3000, 11300000.0 / 3000, 9250000.0 / 3000},
};

TEST(MeshGrid, TileSizeOnPaper) {
    for (const PaperSize& p : kPaperSizes) {
        SCOPED_TRACE(p.scale);
        const MeshSize s = MeshTileSize(p.kind, p.scale);
        EXPECT_DOUBLE_EQ(s.widthMm, p.widthMm);
        EXPECT_DOUBLE_EQ(s.heightMm, p.heightMm);
        EXPECT_FLOAT_EQ(s.widthPt, static_cast<float>(p.widthMm / 25.4 * 72.0));
        EXPECT_FLOAT_EQ(s.heightPt, static_cast<float>(p.heightMm / 25.4 * 72.0));
    }
}

TEST(MeshGrid, NoScaleGivesNoSize) {
    for (int32_t scale : {0, -25000}) {
        const MeshSize s = MeshTileSize(MeshKind::Material, scale);
        EXPECT_EQ(s.widthMm, 0.0);
        EXPECT_EQ(s.heightPt, 0.0f);
        EXPECT_TRUE(std::isfinite(MeshMergedSize(MeshKind::Material, scale, MeshBox{0, 0, 0, 2, 1, 3}).widthMm));
    }
}

TEST(MeshGrid, MergedSizeIsTilesTimesCount) {
    const MeshBox box{100, 102, 200, 203, 3, 4};
    for (const PaperSize& p : kPaperSizes) {
        SCOPED_TRACE(p.scale);
        const MeshSize tile = MeshTileSize(p.kind, p.scale);
        const MeshSize merged = MeshMergedSize(p.kind, p.scale, box);
        EXPECT_NEAR(merged.widthMm, 4 * p.widthMm, 1e-3);
        EXPECT_NEAR(merged.heightMm, 3 * p.heightMm, 1e-3);
        EXPECT_NEAR(merged.widthPt, 4 * tile.widthPt, 1e-2);
        EXPECT_NEAR(merged.heightPt, 3 * tile.heightPt, 1e-2);
    }
}

}  // namespace
