#include "MeshGrid.h"

#include <cstdio>

namespace {

// Everything that differs between the kinds. Ground extents are in
// millimetres; the Tokyo23 ones are rounded, not an eighth of Material.
struct KindInfo {
    int32_t nameLen;
    size_t meshDigits;
    // The row and column digits of an 8 x 8 cut (secondary code, Tokyo-23
    // piece), from mesh character 4 on; each is 0-7.
    size_t eighthDigits;
    bool hasArea;
    size_t scaleDigits;
    const char* statusFormat;
    double groundWidthMm;
    double groundHeightMm;
};

constexpr KindInfo kMatQua{18, 6, 2, true, 6, "五倍地域メッシュ(縮尺 1/%d)を選択中", 5650000.0, 4625000.0};
constexpr KindInfo kMaterial{16, 6, 2, false, 6, "第二次地域区画(縮尺 1/%d)を選択中", 11300000.0, 9250000.0};
constexpr KindInfo kMat1st{14, 4, 0, false, 6, "第一次地域区画(縮尺 1/%d)を選択中", 90400000.0, 74000000.0};
constexpr KindInfo kTokyo23{17, 8, 4, false, 5, "KTR64分割メッシュ(縮尺 1/%d)を選択中", 1410000.0, 1160000.0};

const KindInfo& Info(MeshKind kind) {
    switch (kind) {
    case MeshKind::MatQua: return kMatQua;
    case MeshKind::Material: return kMaterial;
    case MeshKind::Mat1st: return kMat1st;
    case MeshKind::Tokyo23: return kTokyo23;
    }
    return kMaterial;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// At most 8 digits, so the value always fits an int32.
bool ReadDigits(std::string_view s, size_t pos, size_t count, int32_t* value) {
    int32_t v = 0;
    for (size_t i = pos; i < pos + count; ++i) {
        if (!IsDigit(s[i])) return false;
        v = v * 10 + (s[i] - '0');
    }
    *value = v;
    return true;
}

struct Fields {
    int32_t mesh = 0;
    int32_t scale = 0;
    int32_t area = 0;
};

// Needed characters: mesh, '_', [area, '_'], scale.
size_t FieldsLength(const KindInfo& info) { return info.meshDigits + 1 + (info.hasArea ? 2 : 0) + info.scaleDigits; }

std::optional<Fields> ParseFields(std::string_view s, const KindInfo& info) {
    if (s.size() < FieldsLength(info)) return std::nullopt;
    const size_t mesh = 0;
    const size_t area = info.meshDigits + 1;
    const size_t scale = info.hasArea ? area + 2 : area;

    Fields f;
    if (s[info.meshDigits] != '_') return std::nullopt;
    if (info.hasArea && s[area + 1] != '_') return std::nullopt;
    if (!ReadDigits(s, mesh, info.meshDigits, &f.mesh)) return std::nullopt;
    // An 8 or 9 there is no square of the cut: it would be placed on a
    // neighbouring square, on top of another tile.
    for (size_t i = 4; i < 4 + info.eighthDigits; ++i) {
        if (s[i] > '7') return std::nullopt;
    }
    if (info.hasArea) {
        if (s[area] < '1' || s[area] > '4') return std::nullopt;
        f.area = s[area] - '0';
    }
    if (!ReadDigits(s, scale, info.scaleDigits, &f.scale)) return std::nullopt;
    // Scale 0 is the selection table's "no scale yet" and divides by zero.
    if (f.scale == 0) return std::nullopt;
    return f;
}

// The first characters of a C string, stopping at its zero, so that a short
// name is never read past its end.
std::string_view BoundedView(const char* name, size_t limit) {
    size_t n = 0;
    while (n < limit && name[n] != '\0') ++n;
    return {name, n};
}

bool CheckFileName(const char* name, const KindInfo& info, int32_t* mesh, int32_t* scale, int32_t* area) {
    if (name == nullptr || mesh == nullptr || scale == nullptr) return false;
    if (info.hasArea && area == nullptr) return false;
    const auto f = ParseFields(BoundedView(name, FieldsLength(info)), info);
    if (!f) return false;
    *mesh = f->mesh;
    *scale = f->scale;
    if (info.hasArea) *area = f->area;
    return true;
}

bool HasAiExtension(std::string_view name) {
    if (name.size() < 3) return false;
    const std::string_view ext = name.substr(name.size() - 3);
    return ext[0] == '.' && (ext[1] == 'a' || ext[1] == 'A') && (ext[2] == 'i' || ext[2] == 'I');
}

int32_t SecondaryRow(int32_t code) { return code / 10000 * 8 + code / 10 % 10; }
int32_t SecondaryColumn(int32_t code) { return code / 100 % 100 * 8 + code % 10; }

}  // namespace

int32_t MeshNameLength(MeshKind kind) { return Info(kind).nameLen; }

std::optional<MeshKind> MeshKindFromNameLength(int len) {
    for (MeshKind kind : {MeshKind::MatQua, MeshKind::Material, MeshKind::Mat1st, MeshKind::Tokyo23}) {
        if (Info(kind).nameLen == len) return kind;
    }
    return std::nullopt;
}

bool CheckFileNameMatQua(const char* name, int32_t* mesh, int32_t* scale, int32_t* area) {
    return CheckFileName(name, kMatQua, mesh, scale, area);
}

bool CheckFileNameMaterial(const char* name, int32_t* mesh, int32_t* scale) {
    return CheckFileName(name, kMaterial, mesh, scale, nullptr);
}

bool CheckFileNameMat1st(const char* name, int32_t* mesh, int32_t* scale) {
    return CheckFileName(name, kMat1st, mesh, scale, nullptr);
}

bool CheckFileNameTokyo23(const char* name, int32_t* mesh, int32_t* scale) {
    return CheckFileName(name, kTokyo23, mesh, scale, nullptr);
}

std::optional<MeshEntry> ParseTileFileName(std::string_view name) {
    if (!HasAiExtension(name)) return std::nullopt;
    if (name.size() > 32) return std::nullopt;
    const auto kind = MeshKindFromNameLength(static_cast<int>(name.size()));
    if (!kind) return std::nullopt;
    const KindInfo& info = Info(*kind);
    const auto f = ParseFields(name, info);
    if (!f) return std::nullopt;
    MeshEntry entry;
    entry.mesh = f->mesh;
    entry.scale = f->scale;
    entry.area = f->area;
    entry.select = false;
    entry.nameLen = info.nameLen;
    return entry;
}

std::string FormatTileFileName(MeshKind kind, int32_t mesh, int32_t area, int32_t scale) {
    char buf[64];
    switch (kind) {
    case MeshKind::MatQua: std::snprintf(buf, sizeof buf, "%06d_%d_%06d.ai", mesh, area, scale); break;
    case MeshKind::Material: std::snprintf(buf, sizeof buf, "%06d_%06d.ai", mesh, scale); break;
    case MeshKind::Mat1st: std::snprintf(buf, sizeof buf, "%04d_%06d.ai", mesh, scale); break;
    case MeshKind::Tokyo23: std::snprintf(buf, sizeof buf, "%08d_%05d.ai", mesh, scale); break;
    default: return {};
    }
    return buf;
}

std::string FormatTilePath(std::string_view folder, MeshKind kind, int32_t mesh, int32_t area, int32_t scale) {
    std::string path(folder);
    path += kTilePathSeparator;
    path += FormatTileFileName(kind, mesh, area, scale);
    return path;
}

const char* MeshStatusFormat(MeshKind kind) { return Info(kind).statusFormat; }

std::string MeshStatusText(MeshKind kind, int32_t scale) {
    char buf[128];
    std::snprintf(buf, sizeof buf, MeshStatusFormat(kind), scale);
    return buf;
}

int32_t MeshQuarterCode(int32_t mesh, int32_t area) {
    if (area < 1 || area > 4) return -1;
    const int32_t qr = (area - 1) / 2;
    const int32_t qc = (area - 1) % 2;
    return mesh * 100 + qr * 10 + qc;
}

int32_t MeshGridCode(MeshKind kind, const MeshEntry& entry) {
    return kind == MeshKind::MatQua ? MeshQuarterCode(entry.mesh, entry.area) : entry.mesh;
}

int32_t MeshGridRow(MeshKind kind, int32_t code) {
    switch (kind) {
    case MeshKind::Mat1st: return code / 100;
    case MeshKind::Material: return SecondaryRow(code);
    case MeshKind::MatQua: return SecondaryRow(code / 100) * 2 + code / 10 % 10;
    case MeshKind::Tokyo23: return SecondaryRow(code / 100) * 8 + code / 10 % 10;
    }
    return 0;
}

int32_t MeshGridColumn(MeshKind kind, int32_t code) {
    switch (kind) {
    case MeshKind::Mat1st: return code % 100;
    case MeshKind::Material: return SecondaryColumn(code);
    case MeshKind::MatQua: return SecondaryColumn(code / 100) * 2 + code % 10;
    case MeshKind::Tokyo23: return SecondaryColumn(code / 100) * 8 + code % 10;
    }
    return 0;
}

MeshBox MeshBounds(MeshKind kind, std::span<const MeshEntry> entries) {
    MeshBox box;
    bool first = true;
    for (const MeshEntry& entry : entries) {
        const int32_t code = MeshGridCode(kind, entry);
        const int32_t row = MeshGridRow(kind, code);
        const int32_t column = MeshGridColumn(kind, code);
        if (first || row < box.minRow) box.minRow = row;
        if (first || row > box.maxRow) box.maxRow = row;
        if (first || column < box.minColumn) box.minColumn = column;
        if (first || column > box.maxColumn) box.maxColumn = column;
        first = false;
    }
    if (!first) {
        box.rows = box.maxRow - box.minRow + 1;
        box.columns = box.maxColumn - box.minColumn + 1;
    }
    return box;
}

MeshSize MeshTileSize(MeshKind kind, int32_t scale) {
    MeshSize size;
    if (scale <= 0) return size;
    const KindInfo& info = Info(kind);
    size.widthMm = info.groundWidthMm / scale;
    size.heightMm = info.groundHeightMm / scale;
    size.widthPt = static_cast<float>(size.widthMm * 72.0 / 25.4);
    size.heightPt = static_cast<float>(size.heightMm * 72.0 / 25.4);
    return size;
}

MeshSize MeshMergedSize(MeshKind kind, int32_t scale, const MeshBox& box) {
    const MeshSize tile = MeshTileSize(kind, scale);
    MeshSize merged;
    merged.widthPt =
        static_cast<float>(static_cast<double>(static_cast<float>(tile.widthMm)) * 72.0 / 25.4 * box.columns);
    merged.heightPt =
        static_cast<float>(static_cast<double>(static_cast<float>(tile.heightMm)) * 72.0 / 25.4 * box.rows);
    merged.widthMm = static_cast<double>(merged.widthPt) * 25.4 / 72.0;
    merged.heightMm = static_cast<double>(merged.heightPt) * 25.4 / 72.0;
    return merged;
}

MeshOffset MeshTileOffset(MeshKind kind, int32_t code, const MeshBox& box) {
    return {MeshGridColumn(kind, code) - box.minColumn, MeshGridRow(kind, code) - box.maxRow};
}
