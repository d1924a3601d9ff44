// What the passes of the adjust run ask of the document before they change it: which layers and
// which art they may touch, where art stands, and its bounds and anchors in plain geometry.
#ifndef KTR_ADJUST_ART_H
#define KTR_ADJUST_ART_H

#include <unordered_set>
#include <vector>

#include "AIHost.h"
#include "core/ClipBox.h"

namespace adjust {

PathAnchor ToAnchor(const AIPathSegment& segment);

// False when the host cannot say; *bounds is then left as it was.
bool Bounds(AIArtHandle art, Box* bounds);

// The art and everything inside it, container first.
std::vector<AIArtHandle> Subtree(AIArtHandle root);

// Art deleted while an art set is walked: the set still lists it and its members, and their
// handles are dead, so they must never reach the host again.
class DisposedArt {
public:
    bool Contains(AIArtHandle art) const { return fDead.count(art) != 0; }
    bool Dispose(AIArtHandle art);

private:
    std::unordered_set<AIArtHandle> fDead;
};

// Where an art set entry stands: whether it may be touched, and what encloses it below the
// layer's own group. Art inside a locked or hidden group is as locked or hidden as the group.
struct Standing {
    bool eligible = false;
    bool inCompound = false;
    bool inGroup = false;
};

Standing Locate(AIArtHandle art);

// Every layer in the host's preorder that is visible, editable, holds art and has no sublayers,
// inside visible and editable layers only, except the ones named. A layer the host cannot answer
// for is left out.
std::vector<AILayerHandle> EligibleLayers(AILayerHandle skip1, AILayerHandle skip2);

}  // namespace adjust

#endif
