#include "MapGenerator.h"
#include "TileCutter.h"
#include "core/SeamGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace samplemap {
namespace {

TileGrid GridOf(MeshKind kind, int32_t columns, int32_t rows, int32_t scale) {
    const MeshSize size = MeshTileSize(kind, scale);
    return {columns, rows, size.widthPt, size.heightPt};
}

struct Scenario {
    const char* story;
    MeshKind kind;
    int32_t columns;
    int32_t rows;
    int32_t scale;
    uint64_t seed;
    MapStyle style = MapStyle::Scatter;
};

// Tile sizes that are whole hundredths of a millimetre and sizes that are not.
const Scenario kScenarios[] = {
    {"secondary squares at 1/25000", MeshKind::Material, 3, 3, 25000, 1},
    {"Tokyo-23 pieces at 1/2500", MeshKind::Tokyo23, 3, 2, 2500, 2},
    {"secondary squares at 1/30000", MeshKind::Material, 2, 3, 30000, 3},
    {"quarters in one row", MeshKind::MatQua, 4, 1, 10000, 4},
    {"primary squares in one column", MeshKind::Mat1st, 1, 3, 200000, 5},
    {"networks over secondary squares", MeshKind::Material, 3, 3, 25000, 6, MapStyle::Network},
    {"networks over Tokyo-23 pieces", MeshKind::Tokyo23, 3, 2, 2500, 7, MapStyle::Network},
    {"networks over quarters in one row", MeshKind::MatQua, 4, 1, 10000, 8, MapStyle::Network},
};

struct Cut {
    TileGrid grid;
    SampleMap map;
    std::vector<TilePieces> tiles;
};

Cut MakeCut(const Scenario& s) {
    Cut cut;
    cut.grid = GridOf(s.kind, s.columns, s.rows, s.scale);
    cut.map = DrawSampleMap({s.kind, cut.grid, s.seed, 1, s.style});
    cut.tiles = CutIntoTiles(cut.map, cut.grid);
    return cut;
}

std::string Fingerprint(const std::vector<MapObject>& objects) {
    std::string out;
    char buf[64];
    for (const MapObject& o : objects) {
        std::snprintf(buf, sizeof buf, "%d %d %d|", static_cast<int>(o.kind), o.layer, o.style);
        out += buf;
        for (const Contour& c : o.contours) {
            for (const Point& p : c) {
                std::snprintf(buf, sizeof buf, "%.17g,%.17g ", p.h, p.v);
                out += buf;
            }
            out += ';';
        }
        std::snprintf(buf, sizeof buf, "%.17g,%.17g,%g", o.anchor.h, o.anchor.v, o.fontSize);
        out += o.text + buf + '\n';
    }
    return out;
}

// Where the merge puts a tile-local coordinate: the host moves float art by the float offset
// tiles * size.
float Placed(double local, int32_t tiles, double size) {
    const float offset = static_cast<float>(tiles) * static_cast<float>(size);
    return static_cast<float>(local) + offset;
}

// The seam position m tile sizes from the origin (m may be negative) in hundredths of a millimetre,
// as the merge's seam tests reckon it.
int32_t SeamAt(int32_t m, bool columns, const SeamGrid& seams) {
    const int32_t position = columns ? seams.X(std::abs(m)) : seams.Y(std::abs(m));
    return m < 0 ? -position : position;
}

TEST(Cut, SameSeedDrawsTheSameMapAndAnotherSeedAnother) {
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.story);
        const TileGrid grid = GridOf(s.kind, s.columns, s.rows, s.scale);
        const std::string once = Fingerprint(DrawSampleMap({s.kind, grid, s.seed, 1, s.style}).objects);
        EXPECT_EQ(once, Fingerprint(DrawSampleMap({s.kind, grid, s.seed, 1, s.style}).objects));
        EXPECT_NE(once, Fingerprint(DrawSampleMap({s.kind, grid, s.seed + 100, 1, s.style}).objects));
    }
}

TEST(Cut, EveryCutAnchorLiesExactlyOnItsSeam) {
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.story);
        const Cut cut = MakeCut(s);
        const double w = cut.grid.tileWidth, h = cut.grid.tileHeight;
        const SeamGrid seams(static_cast<float>(w), static_cast<float>(h), s.columns, s.rows);
        int onSeam = 0;
        for (const TilePieces& tile : cut.tiles) {
            for (const MapObject& piece : tile.objects) {
                for (const Contour& contour : piece.contours) {
                    for (const Point& p : contour) {
                        // Within a hair of an edge means on it, exactly.
                        for (auto [value, size, tiles, columns] :
                             {std::tuple{p.h, w, tile.k, true}, std::tuple{p.v, h, tile.j, false}}) {
                            const bool low = std::abs(value) < 0.01, high = std::abs(value - size) < 0.01;
                            if (!low && !high) continue;
                            ++onSeam;
                            EXPECT_EQ(value, low ? 0.0 : size);
                            const int32_t m = tiles + (high ? 1 : 0);
                            EXPECT_EQ(ToSeamUnits(Placed(value, tiles, size)), SeamAt(m, columns, seams))
                                << "tile " << tile.k << "," << tile.j;
                        }
                    }
                }
            }
        }
        if (s.columns * s.rows > 1) {
            EXPECT_GT(onSeam, 10);
        }
    }
}

TEST(Cut, PiecesStayInsideTheirTileAndKeepEnoughAnchors) {
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.story);
        const Cut cut = MakeCut(s);
        for (const TilePieces& tile : cut.tiles) {
            for (const MapObject& piece : tile.objects) {
                if (piece.kind == ArtKind::Label) continue;
                for (const Contour& contour : piece.contours) {
                    EXPECT_GE(contour.size(), piece.kind == ArtKind::Line ? 2u : 3u);
                    for (const Point& p : contour) {
                        EXPECT_GE(p.h, 0.0);
                        EXPECT_LE(p.h, cut.grid.tileWidth);
                        EXPECT_GE(p.v, 0.0);
                        EXPECT_LE(p.v, cut.grid.tileHeight);
                    }
                }
            }
        }
    }
}

struct LayerSums {
    double faceArea = 0;
    double ringArea = 0;
    double lineLength = 0;
    int lineEnds = 0;  // ends of lines that are not on a tile edge
};

void Add(std::map<int, LayerSums>& sums, const MapObject& o, const TileGrid* localTo) {
    LayerSums& s = sums[o.layer];
    switch (o.kind) {
    case ArtKind::Face: s.faceArea += FaceArea(o); break;
    case ArtKind::Ring: s.ringArea += std::abs(SignedArea(o.contours.at(0))); break;
    case ArtKind::Line: {
        s.lineLength += PolylineLength(o.contours.at(0));
        for (const Point& end : {o.contours[0].front(), o.contours[0].back()}) {
            const bool onEdge =
                localTo && (end.h == 0 || end.h == localTo->tileWidth || end.v == 0 || end.v == localTo->tileHeight);
            s.lineEnds += onEdge ? 0 : 1;
        }
        break;
    }
    case ArtKind::Label: break;
    }
}

TEST(Cut, PiecesCoverTheOriginalLayerByLayer) {
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.story);
        const Cut cut = MakeCut(s);
        std::map<int, LayerSums> whole, pieces;
        for (const MapObject& o : cut.map.objects) Add(whole, o, nullptr);
        for (const TilePieces& tile : cut.tiles) {
            for (const MapObject& o : tile.objects) Add(pieces, o, &cut.grid);
        }
        for (const auto& [layer, sums] : whole) {
            SCOPED_TRACE(cut.map.layers[layer].TitlePath());
            const LayerSums& got = pieces[layer];
            EXPECT_NEAR(got.faceArea, sums.faceArea, 1e-7 * sums.faceArea + 1e-6);
            EXPECT_NEAR(got.ringArea, sums.ringArea, 1e-7 * sums.ringArea + 1e-6);
            EXPECT_NEAR(got.lineLength, sums.lineLength, 1e-7 * sums.lineLength + 1e-6);
            // A cut adds ends only on tile edges: the original ends are all there are elsewhere.
            EXPECT_EQ(got.lineEnds, sums.lineEnds);
        }
    }
}

// What the merge joins at one seam: a line end or an outline edge lying on it, seen from one side.
// Vertical seams are keyed by the eastern tile, horizontal ones by the northern tile.
struct SeamMark {
    int layer, style;
    bool vertical;
    int32_t k, j;
    double from, to;  // along the seam, in the tiles' shared local coordinate
    auto operator<=>(const SeamMark&) const = default;
};

// Both sides of every inner seam must show the same marks, or the merge cannot join them.
TEST(Cut, BothSidesOfEverySeamShowTheSameCuts) {
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.story);
        const Cut cut = MakeCut(s);
        const double w = cut.grid.tileWidth, h = cut.grid.tileHeight;
        std::multiset<SeamMark> west, east, north, south;
        for (const TilePieces& t : cut.tiles) {
            for (const MapObject& o : t.objects) {
                const auto mark = [&](Point a, Point b) {
                    const auto [lowV, highV] = std::minmax(a.v, b.v);
                    const auto [lowH, highH] = std::minmax(a.h, b.h);
                    if (a.h == b.h && a.h == w && t.k + 1 < s.columns)
                        west.insert({o.layer, o.style, true, t.k + 1, t.j, lowV, highV});
                    if (a.h == b.h && a.h == 0 && t.k > 0) east.insert({o.layer, o.style, true, t.k, t.j, lowV, highV});
                    if (a.v == b.v && a.v == 0 && t.j > 1 - s.rows)
                        north.insert({o.layer, o.style, false, t.k, t.j, lowH, highH});
                    if (a.v == b.v && a.v == h && t.j < 0)
                        south.insert({o.layer, o.style, false, t.k, t.j + 1, lowH, highH});
                };
                if (o.kind == ArtKind::Line) {
                    for (const Point& end : {o.contours[0].front(), o.contours[0].back()}) mark(end, end);
                } else if (o.kind != ArtKind::Label) {
                    for (const Contour& c : o.contours) {
                        for (size_t i = 0; i < c.size(); ++i) mark(c[i], c[(i + 1) % c.size()]);
                    }
                }
            }
        }
        if (s.columns > 1) {
            EXPECT_FALSE(west.empty());
        }
        if (s.rows > 1) {
            EXPECT_FALSE(north.empty());
        }
        EXPECT_TRUE(west == east) << west.size() << " marks west of the seams, " << east.size() << " east";
        EXPECT_TRUE(north == south) << north.size() << " marks north of the seams, " << south.size() << " south";
    }
}

// After placement the plug-in's own seam tests must see every cut the tool made, and take no
// straight edge from one seam to another for one.
TEST(Cut, ThePlugInsSeamTestsFindEveryCut) {
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.story);
        const Cut cut = MakeCut(s);
        const double w = cut.grid.tileWidth, h = cut.grid.tileHeight;
        const SeamGrid seams(static_cast<float>(w), static_cast<float>(h), s.columns - 1, s.rows - 1);
        int lines = 0, edges = 0, across = 0;
        for (const TilePieces& t : cut.tiles) {
            const auto inner = [&](Point p) {
                return (p.h == 0 && t.k > 0) || (p.h == w && t.k + 1 < s.columns) || (p.v == 0 && t.j > 1 - s.rows) ||
                       (p.v == h && t.j < 0);
            };
            const auto placed = [&](Point p) {
                return SeamPoint{ToSeamUnits(Placed(p.h, t.k, w)), ToSeamUnits(Placed(p.v, t.j, h))};
            };
            for (const MapObject& o : t.objects) {
                if (o.kind == ArtKind::Line) {
                    const Contour& c = o.contours[0];
                    if (!inner(c.front()) && !inner(c.back())) continue;
                    ++lines;
                    EXPECT_TRUE(OnSeamLine(seams, placed(c.front()), placed(c.back())));
                } else if (o.kind != ArtKind::Label) {
                    for (const Contour& c : o.contours) {
                        for (size_t i = 0; i < c.size(); ++i) {
                            const Point a = c[i], b = c[(i + 1) % c.size()];
                            if (!inner(a) || !inner(b) || (a.h != b.h && a.v != b.v)) continue;
                            const bool along =
                                (a.h == b.h && (a.h == 0 || a.h == w)) || (a.v == b.v && (a.v == 0 || a.v == h));
                            edges += along ? 1 : 0;
                            across += along ? 0 : 1;
                            EXPECT_EQ(OnSeamEdge(seams, placed(a), placed(b)), along);
                        }
                    }
                }
            }
        }
        if (s.columns * s.rows > 1) {
            EXPECT_GT(lines, 0);
            EXPECT_GT(edges, 0);
        }
        if (s.style == MapStyle::Network && s.columns > 2) {
            EXPECT_GT(across, 0);
        }
    }
}

TEST(Cut, LabelsGoWholeToTheTileThatHoldsThem) {
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.story);
        if (s.style == MapStyle::Network) continue;  // no labels there
        const Cut cut = MakeCut(s);
        std::multiset<std::string> drawn, placed;
        for (const MapObject& o : cut.map.objects) {
            if (o.kind == ArtKind::Label) drawn.insert(o.text);
        }
        for (const TilePieces& tile : cut.tiles) {
            for (const MapObject& o : tile.objects) {
                if (o.kind != ArtKind::Label) continue;
                placed.insert(o.text);
                EXPECT_TRUE(o.contours.empty());
                EXPECT_GE(o.labelBounds.left, 0.0);
                EXPECT_GE(o.labelBounds.bottom, 0.0);
                EXPECT_LE(o.labelBounds.right, cut.grid.tileWidth);
                EXPECT_LE(o.labelBounds.top, cut.grid.tileHeight);
                EXPECT_EQ(o.anchor.h, o.labelBounds.left);
            }
        }
        EXPECT_FALSE(drawn.empty());
        EXPECT_EQ(placed, drawn);
    }
}

TEST(Cut, EveryTileGetsItsShareAndDensityMultipliesIt) {
    const TileGrid grid = GridOf(MeshKind::Material, 2, 2, 25000);
    const auto sparse = CutIntoTiles(DrawSampleMap({MeshKind::Material, grid, 9, 1}), grid);
    const auto dense = CutIntoTiles(DrawSampleMap({MeshKind::Material, grid, 9, 20}), grid);
    ASSERT_EQ(sparse.size(), 4u);
    ASSERT_EQ(dense.size(), 4u);
    for (size_t i = 0; i < sparse.size(); ++i) {
        EXPECT_GE(sparse[i].objects.size(), 10u);
        EXPECT_GE(dense[i].objects.size(), 10 * sparse[i].objects.size());
    }
}

// A 2 x 2 block of 100-point tiles: north-west [0,100] x [0,100], south-east [100,200] x [-100,0].
class HandMadeCut : public ::testing::Test {
protected:
    const TileGrid grid{2, 2, 100, 100};

    SampleMap MapOf(std::vector<MapObject> objects) {
        SampleMap map;
        map.scheme = materialLayerScheme;
        map.schemeCount = materialLayerSchemeCount;
        map.layers.push_back(FindLayer(map.scheme, map.schemeCount, {"行政界"}));
        map.styles.push_back({});
        map.objects = std::move(objects);
        return map;
    }

    static MapObject Object(ArtKind kind, std::vector<Contour> contours) {
        MapObject o;
        o.kind = kind;
        o.contours = std::move(contours);
        return o;
    }

    static Contour Square(double left, double bottom, double right, double top) {
        return {{left, bottom}, {right, bottom}, {right, top}, {left, top}};
    }

    const std::vector<MapObject>& At(const std::vector<TilePieces>& tiles, int32_t k, int32_t j) {
        for (const TilePieces& t : tiles) {
            if (t.k == k && t.j == j) return t.objects;
        }
        throw std::out_of_range("no such tile");
    }
};

TEST_F(HandMadeCut, ALineCrossingTwoSeamsFallsIntoThreePiecesMeetingOnTheSeams) {
    const auto tiles = CutIntoTiles(MapOf({Object(ArtKind::Line, {{{50, 50}, {150, 50}, {150, -50}}})}), grid);
    ASSERT_EQ(At(tiles, 0, 0).size(), 1u);
    ASSERT_EQ(At(tiles, 1, 0).size(), 1u);
    ASSERT_EQ(At(tiles, 1, -1).size(), 1u);
    EXPECT_TRUE(At(tiles, 0, -1).empty());

    auto ends = [](const MapObject& o) {
        Contour c = o.contours.at(0);
        return std::minmax({c.front(), c.back()},
                           [](Point a, Point b) { return a.h < b.h || (a.h == b.h && a.v < b.v); });
    };
    EXPECT_EQ(ends(At(tiles, 0, 0)[0]).first, (Point{50, 50}));
    EXPECT_EQ(ends(At(tiles, 0, 0)[0]).second, (Point{100, 50}));
    EXPECT_EQ(ends(At(tiles, 1, 0)[0]).first, (Point{0, 50}));
    EXPECT_EQ(ends(At(tiles, 1, 0)[0]).second, (Point{50, 0}));
    EXPECT_EQ(At(tiles, 1, 0)[0].contours[0].size(), 3u);
    EXPECT_EQ(ends(At(tiles, 1, -1)[0]).first, (Point{50, 50}));
    EXPECT_EQ(ends(At(tiles, 1, -1)[0]).second, (Point{50, 100}));
}

TEST_F(HandMadeCut, AFaceWithAHoleOverASeamCrossingLeavesFourNotchedPieces) {
    const auto tiles =
        CutIntoTiles(MapOf({Object(ArtKind::Face, {Square(60, -40, 140, 40), Square(90, -10, 110, 10)})}), grid);
    for (const TilePieces& tile : tiles) {
        SCOPED_TRACE(std::to_string(tile.k) + "," + std::to_string(tile.j));
        ASSERT_EQ(tile.objects.size(), 1u);
        const MapObject& piece = tile.objects[0];
        EXPECT_EQ(piece.kind, ArtKind::Face);
        ASSERT_EQ(piece.contours.size(), 1u);  // the hole became a notch on the seams
        EXPECT_EQ(piece.contours[0].size(), 6u);
        EXPECT_DOUBLE_EQ(FaceArea(piece), 40 * 40 - 10 * 10);
    }
}

TEST_F(HandMadeCut, AHoleAwayFromTheSeamStaysAHoleOfItsPiece) {
    const auto tiles =
        CutIntoTiles(MapOf({Object(ArtKind::Face, {Square(60, 60, 140, 90), Square(70, 70, 80, 80)})}), grid);
    ASSERT_EQ(At(tiles, 0, 0).size(), 1u);
    ASSERT_EQ(At(tiles, 1, 0).size(), 1u);
    EXPECT_EQ(At(tiles, 0, 0)[0].contours.size(), 2u);
    EXPECT_DOUBLE_EQ(FaceArea(At(tiles, 0, 0)[0]), 40 * 30 - 10 * 10);
    EXPECT_EQ(At(tiles, 1, 0)[0].contours.size(), 1u);
    EXPECT_DOUBLE_EQ(FaceArea(At(tiles, 1, 0)[0]), 40 * 30);
}

TEST_F(HandMadeCut, ARingIsClosedAlongTheSeamOnBothSides) {
    const auto tiles = CutIntoTiles(MapOf({Object(ArtKind::Ring, {Square(20, -60, 180, -20)})}), grid);
    for (auto [k, seam] : {std::pair{0, 100.0}, std::pair{1, 0.0}}) {
        const auto& objects = At(tiles, k, -1);
        ASSERT_EQ(objects.size(), 1u);
        const Contour& ring = objects[0].contours.at(0);
        EXPECT_EQ(ring.size(), 4u);
        EXPECT_EQ(std::count_if(ring.begin(), ring.end(), [&](Point p) { return p.h == seam; }), 2);
        EXPECT_DOUBLE_EQ(std::abs(SignedArea(ring)), 80 * 40);
    }
}

TEST_F(HandMadeCut, ArtWhollyInsideOneTileIsOnlyMoved) {
    MapObject label;
    label.kind = ArtKind::Label;
    label.text = "本町";
    label.anchor = {130, -70};
    label.labelBounds = {130, -72, 150, -60};
    const auto tiles = CutIntoTiles(MapOf({Object(ArtKind::Face, {Square(120, -80, 160, -30)}), label}), grid);
    const auto& objects = At(tiles, 1, -1);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0].contours.at(0), Square(20, 20, 60, 70));
    EXPECT_EQ(objects[1].anchor, (Point{30, 30}));
    EXPECT_EQ(objects[1].text, "本町");
}

TEST_F(HandMadeCut, ALabelAcrossAnEdgeGoesWholeWithItsAnchor) {
    MapObject label;
    label.kind = ArtKind::Label;
    label.text = "栄町";
    label.anchor = {90, -12};
    label.labelBounds = {90, -14, 110, -4};
    EXPECT_EQ(TileOfLabel(label, grid).k, -1);
    const auto tiles = CutIntoTiles(MapOf({label}), grid);
    ASSERT_EQ(At(tiles, 0, -1).size(), 1u);
    EXPECT_EQ(At(tiles, 0, -1)[0].anchor, (Point{90, 88}));

    label.labelBounds = {110, 10, 130, 20};
    EXPECT_EQ(TileOfLabel(label, grid).k, 1);
    EXPECT_EQ(TileOfLabel(label, grid).j, 0);
}

}  // namespace
}  // namespace samplemap
