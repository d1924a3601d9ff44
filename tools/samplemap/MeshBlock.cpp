#include "MeshBlock.h"

#include <algorithm>

namespace samplemap {
namespace {

// Squares per side of a primary square.
int32_t PerPrimary(MeshKind kind) {
    switch (kind) {
    case MeshKind::Mat1st: return 1;
    case MeshKind::Material: return 8;
    case MeshKind::MatQua: return 16;
    case MeshKind::Tokyo23: return 64;
    }
    return 1;
}

size_t CodeDigits(MeshKind kind) {
    switch (kind) {
    case MeshKind::Mat1st: return 4;
    case MeshKind::Material:
    case MeshKind::MatQua: return 6;
    case MeshKind::Tokyo23: return 8;
    }
    return 0;
}

int32_t MaxScale(MeshKind kind) { return kind == MeshKind::Tokyo23 ? 99999 : 999999; }

std::optional<int32_t> Digits(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

int32_t GridCode(MeshKind kind, TileCode code) {
    return kind == MeshKind::MatQua ? MeshQuarterCode(code.mesh, code.area) : code.mesh;
}

}  // namespace

std::optional<MeshKind> ParseMeshKind(std::string_view name) {
    for (MeshKind kind : {MeshKind::Material, MeshKind::MatQua, MeshKind::Mat1st, MeshKind::Tokyo23}) {
        if (name == MeshKindName(kind)) return kind;
    }
    return std::nullopt;
}

const char* MeshKindName(MeshKind kind) {
    switch (kind) {
    case MeshKind::Material: return "material";
    case MeshKind::MatQua: return "matqua";
    case MeshKind::Mat1st: return "mat1st";
    case MeshKind::Tokyo23: return "tokyo23";
    }
    return "";
}

std::optional<TileCode> TileCodeAt(MeshKind kind, int32_t row, int32_t column) {
    const int32_t per = PerPrimary(kind);
    if (row < 0 || column < 0 || row >= 100 * per || column >= 100 * per) return std::nullopt;
    const int32_t primary = row / per * 100 + column / per;
    const int32_t r = row % per;
    const int32_t c = column % per;
    switch (kind) {
    case MeshKind::Mat1st: return TileCode{primary, 0};
    case MeshKind::Material: return TileCode{primary * 100 + r * 10 + c, 0};
    case MeshKind::MatQua: {
        const int32_t secondary = primary * 100 + r / 2 * 10 + c / 2;
        return TileCode{secondary, 1 + r % 2 * 2 + c % 2};
    }
    case MeshKind::Tokyo23: return TileCode{(primary * 100 + r / 8 * 10 + c / 8) * 100 + r % 8 * 10 + c % 8, 0};
    }
    return std::nullopt;
}

std::optional<TileCode> NeighbourCode(MeshKind kind, TileCode origin, int32_t k, int32_t j) {
    const int32_t code = GridCode(kind, origin);
    if (code < 0) return std::nullopt;
    return TileCodeAt(kind, MeshGridRow(kind, code) + j, MeshGridColumn(kind, code) + k);
}

std::optional<TileCode> ParseOrigin(MeshKind kind, std::string_view text) {
    TileCode code;
    std::string_view digits = text;
    if (kind == MeshKind::MatQua) {
        code.area = 3;
        if (const size_t cut = text.find('_'); cut != std::string_view::npos) {
            if (text.size() != cut + 2 || text[cut + 1] < '1' || text[cut + 1] > '4') return std::nullopt;
            code.area = text[cut + 1] - '0';
            digits = text.substr(0, cut);
        }
    }
    if (digits.size() != CodeDigits(kind)) return std::nullopt;
    const auto mesh = Digits(digits);
    if (!mesh) return std::nullopt;
    code.mesh = *mesh;
    // Row and column digits past 7 name no square; such a code does not come back unchanged.
    const int32_t grid = GridCode(kind, code);
    if (TileCodeAt(kind, MeshGridRow(kind, grid), MeshGridColumn(kind, grid)) != code) return std::nullopt;
    return code;
}

TileCode DefaultOrigin(MeshKind kind) {
    switch (kind) {
    case MeshKind::Material: return {533945, 0};
    case MeshKind::MatQua: return {533945, 3};
    case MeshKind::Mat1st: return {5339, 0};
    case MeshKind::Tokyo23: return {53394500, 0};
    }
    return {};
}

// Each gives a tile of roughly A3 on paper.
int32_t DefaultScale(MeshKind kind) {
    switch (kind) {
    case MeshKind::Material: return 25000;
    case MeshKind::MatQua: return 10000;
    case MeshKind::Mat1st: return 200000;
    case MeshKind::Tokyo23: return 2500;
    }
    return 0;
}

std::optional<MeshBlock> MakeMeshBlock(const BlockOptions& options, std::string* error) {
    const auto fail = [&](std::string why) -> std::optional<MeshBlock> {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    if (options.columns < 1 || options.rows < 1 || options.columns > kMaxBlockSide || options.rows > kMaxBlockSide) {
        return fail("columns and rows must lie between 1 and " + std::to_string(kMaxBlockSide));
    }
    if (options.scale < 1 || options.scale > MaxScale(options.kind)) {
        return fail("the scale must lie between 1 and " + std::to_string(MaxScale(options.kind)));
    }
    MeshBlock block;
    block.kind = options.kind;
    block.scale = options.scale;
    const MeshSize size = MeshTileSize(options.kind, options.scale);
    block.grid = {options.columns, options.rows, size.widthPt, size.heightPt};
    for (int32_t row = 0; row < options.rows; ++row) {
        for (int32_t k = 0; k < options.columns; ++k) {
            const auto code = NeighbourCode(options.kind, options.origin, k, -row);
            if (!code)
                return fail("the block leaves the mesh: no square " + std::to_string(k) + " east and " +
                            std::to_string(row) + " south of the origin");
            BlockTile tile;
            tile.k = k;
            tile.j = -row;
            tile.code = *code;
            tile.name = FormatTileFileName(options.kind, code->mesh, code->area, options.scale);
            block.tiles.push_back(std::move(tile));
        }
    }
    return block;
}

}  // namespace samplemap
