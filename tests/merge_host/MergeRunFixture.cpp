#include "MergeRunFixture.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <unordered_map>

#include "ChildProcess.h"
#include "SampleMapRun.h"
#include "core/HostStrings.h"
#include "svg/Svg.h"
#include "svg/SvgFormat.h"

namespace mergehost {

namespace fs = std::filesystem;
using namespace quiltor::host;

namespace {

std::string Bits(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    char buf[12];
    std::snprintf(buf, sizeof buf, "%08x", bits);
    return buf;
}

void Describe(const Art* art, std::string& out) {
    out += "{" + std::to_string(art->type) + " a" + std::to_string(art->userAttr & (kArtLocked | kArtHidden));
    out += " " + svg::FormatPathStyle(art->style->pathStyle()) + " e" + std::to_string(art->style->effect());
    if (art->type == kPathArt) {
        out += art->closed ? " closed" : " open";
        for (const AIPathSegment& s : art->segments) {
            for (const AIRealPoint& p : {s.p, s.in, s.out}) out += " " + Bits(p.h) + "," + Bits(p.v);
            out += s.corner ? "c" : "s";
        }
    } else if (art->type == kTextFrameArt) {
        out += " \"" + EncodeUtf8(art->text) + "\" " + Bits(art->position.h) + "," + Bits(art->position.v) + " " +
               Bits(art->fontSize);
    }
    for (const Art* member = art->firstChild; member; member = member->next) Describe(member, out);
    out += "}";
}

// The position path of every layer ("9/3": the fourth sublayer of the tenth top-level layer).
std::unordered_map<const Layer*, std::string> PositionPaths(const Document& document) {
    std::unordered_map<const Layer*, std::string> paths;
    for (const Layer* layer = document.firstLayer(); layer; layer = NextLayerInPreorder(layer)) {
        int index = 0;
        for (const Layer* l = layer->prev; l; l = l->prev) ++index;
        paths[layer] = (layer->parent ? paths.at(layer->parent) + "/" : std::string()) + std::to_string(index);
    }
    return paths;
}

Signatures SignaturesOf(const Document& document, ArtTally* tally) {
    Signatures all;
    const auto paths = PositionPaths(document);
    for (const Layer* layer = document.firstLayer(); layer; layer = NextLayerInPreorder(layer)) {
        for (const Art* art = layer->group->firstChild; art; art = art->next) {
            std::string signature = paths.at(layer) + " ";
            Describe(art, signature);
            all.insert(signature);
            if (!tally) continue;
            ++tally->objects;
            for (const Art* a = art; a; a = NextInPreorder(a, art)) {
                tally->anchors += a->segments.size();
                tally->labels += a->type == kTextFrameArt ? 1 : 0;
            }
        }
    }
    return all;
}

}  // namespace

ProgramRun RunHost(const std::vector<std::string>& args, bool closeStandardInput) {
    std::vector<std::string> argv = {QUILTOR_HOST_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    testsupport::ChildOptions options;
    options.closeStandardInput = closeStandardInput;
    return testsupport::RunChild(argv, options);
}

MergeRunTest::MergeRunTest() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           ("quiltor-merge-host-" + std::to_string(getpid()) + "-" + info->test_suite_name() + "-" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
}

MergeRunTest::~MergeRunTest() {
    if (!HasFailure()) fs::remove_all(dir_);
}

void MergeRunTest::DrawTiles(MeshKind kind, int columns, int rows, int density) {
    samplemap::RunOptions options;
    options.block.kind = kind;
    options.block.origin = samplemap::DefaultOrigin(kind);
    options.block.scale = samplemap::DefaultScale(kind);
    options.block.columns = columns;
    options.block.rows = rows;
    options.density = density;
    options.seed = 7;
    options.outDir = tileDir().string();
    std::string error;
    ASSERT_TRUE(samplemap::WriteSampleMap(options, nullptr, &error)) << error;
    auto block = samplemap::MakeMeshBlock(options.block, &error);
    ASSERT_TRUE(block) << error;
    block_ = *block;
}

ProgramRun MergeRunTest::Merge(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"merge", tileDir().string()};
    all.insert(all.end(), args.begin(), args.end());
    return RunHost(all);
}

std::unique_ptr<Document> MergeRunTest::Read(const fs::path& path) {
    std::string error;
    AIErr code = kNoErr;
    auto document = ReadSvgFile(path.string(), styles_, &error, &code);
    EXPECT_TRUE(document) << path << ": " << error;
    return document;
}

Signatures MergeRunTest::Expected(size_t i, int k, int j, ArtTally* tally) {
    auto tile = Read(TilePath(i));
    if (!tile) return {};
    // As the copy step computes the move: in single precision, then the artboard's corner added.
    const float tileWidth = static_cast<float>(block_.grid.tileWidth);
    const float tileHeight = static_cast<float>(block_.grid.tileHeight);
    const float columnMove = static_cast<float>(k) * tileWidth;
    const float rowMove = static_cast<float>(j) * tileHeight;
    const AIRealRect& artboard = tile->artboard();
    const AIRealMatrix shift{1, 0, 0, 1, columnMove + artboard.left, rowMove + artboard.bottom};
    for (Layer* layer = tile->firstLayer(); layer; layer = NextLayerInPreorder(layer))
        for (Art* art = layer->group->firstChild; art; art = art->next) TransformArtTree(art, shift);
    return SignaturesOf(*tile, tally);
}

Signatures MergeRunTest::ExpectedAll(const std::vector<size_t>& skipped, ArtTally* tally) {
    Signatures all;
    for (size_t i = 0; i < block_.tiles.size(); ++i) {
        if (std::find(skipped.begin(), skipped.end(), i) != skipped.end()) continue;
        Signatures one = Expected(i, block_.tiles[i].k, block_.tiles[i].j, tally);
        all.insert(one.begin(), one.end());
    }
    return all;
}

Signatures MergeRunTest::Actual(const Document& merged, ArtTally* tally) { return SignaturesOf(merged, tally); }

Signatures MergeRunTest::Labels(const Signatures& all) {
    Signatures labels;
    for (const Signature& s : all) {
        const size_t brace = s.find('{');
        if (s.compare(brace + 1, std::to_string(kTextFrameArt).size() + 1, std::to_string(kTextFrameArt) + " ") == 0)
            labels.insert(s);
    }
    return labels;
}

std::vector<std::string> LayerLines(const Document& document) {
    std::vector<std::string> lines;
    for (const Layer* layer = document.firstLayer(); layer; layer = NextLayerInPreorder(layer)) {
        int depth = 0;
        for (const Layer* l = layer->parent; l; l = l->parent) ++depth;
        lines.push_back(std::to_string(depth) + " " + EncodeUtf8(layer->title) + " " +
                        svg::FormatLayerOptions(layer->options));
    }
    return lines;
}

::testing::AssertionResult SameSignatures(const Signatures& expected, const Signatures& actual) {
    if (expected == actual) return ::testing::AssertionSuccess();
    std::vector<Signature> missing, extra;
    std::set_difference(expected.begin(), expected.end(), actual.begin(), actual.end(), std::back_inserter(missing));
    std::set_difference(actual.begin(), actual.end(), expected.begin(), expected.end(), std::back_inserter(extra));
    auto result = ::testing::AssertionFailure()
                  << missing.size() << " expected objects missing, " << extra.size() << " unexpected (of "
                  << expected.size() << " / " << actual.size() << ")";
    for (size_t i = 0; i < std::min<size_t>(missing.size(), 3); ++i)
        result << "\n  missing: " << missing[i].substr(0, 300);
    for (size_t i = 0; i < std::min<size_t>(extra.size(), 3); ++i) result << "\n  extra:   " << extra[i].substr(0, 300);
    return result;
}

}  // namespace mergehost
