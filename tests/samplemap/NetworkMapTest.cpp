#include "MapGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace samplemap {
namespace {

struct Scenario {
    const char* story;
    MeshKind kind;
    int32_t columns;
    int32_t rows;
    int32_t scale;
    uint64_t seed;
};

const Scenario kScenarios[] = {
    {"secondary squares", MeshKind::Material, 3, 3, 25000, 1},
    {"secondary squares, another seed", MeshKind::Material, 3, 3, 25000, 2},
    {"Tokyo-23 pieces", MeshKind::Tokyo23, 3, 2, 2500, 1},
    {"secondary squares at 1/30000", MeshKind::Material, 4, 3, 30000, 3},
};

SampleMap Draw(const Scenario& s, bool seamJunctions, TileGrid* grid) {
    const MeshSize size = MeshTileSize(s.kind, s.scale);
    *grid = {s.columns, s.rows, size.widthPt, size.heightPt};
    return DrawSampleMap({s.kind, *grid, s.seed, 1, MapStyle::Network, seamJunctions});
}

// How far x lies from the nearest inner seam of tiles `size` wide, `count` of them from `first`.
double FromSeam(double x, double size, int32_t first, int32_t count) {
    double best = INFINITY;
    for (int32_t k = first; k < first + count; ++k) best = std::min(best, std::abs(x - k * size));
    return best;
}

struct Seams {
    const TileGrid& grid;
    double FromVertical(double h) const { return FromSeam(h, grid.tileWidth, 1, grid.columns - 1); }
    double FromHorizontal(double v) const { return FromSeam(v, grid.tileHeight, 2 - grid.rows, grid.rows - 1); }
    double From(const Point& p) const { return std::min(FromVertical(p.h), FromHorizontal(p.v)); }
};

using Ends = std::map<std::pair<double, double>, std::vector<int>>;  // the styles of the ends at a point

Ends LineEnds(const SampleMap& map, int layer) {
    Ends ends;
    for (const MapObject& o : map.objects) {
        if (o.kind != ArtKind::Line || o.layer != layer) continue;
        for (const Point& p : {o.contours[0].front(), o.contours[0].back()}) ends[{p.h, p.v}].push_back(o.style);
    }
    return ends;
}

// Networks as map data has them: junctions of three and crossings of four, points where only
// two lines of one style meet (a plain line merge fuses those), junctions a few points off a
// seam, and no end on a seam.
TEST(NetworkMap, LinesEndAtJunctionsInlandManyCloseToASeam) {
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.story);
        TileGrid grid;
        const SampleMap map = Draw(s, false, &grid);
        const Seams seams{grid};
        for (int layer : {0, 1}) {
            SCOPED_TRACE(map.layers[layer].TitlePath());
            int three = 0, four = 0, twoOfOneStyle = 0, nearSeam = 0;
            for (const auto& [at, styles] : LineEnds(map, layer)) {
                const Point p{at.first, at.second};
                EXPECT_GE(seams.From(p), 0.1) << p.h << ", " << p.v;
                three += styles.size() == 3 ? 1 : 0;
                four += styles.size() == 4 ? 1 : 0;
                for (int style : std::set<int>(styles.begin(), styles.end())) {
                    twoOfOneStyle += std::count(styles.begin(), styles.end(), style) == 2 ? 1 : 0;
                }
                nearSeam += styles.size() >= 3 && seams.From(p) <= 4 ? 1 : 0;
            }
            EXPECT_GT(three, 0);
            EXPECT_GT(four, 0);
            EXPECT_GT(twoOfOneStyle, 0);
            EXPECT_GT(nearSeam, 0);
        }
    }
}

TEST(NetworkMap, JunctionsAskedForOnASeamJoinThreeOrMoreLinesThere) {
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.story);
        TileGrid grid;
        const SampleMap map = Draw(s, true, &grid);
        const Seams seams{grid};
        int onSeam = 0;
        for (int layer : {0, 1}) {
            for (const auto& [at, styles] : LineEnds(map, layer)) {
                const Point p{at.first, at.second};
                if (seams.From(p) >= 0.1) continue;
                ++onSeam;
                // On the seam to the unit the cutter works in.
                EXPECT_LT(seams.From(p), 1 / kUnitsPerPoint) << p.h << ", " << p.v;
                EXPECT_GE(styles.size(), 3u) << p.h << ", " << p.v;
            }
        }
        EXPECT_GT(onSeam, 0);
    }
}

// Areas of one style tile their blocks: neighbours share their borders edge for edge, never an
// edge twice the same way round, and what no neighbour shares is the block's outer rectangle,
// with no gap inside. Some shared borders run straight across a whole tile from seam to seam,
// some a few points off a seam and along it.
TEST(NetworkMap, NeighbouringAreasShareStraightBordersEdgeForEdge) {
    using Edge = std::pair<std::pair<double, double>, std::pair<double, double>>;
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.story);
        TileGrid grid;
        const SampleMap map = Draw(s, false, &grid);
        const Seams seams{grid};
        for (ArtKind kind : {ArtKind::Face, ArtKind::Ring}) {
            std::vector<const Contour*> cells;
            std::map<Edge, size_t> owner;
            for (const MapObject& o : map.objects) {
                if (o.kind != kind) continue;
                ASSERT_EQ(o.contours.size(), 1u);
                const Contour& c = o.contours[0];
                for (size_t i = 0; i < c.size(); ++i) {
                    const Point& a = c[i];
                    const Point& b = c[(i + 1) % c.size()];
                    EXPECT_TRUE(a.h == b.h || a.v == b.v);
                    EXPECT_GE(seams.From(a), 0.1);
                    EXPECT_TRUE(owner.insert({{{a.h, a.v}, {b.h, b.v}}, cells.size()}).second);
                }
                cells.push_back(&c);
            }
            // Blocks: the cells linked by shared edges.
            std::vector<size_t> block(cells.size());
            for (size_t i = 0; i < block.size(); ++i) block[i] = i;
            const auto root = [&](size_t i) {
                while (block[i] != i) i = block[i] = block[block[i]];
                return i;
            };
            int shared = 0, seamToSeam = 0, offSeam = 0;
            std::map<size_t, double> outline;  // by block: length of the edges no neighbour shares
            for (const auto& [e, cell] : owner) {
                const auto other = owner.find({e.second, e.first});
                const double length =
                    std::abs(e.second.first - e.first.first) + std::abs(e.second.second - e.first.second);
                if (other == owner.end()) {
                    outline[cell] += length;
                    continue;
                }
                block[root(cell)] = root(other->second);
                ++shared;
                const auto [h0, h1] = std::minmax(e.first.first, e.second.first);
                const auto [v0, v1] = std::minmax(e.first.second, e.second.second);
                const bool horizontal = v0 == v1;
                const double size = horizontal ? grid.tileWidth : grid.tileHeight;
                const double low = horizontal ? h0 : v0, high = horizontal ? h1 : v1;
                // A whole tile between the ends: from before one seam to beyond the next.
                seamToSeam += std::floor(high / size) - std::ceil(low / size) >= 1 ? 1 : 0;
                const double across = horizontal ? seams.FromHorizontal(v0) : seams.FromVertical(h0);
                offSeam += across >= 1 && across <= 3 ? 1 : 0;
            }
            std::map<size_t, Rect> box;
            std::map<size_t, double> area, perimeter;
            for (size_t i = 0; i < cells.size(); ++i) {
                const size_t b = root(i);
                area[b] += std::abs(SignedArea(*cells[i]));
                for (const Point& p : *cells[i]) {
                    Rect& r = box.try_emplace(b, Rect{p.h, p.v, p.h, p.v}).first->second;
                    r = {std::min(r.left, p.h), std::min(r.bottom, p.v), std::max(r.right, p.h), std::max(r.top, p.v)};
                }
            }
            for (const auto& [cell, length] : outline) perimeter[root(cell)] += length;
            EXPECT_EQ(box.size(), 2u);
            for (const auto& [b, r] : box) {
                const double w = r.right - r.left, h = r.top - r.bottom;
                EXPECT_NEAR(area[b], w * h, 1e-9 * w * h);
                EXPECT_NEAR(perimeter[b], 2 * (w + h), 1e-9 * (w + h));
            }
            EXPECT_GT(shared, 4);
            EXPECT_GT(seamToSeam, 0);
            EXPECT_GT(offSeam, 0);
        }
    }
}

}  // namespace
}  // namespace samplemap
