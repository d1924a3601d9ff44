// Inputs at and just past the limits a tile document or a tile folder can reach: at the limit the
// input is taken whole; past it, it is refused with a reason, never cut short or overflowed.
// (The joins' 20,000-anchor cap and the host's 32,767 segments per path have tests of their own
// beside the joins and the path suite.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "TempDir.h"
#include "core/MeshGrid.h"
#include "core/SelectionTable.h"
#include "model/ArtStyle.h"
#include "model/Document.h"
#include "svg/Svg.h"

namespace {

struct Outcome {
    bool taken = false;
    std::string why;  // empty when taken
};

// A document whose one path sits inside `depth` nested groups, the outermost a layer.
std::string NestedGroups(int depth) {
    std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10">)";
    for (int i = 0; i < depth; ++i) svg += "<g>";
    svg += R"(<path d="M0 0 L1 1"/>)";
    for (int i = 0; i < depth; ++i) svg += "</g>";
    return svg + "</svg>";
}

// A document with one path of `points` points.
std::string LongPath(int points) {
    std::string d = "M0 0";
    for (int i = 1; i < points; ++i) d += " L" + std::to_string(i % 97) + " " + std::to_string(i / 97);
    return R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10"><path d=")" + d + R"("/></svg>)";
}

Outcome Read(const std::string& text) {
    quiltor::host::StyleTable styles;
    std::string error;
    AIErr code = kNoErr;
    const auto document = quiltor::host::ReadSvgText(text, styles, &error, &code);
    if (!document) return {false, error};
    return {true, ""};
}

Outcome KeepFolder(size_t bytes) {
    TileFolder buffer;
    const std::string folder = "/" + std::string(bytes - 1, 'd');
    if (!CopyTileFolder(folder, buffer)) return {false, kMsgFolderTooLong};
    return {std::string(buffer.data()) == folder, ""};
}

// A folder of that many secondary-mesh tiles: every one is listed.
Outcome ScanTiles(int tiles) {
    testsupport::TempDir folder("quiltor-limits");
    for (int i = 0; i < tiles; ++i) {
        const int mesh = 100000 + (i / 64) * 100 + (i % 64) / 8 * 10 + i % 8;
        std::ofstream(folder / FormatTileFileName(MeshKind::Material, mesh, 0, 25000)) << "x";
    }
    ResetMeshState();
    const bool scanned = ScanTileFolder(folder.path().c_str()) == ScanResult::Done;
    const bool all = nMaterialCount == tiles;
    free_mesh();
    return {scanned && all, scanned ? "" : "scan failed"};
}

TEST(Limits, HeldAtTheLimitAndRefusedWithAReasonPastIt) {
    struct Case {
        const char* limit;
        std::function<Outcome(int)> attempt;
        int at;
        bool pastIsRefused;  // false: there is no "past" to refuse (the limit is only how much)
    };
    const Case cases[] = {
        // The layer, the groups inside it and the path: levels of nesting.
        {"levels nested in a tile document", [](int n) { return Read(NestedGroups(n - 1)); }, 200, true},
        {"points of one path in a tile document", [](int n) { return Read(LongPath(n)); }, 32767, true},
        {"bytes of the tile folder's path", [](int n) { return KeepFolder(size_t(n)); }, 259, true},
        {"tiles in one folder", [](int n) { return ScanTiles(n); }, 4000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        const Outcome at = c.attempt(c.at);
        EXPECT_TRUE(at.taken) << at.why;
        EXPECT_TRUE(at.why.empty());
        if (!c.pastIsRefused) continue;
        const Outcome past = c.attempt(c.at + 1);
        EXPECT_FALSE(past.taken);
        EXPECT_FALSE(past.why.empty());
    }
}

}  // namespace
