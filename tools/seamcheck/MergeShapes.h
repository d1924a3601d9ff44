// The paths of a map as the seam joins see them: anchors in whole hundredths of a millimetre,
// read through the host's SVG reader, and the geometry that tells a merged path from the
// feature it should be.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quiltor::host {
class StyleTable;
}

namespace seamcheck {

// Hundredths of a millimetre, rounded half away from zero as the joins round.
int64_t Hundredths(double pt);

struct Pt {
    int64_t h = 0;
    int64_t v = 0;
};
using Ring = std::vector<Pt>;

// Reads are float points; the same point reached as reference and as tile offset plus local
// coordinate may fall on either side of a hundredth.
bool Near(const Pt& a, const Pt& b);

enum class Kind { Line, Face, Ring };
const char* KindName(Kind kind);

struct Shape {
    Kind kind = Kind::Line;
    const void* style = nullptr;  // one appearance, one handle, over every file read with one table
    std::vector<Ring> contours;   // as read, then with the seam anchors taken out
    double area = 0;              // faces: outer minus holes, in square points
};

struct LayerContent {
    std::string title;  // the titles from the top, each followed by "/"
    std::vector<Shape> shapes;
    size_t objects = 0;
    size_t labels = 0;
    size_t anchors = 0;  // as read
};

// Every layer of a document in preorder; anchors are moved by (offsetH, offsetV) as the merge
// moves a tile's art: float coordinates plus the float offset. Empty, with *error filled, when
// the file cannot be read.
std::vector<LayerContent> ReadLayers(const std::string& file, quiltor::host::StyleTable& styles, float offsetH,
                                     float offsetV, std::string* error);

// The inner seams of the block in hundredths: x of the vertical ones, y of the horizontal ones.
// The northern row covers [0, tileHeight], the rows below it go down from y = 0.
struct Seams {
    std::vector<int64_t> x, y;
    bool On(const Pt& p) const;
};
Seams SeamsOf(float tileWidth, float tileHeight, int columns, int rows);

// Takes the anchors a cut leaves (on a seam, on the straight way between their neighbours) out
// of a contour; returns how many went.
size_t DropLeftovers(Ring& ring, bool closed, const Seams& seams);

// Same anchors in order, open paths either way round, closed ones from any start too.
bool SameRing(const Ring& a, const Ring& b, bool closed);
bool SameShape(const Shape& a, const Shape& b);

// The kind, contours and first anchors: enough to find the path in the files.
std::string Describe(const Shape& shape);

bool EndsWith(const std::string& text, const std::string& end);

// Two neighbouring anchors on the same seam line.
bool HasSeamEdge(const Shape& shape, const Seams& seams);

// A face whose hole crossed a seam comes back with a slit: its outline runs along the seam there
// and back, taking the hole in. The anchors such a merged face holds beyond the reference face's
// own (all on seams), or kNotSlit when it is no slit form of that face.
inline constexpr size_t kNotSlit = static_cast<size_t>(-1);
size_t SlitFaceAnchors(const Shape& face, const Shape& merged, const Seams& seams);

// Whether an edge of the shape runs from one side of a seam line to the other, so the tiles cut it.
bool CrossesSeam(const Shape& shape, const Seams& seams);

// The share of a feature's length that the path runs along: the middles of the feature's edges
// found on the path's edges, weighted by their length.
double ShareAlong(const Shape& feature, const Shape& path);

// A plain GIS line merge of tile pieces, with no notion of seams: wherever exactly two line ends
// of one style meet, the two lines become one.
std::vector<Shape> GisLineMerge(const std::vector<Shape>& pieces);

}  // namespace seamcheck
