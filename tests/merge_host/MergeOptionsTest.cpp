// The merge command's arguments and the script it answers the run with.
#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "cli/MergeOptions.h"

namespace mergehost {
namespace {

using namespace quiltor::cli;

constexpr double kMm = 72.0 / 25.4;

TEST(MergeArguments, Accepted) {
    struct Case {
        std::vector<std::string> args;
        double widthMm, heightMm;
        size_t tiles;
        bool lines, faces, yes;
        bool preview;
    };
    const Case cases[] = {
        {{"tiles", "-o", "m.svg"}, 210, 297, 0, true, true, true, false},
        {{"-o", "m.svg", "tiles", "--page", "A1-landscape"}, 841, 594, 0, true, true, true, false},
        {{"tiles", "--output", "m.svg", "--page", "b4"}, 257, 364, 0, true, true, true, false},
        {{"tiles", "-o", "m.svg", "--page", "1200mm", "900mm"}, 1200, 900, 0, true, true, true, false},
        {{"tiles", "-o", "m.svg", "--tiles", "a,b", "--tiles", "c"}, 210, 297, 3, true, true, true, false},
        {{"tiles", "-o", "m.svg", "--no-line-join", "--no"}, 210, 297, 0, false, true, false, false},
        {{"tiles", "-o", "m.svg", "--no-face-join", "--yes", "--preview", "m.png"},
         210,
         297,
         0,
         true,
         false,
         true,
         true},
        {{"-o", "m.svg", "--", "-odd folder"}, 210, 297, 0, true, true, true, false},
    };
    for (const Case& c : cases) {
        std::string error;
        auto options = ParseMergeArguments(c.args, &error);
        ASSERT_TRUE(options) << c.args[0] << ": " << error;
        EXPECT_NEAR(options->page.widthPt, c.widthMm * kMm, 1e-9);
        EXPECT_NEAR(options->page.heightPt, c.heightMm * kMm, 1e-9);
        EXPECT_EQ(options->tiles.size(), c.tiles);
        EXPECT_EQ(options->joinLines, c.lines);
        EXPECT_EQ(options->joinFaces, c.faces);
        EXPECT_EQ(options->answerYes, c.yes);
        EXPECT_EQ(options->preview.has_value(), c.preview);
        EXPECT_EQ(options->output, "m.svg");
    }
}

TEST(MergeArguments, Refused) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"tiles"},
        {"-o", "m.svg"},
        {"a", "b", "-o", "m.svg"},
        {"tiles", "-o"},
        {"tiles", "-o", "m.svg", "--page"},
        {"tiles", "-o", "m.svg", "--page", "C4"},
        {"tiles", "-o", "m.svg", "--page", "300mm"},
        {"tiles", "-o", "m.svg", "--page", "300mm", "wide"},
        {"tiles", "-o", "m.svg", "--page", "6000mm", "300mm"},
        {"tiles", "-o", "m.svg", "--tiles", ",,"},
        {"tiles", "-o", "m.svg", "--yes", "--no"},
        {"tiles", "-o", "m.svg", "--preview"},
        {"tiles", "-o", "m.svg", "--preview", "m.svg"},
        {"tiles", "-o", "m.svg", "--preview-size", "8"},
        {"tiles", "-o", "m.svg", "--colour"},
    };
    for (const auto& args : cases) {
        std::string error;
        EXPECT_FALSE(ParseMergeArguments(args, &error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty()) << ::testing::PrintToString(args);
    }
}

TEST(MergeArguments, HelpNeedsNothingElse) {
    std::string error;
    auto options = ParseMergeArguments({"--help"}, &error);
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->help);
}

TEST(DialogRows, KindsInDialogOrderNamesInByteOrder) {
    const std::vector<std::string> files = {".",
                                            "..",
                                            "533946_025000.ai",
                                            "53394511_02500.ai",
                                            "533945_025000.AI",
                                            "5339_025000.ai",
                                            "533945_3_025000.ai",
                                            "533945_025000.ai",
                                            "README.txt",
                                            "533945_5_025000.ai",
                                            "533945_000000.ai",
                                            "53394A_025000.ai",
                                            "533945-025000.ai",
                                            "533945_025000.svg",
                                            "533945_1_025000.aI"};
    EXPECT_EQ(DialogRows(files),
              (std::vector<std::string>{"533945_1_025000.ai", "533945_3_025000.ai", "533945_025000.ai",
                                        "533946_025000.ai", "5339_025000.ai", "53394511_02500.ai"}));
}

TEST(DialogRows, TilesByName) {
    const std::vector<std::string> rows = {"533945_025000.ai", "533946_025000.ai", "533947_025000.ai"};
    std::string error;
    EXPECT_EQ(RowsOfTiles(rows, {"533947_025000.ai", "533945_025000"}, &error), (std::vector<int>{1, 3}));
    EXPECT_EQ(RowsOfTiles(rows, {"533946_025000.AI", "533946_025000"}, &error), (std::vector<int>{2}));
    EXPECT_FALSE(RowsOfTiles(rows, {"533948_025000"}, &error));
    EXPECT_NE(error.find("533948_025000"), std::string::npos);
    EXPECT_FALSE(RowsOfTiles(rows, {"533945"}, &error));
}

TEST(TileGroups, OneGroupPerKindAndScaleInTheOrderMet) {
    const std::vector<std::string> rows{"533945_2_025000.ai", "533945_025000.ai", "533946_025000.ai",
                                        "533945_010000.ai",   "5339_025000.ai",   "53394511_02500.ai",
                                        "README.ai"};
    const std::vector<TileGroup> groups = TileGroups(rows);
    ASSERT_EQ(groups.size(), 5u);
    const std::vector<std::tuple<std::string, int, std::vector<std::string>>> expected{
        {"五倍地域メッシュ", 25000, {"533945_2_025000.ai"}},
        {"第二次地域区画", 25000, {"533945_025000.ai", "533946_025000.ai"}},
        {"第二次地域区画", 10000, {"533945_010000.ai"}},
        {"第一次地域区画", 25000, {"5339_025000.ai"}},
        {"KTR64分割メッシュ", 2500, {"53394511_02500.ai"}},
    };
    for (size_t i = 0; i < groups.size(); ++i) {
        EXPECT_EQ(std::tie(groups[i].kind, groups[i].scale, groups[i].names),
                  std::tie(std::get<0>(expected[i]), std::get<1>(expected[i]), std::get<2>(expected[i])));
    }
    EXPECT_EQ(TileGroups({}).size(), 0u);
}

TEST(SkippedTileOfAlert, ThePassOverTextsOnly) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"レイヤー構成が異なるため読み飛ばします。\n533945_025000.ai", "533945_025000.ai"},
        {"ファイルを開けないため読み飛ばします。\n5339_025000.ai", "5339_025000.ai"},
        {"配置に失敗したため読み飛ばします。\n53394511_02500.ai", "53394511_02500.ai"},
        {"レイヤー構成が異なるため読み飛ばします。\n", std::nullopt},
        {"レイヤー構成が異なるため読み飛ばします。533945_025000.ai", std::nullopt},
        {"予期しないエラーが発生しました。", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, tile] : cases) EXPECT_EQ(SkippedTileOfAlert(text), tile) << text;
}

TEST(MergeScript, FolderDialogCommandsAndAnswer) {
    MergeOptions options;
    EXPECT_EQ(MergeScript("/data/tiles", {}, options), "/data/tiles\nadd all\nok\nyes\n");
    options.joinLines = false;
    options.joinFaces = false;
    options.answerYes = false;
    EXPECT_EQ(MergeScript("/data/tiles", {2, 5}, options), "/data/tiles\nadd 2 5\nline\nface\nok\nno\n");
    EXPECT_EQ(MergeScript("/data/tiles", {2, 5}, options, false), "/data/tiles\nno\n");
}

}  // namespace
}  // namespace mergehost
