// The steps of the map-range adjust run, in the order the entry point takes them: the frame is
// built, art wholly outside the outline's bounds is deleted, lines are trimmed at them, and the
// cut pass cuts or tests what is left against the frame.
#ifndef KTR_ADJUST_PASSES_H
#define KTR_ADJUST_PASSES_H

#include "AIHost.h"
#include "core/ClipBox.h"

class KTRPluginAdjustPlugin;

namespace adjust {

inline constexpr AIReal kPathfinderPrecision = 10.0f;

// Where the cut pass works: a layer above all others, its own group, and the frame, a compound
// path covering everything outside the outline.
struct WorkArea {
    AIArtHandle frame = nullptr;
    AILayerHandle layer = nullptr;
    AIArtHandle group = nullptr;
};

// The frame flattened by the exclude operation: the first compound path on the clip layer. Null
// when there is none with members, for an empty frame or none would cover the whole map.
AIArtHandle FlattenFrame(AILayerHandle clipLayer, AIArtHandle lineArt);

// Gives the clip layer back its outline alone, in its own style (inside the frame it took the
// frame's), as far as the host left the outline alive.
void TakeBackFrame(AILayerHandle clipLayer, AIArtHandle path, AIArtStyleHandle style);

// Deletes what lies wholly outside the outline's bounds. A compound path is one shape and goes
// or stays whole; on an annotation layer so does a group, since a label is never taken apart.
void DeleteOutside(AILayerHandle layer, const Box& outline, bool annotation);

// Shortens open, unfilled lines at the outline's bounds until nothing changes.
void TrimLines(AILayerHandle layer, const Box& outline);

// Cuts the areas of the layer to the outline and keeps or deletes everything else whole, by
// what is left of it or of its bounds once the frame is taken away.
void ClipLayer(KTRPluginAdjustPlugin& plugin, const WorkArea& work, AILayerHandle layer);

}  // namespace adjust

#endif
