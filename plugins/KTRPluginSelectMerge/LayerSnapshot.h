// The layer tree of the first tile opened in a run: one record per layer in
// host preorder (a layer, its sublayers top to bottom, then the next layer).
// It decides the target's tree, which tiles are placed, and the layer options
// the merged map ends with.
#pragma once

#include <cstddef>
#include <cstdint>

#include "AIHost.h"

struct LayerRecord {
    char* title;  // in the literal encoding, whole; owned by the record, freed with the array
    AIBoolean visible;
    AIBoolean preview;
    AIBoolean editable;
    AIBoolean printed;
    AIBoolean dimPlacedImages;
    AIBoolean isTemplate;
    int32_t depth;  // number of ancestor layers, 0 at the top level
};

// The snapshot: nMaxLayer records (null when empty) and their greatest depth.
extern LayerRecord* layerFirstAI;
extern int32_t nMaxLayer;
extern int32_t nMaxFloor;

// Empties the snapshot.
void FreeLayerSnapshot();

// Allocation used to grow record arrays and to hold their titles: realloc,
// unless a test installs its own to make growth fail. It must behave like
// realloc (arrays and titles are freed with free). Null restores realloc.
using LayerRecordReallocFunc = void* (*)(void* block, std::size_t size);
void SetLayerRecordRealloc(LayerRecordReallocFunc func);
