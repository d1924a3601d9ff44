#include "TileCutter.h"

#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace samplemap {
namespace {

using ClipperLib::cInt;
using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;
using ClipperLib::PolyNode;

// Clipper puts cut points on the tile rectangle's edge to the unit; anything within this of an
// edge is the edge.
constexpr cInt kSnapUnits = 2;

cInt ToUnits(double pt) { return std::llround(pt * kUnitsPerPoint); }

Path ToPath(const Contour& contour) {
    Path path;
    path.reserve(contour.size());
    for (const Point& p : contour) path.push_back({ToUnits(p.h), ToUnits(p.v)});
    return path;
}

struct Box {
    cInt left, bottom, right, top;
};

Box BoxOf(const std::vector<Contour>& contours) {
    Box box{0, 0, 0, 0};
    bool first = true;
    for (const Contour& contour : contours) {
        for (const Point& p : contour) {
            const cInt h = ToUnits(p.h), v = ToUnits(p.v);
            if (first) {
                box = {h, v, h, v};
                first = false;
            }
            box.left = std::min(box.left, h);
            box.right = std::max(box.right, h);
            box.bottom = std::min(box.bottom, v);
            box.top = std::max(box.top, v);
        }
    }
    return box;
}

// One tile in units, and the way back to its local points.
class TileFrame {
public:
    TileFrame(const TileGrid& grid, int32_t k, int32_t j)
        : left_(ToUnits(k * grid.tileWidth)),
          bottom_(ToUnits(j * grid.tileHeight)),
          right_(ToUnits((k + 1) * grid.tileWidth)),
          top_(ToUnits((j + 1) * grid.tileHeight)),
          offsetH_(k * grid.tileWidth),
          offsetV_(j * grid.tileHeight),
          width_(grid.tileWidth),
          height_(grid.tileHeight) {}

    Path Rect() const { return {{left_, bottom_}, {right_, bottom_}, {right_, top_}, {left_, top_}}; }

    bool Holds(const Box& box) const {
        return box.left > left_ && box.right < right_ && box.bottom > bottom_ && box.top < top_;
    }
    bool Meets(const Box& box) const {
        return box.left < right_ && box.right > left_ && box.bottom < top_ && box.top > bottom_;
    }

    // Edge points become exactly 0 or the tile size, so the merge, adding the tile's offset,
    // puts both sides of a seam on the same hundredth of a millimetre.
    Point Local(const IntPoint& p) const {
        return {Snap(p.X, left_, right_, offsetH_, width_), Snap(p.Y, bottom_, top_, offsetV_, height_)};
    }

    Point Local(const Point& world) const { return {world.h - offsetH_, world.v - offsetV_}; }

    Contour Local(const Path& path) const {
        Contour contour;
        contour.reserve(path.size());
        for (const IntPoint& p : path) contour.push_back(Local(p));
        return contour;
    }

    Contour Local(const Contour& world) const {
        Contour contour;
        contour.reserve(world.size());
        for (const Point& p : world) contour.push_back(Local(p));
        return contour;
    }

private:
    static double Snap(cInt u, cInt low, cInt high, double offset, double size) {
        if (std::llabs(u - low) <= kSnapUnits) return 0;
        if (std::llabs(u - high) <= kSnapUnits) return size;
        return static_cast<double>(u) / kUnitsPerPoint - offset;
    }

    cInt left_, bottom_, right_, top_;
    double offsetH_, offsetV_;
    double width_, height_;
};

MapObject PieceOf(const MapObject& original, std::vector<Contour> contours) {
    MapObject piece;
    piece.kind = original.kind;
    piece.layer = original.layer;
    piece.style = original.style;
    piece.contours = std::move(contours);
    return piece;
}

void CutLine(const MapObject& line, const TileFrame& frame, std::vector<MapObject>& out) {
    ClipperLib::Clipper clipper;
    clipper.AddPath(ToPath(line.contours.at(0)), ClipperLib::ptSubject, false);
    clipper.AddPath(frame.Rect(), ClipperLib::ptClip, true);
    ClipperLib::PolyTree tree;
    clipper.Execute(ClipperLib::ctIntersection, tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    Paths pieces;
    ClipperLib::OpenPathsFromPolyTree(tree, pieces);
    for (const Path& piece : pieces) {
        if (piece.size() >= 2) out.push_back(PieceOf(line, {frame.Local(piece)}));
    }
}

// An outer outline with its holes makes one face; islands inside the holes are faces again.
void CollectFaces(const MapObject& face, const PolyNode& outer, const TileFrame& frame, std::vector<MapObject>& out) {
    std::vector<Contour> contours{frame.Local(outer.Contour)};
    for (const PolyNode* hole : outer.Childs) contours.push_back(frame.Local(hole->Contour));
    out.push_back(PieceOf(face, std::move(contours)));
    for (const PolyNode* hole : outer.Childs) {
        for (const PolyNode* island : hole->Childs) CollectFaces(face, *island, frame, out);
    }
}

// A ring cut by a rectangle leaves no holes; should one appear it is kept as a ring of its own.
void CollectRings(const MapObject& ring, const PolyNode& node, const TileFrame& frame, std::vector<MapObject>& out) {
    out.push_back(PieceOf(ring, {frame.Local(node.Contour)}));
    for (const PolyNode* child : node.Childs) CollectRings(ring, *child, frame, out);
}

void CutClosed(const MapObject& object, const TileFrame& frame, std::vector<MapObject>& out) {
    ClipperLib::Clipper clipper;
    // Anchors in a straight run are where a neighbour's border meets this one: they stay.
    clipper.PreserveCollinear(true);
    for (const Contour& contour : object.contours) clipper.AddPath(ToPath(contour), ClipperLib::ptSubject, true);
    clipper.AddPath(frame.Rect(), ClipperLib::ptClip, true);
    ClipperLib::PolyTree tree;
    clipper.Execute(ClipperLib::ctIntersection, tree, ClipperLib::pftEvenOdd, ClipperLib::pftNonZero);
    for (const PolyNode* outer : tree.Childs) {
        if (object.kind == ArtKind::Face) {
            CollectFaces(object, *outer, frame, out);
        } else {
            CollectRings(object, *outer, frame, out);
        }
    }
}

// The index of the tile holding coordinate v of tiles size wide, kept inside [low, high].
int32_t TileAt(double v, double size, int32_t low, int32_t high) {
    return static_cast<int32_t>(std::clamp(std::floor(v / size), double(low), double(high)));
}

}  // namespace

TileIndex TileOfLabel(const MapObject& label, const TileGrid& grid) {
    const Rect& b = label.labelBounds;
    const auto k = static_cast<int32_t>(std::floor(b.left / grid.tileWidth));
    const auto j = static_cast<int32_t>(std::floor(b.bottom / grid.tileHeight));
    if (k < 0 || k >= grid.columns || j > 0 || j <= -grid.rows) return {};
    const Rect tile = grid.TileBounds(k, j);
    if (b.right > tile.right || b.top > tile.top) return {};
    return {k, j};
}

std::vector<TilePieces> CutIntoTiles(const SampleMap& map, const TileGrid& grid) {
    std::vector<TilePieces> tiles;
    std::vector<TileFrame> frames;
    for (int32_t row = 0; row < grid.rows; ++row) {
        for (int32_t k = 0; k < grid.columns; ++k) {
            tiles.push_back({k, -row, {}});
            frames.emplace_back(grid, k, -row);
        }
    }
    const auto at = [&](int32_t k, int32_t j) { return static_cast<size_t>(-j * grid.columns + k); };
    const double unitWidth = grid.tileWidth * kUnitsPerPoint;
    const double unitHeight = grid.tileHeight * kUnitsPerPoint;

    for (const MapObject& object : map.objects) {
        if (object.kind == ArtKind::Label) {
            TileIndex tile = TileOfLabel(object, grid);
            if (tile.k < 0) {
                // Never drawn so; should one lie across an edge, it goes whole with its anchor.
                tile = {TileAt(object.anchor.h, grid.tileWidth, 0, grid.columns - 1),
                        TileAt(object.anchor.v, grid.tileHeight, 1 - grid.rows, 0)};
            }
            const TileFrame& frame = frames[at(tile.k, tile.j)];
            const Rect& b = object.labelBounds;
            MapObject label = object;
            label.anchor = frame.Local(object.anchor);
            const Point low = frame.Local(Point{b.left, b.bottom});
            const Point high = frame.Local(Point{b.right, b.top});
            label.labelBounds = {low.h, low.v, high.h, high.v};
            tiles[at(tile.k, tile.j)].objects.push_back(std::move(label));
            continue;
        }
        if (object.contours.empty() || object.contours[0].empty()) continue;
        const Box box = BoxOf(object.contours);
        const int32_t k0 = TileAt(static_cast<double>(box.left), unitWidth, 0, grid.columns - 1);
        const int32_t k1 = TileAt(static_cast<double>(box.right), unitWidth, 0, grid.columns - 1);
        const int32_t j0 = TileAt(static_cast<double>(box.bottom), unitHeight, 1 - grid.rows, 0);
        const int32_t j1 = TileAt(static_cast<double>(box.top), unitHeight, 1 - grid.rows, 0);
        for (int32_t j = j1; j >= j0; --j) {
            for (int32_t k = k0; k <= k1; ++k) {
                const TileFrame& frame = frames[at(k, j)];
                std::vector<MapObject>& out = tiles[at(k, j)].objects;
                if (!frame.Meets(box)) continue;
                if (frame.Holds(box)) {
                    std::vector<Contour> contours;
                    for (const Contour& contour : object.contours) contours.push_back(frame.Local(contour));
                    out.push_back(PieceOf(object, std::move(contours)));
                } else if (object.kind == ArtKind::Line) {
                    CutLine(object, frame, out);
                } else {
                    CutClosed(object, frame, out);
                }
            }
        }
    }
    return tiles;
}

}  // namespace samplemap
