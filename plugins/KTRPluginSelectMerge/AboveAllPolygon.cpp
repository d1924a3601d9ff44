// The polygons of a layer, stacked tile by tile during placement, are brought
// together directly above the layer's first line, or above the compound path
// or group that holds it.
#include <algorithm>
#include <vector>

#include "KTRPluginSelectMergePlugin.h"
#include "SeamJoin.h"
#include "SeamWork.h"
#include "Suites.h"

namespace seamjoin {

namespace {

bool IsText(int16_t type) {
    switch (type) {
    case kTextArtUnsupported:
    case kTextPathArtUnsupported:
    case kTextRunArtUnsupported:
    case kMysteryPathArt:
    case kTextFrameArt:
    case kLegacyTextArt: return true;
    default: return false;
    }
}

bool IsPathLike(int16_t type) { return type == kPathArt || type == kCompoundPathArt; }

// The first line and the compound paths and groups that hold it inside the
// layer, outermost last; empty when the walk does not end at the layer. The
// polygons go above the outermost: placed beside a member they would become
// members too, and a filled face in an unfilled compound path of lines loses
// its fill. None of these is moved: a copy would land inside or beside
// itself, and deleting the source would take the reference along.
std::vector<AIArtHandle> HoldersOf(AILayerHandle layer, AIArtHandle firstLine) {
    AIArtHandle top = nullptr;
    if (sAIArt->GetFirstArtOfLayer(layer, &top) != kNoErr || top == nullptr) {
        return {};
    }
    std::vector<AIArtHandle> holders{firstLine};
    for (;;) {
        AIArtHandle parent = nullptr;
        if (sAIArt->GetArtParent(holders.back(), &parent) != kNoErr || parent == nullptr ||
            std::find(holders.begin(), holders.end(), parent) != holders.end()) {
            return {};
        }
        if (parent == top) {
            return holders;
        }
        holders.push_back(parent);
    }
}

}  // namespace

int AboveAllPolygon(AILayerHandle layer) {
    const std::vector<AIArtHandle> arts = LayerArt(layer);
    if (arts.empty()) {
        return 1;
    }
    AIArtHandle firstLine = nullptr;
    int polygons = 0;
    int lines = 0;
    for (AIArtHandle art : arts) {
        const int16_t type = ArtType(art);
        if (IsText(type)) {
            return 1;
        }
        if (!IsPathLike(type)) {
            continue;
        }
        if (HasMembers(art)) {
            continue;
        }
        const bool stroked = HasStroke(art);
        const bool closed = IsClosed(art);
        const bool filled = HasFill(art);
        if (stroked && (!closed || !filled)) {
            ++lines;
            if (firstLine == nullptr) {
                firstLine = art;
            }
        } else {
            ++polygons;
        }
    }
    if (polygons == 0 || lines == 0) {
        return 1;
    }
    const std::vector<AIArtHandle> holders = HoldersOf(layer, firstLine);
    if (holders.empty()) {
        return 1;
    }
    const AIArtHandle reference = holders.back();
    for (AIArtHandle art : arts) {
        // Art deleted with a moved compound path reads as unknown and is passed by.
        if (!IsPathLike(ArtType(art)) || !IsClosed(art) || !HasFill(art)) {
            continue;
        }
        if (std::find(holders.begin(), holders.end(), art) != holders.end()) {
            continue;
        }
        // The source goes only once its copy exists.
        AIArtHandle copy = nullptr;
        if (sAIArt->DuplicateArt(art, kPlaceAbove, reference, &copy) == kNoErr && copy != nullptr) {
            sAIArt->DisposeArt(art);
        }
    }
    return 1;
}

}  // namespace seamjoin

int KTRPluginSelectMergePlugin::AboveAllPolygon(AILayerHandle layer) { return seamjoin::AboveAllPolygon(layer); }
