// Tile names from any bytes: the parsers never read past the name, and a name they take formats
// back to itself (the extension's case aside).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/MeshGrid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    int32_t mesh = 0, scale = 0, area = 0;
    CheckFileNameMatQua(name.c_str(), &mesh, &scale, &area);
    CheckFileNameMaterial(name.c_str(), &mesh, &scale);
    CheckFileNameMat1st(name.c_str(), &mesh, &scale);
    CheckFileNameTokyo23(name.c_str(), &mesh, &scale);
    const auto entry = ParseTileFileName(name);
    if (!entry) return 0;
    const auto kind = MeshKindFromNameLength(entry->nameLen);
    if (!kind || entry->nameLen != int32_t(name.size())) std::abort();
    const std::string again = FormatTileFileName(*kind, entry->mesh, entry->area, entry->scale);
    if (again.size() != name.size() || again.compare(0, again.size() - 2, name, 0, name.size() - 2) != 0) std::abort();
    return 0;
}
