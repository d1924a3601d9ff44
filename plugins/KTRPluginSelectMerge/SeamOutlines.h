// The merge of closed outlines at a shared seam edge, common to filled faces
// (CompoundShape) and unfilled rings (CompoundPolyline). The two differ only
// in the rules below.
#pragma once

#include "AIHost.h"
#include "MergeProgress.h"
#include "core/SeamGeometry.h"

namespace seamjoin::detail {

struct OutlineRules {
    // Faces take filled closed paths, rings unfilled ones.
    bool filled = true;
    // Rings: partners must also pass SamePathStyle.
    bool comparePathStyles = false;
    // Rings: a partner running the other way along the edge is reversed and
    // spliced forward. Faces: it is spliced walking backwards.
    bool reversePartner = false;
    // Faces: the other members of the partner's compound path (its holes)
    // move into art1's compound path.
    bool carryHoles = false;
    // The progress caption.
    const char* caption = "";
};

int MergeOutlines(AILayerHandle layer, const SeamGrid& grid, const OutlineRules& rules, MergeProgress& progress);

}  // namespace seamjoin::detail
