#include "SampleMapRun.h"

#include <filesystem>
#include <fstream>

#include "Manifest.h"
#include "MapDocument.h"
#include "MapGenerator.h"
#include "TileCutter.h"

namespace samplemap {

bool WriteSampleMap(const RunOptions& options, RunResult* result, std::string* error) {
    const auto fail = [&](std::string why) {
        if (error) *error = std::move(why);
        return false;
    };
    if (options.density < 1 || options.density > kMaxDensity) {
        return fail("the density must lie between 1 and " + std::to_string(kMaxDensity));
    }
    if (options.outDir.empty()) return fail("no output folder given");
    std::string why;
    const auto block = MakeMeshBlock(options.block, &why);
    if (!block) return fail(why);

    std::error_code ec;
    std::filesystem::create_directories(options.outDir, ec);
    if (ec) return fail("cannot make " + options.outDir + ": " + ec.message());
    const std::filesystem::path dir(options.outDir);

    const SampleMap map =
        DrawSampleMap({block->kind, block->grid, options.seed, options.density, options.style, options.seamJunctions});
    const std::vector<TilePieces> tiles = CutIntoTiles(map, block->grid);
    RunResult written;
    written.objects = static_cast<int32_t>(map.objects.size());

    const TileGrid& grid = block->grid;
    const PageFrame tilePage{grid.tileWidth, grid.tileHeight, {0, 0, grid.tileWidth, grid.tileHeight}};
    for (size_t i = 0; i < block->tiles.size(); ++i) {
        const std::string path = (dir / block->tiles[i].name).string();
        if (!WriteMapDocument(map, tiles[i].objects, tilePage, block->tiles[i].name, path, &why)) return fail(why);
        written.files.push_back(path);
    }

    // World coordinates, as the merge leaves the tiles: the artboard covers the whole block.
    const Rect bounds = grid.Bounds();
    const PageFrame referencePage{bounds.right - bounds.left, bounds.top - bounds.bottom, bounds};
    const std::string referencePath = (dir / kReferenceName).string();
    if (!WriteMapDocument(map, map.objects, referencePage, kReferenceName, referencePath, &why)) return fail(why);
    written.files.push_back(referencePath);

    const std::string manifestPath = (dir / kManifestName).string();
    {
        std::ofstream out(manifestPath, std::ios::binary | std::ios::trunc);
        out << ManifestJson({&*block, options.seed, options.density, &map, &tiles});
        if (!out.flush()) return fail("cannot write " + manifestPath);
    }
    written.files.push_back(manifestPath);
    if (result) *result = std::move(written);
    return true;
}

}  // namespace samplemap
