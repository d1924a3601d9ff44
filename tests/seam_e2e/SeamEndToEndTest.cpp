// Sample maps cut into tiles and merged back through quiltor-host: every line, face and ring the
// tile edges cut must come back as one path with the uncut reference's geometry, apart from the
// anchors the cuts left on the seams, and nothing may go missing on the way. No path may hold
// two features, and no fewer cut lines may come back than a plain GIS line merge of the tiles
// gets back; the shares of both are printed per sample.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../support/ShellCommand.h"
#include "MergeShapes.h"
#include "MergeVerdict.h"
#include "model/ArtStyle.h"

using testsupport::RunQuiet;
using testsupport::ShellQuote;

namespace seame2e {
namespace {

namespace fs = std::filesystem;
using namespace seamcheck;

struct TilePlace {
    std::string name;
    int k = 0;
    int j = 0;
};

// The number after "key": at or after from, NaN when there is none.
double ReadNumber(const std::string& text, const std::string& key, size_t from = 0) {
    const size_t at = text.find("\"" + key + "\": ", from);
    if (at == std::string::npos) return std::nan("");
    return std::strtod(text.c_str() + at + key.size() + 4, nullptr);
}

std::vector<TilePlace> ReadTilePlaces(const std::string& manifest) {
    std::vector<TilePlace> places;
    const std::string tile = "{\"name\": \"";
    for (size_t at = manifest.find(tile, manifest.find("\"tiles\": [")); at != std::string::npos;
         at = manifest.find(tile, at + 1)) {
        const size_t name = at + tile.size();
        places.push_back({manifest.substr(name, manifest.find('"', name) - name),
                          static_cast<int>(ReadNumber(manifest, "k", name)),
                          static_cast<int>(ReadNumber(manifest, "j", name))});
    }
    return places;
}

struct Sample {
    const char* name;
    const char* kind;
    int seed;
    const char* options = "";  // further options of the sample-map tool
};

void PrintTo(const Sample& sample, std::ostream* out) { *out << sample.name; }

class SeamEndToEndTest : public ::testing::TestWithParam<Sample> {};

TEST_P(SeamEndToEndTest, MergedTilesGiveBackTheUncutMap) {
    const Sample& sample = GetParam();
    const fs::path dir =
        fs::temp_directory_path() / ("quiltor-seam-e2e-" + std::string(sample.name) + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string host = "QUILTOR_PLUGIN_DIR=" + ShellQuote(std::string(QUILTOR_BINARY_DIR) + "/plugins") + " " +
                             ShellQuote(QUILTOR_HOST_PROGRAM);
    ASSERT_EQ(
        RunQuiet(ShellQuote(QUILTOR_SAMPLEMAP_PROGRAM) + " --kind " + sample.kind + " --seed " +
                 std::to_string(sample.seed) + " " + sample.options + " -o " + ShellQuote((dir / "tiles").string())),
        0);
    // The reference and manifest share the folder with the tiles; the merge takes only tiles.
    ASSERT_EQ(RunQuiet(host + " merge " + ShellQuote((dir / "tiles").string()) + " -o " +
                       ShellQuote((dir / "merged.svg").string()) + " --page A0-landscape"),
              0);

    std::ifstream manifestFile(dir / "tiles" / "manifest.json");
    const std::string manifest((std::istreambuf_iterator<char>(manifestFile)), std::istreambuf_iterator<char>());
    const double tileWidth = ReadNumber(manifest, "tileWidthPt"), tileHeight = ReadNumber(manifest, "tileHeightPt");
    const int columns = static_cast<int>(ReadNumber(manifest, "columns"));
    const int rows = static_cast<int>(ReadNumber(manifest, "rows"));
    ASSERT_GT(tileWidth, 0);
    ASSERT_GT(tileHeight, 0);
    const float width = static_cast<float>(tileWidth), height = static_cast<float>(tileHeight);
    const Seams seams = SeamsOf(width, height, columns, rows);

    quiltor::host::StyleTable styles;
    std::string error;
    std::vector<LayerContent> reference = ReadLayers((dir / "tiles" / "reference.svg").string(), styles, 0, 0, &error);
    ASSERT_FALSE(reference.empty()) << error;
    std::vector<LayerContent> merged = ReadLayers((dir / "merged.svg").string(), styles, 0, 0, &error);
    ASSERT_EQ(merged.size(), reference.size()) << error;
    // The tiles at their places in the merge, for the plain merge to work on.
    std::vector<std::vector<Shape>> pieces(reference.size());
    const std::vector<TilePlace> places = ReadTilePlaces(manifest);
    ASSERT_EQ(places.size(), static_cast<size_t>(columns) * rows);
    for (const TilePlace& place : places) {
        std::vector<LayerContent> tile =
            ReadLayers((dir / "tiles" / place.name).string(), styles, static_cast<float>(place.k) * width,
                       static_cast<float>(place.j) * height, &error);
        ASSERT_EQ(tile.size(), reference.size()) << place.name << error;
        for (size_t l = 0; l < tile.size(); ++l) {
            pieces[l].insert(pieces[l].end(), tile[l].shapes.begin(), tile[l].shapes.end());
        }
    }

    Tallies tallies;
    size_t referenceAnchors = 0, mergedAnchors = 0, leftOnSeams = 0, cutShapes = 0;
    size_t slitFaces = 0, keptPieces = 0, keptCutFaces = 0;
    for (size_t l = 0; l < reference.size(); ++l) {
        LayerContent& want = reference[l];
        LayerContent& got = merged[l];
        SCOPED_TRACE(want.title);
        ASSERT_EQ(got.title, want.title);
        EXPECT_EQ(got.labels, want.labels);
        referenceAnchors += want.anchors;
        mergedAnchors += got.anchors;

        // In a Tokyo-23 merge the faces of "背景道路" are never joined.
        const bool keptCut = std::string(sample.kind) == "tokyo23" && EndsWith(want.title, "/背景道路/");
        const LayerVerdict verdict = CompareLayer(want, got, pieces[l], seams, keptCut);
        // An uncut anchor never lies on a seam between straight neighbours by chance here.
        EXPECT_EQ(verdict.uncutLeftovers, 0u);
        EXPECT_NEAR(verdict.gotArea, verdict.wantArea, 1e-6 * verdict.wantArea + 0.5);
        for (const Shape* stray : verdict.strays)
            ADD_FAILURE() << "merged " << Describe(*stray) << " is no reference path";
        for (const Shape* lost : verdict.missing)
            ADD_FAILURE() << "reference " << Describe(*lost) << " did not come back";
        EXPECT_EQ(verdict.pieceAnchors, verdict.awayAnchors);
        EXPECT_EQ(verdict.keptPieces > verdict.keptFacesAway, verdict.keptFacesAway > 0);
        EXPECT_EQ(got.objects, want.objects + verdict.keptPieces - verdict.keptFacesAway);
        leftOnSeams += verdict.leftOnSeams;
        cutShapes += verdict.cutShapes;
        slitFaces += verdict.slitFaces;
        keptPieces += verdict.keptPieces;
        keptCutFaces += verdict.keptCutFaces;
        for (size_t kind = 0; kind < tallies.size(); ++kind) tallies[kind] += verdict.tallies[kind];
    }
    for (Kind kind : {Kind::Line, Kind::Face, Kind::Ring}) {
        const Tally& t = tallies[static_cast<size_t>(kind)];
        SCOPED_TRACE(KindName(kind));
        std::printf("%s %s\n", sample.name, Summary(kind, t).c_str());
        EXPECT_EQ(t.exact, t.cut);
        EXPECT_EQ(t.fused, 0u);
        EXPECT_EQ(t.lost, 0u);
        EXPECT_GE(t.exact, t.baseline);
    }
    if (std::string(sample.options).find("network") != std::string::npos) {
        // The sample must hold what tells the two apart: junctions where a plain merge fuses.
        EXPECT_LT(tallies[0].baseline, tallies[0].cut);
        EXPECT_GT(tallies[1].cut, 0u);
        EXPECT_GT(tallies[2].cut, 0u);
    }
    EXPECT_EQ(mergedAnchors, referenceAnchors + leftOnSeams);
    // The sample must really have been cut, or there was nothing to join.
    EXPECT_GT(cutShapes, 0u);
    RecordProperty("slit_faces", static_cast<int>(slitFaces));
    EXPECT_EQ(keptPieces > 0, keptCutFaces > 0);
    if (std::string(sample.kind) == "tokyo23" && std::string(sample.options).empty()) {
        EXPECT_GT(keptCutFaces, 0u);
    }
    // The command placing the tiles by their names comes to the same verdict.
    const std::string check = ShellQuote(QUILTOR_SEAMCHECK_PROGRAM) + " " + ShellQuote((dir / "tiles").string()) + " " +
                              ShellQuote((dir / "tiles" / "reference.svg").string()) + " " +
                              ShellQuote((dir / "merged.svg").string());
    EXPECT_EQ(RunQuiet(check), HasFailure() ? 1 : 0);
    if (!HasFailure()) fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Samples, SeamEndToEndTest,
                         ::testing::Values(Sample{"material1", "material", 1}, Sample{"material2", "material", 2},
                                           Sample{"material7", "material", 7}, Sample{"material19", "material", 19},
                                           Sample{"tokyo23", "tokyo23", 1}, Sample{"tokyo23seed7", "tokyo23", 7},
                                           Sample{"network1", "material", 1, "--style network"},
                                           Sample{"network2", "material", 2, "--style network"},
                                           Sample{"network3", "material", 3, "--style network"},
                                           Sample{"tokyo23network", "tokyo23", 1, "--style network"}),
                         [](const ::testing::TestParamInfo<Sample>& info) { return std::string(info.param.name); });

// Junctions of three or four lines right on a seam: the pieces meeting there once looked like the
// two halves of a cut line, and the join glued two of the lines into one path.
INSTANTIATE_TEST_SUITE_P(JunctionsOnSeams, SeamEndToEndTest,
                         ::testing::Values(Sample{"network1", "material", 1, "--style network --seam-junctions"},
                                           Sample{"tokyo23network", "tokyo23", 1, "--style network --seam-junctions"}),
                         [](const ::testing::TestParamInfo<Sample>& info) { return std::string(info.param.name); });

TEST(SeamCheckCommand, RefusesWhatItCannotRead) {
    const std::string command = ShellQuote(QUILTOR_SEAMCHECK_PROGRAM);
    const std::string nowhere = ShellQuote((fs::temp_directory_path() / "quiltor-no-such-folder").string());
    EXPECT_EQ(RunQuiet(command + " " + nowhere + " a.svg b.svg"), 2);
    EXPECT_EQ(RunQuiet(command + " " + nowhere + " a.svg"), 2);
    EXPECT_EQ(RunQuiet(command + " --help"), 0);
}

}  // namespace
}  // namespace seame2e
