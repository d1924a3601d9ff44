// Filled faces cut at a tile seam are spliced back into one outline, holes
// and all.
#include "KTRPluginSelectMergePlugin.h"
#include "SeamJoin.h"
#include "SeamOutlines.h"

namespace seamjoin {

int CompoundShape(AILayerHandle layer, const SeamGrid& grid, MergeProgress& progress) {
    detail::OutlineRules rules;
    rules.filled = true;
    rules.comparePathStyles = false;
    rules.reversePartner = false;
    rules.carryHoles = true;
    rules.caption = kFaceCaption;
    return detail::MergeOutlines(layer, grid, rules, progress);
}

}  // namespace seamjoin

int KTRPluginSelectMergePlugin::CompoundShape(AIMenuMessage* /*message*/, AILayerHandle layer, float tileWidth,
                                              float tileHeight, int lastColumn, int lastRow, MergeProgress& progress) {
    return seamjoin::CompoundShape(layer, SeamGrid(tileWidth, tileHeight, lastColumn, lastRow), progress);
}
