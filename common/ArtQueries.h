// Reads of art through the host suites, shared by the plug-ins. Each starts from a safe answer,
// so a host call that fails reads as "nothing there" unless the caller asks otherwise.
#ifndef QUILTOR_COMMON_ART_QUERIES_H
#define QUILTOR_COMMON_ART_QUERIES_H

#include <cstdint>
#include <vector>

#include "AIHost.h"

// kUnknownArt when the host cannot say.
int16_t ArtType(AIArtHandle art);

// `whenUnknown` is the answer when the host cannot say: a caller that must leave alone what it
// cannot read asks for true.
bool IsClosed(AIArtHandle art, bool whenUnknown = false);
bool HasFill(AIArtHandle art, bool whenUnknown = false);
bool HasStroke(AIArtHandle art);

// 0 when the host cannot say.
int16_t SegmentCount(AIArtHandle path);

// Whether a group or compound path holds anything; false when the host cannot say.
bool HasMembers(AIArtHandle art);

// The members of a group or compound path, topmost first. A host call that fails ends the list
// there, and *complete (when asked for) is then false.
std::vector<AIArtHandle> Members(AIArtHandle art, bool* complete = nullptr);

// An art set of the caller's, disposed on every way out. When the host cannot make one, the set
// stays null and reads as empty.
class ArtSet {
public:
    ArtSet();
    // The layer's own group first, then its art in preorder.
    explicit ArtSet(AILayerHandle layer);
    ~ArtSet();
    ArtSet(const ArtSet&) = delete;
    ArtSet& operator=(const ArtSet&) = delete;

    // Appends the selected art and every container of selected art.
    void FillSelected();
    // 0 when the host cannot say.
    int32_t Count() const;
    // Null when the index is out of range or the host fails.
    AIArtHandle At(int32_t index) const;

private:
    AIArtSet fSet = nullptr;
};

// The layer's art set read once into a list, unreadable entries left out.
std::vector<AIArtHandle> LayerArt(AILayerHandle layer);

#endif
