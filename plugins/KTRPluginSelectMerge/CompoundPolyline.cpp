// Unfilled closed outlines cut at a tile seam are spliced back into one ring.
#include "KTRPluginSelectMergePlugin.h"
#include "SeamJoin.h"
#include "SeamOutlines.h"

namespace seamjoin {

int CompoundPolyline(AILayerHandle layer, const SeamGrid& grid) {
    detail::OutlineRules rules;
    rules.filled = false;
    rules.comparePathStyles = true;
    rules.reversePartner = true;
    rules.carryHoles = false;
    return detail::MergeOutlines(layer, grid, rules);
}

}  // namespace seamjoin

int KTRPluginSelectMergePlugin::CompoundPolyline(AIMenuMessage* /*message*/, AILayerHandle layer, float tileWidth,
                                                 float tileHeight, int lastColumn, int lastRow) {
    return seamjoin::CompoundPolyline(layer, SeamGrid(tileWidth, tileHeight, lastColumn, lastRow));
}
