// The files as the host reads them back: names, pages, layer trees and every object in place.
#include "Manifest.h"
#include "MapDocument.h"
#include "MapGenerator.h"
#include "SampleMapRun.h"
#include "TileCutter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/HostStrings.h"
#include "model/Document.h"
#include "svg/Svg.h"

#include <unistd.h>

namespace samplemap {
namespace {

namespace fs = std::filesystem;
using quiltor::host::Document;

class DocumentLayers : public LayerTreeReader {
public:
    explicit DocumentLayers(const Document& document) : document_(document) {}
    Layer FirstLayer() override { return document_.firstLayer(); }
    Layer FirstChild(Layer layer) override { return Of(layer)->firstChild; }
    Layer NextLayer(Layer layer) override { return Of(layer)->next; }
    bool ReadTitle(Layer layer, char* buffer, std::size_t size) override {
        const std::string title = quiltor::host::EncodeUtf8(Of(layer)->title);
        const std::size_t n = std::min(title.size(), size - 1);
        std::memcpy(buffer, title.data(), n);
        buffer[n] = '\0';
        return true;
    }

private:
    static quiltor::host::Layer* Of(Layer layer) { return static_cast<quiltor::host::Layer*>(layer); }
    const Document& document_;
};

quiltor::host::Layer* LayerAtIndices(const Document& document, const std::vector<int32_t>& indices) {
    quiltor::host::Layer* layer = nullptr;
    for (size_t depth = 0; depth < indices.size(); ++depth) {
        layer = depth == 0 ? document.firstLayer() : layer->firstChild;
        for (int32_t i = 0; layer && i < indices[depth]; ++i) layer = layer->next;
        if (!layer) return nullptr;
    }
    return layer;
}

// What a layer holds as the host sees it, sorted into the tool's kinds.
ArtCounts CountArt(const quiltor::host::Layer& layer) {
    ArtCounts counts;
    for (const quiltor::host::Art* art = layer.group->firstChild; art; art = art->next) {
        counts.objects += 1;
        const bool filled = quiltor::host::IsFilled(art->style->pathStyle());
        switch (art->type) {
        case kPathArt:
            counts.paths += 1;
            counts.anchors += static_cast<int32_t>(art->segments.size());
            (art->closed ? (filled ? counts.faces : counts.rings) : counts.lines) += 1;
            break;
        case kCompoundPathArt:
            counts.faces += 1;
            for (const quiltor::host::Art* m = art->firstChild; m; m = m->next) {
                counts.paths += 1;
                counts.anchors += static_cast<int32_t>(m->segments.size());
            }
            break;
        case kTextFrameArt: counts.labels += 1; break;
        default: break;
        }
    }
    return counts;
}

std::unique_ptr<Document> Read(const fs::path& path, quiltor::host::StyleTable& styles) {
    std::string error;
    AIErr code = 0;
    auto document = quiltor::host::ReadSvgFile(path.string(), styles, &error, &code);
    EXPECT_NE(document, nullptr) << path << ": " << error;
    return document;
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class SampleMapFiles : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = fs::temp_directory_path() / ("quiltor-samplemap-" + std::string(info->name()) + "-" +
                                             std::to_string(static_cast<long>(::getpid())));
        fs::remove_all(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path Write(const RunOptions& base, const std::string& sub) {
        RunOptions options = base;
        options.outDir = (root_ / sub).string();
        std::string error;
        EXPECT_TRUE(WriteSampleMap(options, nullptr, &error)) << error;
        return root_ / sub;
    }

    static RunOptions Options(MeshKind kind, int32_t columns, int32_t rows, uint64_t seed = 1) {
        RunOptions options;
        options.block = {kind, DefaultOrigin(kind), columns, rows, DefaultScale(kind)};
        options.seed = seed;
        return options;
    }

    fs::path root_;
};

// Every tile read back carries the whole scheme tree, a page and artboard of one tile, and on each
// layer exactly the pieces the cut gave it, inside the tile.
void ExpectTilesAsCut(const fs::path& dir, const RunOptions& options) {
    const auto block = MakeMeshBlock(options.block, nullptr);
    ASSERT_TRUE(block.has_value());
    const SampleMap map = DrawSampleMap({block->kind, block->grid, options.seed, options.density});
    const auto tiles = CutIntoTiles(map, block->grid);
    const float w = static_cast<float>(block->grid.tileWidth), h = static_cast<float>(block->grid.tileHeight);
    quiltor::host::StyleTable styles;
    for (size_t i = 0; i < block->tiles.size(); ++i) {
        SCOPED_TRACE(block->tiles[i].name);
        const auto document = Read(dir / block->tiles[i].name, styles);
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(document->setup().width, w);
        EXPECT_EQ(document->setup().height, h);
        EXPECT_EQ(document->artboard().left, 0.0f);
        EXPECT_EQ(document->artboard().bottom, 0.0f);
        EXPECT_EQ(document->artboard().right, w);
        EXPECT_EQ(document->artboard().top, h);
        DocumentLayers reader(*document);
        EXPECT_TRUE(FollowsLayerScheme(reader, map.scheme, map.schemeCount));
        for (size_t layer = 0; layer < map.layers.size(); ++layer) {
            const quiltor::host::Layer* found = LayerAtIndices(*document, map.layers[layer].indices);
            ASSERT_NE(found, nullptr) << map.layers[layer].TitlePath();
            EXPECT_EQ(CountArt(*found), CountLayer(tiles[i].objects, static_cast<int>(layer)))
                << map.layers[layer].TitlePath();
            for (const quiltor::host::Art* art = found->group->firstChild; art; art = art->next) {
                AIRealRect bounds;
                if (art->type == kTextFrameArt || !quiltor::host::ArtBounds(art, &bounds)) continue;
                EXPECT_GE(bounds.left, 0.0f);
                EXPECT_GE(bounds.bottom, 0.0f);
                EXPECT_LE(bounds.right, w);
                EXPECT_LE(bounds.top, h);
            }
        }
    }
}

TEST_F(SampleMapFiles, SecondarySquaresComeBackAsCut) {
    const RunOptions options = Options(MeshKind::Material, 3, 3);
    ExpectTilesAsCut(Write(options, "material"), options);
}

TEST_F(SampleMapFiles, TokyoPiecesComeBackAsCutWithRoadNamesInTheFirstRoadLayer) {
    const RunOptions options = Options(MeshKind::Tokyo23, 3, 2);
    const fs::path dir = Write(options, "tokyo23");
    ExpectTilesAsCut(dir, options);

    quiltor::host::StyleTable styles;
    const auto document = Read(dir / "53394500_02500.ai", styles);
    ASSERT_NE(document, nullptr);
    ArtCounts names, roads;
    for (const auto* layer = LayerAtIndices(*document, {9})->firstChild; layer; layer = layer->next) {
        names += CountArt(*layer);
    }
    for (const auto* layer = LayerAtIndices(*document, {19})->firstChild; layer; layer = layer->next) {
        roads += CountArt(*layer);
    }
    EXPECT_GT(names.labels, 0);
    EXPECT_EQ(names.lines, 0);
    EXPECT_GT(roads.lines, 0);
    EXPECT_EQ(roads.labels, 0);
}

TEST_F(SampleMapFiles, WritesEveryTileTheReferenceAndTheManifest) {
    const RunOptions options = Options(MeshKind::MatQua, 2, 2);
    const fs::path dir = Write(options, "matqua");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"533945_1_010000.ai", "533945_2_010000.ai", "533945_3_010000.ai",
                                               "533945_4_010000.ai", "manifest.json", "reference.svg"}));
    const std::string manifest = Contents(dir / kManifestName);
    EXPECT_NE(manifest.find("{\"name\": \"533945_3_010000.ai\", \"mesh\": 533945, \"area\": 3, \"k\": 0, \"j\": 0,"),
              std::string::npos);
    EXPECT_NE(manifest.find("{\"name\": \"533945_2_010000.ai\", \"mesh\": 533945, \"area\": 2, \"k\": 1, \"j\": -1,"),
              std::string::npos);
}

// The reference is the map before the cut, where the merge puts the tiles back.
TEST_F(SampleMapFiles, TheReferenceHoldsTheUncutMapInWorldPlace) {
    const RunOptions options = Options(MeshKind::Material, 2, 3, 4);
    const fs::path dir = Write(options, "reference");
    const auto block = MakeMeshBlock(options.block, nullptr);
    const SampleMap map = DrawSampleMap({block->kind, block->grid, options.seed, options.density});
    quiltor::host::StyleTable styles;
    const auto document = Read(dir / kReferenceName, styles);
    ASSERT_NE(document, nullptr);
    const Rect bounds = block->grid.Bounds();
    EXPECT_EQ(document->artboard().left, 0.0f);
    EXPECT_EQ(document->artboard().top, static_cast<float>(bounds.top));
    EXPECT_EQ(document->artboard().right, static_cast<float>(bounds.right));
    EXPECT_EQ(document->artboard().bottom, static_cast<float>(bounds.bottom));
    ArtCounts total;
    for (size_t layer = 0; layer < map.layers.size(); ++layer) {
        total += CountArt(*LayerAtIndices(*document, map.layers[layer].indices));
    }
    EXPECT_EQ(total, CountObjects(map.objects));
}

TEST_F(SampleMapFiles, TheSameSeedWritesTheSameBytes) {
    const RunOptions options = Options(MeshKind::Tokyo23, 2, 2, 11);
    const fs::path first = Write(options, "first");
    const fs::path second = Write(options, "second");
    const fs::path other = Write(Options(MeshKind::Tokyo23, 2, 2, 12), "other");
    int files = 0;
    for (const auto& entry : fs::directory_iterator(first)) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(Contents(first / name), Contents(second / name)) << name;
        EXPECT_NE(Contents(first / name), Contents(other / name)) << name;
        ++files;
    }
    EXPECT_EQ(files, 6);
}

TEST_F(SampleMapFiles, RefusesWhatItCannotWrite) {
    RunOptions options = Options(MeshKind::Material, 2, 2);
    std::string error;

    options.outDir = (root_ / "dense").string();
    options.density = 0;
    EXPECT_FALSE(WriteSampleMap(options, nullptr, &error));
    EXPECT_NE(error.find("density"), std::string::npos);

    options.density = 1;
    options.outDir.clear();
    EXPECT_FALSE(WriteSampleMap(options, nullptr, &error));

    fs::create_directories(root_);
    std::ofstream(root_ / "a-file") << "x";
    options.outDir = (root_ / "a-file" / "below").string();
    error.clear();
    EXPECT_FALSE(WriteSampleMap(options, nullptr, &error));
    EXPECT_FALSE(error.empty());

    options.outDir = (root_ / "block").string();
    options.block.columns = 0;
    EXPECT_FALSE(WriteSampleMap(options, nullptr, &error));
    EXPECT_FALSE(fs::exists(root_ / "block"));
}

}  // namespace
}  // namespace samplemap
