// The polygons of a layer, stacked tile by tile during placement, are brought
// together directly above the layer's first line.
#include <unordered_set>

#include "KTRPluginSelectMergePlugin.h"
#include "SeamJoin.h"
#include "SeamWork.h"
#include "Suites.h"

namespace seamjoin {

namespace {

bool IsText(int16_t type)
{
    switch (type) {
    case kTextArtUnsupported:
    case kTextPathArtUnsupported:
    case kTextRunArtUnsupported:
    case kMysteryPathArt:
    case kTextFrameArt:
    case kLegacyTextArt:
        return true;
    default:
        return false;
    }
}

bool IsPathLike(int16_t type)
{
    return type == kPathArt || type == kCompoundPathArt;
}

// The first line and everything that holds it. Moving a holder would put its
// copy inside itself, and deleting the holder would take the copy along.
std::unordered_set<AIArtHandle> HoldersOf(AIArtHandle art)
{
    std::unordered_set<AIArtHandle> holders;
    while (art != nullptr && holders.insert(art).second) {
        AIArtHandle parent = nullptr;
        sAIArt->GetArtParent(art, &parent);
        art = parent;
    }
    return holders;
}

}  // namespace

int AboveAllPolygon(AILayerHandle layer)
{
    const std::vector<AIArtHandle> arts = detail::LayerArt(layer);
    if (arts.empty()) {
        return 1;
    }
    AIArtHandle firstLine = nullptr;
    int polygons = 0;
    int lines = 0;
    for (AIArtHandle art : arts) {
        const int16_t type = detail::ArtType(art);
        if (IsText(type)) {
            return 1;
        }
        if (!IsPathLike(type)) {
            continue;
        }
        AIArtHandle child = nullptr;
        sAIArt->GetArtFirstChild(art, &child);
        if (child != nullptr) {
            continue;
        }
        const bool stroked = detail::HasStroke(art);
        const bool closed = detail::IsClosed(art);
        const bool filled = detail::HasFill(art);
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
    const std::unordered_set<AIArtHandle> holders = HoldersOf(firstLine);
    for (AIArtHandle art : arts) {
        // Art deleted with a moved compound path reads as unknown and is passed by.
        if (!IsPathLike(detail::ArtType(art)) || !detail::IsClosed(art) || !detail::HasFill(art)) {
            continue;
        }
        if (holders.contains(art)) {
            continue;
        }
        // The source goes only once its copy exists.
        AIArtHandle copy = nullptr;
        if (sAIArt->DuplicateArt(art, kPlaceAbove, firstLine, &copy) == kNoErr && copy != nullptr) {
            sAIArt->DisposeArt(art);
        }
    }
    return 1;
}

}  // namespace seamjoin

int KTRPluginSelectMergePlugin::AboveAllPolygon(AILayerHandle layer)
{
    return seamjoin::AboveAllPolygon(layer);
}
