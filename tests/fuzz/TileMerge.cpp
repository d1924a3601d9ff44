#include "TileMerge.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "SampleMapRun.h"
#include "SvgFacts.h"

namespace tilemerge {

namespace fs = std::filesystem;

namespace {

long Hundredths(double v) { return std::lround(v * 100.0); }

std::multiset<std::string> LabelTexts(const testsupport::SvgFacts& facts) {
    std::multiset<std::string> texts;
    for (const testsupport::SvgLabel& label : facts.labels) texts.insert(label.text);
    return texts;
}

const testsupport::SvgLabel* OnlyLabel(const testsupport::SvgFacts& facts, const std::string& text) {
    const testsupport::SvgLabel* found = nullptr;
    for (const testsupport::SvgLabel& label : facts.labels) {
        if (label.text != text) continue;
        if (found) return nullptr;
        found = &label;
    }
    return found;
}

// Where the tile's page corner landed in the merged map, from a label found once in each.
bool TileOffset(const testsupport::SvgFacts& tile, const testsupport::SvgFacts& merged, double& dx, double& dy) {
    for (const testsupport::SvgLabel& label : tile.labels) {
        const testsupport::SvgLabel* here = OnlyLabel(tile, label.text);
        const testsupport::SvgLabel* there = OnlyLabel(merged, label.text);
        if (!here || !there) continue;
        dx = there->at.x - here->at.x;
        dy = there->at.y - here->at.y;
        return true;
    }
    return false;
}

testsupport::SvgFacts Facts(const fs::path& file) {
    auto facts = testsupport::ReadSvgFacts(file);
    if (!facts) Fail("no XML document in " + file.string(), "");
    return *facts;
}

GoodBlock MakeGoodBlock(const fs::path& root, const Runner& run) {
    GoodBlock b;
    b.root = root;
    fs::remove_all(root);
    samplemap::RunOptions options;
    options.block.kind = MeshKind::Material;
    options.block.origin = samplemap::DefaultOrigin(MeshKind::Material);
    options.block.columns = 2;
    options.block.rows = 2;
    options.outDir = (root / "good").string();
    std::string error;
    if (!samplemap::WriteSampleMap(options, nullptr, &error)) Fail("no sample tiles: " + error, "");
    const auto block = samplemap::MakeMeshBlock(options.block, &error);
    if (!block) Fail("no block: " + error, "");
    std::vector<samplemap::BlockTile> tiles = block->tiles;
    std::sort(tiles.begin(), tiles.end(), [](const auto& x, const auto& y) { return x.name < y.name; });
    const Outcome clean = run(root / "good", root / "clean.svg");
    if (!clean.done || !clean.passedOver.empty() || clean.merged.empty())
        Fail("the good tiles do not merge", clean.transcript);
    const testsupport::SvgFacts merged = Facts(clean.merged);

    const double width = block->grid.tileWidth, height = block->grid.tileHeight;
    for (const samplemap::BlockTile& tile : tiles) {
        b.names.push_back(tile.name);
        b.files.push_back(root / "good" / tile.name);
        const testsupport::SvgFacts content = Facts(b.files.back());
        b.labels.push_back(LabelTexts(content));
        double x0 = 0, y0 = 0;
        if (!TileOffset(content, merged, x0, y0)) Fail("no label places " + tile.name, clean.transcript);
        std::set<Point> inner;
        constexpr double kOffSeam = 0.05;
        for (const auto& path : merged.paths)
            for (const auto& [x, y] : path)
                if (x > x0 + kOffSeam && x < x0 + width - kOffSeam && y > y0 + kOffSeam && y < y0 + height - kOffSeam)
                    inner.insert({Hundredths(x), Hundredths(y)});
        b.inner.push_back(std::move(inner));
    }
    return b;
}

}  // namespace

void Fail(const std::string& why, const std::string& transcript) {
    std::fprintf(stderr, "tile merge: %s\n%s\n", why.c_str(), transcript.c_str());
    std::abort();
}

const GoodBlock& TheGoodBlock(const Runner& run) {
    static const GoodBlock block =
        MakeGoodBlock(fs::temp_directory_path() / ("quiltor-fuzz-merge-" + std::to_string(getpid())), run);
    static const struct RemovedAtExit {
        fs::path root;
        ~RemovedAtExit() {
            std::error_code ignored;
            fs::remove_all(root, ignored);
        }
    } removed{block.root};
    return block;
}

size_t WriteFolder(const GoodBlock& good, const uint8_t* data, size_t size, const fs::path& folder) {
    const size_t broken = size % good.names.size();
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (size_t i = 0; i < good.names.size(); ++i) {
        if (i == broken)
            std::ofstream(folder / good.names[i], std::ios::binary).write(reinterpret_cast<const char*>(data), size);
        else
            fs::copy_file(good.files[i], folder / good.names[i]);
    }
    return broken;
}

std::string Judge(const GoodBlock& good, size_t broken, const Outcome& outcome) {
    std::set<std::string> goodPassedOver;
    for (size_t i = 0; i < good.names.size(); ++i)
        if (i != broken && outcome.passedOver.count(good.names[i])) goodPassedOver.insert(good.names[i]);
    // The broken tile was the first to open, and its tree turned every good tile away.
    if (broken == 0 && goodPassedOver.size() == good.names.size() - 1) return "";

    if (!outcome.done) return "no completion message";
    if (!goodPassedOver.empty()) return "a good tile was passed over: " + *goodPassedOver.begin();
    if (outcome.merged.empty()) return "nothing saved";
    const auto merged = testsupport::ReadSvgFacts(outcome.merged);
    if (!merged) return "the merged map does not read";
    const std::multiset<std::string> labels = LabelTexts(*merged);
    std::set<Point> anchors;
    for (const auto& path : merged->paths)
        for (const auto& [x, y] : path) anchors.insert({Hundredths(x), Hundredths(y)});
    for (size_t i = 0; i < good.names.size(); ++i) {
        if (i == broken) continue;
        if (!std::includes(labels.begin(), labels.end(), good.labels[i].begin(), good.labels[i].end()))
            return "labels of " + good.names[i] + " are missing";
        std::vector<Point> missing;
        std::set_difference(good.inner[i].begin(), good.inner[i].end(), anchors.begin(), anchors.end(),
                            std::back_inserter(missing));
        if (!missing.empty())
            return "anchors of " + good.names[i] + " are missing, " + std::to_string(missing.size()) + " of " +
                   std::to_string(good.inner[i].size()) + ", the first at " + std::to_string(missing[0].first / 100.0) +
                   ", " + std::to_string(missing[0].second / 100.0);
    }
    return "";
}

void MergeWithOneTile(const uint8_t* data, size_t size, const Runner& run) {
    const GoodBlock& good = TheGoodBlock(run);
    const size_t broken = WriteFolder(good, data, size, good.root / "run");
    const Outcome outcome = run(good.root / "run", good.root / "merged.svg");
    const std::string wrong = Judge(good, broken, outcome);
    if (!wrong.empty()) Fail(wrong, outcome.transcript);
}

}  // namespace tilemerge
