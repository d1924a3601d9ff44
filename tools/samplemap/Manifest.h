// manifest.json: what every tile document holds, so a merge can be checked for losses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "MapModel.h"
#include "MeshBlock.h"
#include "TileCutter.h"

namespace samplemap {

inline constexpr char kManifestName[] = "manifest.json";
inline constexpr char kReferenceName[] = "reference.svg";

struct ManifestInput {
    const MeshBlock* block = nullptr;
    uint64_t seed = 0;
    int32_t density = 1;
    const SampleMap* map = nullptr;
    const std::vector<TilePieces>* tiles = nullptr;  // in the order of block->tiles
};

// One JSON object: the block (kind, scale, seed, density, columns, rows, tile size in points),
// the counts of the uncut map, and per tile its name, mesh code, area, k, j, counts (objects,
// paths, anchors, lines, faces, rings, labels) and the counts per layer (by title path).
std::string ManifestJson(const ManifestInput& input);

// Counts of the objects of one layer.
ArtCounts CountLayer(const std::vector<MapObject>& objects, int layer);

}  // namespace samplemap
