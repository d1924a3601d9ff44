// The merge at full size: blocks of secondary-mesh tiles at 1/25000 with a few thousand objects
// each, from 2 x 2 to 8 x 8 and the largest block the plug-in's size limit lets through on a
// 5,000 mm page (11 x 14), merged by the quiltor-host program. Each run reports its steps (reading
// tiles, placing, joining, writing), its peak memory per placed object and, measured in the same
// run, the lower bound of the work: parsing the same tile files with the XML library alone and
// writing as many bytes as the merged map has. Then the host operations the run plays for every
// tile, on blocks from 2 x 2 to 8 x 8, to show whether they grow with the document.
//
// The tiles are drawn once into $TMPDIR/quiltor-bench-merge-d<density>-11x14 and kept for later
// runs. QUILTOR_BENCH_DENSITY changes the density (default 150: about 4400 objects per tile).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SampleMapRun.h"
#include "app/Host.h"
#include "core/ActionRegistry.h"
#include "model/Document.h"
#include "model/Workspace.h"
#include "ui/QueuedUserInterface.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace quiltor::host;
using Clock = std::chrono::steady_clock;

constexpr int kSide = 8;  // the in-process operations and the scaling runs go up to this
constexpr int kLargestColumns = 11;
constexpr int kLargestRows = 14;

int Density() {
    const char* text = std::getenv("QUILTOR_BENCH_DENSITY");
    const int density = text ? std::atoi(text) : 150;
    return density > 0 ? density : 150;
}

struct TileSet {
    fs::path dir;
    samplemap::MeshBlock block;
    std::map<std::string, size_t> objects;  // top-level objects per tile, as the manifest counts them
};

std::map<std::string, size_t> ManifestTileObjects(const fs::path& manifest) {
    std::ifstream in(manifest);
    std::map<std::string, size_t> objects;
    for (std::string line; std::getline(in, line);) {
        if (line.find("\"k\": ") == std::string::npos) continue;
        const size_t name = line.find("\"name\": \"");
        const size_t at = line.find("\"objects\": ");
        if (name == std::string::npos || at == std::string::npos) continue;
        const size_t from = name + 9;
        objects[line.substr(from, line.find('"', from) - from)] = std::stoul(line.substr(at + 11));
    }
    return objects;
}

const TileSet& Tiles() {
    static const TileSet tiles = [] {
        TileSet set;
        samplemap::RunOptions options;
        options.block.kind = MeshKind::Material;
        options.block.origin = samplemap::DefaultOrigin(MeshKind::Material);
        options.block.scale = 25000;
        options.block.columns = kLargestColumns;
        options.block.rows = kLargestRows;
        options.density = Density();
        options.seed = 1;
        set.dir = fs::temp_directory_path() / ("quiltor-bench-merge-d" + std::to_string(options.density) + "-" +
                                               std::to_string(kLargestColumns) + "x" + std::to_string(kLargestRows));
        options.outDir = set.dir.string();
        std::string error;
        auto block = samplemap::MakeMeshBlock(options.block, &error);
        if (!block ||
            (!fs::exists(set.dir / "manifest.json") && !samplemap::WriteSampleMap(options, nullptr, &error))) {
            std::fprintf(stderr, "cannot draw the tiles: %s\n", error.c_str());
            std::exit(1);
        }
        set.block = *block;
        set.objects = ManifestTileObjects(set.dir / "manifest.json");
        return set;
    }();
    return tiles;
}

// ---------------------------------------------------------------- the whole merge, as a program

struct ChildRun {
    int status = -1;
    double seconds = 0;
    std::string err;  // standard error
};

ChildRun RunQuiet(std::vector<std::string> argv, const fs::path& errFile) {
    ChildRun run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> raw;
    for (std::string& a : argv) raw.push_back(a.data());
    raw.push_back(nullptr);
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ) == 0) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
        run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    std::ifstream in(errFile);
    run.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    fs::remove(errFile);
    return run;
}

// The number after `label` on the --times line, or -1.
double TimeOf(const std::string& err, const std::string& label) {
    const size_t line = err.find("Times: ");
    if (line == std::string::npos) return -1;
    const size_t at = err.find(label + " ", line);
    return at == std::string::npos ? -1 : std::atof(err.c_str() + at + label.size() + 1);
}

// The least any merge of these files into a map of `bytes` must do: parse every tile file with the
// XML library and write that many bytes.
double LowerBoundSeconds(const std::vector<fs::path>& files, uintmax_t bytes, const fs::path& scratch) {
    const auto start = Clock::now();
    for (const fs::path& file : files) {
        pugi::xml_document xml;
        if (!xml.load_file(file.c_str())) std::fprintf(stderr, "cannot parse %s\n", file.c_str());
    }
    const std::string chunk(1 << 20, 'x');
    if (std::FILE* out = std::fopen(scratch.c_str(), "wb")) {
        for (uintmax_t left = bytes; left > 0;) {
            const size_t n = static_cast<size_t>(std::min<uintmax_t>(left, chunk.size()));
            std::fwrite(chunk.data(), 1, n, out);
            left -= n;
        }
        std::fclose(out);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    fs::remove(scratch);
    return seconds;
}

std::vector<samplemap::BlockTile> Block(const TileSet& tiles, int columns, int rows) {
    std::vector<samplemap::BlockTile> chosen;
    for (const samplemap::BlockTile& tile : tiles.block.tiles)
        if (tile.k < columns && -tile.j < rows) chosen.push_back(tile);
    return chosen;
}

// Merges the north-west columns x rows of the tiles on a page of the size, both boxes ticked
// unless `joins` is false.
void Merge(benchmark::State& state, int columns, int rows, const char* pageWidth, const char* pageHeight, bool joins) {
    const TileSet& tiles = Tiles();
    const std::vector<samplemap::BlockTile> block = Block(tiles, columns, rows);
    const fs::path out = tiles.dir.parent_path() / "quiltor-bench-merged.svg";
    std::string names;
    std::vector<fs::path> files;
    size_t objects = 0;
    for (const samplemap::BlockTile& tile : block) {
        names += (names.empty() ? "" : ",") + tile.name;
        files.push_back(tiles.dir / tile.name);
        objects += tiles.objects.count(tile.name) ? tiles.objects.at(tile.name) : 0;
    }
    std::vector<std::string> argv = {QUILTOR_HOST_PROGRAM,
                                     "merge",
                                     tiles.dir.string(),
                                     "-o",
                                     out.string(),
                                     "--page",
                                     pageWidth,
                                     pageHeight,
                                     "--tiles",
                                     names,
                                     "--times",
                                     "--quiet"};
    if (!joins) {
        argv.push_back("--no-line-join");
        argv.push_back("--no-face-join");
    }
    ChildRun run;
    double lower = 0;
    uintmax_t bytes = 0;
    for (auto _ : state) {
        run = RunQuiet(argv, out.string() + ".err");
        if (run.status != 0) {
            state.SkipWithError(("quiltor-host merge failed with " + std::to_string(run.status)).c_str());
            std::fprintf(stderr, "%s", run.err.c_str());
            break;
        }
        state.SetIterationTime(run.seconds);
        bytes = fs::exists(out) ? fs::file_size(out) : 0;
        lower = LowerBoundSeconds(files, bytes, out.string() + ".bound");
    }
    state.counters["tiles"] = static_cast<double>(block.size());
    state.counters["objects"] = static_cast<double>(objects);
    state.counters["read_s"] = TimeOf(run.err, "reading tiles");
    state.counters["place_s"] = TimeOf(run.err, "placing");
    state.counters["join_s"] = TimeOf(run.err, "joining seams");
    state.counters["write_s"] = TimeOf(run.err, "writing");
    state.counters["bound_s"] = lower;
    state.counters["x_bound"] = lower > 0 ? run.seconds / lower : 0;
    const double peakMiB = TimeOf(run.err, "peak memory");
    state.counters["peak_MiB"] = peakMiB;
    state.counters["KiB_per_obj"] = objects ? peakMiB * 1024 / static_cast<double>(objects) : 0;
    state.counters["merged_MiB"] = bytes / 1048576.0;
    fs::remove(out);
}

// Square blocks on a page that holds the 8 x 8 block: arg 0 the side, arg 1 whether seams are joined.
void BM_FullMerge(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    Merge(state, side, side, "3616mm", "2960mm", state.range(1) != 0);
}
BENCHMARK(BM_FullMerge)
    ->ArgNames({"side", "joins"})
    ->Args({2, 1})
    ->Args({4, 1})
    ->Args({6, 1})
    ->Args({8, 1})
    ->Args({8, 0})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// The largest block the size limit lets through on a 5,000 mm square page.
void BM_LargestMerge(benchmark::State& state) { Merge(state, kLargestColumns, kLargestRows, "5000mm", "5000mm", true); }
BENCHMARK(BM_LargestMerge)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

// ---------------------------------------------------------------- the host operations, in-process

// A host whose paste puts art back into the layers of the same titles, as the run switches on.
struct RunHost {
    Host host{std::make_unique<QueuedUserInterface>()};
    _AIActionParamValue none;
    RunHost() { host.preferences().pasteRemembersLayers = true; }

    void play(const char* event, const _AIActionParamValue* params = nullptr, int32_t dialogStatus = kDialogNone) {
        host.actions().play(event, dialogStatus, params ? params : &none);
    }
    void move(float h, float v) {
        _AIActionParamValue params;
        params.values[AI_ACTION_KEY('h', 'o', 'z', 'n')] = h;
        params.values[AI_ACTION_KEY('v', 't', 'c', 'l')] = v;
        play("adobe_move", &params, kDialogNoneAndNotify);
    }
    void clearHistory() { host.actions().clearHistory(); }
};

// What the run asks of the host for one tile: open it, show every layer, select all and cut,
// paste in back into the target, move by the tile's offset, deselect, undo the tile and close it.
void PlaceTile(RunHost& run, AIDocumentHandle target, const samplemap::BlockTile& tile, const TileSet& tiles) {
    Workspace& workspace = run.host.workspace();
    std::string error;
    AIErr code = kNoErr;
    AIDocumentHandle opened = workspace.openFile((tiles.dir / tile.name).string(), &error, &code);
    if (!opened) return;
    Document& document = *workspace.find(opened);
    const AIRealRect artboard = document.artboard();
    for (Layer* layer = document.firstLayer(); layer; layer = NextLayerInPreorder(layer)) {
        LayerOptions options = layer->options;
        options.visible = options.editable = true;
        document.setLayerOptions(layer, options);
    }
    run.play("adobe_selectAll");
    run.play("adobe_cut");
    workspace.activate(target);
    run.play("adobe_pasteInBack");
    const float w = static_cast<float>(tiles.block.grid.tileWidth);
    const float h = static_cast<float>(tiles.block.grid.tileHeight);
    run.move(static_cast<float>(tile.k) * w + artboard.left, static_cast<float>(tile.j) * h + artboard.bottom);
    run.play("adobe_deselectAll");
    workspace.activate(opened);
    document.undoChanges();
    document.setModified(false);
    workspace.close(opened);
    workspace.activate(target);
    run.clearHistory();
}

size_t TopLevelObjects(const Document& document) {
    size_t count = 0;
    for (const Layer* layer = document.firstLayer(); layer; layer = NextLayerInPreorder(layer))
        for (const Art* a = layer->group->firstChild; a; a = a->next) ++count;
    return count;
}

// Every tile of an n x n block placed with the operations above.
void BM_PlaceBlock(benchmark::State& state) {
    const TileSet& tiles = Tiles();
    const int side = static_cast<int>(state.range(0));
    const std::vector<samplemap::BlockTile> block = Block(tiles, side, side);
    size_t placed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto run = std::make_unique<RunHost>();
        const AIDocumentHandle target = run->host.workspace().newDocument({});
        state.ResumeTiming();
        for (const samplemap::BlockTile& tile : block) PlaceTile(*run, target, tile, tiles);
        state.PauseTiming();
        placed = TopLevelObjects(*run->host.workspace().find(target));
        run.reset();
        state.ResumeTiming();
    }
    state.counters["objects"] = static_cast<double>(placed);
    state.counters["objects_per_s"] = benchmark::Counter(static_cast<double>(placed), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlaceBlock)->ArgName("side")->DenseRange(2, kSide, 2)->Iterations(1)->Unit(benchmark::kMillisecond);

// One tile's operations on the target of an n x n block (the block placed beforehand): select all,
// move, deselect all, and a tile pasted in and cut out again. Each goes once over the target.
void BM_TargetOps(benchmark::State& state) {
    const TileSet& tiles = Tiles();
    const int side = static_cast<int>(state.range(0));
    RunHost run;
    const AIDocumentHandle target = run.host.workspace().newDocument({});
    for (const samplemap::BlockTile& tile : Block(tiles, side, side)) PlaceTile(run, target, tile, tiles);
    Document& document = *run.host.workspace().find(target);
    document.purgeUndo();
    const size_t objects = TopLevelObjects(document);
    // The clipboard holds the last tile; paste it and cut it out again so the target keeps its size.
    float sign = 1;
    for (auto _ : state) {
        run.play("adobe_selectAll");
        run.move(sign, -sign);
        run.play("adobe_deselectAll");
        run.play("adobe_pasteInBack");
        run.play("adobe_cut");
        run.clearHistory();
        sign = -sign;
    }
    state.counters["target_objects"] = static_cast<double>(objects);
    state.counters["ns_per_target_object"] = benchmark::Counter(
        static_cast<double>(objects), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TargetOps)->ArgName("side")->DenseRange(2, kSide, 2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
