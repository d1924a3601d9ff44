// Seam layouts for the join tests and benchmarks: what a merged layer looks
// like after placement, as plain data, so that the same layout can be built
// into two documents and joined by two implementations.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "AIHost.h"
#include "core/SeamGeometry.h"

namespace seamtest {

// A path style with the effect id the host keeps beside it (0 none); a
// non-zero effect gives a different art style for the same path style.
struct StyleSpec {
    AIPathStyle path{};
    int32_t effect = 0;
};

// Fixed styles, by index into Palette().
enum StyleIndex {
    kLine,           // stroked, unfilled
    kLineWide,       // kLine with a wider stroke: same path style keys, other art style
    kLineFillValue,  // kLine with other (unpainted) fill colour values
    kLineEvenOdd,    // kLine with the even-odd flag
    kLineClip,       // kLine with the clip flag
    kLineEffect,     // kLine's path style under another effect
    kFace,           // filled, unstroked
    kFaceGray,       // filled with another gray
    kFaceEffect,     // kFace under another effect
    kFaceStroked,    // filled and stroked
    kRing,           // stroked, unfilled (closed)
    kRingEvenOdd,    // kRing with the even-odd flag
    kRingWide,       // kRing with a wider stroke
    kStyleCount
};

const std::vector<StyleSpec>& Palette();

struct Shape {
    std::vector<AIPathSegment> segments;
    bool closed = false;
    int style = kLine;
};

struct Item {
    enum class Kind { Path, Compound, Group, Text };
    Kind kind = Kind::Path;
    std::vector<Shape> shapes;  // one for a path, the members otherwise, none for text
};

struct Layout {
    float tileWidth = 100;
    float tileHeight = 100;
    int lastColumn = 0;
    int lastRow = 0;
    std::vector<Item> items;  // in listing order, topmost first

    SeamGrid Grid() const { return SeamGrid(tileWidth, tileHeight, lastColumn, lastRow); }
};

AIPathSegment Corner(float h, float v);
Shape Polyline(const std::vector<AIRealPoint>& anchors, bool closed, int style);
Item PathItem(const std::vector<AIRealPoint>& anchors, bool closed, int style);

// A small random layout on a coarse lattice whose lines fall on the seams:
// cut lines, faces and rings (some with holes, some in groups), doubled
// points, curves, mixed styles and orientations, listed in random order;
// junctions of lines on and off the seams, pairs of faces or rings sharing a
// straight border from seam to seam, and now and then the first line inside a
// compound path or group.
Layout RandomLayout(uint32_t seed);

// How the pieces of a cut layout are listed: in random order, or tile by
// tile, row by row, each tile's pieces in the order of the uncut map (as a
// merge leaves a layer).
enum class Listing { Shuffled, ByTile };

// One layer on a 4 x 4 grid with about `pieces` pieces of lines cut at the
// seams (or of cut rectangles, drawn in `style`).
Layout CutLinesLayout(int pieces, uint32_t seed, Listing listing = Listing::Shuffled);
Layout CutFacesLayout(int pieces, uint32_t seed, int style = kFace, Listing listing = Listing::Shuffled);

}  // namespace seamtest
