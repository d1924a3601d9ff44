// One layer of a merged map against the same layer of the uncut reference: which features came
// back as exactly themselves, which were fused or lost, and what a plain GIS line merge of the
// tiles would have got back.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "MergeShapes.h"

namespace seamcheck {

// Per kind of feature: how many the tiles cut, how many of those came back as exactly
// themselves, as many after a plain GIS line merge of the tiles (lines only), how many features
// were fused with another into one path, and how many did not come back at all.
struct Tally {
    size_t cut = 0;
    size_t exact = 0;
    size_t baseline = 0;
    size_t fused = 0;
    size_t lost = 0;
    Tally& operator+=(const Tally& other);
};
using Tallies = std::array<Tally, 3>;  // by Kind

double Percent(size_t part, size_t whole);

// One line: "lines: 85 cut, 85 back exactly (100.0%), plain GIS line merge 71 (83.5%), 0 fused,
// 0 lost" (the plain merge for lines only).
std::string Summary(Kind kind, const Tally& tally);

struct LayerVerdict {
    std::vector<const Shape*> strays;   // merged paths that are no reference path
    std::vector<const Shape*> missing;  // reference paths that did not come back
    size_t uncutLeftovers = 0;          // reference anchors that look like cut leftovers
    size_t leftOnSeams = 0;             // anchors of the merged paths on seams, beyond the reference's
    size_t cutShapes = 0;               // merged paths that held cut leftovers
    size_t slitFaces = 0;
    // A layer kept as cut: its faces stay the tiles' pieces.
    size_t keptPieces = 0;     // merged pieces with an edge along a seam
    size_t keptCutFaces = 0;   // reference faces the tiles cut
    size_t keptFacesAway = 0;  // reference faces not back whole
    size_t pieceAnchors = 0;   // anchors of the kept pieces off the seams
    size_t awayAnchors = 0;    // anchors of the reference faces not back whole
    double wantArea = 0, gotArea = 0;
    Tallies tallies;
};

// Matches the merged layer against the reference layer; both lose their seam leftovers on the
// way, and the verdict points into them. pieces are the tiles' paths of the layer at their
// places in the merge. keptCut: the layer's faces are not joined by the merge.
LayerVerdict CompareLayer(LayerContent& want, LayerContent& got, const std::vector<Shape>& pieces, const Seams& seams,
                          bool keptCut);

}  // namespace seamcheck
