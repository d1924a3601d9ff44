// Draws one continuous synthetic map over a block of tiles.
#pragma once

#include <cstdint>

#include "MapModel.h"

namespace samplemap {

enum class MapStyle {
    Scatter,  // objects strewn independently, each one feature
    Network,  // topology as map data comes: networks cut at their junctions, areas sharing borders
};

struct MapOptions {
    MeshKind kind = MeshKind::Material;  // Tokyo23 draws into the Tokyo-23 tree, the rest into the standard one
    TileGrid grid;
    uint64_t seed = 1;
    int32_t density = 1;  // multiplies every object count; 1 gives a few objects per layer and tile
    MapStyle style = MapStyle::Scatter;
    bool seamJunctions = false;  // Network: some junctions of three or more lines right on a seam
};

// The same options always give the same map. Everything lies inside the grid, a margin away from
// its outer edge, so only the inner seams cut. Coordinates are whole units (kUnitsPerPoint) and
// no anchor lies on or within a hair of a seam, so no edge runs along one. Labels fit wholly
// inside one tile. Lines come in several styles per layer, so some pieces must stay apart.
// The Network style keeps the promises on coordinates and seams, except that junctions asked for
// on a seam lie exactly on it; it draws no labels.
SampleMap DrawSampleMap(const MapOptions& options);

}  // namespace samplemap
