// quiltor-seamcheck: how much of an uncut map a merge of its tiles gives back, feature by feature.
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "MergeShapes.h"
#include "MergeVerdict.h"
#include "core/MeshGrid.h"
#include "model/ArtStyle.h"

namespace {

namespace fs = std::filesystem;
using namespace seamcheck;

constexpr char kUsage[] =
    "usage: quiltor-seamcheck [--list] TILES REFERENCE MERGED\n"
    "Compares a merged map with the uncut map its tiles were cut from. For lines, faces and\n"
    "rings it counts the features the tile edges cut, how many of them the merge gave back as\n"
    "exactly themselves (anchors the cuts left on the seams aside), how many a plain GIS line\n"
    "merge of the tiles gives back (lines joined wherever exactly two ends of one style meet),\n"
    "how many features were fused with another into one path, and how many were lost.\n"
    "\n"
    "  TILES      the folder of tiles that were merged, named as Quiltor セレクトマージ expects\n"
    "  REFERENCE  the uncut map in the merged map's coordinates: the north-west tile's lower\n"
    "             left corner at the origin, as quiltor-samplemap writes reference.svg\n"
    "  MERGED     the merged map, as quiltor-host merge saves it\n"
    "  --list     name every merged path that is no reference feature, and every feature\n"
    "             that did not come back\n"
    "\n"
    "Exit status: 0 when every cut feature came back exactly and none was fused or lost, 1 when\n"
    "not, 2 for bad arguments or files that cannot be read.\n";

int Fail(const std::string& why) {
    std::fprintf(stderr, "quiltor-seamcheck: %s\n", why.c_str());
    return 2;
}

struct PlacedTile {
    std::string path;
    MeshOffset offset;
};

struct TileBlock {
    MeshKind kind = MeshKind::Material;
    MeshSize size;
    MeshBox box;
    std::vector<PlacedTile> tiles;
};

// The tiles of the folder at their places, as the merge places them; all of one kind and scale.
bool ReadTileBlock(const std::string& folder, TileBlock* block, std::string* error) {
    std::error_code ec;
    std::vector<std::pair<std::string, MeshEntry>> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (const auto tile = ParseTileFileName(name)) found.push_back({entry.path().string(), *tile});
    }
    if (ec) {
        *error = "cannot read the folder " + folder + ": " + ec.message();
        return false;
    }
    if (found.empty()) {
        *error = "no tiles in " + folder;
        return false;
    }
    const MeshEntry& first = found.front().second;
    for (const auto& [path, entry] : found) {
        if (entry.nameLen != first.nameLen || entry.scale != first.scale) {
            *error = folder + " holds tiles of several kinds or scales (" +
                     fs::path(found.front().first).filename().string() + ", " + fs::path(path).filename().string() +
                     ")";
            return false;
        }
    }
    block->kind = *MeshKindFromNameLength(first.nameLen);
    block->size = MeshTileSize(block->kind, first.scale);
    std::vector<MeshEntry> entries;
    for (const auto& tile : found) entries.push_back(tile.second);
    block->box = MeshBounds(block->kind, entries);
    for (const auto& [path, entry] : found) {
        block->tiles.push_back({path, MeshTileOffset(block->kind, MeshGridCode(block->kind, entry), block->box)});
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    bool list = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--list") {
            list = true;
        } else if (arg.starts_with("-")) {
            std::fputs(kUsage, stderr);
            return Fail("unknown option " + std::string(arg));
        } else {
            files.emplace_back(arg);
        }
    }
    if (files.size() != 3) {
        std::fputs(kUsage, stderr);
        return Fail("give the tile folder, the reference and the merged map");
    }

    TileBlock block;
    std::string error;
    if (!ReadTileBlock(files[0], &block, &error)) return Fail(error);
    quiltor::host::StyleTable styles;
    std::vector<LayerContent> reference = ReadLayers(files[1], styles, 0, 0, &error);
    if (reference.empty()) return Fail(error.empty() ? files[1] + " has no layers" : error);
    std::vector<LayerContent> merged = ReadLayers(files[2], styles, 0, 0, &error);
    if (merged.empty()) return Fail(error.empty() ? files[2] + " has no layers" : error);
    const auto sameTree = [&](const std::vector<LayerContent>& layers) {
        if (layers.size() != reference.size()) return false;
        for (size_t l = 0; l < layers.size(); ++l) {
            if (layers[l].title != reference[l].title) return false;
        }
        return true;
    };
    if (!sameTree(merged)) return Fail(files[2] + " has other layers than " + files[1]);
    std::vector<std::vector<Shape>> pieces(reference.size());
    for (const PlacedTile& tile : block.tiles) {
        std::vector<LayerContent> layers =
            ReadLayers(tile.path, styles, static_cast<float>(tile.offset.k) * block.size.widthPt,
                       static_cast<float>(tile.offset.j) * block.size.heightPt, &error);
        if (layers.empty()) return Fail(error.empty() ? tile.path + " has no layers" : error);
        if (!sameTree(layers)) return Fail(tile.path + " has other layers than " + files[1]);
        for (size_t l = 0; l < layers.size(); ++l) {
            pieces[l].insert(pieces[l].end(), layers[l].shapes.begin(), layers[l].shapes.end());
        }
    }

    const Seams seams = SeamsOf(block.size.widthPt, block.size.heightPt, block.box.columns, block.box.rows);
    Tallies tallies;
    for (size_t l = 0; l < reference.size(); ++l) {
        // A Tokyo-23 merge never joins the faces of "背景道路".
        const bool keptCut = block.kind == MeshKind::Tokyo23 && EndsWith(reference[l].title, "/背景道路/");
        const LayerVerdict verdict = CompareLayer(reference[l], merged[l], pieces[l], seams, keptCut);
        for (size_t kind = 0; kind < tallies.size(); ++kind) tallies[kind] += verdict.tallies[kind];
        if (!list) continue;
        for (const Shape* stray : verdict.strays) {
            std::printf("%s: merged %s is no reference feature\n", reference[l].title.c_str(),
                        Describe(*stray).c_str());
        }
        for (const Shape* lost : verdict.missing) {
            std::printf("%s: reference %s did not come back\n", reference[l].title.c_str(), Describe(*lost).c_str());
        }
    }
    bool whole = true;
    for (Kind kind : {Kind::Line, Kind::Face, Kind::Ring}) {
        const Tally& t = tallies[static_cast<size_t>(kind)];
        std::printf("%s\n", Summary(kind, t).c_str());
        whole = whole && t.exact == t.cut && t.fused == 0 && t.lost == 0;
    }
    return whole ? 0 : 1;
}
