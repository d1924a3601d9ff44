// The adjust run through the quiltor-host program, as a script would drive it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "../support/ShellCommand.h"
#include "../support/TempDir.h"
#include "AdjustHost.h"
#include "model/ArtStyle.h"
#include "model/Document.h"
#include "svg/Svg.h"

using testsupport::ShellQuote;

namespace adjusttest {
namespace {

namespace fs = std::filesystem;
using quiltor::host::Art;

struct Outcome {
    int status = -1;
    std::string out;
};

Outcome Host(const std::string& arguments) {
    const std::string command = "QUILTOR_PLUGIN_DIR=" + ShellQuote(std::string(QUILTOR_BINARY_DIR) + "/plugins") + " " +
                                ShellQuote(std::string(QUILTOR_BINARY_DIR) + "/host/quiltor-host") + " " + arguments +
                                " 2>/dev/null";
    Outcome outcome;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return outcome;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.out.append(buffer, n);
    const int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

std::string Map(const char* name) { return ShellQuote(std::string(QUILTOR_SOURCE_DIR) + "/tests/adjust/maps/" + name); }

class EndToEnd : public ::testing::Test {
protected:
    std::string File(const char* name) const { return (dir_ / name).string(); }

    std::unique_ptr<quiltor::host::Document> Read(const std::string& path) {
        std::string error;
        AIErr code = kNoErr;
        return quiltor::host::ReadSvgFile(path, styles_, &error, &code);
    }

    testsupport::TempDir dir_{"quiltor-adjust"};
    quiltor::host::StyleTable styles_;
};

// The layer of that title, and its art top first.
std::vector<const Art*> ArtOf(const quiltor::host::Document& document, const std::u16string& title) {
    std::vector<const Art*> arts;
    for (const quiltor::host::Layer* layer = document.firstLayer(); layer; layer = layer->next) {
        if (layer->title != title) continue;
        for (const Art* art = layer->group->firstChild; art; art = art->next) arts.push_back(art);
    }
    return arts;
}

TEST_F(EndToEnd, CutsAMapToCornersGivenInItsOwnCoordinates) {
    const Outcome outcome = Host("adjust " + Map("block-and-road.svg") + " -o " + ShellQuote(File("out.svg")) +
                                 " --outline '100,20 300,20 300,180 100,180' --preview " + ShellQuote(File("out.png")));

    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "MESSAGE: 作業が完了しました。\n");
    EXPECT_TRUE(fs::exists(File("out.png")));
    auto document = Read(File("out.svg"));
    ASSERT_NE(document, nullptr);
    // User units are 0.75 pt and y runs upward from the bottom of the 225 pt page.
    const auto blocks = ArtOf(*document, u"blocks");
    ASSERT_EQ(blocks.size(), 1u);
    const AIRealRect piece = BoundsOf(blocks[0]);
    EXPECT_EQ(piece.left, 75);
    EXPECT_EQ(piece.right, 187.5);
    EXPECT_EQ(piece.bottom, 112.5);
    EXPECT_EQ(piece.top, 187.5);
    const auto roads = ArtOf(*document, u"roads");
    ASSERT_EQ(roads.size(), 1u);
    ASSERT_EQ(roads[0]->segments.size(), 3u);
    EXPECT_EQ(roads[0]->segments.front().p.h, 60);
}

TEST_F(EndToEnd, TakesTheFirstClosedPathOfAnOutlineFileCurvesAndAll) {
    const Outcome outcome = Host("adjust " + Map("block-and-road.svg") + " -o " + ShellQuote(File("out.svg")) +
                                 " --outline-file " + Map("circle-range.svg"));

    EXPECT_EQ(outcome.status, 0);
    auto document = Read(File("out.svg"));
    ASSERT_NE(document, nullptr);
    const auto blocks = ArtOf(*document, u"blocks");
    ASSERT_EQ(blocks.size(), 1u);
    // The circle lies inside the block: the piece is the circle itself, still made of curves.
    const AIRealRect piece = BoundsOf(blocks[0]);
    EXPECT_NEAR(piece.left, 82.5, 1e-3);
    EXPECT_NEAR(piece.right, 142.5, 1e-3);
    EXPECT_NEAR(piece.bottom, 120, 1e-3);
    EXPECT_NEAR(piece.top, 180, 1e-3);
    bool curved = false;
    for (const AIPathSegment& s : blocks[0]->segments) curved |= s.in.h != s.p.h || s.in.v != s.p.v;
    EXPECT_TRUE(curved);
    EXPECT_TRUE(ArtOf(*document, u"roads").size() == 1u);
}

TEST_F(EndToEnd, RunsOnAMapWhoseTopLayerHoldsTheSelectedOutline) {
    const Outcome outcome = Host("run 'Quiltor アジャスト' --open " + Map("range-already-selected.svg") + " --save " +
                                 ShellQuote(File("out.svg")));

    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "MESSAGE: 作業が完了しました。\n");
    auto document = Read(File("out.svg"));
    ASSERT_NE(document, nullptr);
    EXPECT_TRUE(ArtOf(*document, u"range").empty());
    ASSERT_EQ(ArtOf(*document, u"blocks").size(), 1u);
    EXPECT_EQ(BoundsOf(ArtOf(*document, u"blocks")[0]).left, 75);
}

TEST_F(EndToEnd, RefusesOutlinesThatAreNone) {
    EXPECT_EQ(Host("adjust " + Map("block-and-road.svg") + " -o " + ShellQuote(File("out.svg")) + " --outline-file " +
                   Map("open-range.svg"))
                  .status,
              1);
    EXPECT_EQ(Host("adjust " + Map("block-and-road.svg") + " -o " + ShellQuote(File("out.svg")) +
                   " --outline '100,20 300,20'")
                  .status,
              2);
    EXPECT_EQ(Host("adjust " + Map("block-and-road.svg") + " -o " + ShellQuote(File("out.svg")) +
                   " --outline '100,20 300,x 1,2'")
                  .status,
              2);
    EXPECT_EQ(Host("adjust " + Map("block-and-road.svg") + " --outline '100,20 300,20 300,180'").status, 2);
    // Points in a row: the run used to delete the whole map and report success.
    const auto inARow = Host("adjust " + Map("block-and-road.svg") + " -o " + ShellQuote(File("out.svg")) +
                             " --outline '100,20 200,20 300,20'");
    EXPECT_EQ(inARow.status, 1);
    EXPECT_NE(
        inARow.out.find("ERROR: 地図範囲の調整に使用するオブジェクトは面積のある閉じたパスアートを選択して下さい。"),
        std::string::npos)
        << inARow.out;
    EXPECT_FALSE(fs::exists(File("out.svg")));
}

}  // namespace
}  // namespace adjusttest
