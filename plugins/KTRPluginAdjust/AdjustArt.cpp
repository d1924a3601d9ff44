#include "AdjustArt.h"

#include "ArtQueries.h"
#include "IAIError.h"
#include "IAIUnicodeString.h"
#include "KTRPluginAdjustPlugin.h"
#include "LiteralEncoding.h"
#include "Suites.h"
#include "core/AnnotationLayers.h"

namespace adjust {

namespace {

bool LayerOpen(AILayerHandle layer) {
    AIBoolean visible = false;
    AIBoolean editable = false;
    return sAILayer->GetLayerVisible(layer, &visible) == kNoErr && visible &&
           sAILayer->GetLayerEditable(layer, &editable) == kNoErr && editable;
}

bool IsEligibleLayer(AILayerHandle layer) {
    if (!LayerOpen(layer)) return false;
    AIBoolean hasArt = false;
    if (sAILayer->LayerHasArt(layer, &hasArt) != kNoErr || !hasArt) return false;
    AILayerHandle child = nullptr;
    if (sAILayer->GetLayerFirstChild(layer, &child) != kNoErr || child) return false;
    AILayerHandle parent = nullptr;
    if (sAILayer->GetLayerParent(layer, &parent) != kNoErr) return false;
    while (parent) {
        if (!LayerOpen(parent)) return false;
        AILayerHandle above = nullptr;
        if (sAILayer->GetLayerParent(parent, &above) != kNoErr) return false;
        parent = above;
    }
    return true;
}

bool LockedOrHidden(AIArtHandle art) {
    int32_t attr = 0;
    if (sAIArt->GetArtUserAttr(art, kArtLocked | kArtHidden, &attr) != kNoErr) return true;
    return (attr & (kArtLocked | kArtHidden)) != 0;
}

}  // namespace

PathAnchor ToAnchor(const AIPathSegment& s) { return {{s.p.h, s.p.v}, {s.in.h, s.in.v}, {s.out.h, s.out.v}}; }

bool Bounds(AIArtHandle art, Box* bounds) {
    AIRealRect rect{0, 0, 0, 0};
    if (sAIArt->GetArtBounds(art, &rect) != kNoErr) return false;
    *bounds = Box{rect.left, rect.top, rect.right, rect.bottom};
    return true;
}

std::vector<AIArtHandle> Subtree(AIArtHandle root) {
    std::vector<AIArtHandle> tree{root};
    for (std::size_t i = 0; i < tree.size(); ++i) {
        const std::vector<AIArtHandle> members = Members(tree[i]);
        tree.insert(tree.end(), members.begin(), members.end());
    }
    return tree;
}

bool DisposedArt::Dispose(AIArtHandle art) {
    const std::vector<AIArtHandle> tree = Subtree(art);
    if (sAIArt->DisposeArt(art) != kNoErr) return false;
    fDead.insert(tree.begin(), tree.end());
    return true;
}

Standing Locate(AIArtHandle art) {
    Standing standing;
    standing.eligible = !LockedOrHidden(art);
    AIArtHandle parent = nullptr;
    if (sAIArt->GetArtParent(art, &parent) != kNoErr) {
        standing.eligible = false;
        return standing;
    }
    while (parent) {
        AIArtHandle above = nullptr;
        if (sAIArt->GetArtParent(parent, &above) != kNoErr) {
            standing.eligible = false;
            return standing;
        }
        if (!above) break;  // the layer's own group
        const int16_t type = ArtType(parent);
        standing.inCompound |= type == kCompoundPathArt;
        standing.inGroup |= type != kCompoundPathArt;
        if (LockedOrHidden(parent)) standing.eligible = false;
        parent = above;
    }
    return standing;
}

std::vector<AILayerHandle> EligibleLayers(AILayerHandle skip1, AILayerHandle skip2) {
    std::vector<AILayerHandle> layers;
    AILayerHandle layer = nullptr;
    if (sAILayer->GetFirstLayer(&layer) != kNoErr) layer = nullptr;
    while (layer) {
        if (layer != skip1 && layer != skip2 && IsEligibleLayer(layer)) layers.push_back(layer);
        AILayerHandle next = nullptr;
        if (sAILayer->GetNextPreorderLayer(layer, &next) != kNoErr) next = nullptr;
        layer = next;
    }
    return layers;
}

}  // namespace adjust

namespace {

// Titles reach the plug-in through a platform buffer of this size.
constexpr std::size_t kTitleBufferSize = 101;

}  // namespace

bool KTRPluginAdjustPlugin::CheckPlateoStringLayer(AILayerHandle layer) {
    char title[kTitleBufferSize] = {};
    try {
        ai::UnicodeString text;
        if (sAILayer->GetLayerTitle(layer, text.get()) != kNoErr) return false;
        text.getToBuffer(title, sizeof title, kLiteralEncoding);
    } catch (const ai::Error&) {
        return false;
    }
    return IsPlateoStringLayerTitle(title);
}
