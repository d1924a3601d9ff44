// A Tokyo-23 merge through quiltor-host: the two top-level "道路" layers of every tile land in the
// merged map's first and second "道路", and the map decoration is hidden.
#include "MergeRunFixture.h"
#include "core/HostStrings.h"

namespace mergehost {
namespace {

namespace fs = std::filesystem;
using namespace quiltor::host;

// Top-level objects under the top-level layer at `position` (counted from 0) and its sublayers.
size_t ObjectsUnder(const Signatures& all, int position) {
    const std::string own = std::to_string(position) + " ";
    const std::string below = std::to_string(position) + "/";
    size_t count = 0;
    for (const Signature& s : all) count += (s.rfind(own, 0) == 0 || s.rfind(below, 0) == 0) ? 1 : 0;
    return count;
}

TEST_F(MergeRunTest, Tokyo23RoadsAndRoadNamesLandInTheirOwnLayers) {
    ASSERT_NO_FATAL_FAILURE(DrawTiles(MeshKind::Tokyo23, 2, 2));
    const fs::path out = OutPath("tokyo.svg");
    const ProgramRun run = Merge({"-o", out.string(), "--page", "A0-landscape", "--no-line-join", "--no-face-join"});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_NE(run.out.find("MESSAGE: 作業が完了しました。"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("ERROR"), std::string::npos) << run.out;

    auto merged = Read(out);
    ASSERT_TRUE(merged);
    int topLevel = 0, sublayers = 0;
    std::vector<std::string> topTitles;
    for (const Layer* layer = merged->firstLayer(); layer; layer = NextLayerInPreorder(layer)) {
        if (layer->parent) {
            ++sublayers;
        } else {
            ++topLevel;
            topTitles.push_back(EncodeUtf8(layer->title));
        }
        const std::string title = EncodeUtf8(layer->title);
        const bool decoration = title == "スケールバー" || title == "方位記号";
        EXPECT_EQ(layer->options.visible, !decoration) << title;
    }
    EXPECT_EQ(topLevel, 21);
    EXPECT_EQ(sublayers, 139);
    ASSERT_EQ(topTitles.size(), 21u);
    EXPECT_EQ(topTitles[9], "道路");
    EXPECT_EQ(topTitles[19], "道路");

    // Apart from the hidden decoration, the first tile's tree and options.
    auto first = Read(TilePath(0));
    std::vector<std::string> wanted = LayerLines(*first);
    for (std::string& line : wanted) {
        for (const char* hidden : {"1 スケールバー ", "1 方位記号 "}) {
            if (line.rfind(hidden, 0) == 0) line.replace(line.find("visible=1"), 9, "visible=0");
        }
    }
    EXPECT_EQ(LayerLines(*merged), wanted);

    ArtTally in, outTally;
    const Signatures expected = ExpectedAll({}, &in);
    const Signatures actual = Actual(*merged, &outTally);
    EXPECT_TRUE(SameSignatures(expected, actual));
    EXPECT_EQ(outTally.objects, in.objects);
    EXPECT_EQ(outTally.anchors, in.anchors);
    // Road names (the tiles' first "道路") and roads (their second) were both there to be placed.
    EXPECT_GT(ObjectsUnder(expected, 9), 0u);
    EXPECT_GT(ObjectsUnder(expected, 19), 0u);
    EXPECT_EQ(ObjectsUnder(actual, 9), ObjectsUnder(expected, 9));
    EXPECT_EQ(ObjectsUnder(actual, 19), ObjectsUnder(expected, 19));
}

}  // namespace
}  // namespace mergehost
