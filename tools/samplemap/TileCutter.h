// Cuts a map at the tile edges of its grid with Clipper.
#pragma once

#include <cstdint>
#include <vector>

#include "MapModel.h"

namespace samplemap {

// What one tile document holds, in tile-local coordinates (world minus (k * tileWidth,
// j * tileHeight)), so the tile itself covers [0, tileWidth] x [0, tileHeight].
struct TilePieces {
    int32_t k = 0;
    int32_t j = 0;
    std::vector<MapObject> objects;
};

// Every tile of the grid, the northern row first and west to east within a row. Lines are cut
// into open pieces, faces into outlines with their holes, rings into outlines closed along the
// seam by a straight edge; labels go whole to the tile that holds them (or, lying across an
// edge, to the tile of their anchor). Anchors made by a cut lie exactly on the tile's edge:
// local 0 or exactly tileWidth (tileHeight). Pieces keep the layer and style of their original
// and the originals' order.
std::vector<TilePieces> CutIntoTiles(const SampleMap& map, const TileGrid& grid);

// The tile whose rectangle holds the label's bounds, or {-1, 1} when none does.
struct TileIndex {
    int32_t k = -1;
    int32_t j = 1;
};
TileIndex TileOfLabel(const MapObject& label, const TileGrid& grid);

}  // namespace samplemap
