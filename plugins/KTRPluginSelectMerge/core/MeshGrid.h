// Tile file names and grid arithmetic of the select-merge plug-in.
//
// A tile document is one square of a Japanese standard regional mesh
// (JIS X 0410); its file name carries the mesh code and the scale
// denominator. The grid helpers turn mesh codes into global rows (growing
// northward) and columns (growing eastward), so that neighbouring tiles differ
// by exactly one row or column even across primary and secondary boundaries.
//
// Host-free: standard library only.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

enum class MeshKind {
    MatQua,    // 五倍地域メッシュ: a secondary square cut 2 x 2, areas 1-4
    Material,  // 第二次地域区画
    Mat1st,    // 第一次地域区画
    Tokyo23,   // KTR64分割メッシュ: a secondary square cut 8 x 8
};

// One tile as the selection tables keep it.
struct MeshEntry {
    int32_t mesh = 0;     // mesh code; for MatQua the secondary code
    int32_t scale = 0;    // scale denominator, 25000 for 1/25000
    int32_t area = 0;     // MatQua quarter 1-4, 0 for the other kinds
    bool select = false;  // true while the tile stands in the selected list
    int32_t nameLen = 0;  // file-name length, doubles as the kind tag
};

// File-name length of each kind: 18, 16, 14, 17. The lengths differ, so the
// length alone tells the kind.
int32_t MeshNameLength(MeshKind kind);

// The kind whose file names have length len, or nullopt for any other length.
std::optional<MeshKind> MeshKindFromNameLength(int len);

// Name parsers. name must be zero-terminated; it is never read past its
// terminating zero, so short or null names are simply rejected. The characters
// after the scale field (the extension) are not looked at. A scale field of
// all zeros is rejected: scale 0 means "no scale chosen" to the selection
// table and would give a tile of infinite size. So is a row or column digit
// of an 8 x 8 cut above 7 (C and D of a secondary code AABBCD, E F G H of a
// Tokyo-23 code AABBEFGH). On success all outputs are
// filled and true is returned; on failure the outputs are left untouched.
bool CheckFileNameMatQua(const char* name, int32_t* mesh, int32_t* scale, int32_t* area);
bool CheckFileNameMaterial(const char* name, int32_t* mesh, int32_t* scale);
bool CheckFileNameMat1st(const char* name, int32_t* mesh, int32_t* scale);
bool CheckFileNameTokyo23(const char* name, int32_t* mesh, int32_t* scale);

// Classifies a directory entry: the name must end in ".ai" (either case),
// have one of the four name lengths and pass that kind's parser. The entry
// comes back unselected, with area 0 unless it is a MatQua tile.
std::optional<MeshEntry> ParseTileFileName(std::string_view name);

// "533945_2_010000.ai", "533945_010000.ai", "5339_025000.ai",
// "53394511_02500.ai". area is used by MatQua only.
std::string FormatTileFileName(MeshKind kind, int32_t mesh, int32_t area, int32_t scale);

// Between the folder and a tile's name: "\\" on Windows, "/" elsewhere.
#ifdef _WIN32
inline constexpr char kTilePathSeparator = '\\';
#else
inline constexpr char kTilePathSeparator = '/';
#endif

// The same name inside folder: "<folder>/<name>" ("<folder>\\<name>" on Windows).
std::string FormatTilePath(std::string_view folder, MeshKind kind, int32_t mesh, int32_t area, int32_t scale);

// Status line of the selection dialog while tiles of kind are selected:
// the printf format with one %d for the scale, and the text it makes.
const char* MeshStatusFormat(MeshKind kind);
std::string MeshStatusText(MeshKind kind, int32_t scale);

// Status line while nothing is selected.
inline constexpr char kMeshStatusNone[] = "未選択";

// Quarter code of a MatQua tile: secondary code * 100 + qr * 10 + qc, with
// area 1 south-west, 2 south-east, 3 north-west, 4 north-east. Returns -1 for
// an area outside 1-4.
int32_t MeshQuarterCode(int32_t mesh, int32_t area);

// The code the grid helpers take for entry: its quarter code for MatQua,
// its mesh code otherwise.
int32_t MeshGridCode(MeshKind kind, const MeshEntry& entry);

// Global row (northward) and column (eastward) of the tile with grid code
// code; for MatQua the code is the quarter code.
int32_t MeshGridRow(MeshKind kind, int32_t code);
int32_t MeshGridColumn(MeshKind kind, int32_t code);

// The rectangle of grid squares holding all of the given tiles. Its corners
// need not be tiles of the set. No tiles give an empty box (all zero).
struct MeshBox {
    int32_t minRow = 0;
    int32_t maxRow = 0;
    int32_t minColumn = 0;
    int32_t maxColumn = 0;
    int32_t rows = 0;
    int32_t columns = 0;
};
MeshBox MeshBounds(MeshKind kind, std::span<const MeshEntry> entries);

// Size of one tile on paper. The point sizes are the millimetre sizes
// * 72 / 25.4 rounded to float once; tile placement and the seam steps take
// them as they are. A scale of 0 or less gives all zeros.
struct MeshSize {
    double widthMm = 0;
    double heightMm = 0;
    float widthPt = 0;
    float heightPt = 0;
};
MeshSize MeshTileSize(MeshKind kind, int32_t scale);

// Size of the merged map of box. The points are the tile's millimetre size
// rounded to float, * 72 / 25.4 * columns (rows) in double, rounded to float;
// the millimetres are those points * 25.4 / 72 in double. The page checks and
// the size messages use these.
MeshSize MeshMergedSize(MeshKind kind, int32_t scale, const MeshBox& box);

// Placement of one tile in whole tiles from the north-west corner of box:
// k = 0 for the western column, growing eastward; j = 0 for the northern row,
// negative southward.
struct MeshOffset {
    int32_t k = 0;
    int32_t j = 0;
};
MeshOffset MeshTileOffset(MeshKind kind, int32_t code, const MeshBox& box);
