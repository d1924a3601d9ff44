// The synthetic map as plain values: what the generator draws, the cutter cuts and the writer
// hands to the host. Coordinates are points, y growing upward.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/LayerScheme.h"
#include "core/MeshGrid.h"

namespace samplemap {

struct Point {
    double h = 0;
    double v = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    double left = 0;
    double bottom = 0;
    double right = 0;
    double top = 0;
};

// Cutting works in integers of this many per point, fine enough that rounding never shows at
// the seams' hundredths of a millimetre.
inline constexpr double kUnitsPerPoint = 1e4;

// The block of tiles in world coordinates: tile (k, j), k >= 0 counted eastward and j <= 0
// southward, covers [k * tileWidth, (k + 1) * tileWidth] x [j * tileHeight, (j + 1) * tileHeight],
// so the north-west tile sits on the origin.
struct TileGrid {
    int32_t columns = 1;
    int32_t rows = 1;
    double tileWidth = 0;  // the tile size as the merge holds it (float points), widened
    double tileHeight = 0;
    Rect Bounds() const;
    Rect TileBounds(int32_t k, int32_t j) const;
};

// An open polyline or a closed outline (the closing edge is implied, not repeated).
using Contour = std::vector<Point>;

enum class ArtKind {
    Line,   // open, stroked, unfilled polyline
    Face,   // filled closed outline, with holes as further contours
    Ring,   // stroked, unfilled closed outline
    Label,  // point text, never cut
};

struct Cmyk {
    float c = 0, m = 0, y = 0, k = 0;
    friend bool operator==(const Cmyk&, const Cmyk&) = default;
};

// Pieces of one original share one style, so the merge sees equal appearances on both sides of
// a seam; two styles in one layer must not be joined.
struct Style {
    bool filled = false;
    Cmyk fill;
    bool stroked = false;
    Cmyk stroke;
    float strokeWidth = 0;
    bool evenOdd = false;  // faces: holes are cut out whatever their orientation
    friend bool operator==(const Style&, const Style&) = default;
};

// A leaf layer of one of the two scheme trees, found by position: the Tokyo-23 tree repeats
// titles, so the titles alone do not name a layer.
struct LayerRef {
    std::vector<int32_t> indices;     // top-level index, then sublayer indices
    std::vector<std::string> titles;  // the titles along the way, for people and manifests
    std::string TitlePath() const;    // titles joined by "/"
};

struct MapObject {
    ArtKind kind = ArtKind::Line;
    int layer = 0;  // index into SampleMap::layers
    int style = 0;  // index into SampleMap::styles
    // Line: one polyline. Ring: one outline. Face: the outer outline, then its holes.
    std::vector<Contour> contours;
    // Label only.
    std::string text;
    Point anchor;  // left end of the baseline
    float fontSize = 0;
    Rect labelBounds;  // the room the text may take, anchor included
};

struct SampleMap {
    MeshKind kind = MeshKind::Material;
    const LayerSchemeEntry* scheme = nullptr;  // the tree every document carries
    int32_t schemeCount = 0;
    std::vector<LayerRef> layers;
    std::vector<Style> styles;
    std::vector<MapObject> objects;
};

// Counts of what a document (or a part of one) holds: art objects as the host lists them at the
// top of a layer (paths, compound paths, text), member paths and their anchors.
struct ArtCounts {
    int32_t objects = 0;
    int32_t paths = 0;
    int32_t anchors = 0;
    int32_t lines = 0;
    int32_t faces = 0;
    int32_t rings = 0;
    int32_t labels = 0;
    ArtCounts& operator+=(const ArtCounts& other);
    friend bool operator==(const ArtCounts&, const ArtCounts&) = default;
};

ArtCounts CountObject(const MapObject& object);
ArtCounts CountObjects(const std::vector<MapObject>& objects);

// Signed area (positive counter-clockwise with y up) and length, the closing edge counted for
// outlines.
double SignedArea(const Contour& contour);
double PolylineLength(const Contour& contour);

// Area a face covers: outer minus holes.
double FaceArea(const MapObject& face);

// The layer at indices in scheme[0..count); empty titles when the path leaves the tree.
LayerRef LayerAt(const LayerSchemeEntry* scheme, int32_t count, std::vector<int32_t> indices);

// The layer reached by titles, taking the occurrence-th top-level layer of the first title
// (1 = topmost) and the first sublayer of each further title. Throws std::invalid_argument when
// no such layer exists.
LayerRef FindLayer(const LayerSchemeEntry* scheme, int32_t count, const std::vector<std::string>& titles,
                   int occurrence = 1);

}  // namespace samplemap
