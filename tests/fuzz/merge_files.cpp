// A whole tile file from any bytes, merged by the quiltor-host program among three good tiles of
// a 2 x 2 block: the program never crashes, hangs or trips a sanitizer, and the good tiles are
// still merged. The input takes the place of the tile at (input size mod 4) in name order; the
// first of that order is the one whose layer tree the others are held to, so a broken first tile
// that still opens may turn the good ones away, and only then is their loss allowed.
//
// What is expected is read from the files with pugixml alone, never through the host's reader.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "SampleMapRun.h"
#include "SvgFacts.h"

namespace {

namespace fs = std::filesystem;

constexpr char kDone[] = "作業が完了しました。";
constexpr char kNotMerged[] = "Not merged: ";
constexpr auto kHangLimit = std::chrono::seconds(60);

[[noreturn]] void Fail(const std::string& why, const testsupport::ChildRun& run) {
    std::fprintf(stderr, "merge_files: %s\n--- exit %d, signal %d\n--- stdout:\n%s\n--- stderr:\n%s\n", why.c_str(),
                 run.status, run.signal, run.out.c_str(), run.err.c_str());
    std::abort();
}

using Point = std::pair<long, long>;  // hundredths of a point, SVG axes

long Hundredths(double v) { return std::lround(v * 100.0); }

std::multiset<std::string> LabelTexts(const testsupport::SvgFacts& facts) {
    std::multiset<std::string> texts;
    for (const testsupport::SvgLabel& label : facts.labels) texts.insert(label.text);
    return texts;
}

// Where the tile's page corner landed in the merged map, from a label found once in each.
bool TileOffset(const testsupport::SvgFacts& tile, const testsupport::SvgFacts& merged, double& dx, double& dy) {
    const auto once = [](const testsupport::SvgFacts& facts, const std::string& text) -> const testsupport::SvgLabel* {
        const testsupport::SvgLabel* found = nullptr;
        for (const testsupport::SvgLabel& label : facts.labels) {
            if (label.text != text) continue;
            if (found) return nullptr;
            found = &label;
        }
        return found;
    };
    for (const testsupport::SvgLabel& label : tile.labels) {
        const testsupport::SvgLabel* here = once(tile, label.text);
        const testsupport::SvgLabel* there = once(merged, label.text);
        if (!here || !there) continue;
        dx = there->at.x - here->at.x;
        dy = there->at.y - here->at.y;
        return true;
    }
    return false;
}

std::optional<testsupport::SvgFacts> Facts(const fs::path& file, const testsupport::ChildRun& run) {
    auto facts = testsupport::ReadSvgFacts(file);
    if (!facts) Fail("no XML document in " + file.string(), run);
    return facts;
}

// The good block, its clean merge, and what each tile must bring.
struct Block {
    fs::path root;
    std::vector<std::string> names;  // name order, the order the tiles are merged in
    std::vector<fs::path> files;
    std::vector<std::multiset<std::string>> labels;
    // Anchors of the clean merge strictly inside one tile, off every seam: no join may take them.
    std::vector<std::set<Point>> inner;
};

std::vector<std::string> HostArgs(const fs::path& folder, const fs::path& out) {
    return {QUILTOR_HOST_PROGRAM, "merge", folder.string(), "-o", out.string()};
}

testsupport::ChildRun Merge(const fs::path& folder, const fs::path& out) {
    testsupport::ChildOptions options;
    options.timeout = kHangLimit;
    return testsupport::RunChild(HostArgs(folder, out), options);
}

const Block& Good() {
    static const Block block = [] {
        Block b;
        b.root = fs::temp_directory_path() / ("quiltor-fuzz-merge-" + std::to_string(getpid()));
        fs::remove_all(b.root);
        samplemap::RunOptions options;
        options.block.kind = MeshKind::Material;
        options.block.origin = samplemap::DefaultOrigin(MeshKind::Material);
        options.block.columns = 2;
        options.block.rows = 2;
        options.outDir = (b.root / "good").string();
        std::string error;
        samplemap::RunResult written;
        if (!samplemap::WriteSampleMap(options, &written, &error)) {
            std::fprintf(stderr, "merge_files: no sample tiles: %s\n", error.c_str());
            std::abort();
        }
        const auto block = samplemap::MakeMeshBlock(options.block, &error);
        std::vector<samplemap::BlockTile> tiles = block->tiles;
        std::sort(tiles.begin(), tiles.end(), [](const auto& x, const auto& y) { return x.name < y.name; });
        const fs::path clean = b.root / "clean.svg";
        const testsupport::ChildRun run = Merge(b.root / "good", clean);
        if (run.status != 0) Fail("the good tiles do not merge", run);
        const auto merged = Facts(clean, run);

        const double width = block->grid.tileWidth, height = block->grid.tileHeight;
        for (const samplemap::BlockTile& tile : tiles) {
            b.names.push_back(tile.name);
            b.files.push_back(b.root / "good" / tile.name);
            const auto content = Facts(b.files.back(), run);
            b.labels.push_back(LabelTexts(*content));
            double x0 = 0, y0 = 0;
            if (!TileOffset(*content, *merged, x0, y0)) Fail("no label places " + tile.name, run);
            std::set<Point> inner;
            for (const auto& path : merged->paths) {
                for (const auto& [x, y] : path) {
                    constexpr double kOffSeam = 0.05;
                    if (x > x0 + kOffSeam && x < x0 + width - kOffSeam && y > y0 + kOffSeam &&
                        y < y0 + height - kOffSeam)
                        inner.insert({Hundredths(x), Hundredths(y)});
                }
            }
            b.inner.push_back(std::move(inner));
        }
        return b;
    }();
    static const struct RemovedAtExit {
        fs::path root;
        ~RemovedAtExit() {
            std::error_code ignored;
            fs::remove_all(root, ignored);
        }
    } removed{block.root};
    return block;
}

std::set<std::string> NamedNotMerged(const std::string& err) {
    std::set<std::string> names;
    for (size_t at = err.find(kNotMerged); at != std::string::npos; at = err.find(kNotMerged, at + 1)) {
        const size_t from = at + sizeof kNotMerged - 1;
        names.insert(err.substr(from, err.find('\n', from) - from));
    }
    return names;
}

bool SanitizerSpoke(const std::string& err) {
    return err.find("Sanitizer") != std::string::npos || err.find("runtime error:") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Block& good = Good();
    const size_t broken = size % good.names.size();
    const fs::path folder = good.root / "run";
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (size_t i = 0; i < good.names.size(); ++i) {
        if (i == broken)
            std::ofstream(folder / good.names[i], std::ios::binary).write(reinterpret_cast<const char*>(data), size);
        else
            fs::copy_file(good.files[i], folder / good.names[i]);
    }
    const fs::path out = good.root / "merged.svg";
    fs::remove(out);
    const testsupport::ChildRun run = Merge(folder, out);

    if (run.timedOut) Fail("no end within the time limit", run);
    if (run.signal != 0) Fail("ended by a signal", run);
    if (SanitizerSpoke(run.err)) Fail("a sanitizer report", run);
    if (run.status != 0 && run.status != 1 && run.status != 3) Fail("an exit status merge never gives", run);

    const std::set<std::string> passedOver = NamedNotMerged(run.err);
    std::set<std::string> goodPassedOver;
    for (size_t i = 0; i < good.names.size(); ++i)
        if (i != broken && passedOver.count(good.names[i])) goodPassedOver.insert(good.names[i]);
    // The broken tile was the first to open, and its tree turned every good tile away.
    if (broken == 0 && goodPassedOver.size() == good.names.size() - 1) return 0;

    if (run.status == 1) Fail("nothing merged, though three good tiles were chosen", run);
    if (run.out.find(kDone) == std::string::npos) Fail("no completion message", run);
    if (!goodPassedOver.empty()) Fail("a good tile was passed over: " + *goodPassedOver.begin(), run);
    if (run.status != (passedOver.empty() ? 0 : 3)) Fail("the exit status does not tell what was merged", run);

    const auto merged = testsupport::ReadSvgFacts(out);
    if (!merged) Fail("the merged map does not read", run);
    const std::multiset<std::string> labels = LabelTexts(*merged);
    std::set<Point> anchors;
    for (const auto& path : merged->paths)
        for (const auto& [x, y] : path) anchors.insert({Hundredths(x), Hundredths(y)});
    for (size_t i = 0; i < good.names.size(); ++i) {
        if (i == broken) continue;
        if (!std::includes(labels.begin(), labels.end(), good.labels[i].begin(), good.labels[i].end()))
            Fail("labels of " + good.names[i] + " are missing", run);
        std::vector<Point> missing;
        std::set_difference(good.inner[i].begin(), good.inner[i].end(), anchors.begin(), anchors.end(),
                            std::back_inserter(missing));
        if (!missing.empty())
            Fail("anchors of " + good.names[i] + " are missing, " + std::to_string(missing.size()) + " of " +
                     std::to_string(good.inner[i].size()) + ", the first at " +
                     std::to_string(missing[0].first / 100.0) + ", " + std::to_string(missing[0].second / 100.0),
                 run);
    }
    return 0;
}
