// A block of neighbouring tiles of one mesh kind and scale: their mesh codes, file names and
// offsets, worked out from the north-west tile's code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "MapModel.h"
#include "core/MeshGrid.h"

namespace samplemap {

// One tile's code as the file name carries it: the mesh code, and for MatQua the area 1-4.
struct TileCode {
    int32_t mesh = 0;
    int32_t area = 0;
    friend bool operator==(const TileCode&, const TileCode&) = default;
};

// "material", "matqua", "mat1st", "tokyo23".
std::optional<MeshKind> ParseMeshKind(std::string_view name);
const char* MeshKindName(MeshKind kind);

// The origin as typed: the digits of the kind's code ("533945", "5339", "53394500"); for MatQua
// also "533945_3" (the area; without it the north-west quarter, area 3). Digits that no square
// of the grid carries (a secondary row or column of 8 or 9) are refused.
std::optional<TileCode> ParseOrigin(MeshKind kind, std::string_view text);

// The inverse of MeshGridRow / MeshGridColumn: the tile at a global row and column, or nullopt
// when the grid has no square there (negative, or beyond the two-digit primary codes).
std::optional<TileCode> TileCodeAt(MeshKind kind, int32_t row, int32_t column);

// The tile k columns east and -j rows south of origin (k >= 0, j <= 0 as placement counts them).
std::optional<TileCode> NeighbourCode(MeshKind kind, TileCode origin, int32_t k, int32_t j);

// Kind defaults: the origin and scale used when none is given.
TileCode DefaultOrigin(MeshKind kind);
int32_t DefaultScale(MeshKind kind);

struct BlockOptions {
    MeshKind kind = MeshKind::Material;
    TileCode origin;  // north-west tile
    int32_t columns = 3;
    int32_t rows = 3;
    int32_t scale = 25000;
};

struct BlockTile {
    int32_t k = 0;
    int32_t j = 0;
    TileCode code;
    std::string name;  // as the plug-in's folder scan expects it
};

struct MeshBlock {
    MeshKind kind = MeshKind::Material;
    int32_t scale = 0;
    TileGrid grid;
    std::vector<BlockTile> tiles;  // northern row first, west to east
};

// Upper bounds that keep a block something a merge can take in.
inline constexpr int32_t kMaxBlockSide = 64;

// On failure returns nullopt and fills *error with one line saying why.
std::optional<MeshBlock> MakeMeshBlock(const BlockOptions& options, std::string* error);

}  // namespace samplemap
