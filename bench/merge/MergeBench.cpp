// The merge at full size: an 8 x 8 block of secondary-mesh tiles at 1/25000 with a few thousand
// objects each (about the largest block the plug-in's size limit lets through at that scale),
// merged by the quiltor-host program, with its time and peak memory; and the host operations the
// run plays for every tile, on blocks from 2 x 2 to 8 x 8, to show how they grow with the document.
//
// The tiles are drawn once into $TMPDIR/quiltor-bench-merge-d<density> and kept for later runs.
// QUILTOR_BENCH_DENSITY changes the density (default 150: about 4400 objects per tile).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

constexpr int kSide = 8;

int Density() {
    const char* text = std::getenv("QUILTOR_BENCH_DENSITY");
    const int density = text ? std::atoi(text) : 150;
    return density > 0 ? density : 150;
}

struct TileSet {
    fs::path dir;
    samplemap::MeshBlock block;
    size_t objects = 0;  // top-level objects of all tiles, as the manifest counts them
};

size_t ManifestTileObjects(const fs::path& manifest) {
    std::ifstream in(manifest);
    size_t total = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.find("\"k\": ") == std::string::npos) continue;
        const size_t at = line.find("\"objects\": ");
        if (at != std::string::npos) total += std::stoul(line.substr(at + 11));
    }
    return total;
}

const TileSet& Tiles() {
    static const TileSet tiles = [] {
        TileSet set;
        samplemap::RunOptions options;
        options.block.kind = MeshKind::Material;
        options.block.origin = samplemap::DefaultOrigin(MeshKind::Material);
        options.block.scale = 25000;
        options.block.columns = kSide;
        options.block.rows = kSide;
        options.density = Density();
        options.seed = 1;
        set.dir = fs::temp_directory_path() / ("quiltor-bench-merge-d" + std::to_string(options.density));
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
    double peakMiB = 0;
    double cpuSeconds = 0;
};

ChildRun RunQuiet(std::vector<std::string> argv) {
    ChildRun run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> raw;
    for (std::string& a : argv) raw.push_back(a.data());
    raw.push_back(nullptr);
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {}
        run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.peakMiB = usage.ru_maxrss / 1024.0;  // kilobytes on Linux
        run.cpuSeconds =
            usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// Arg 0: both check boxes off (placement only); 1: as the dialog starts, seams joined.
void BM_FullMerge8x8(benchmark::State& state) {
    const TileSet& tiles = Tiles();
    const fs::path out = tiles.dir.parent_path() / "quiltor-bench-merged.svg";
    std::vector<std::string> argv = {QUILTOR_HOST_PROGRAM, "merge",  tiles.dir.string(), "-o",
                                     out.string(),         "--page", "3616mm",           "2960mm"};
    if (state.range(0) == 0) {
        argv.push_back("--no-line-join");
        argv.push_back("--no-face-join");
    }
    ChildRun run;
    for (auto _ : state) {
        run = RunQuiet(argv);
        if (run.status != 0) {
            state.SkipWithError(("quiltor-host merge failed with " + std::to_string(run.status)).c_str());
            break;
        }
        state.SetIterationTime(run.seconds);
    }
    state.counters["tiles"] = static_cast<double>(tiles.block.tiles.size());
    state.counters["objects"] = static_cast<double>(tiles.objects);
    state.counters["peak_MiB"] = run.peakMiB;
    state.counters["cpu_s"] = run.cpuSeconds;
    state.counters["merged_MiB"] = fs::exists(out) ? fs::file_size(out) / 1048576.0 : 0;
    fs::remove(out);
}
BENCHMARK(BM_FullMerge8x8)->ArgName("joins")->Arg(0)->Arg(1)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

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

std::vector<samplemap::BlockTile> Block(const TileSet& tiles, int side) {
    std::vector<samplemap::BlockTile> chosen;
    for (const samplemap::BlockTile& tile : tiles.block.tiles)
        if (tile.k < side && -tile.j < side) chosen.push_back(tile);
    return chosen;
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
    const std::vector<samplemap::BlockTile> block = Block(tiles, side);
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
    for (const samplemap::BlockTile& tile : Block(tiles, side)) PlaceTile(run, target, tile, tiles);
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
