// A folder holding files named by the input (one name per line): the scan lists each tile once,
// only tiles that are there, in kind order.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "core/MeshGrid.h"
#include "core/SelectionTable.h"

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace fs = std::filesystem;
    static const fs::path folder = fs::temp_directory_path() / ("quiltor-fuzz-scan-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::set<std::string> present;  // lower case
    const std::string input(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    for (int files = 0; start <= input.size() && files < 64; ++files) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos) end = input.size();
        const std::string name = input.substr(start, end - start);
        start = end + 1;
        if (name.empty() || name.size() > 200 || name == "." || name == ".." ||
            name.find_first_of(std::string("/\0", 2)) != std::string::npos)
            continue;
        std::ofstream(folder / name) << "x";
        if (fs::exists(folder / name)) present.insert(Lower(name));
    }
    if (ScanTileFolder(folder.c_str()) != ScanResult::Done) std::abort();
    size_t rows = 0;
    auto check = [&](MeshKind kind, int32_t count, const int32_t* mesh, const int32_t* scale, const int32_t* area) {
        for (int32_t i = 0; i < count; ++i, ++rows) {
            if (!present.count(FormatTileFileName(kind, mesh[i], area ? area[i] : 0, scale[i]))) std::abort();
        }
    };
    check(MeshKind::MatQua, nMatQuaCount, nMatQuaMesh, nMatQuaScale, nMatQuaArea);
    check(MeshKind::Material, nMaterialCount, nMaterialMesh, nMaterialScale, nullptr);
    check(MeshKind::Mat1st, nMat1stCount, nMat1stMesh, nMat1stScale, nullptr);
    check(MeshKind::Tokyo23, nTokyo23Count, nTokyo23Mesh, nTokyo23Scale, nullptr);
    if (rows > present.size()) std::abort();
    free_mesh();
    return 0;
}
