// Unfilled closed outlines cut at a tile seam are spliced back into one ring.
#include "KTRPluginSelectMergePlugin.h"
#include "SeamJoin.h"
#include "SeamOutlines.h"

namespace seamjoin {

int CompoundPolyline(AILayerHandle layer, const SeamGrid& grid, MergeProgress& progress) {
    detail::OutlineRules rules;
    rules.filled = false;
    rules.comparePathStyles = true;
    rules.reversePartner = true;
    rules.carryHoles = false;
    rules.caption = kClosedLineCaption;
    return detail::MergeOutlines(layer, grid, rules, progress);
}

}  // namespace seamjoin

int KTRPluginSelectMergePlugin::CompoundPolyline(AIMenuMessage* /*message*/, AILayerHandle layer, float tileWidth,
                                                 float tileHeight, int lastColumn, int lastRow,
                                                 MergeProgress& progress) {
    return seamjoin::CompoundPolyline(layer, SeamGrid(tileWidth, tileHeight, lastColumn, lastRow), progress);
}
