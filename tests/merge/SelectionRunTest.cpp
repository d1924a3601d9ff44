// The folder loop and the selection loop of a run: what the user is told and
// where each answer leads.
#include <cstdlib>

#include "MergeFixture.h"
#include "SuiteFaults.h"
#include "app/Host.h"
#include "core/ActionRegistry.h"
#include "core/MeshGrid.h"
#include "core/SelectionTable.h"
#include "model/Workspace.h"
#include "ui/QueuedUserInterface.h"

namespace mergetest {
namespace {

constexpr char kChooseFolder[] =
    "Quiltor セレクトマージに対応した Adobe Illustrator ArtWork があるフォルダの選択を行って下さい。";
constexpr char kNoTile[] = "Quiltor セレクトマージに対応した Adobe Illustrator Artwork が見つかりませんでした。";
constexpr char kUnexpected[] = "予期しないエラーが発生しました。";
constexpr char kDone[] = "作業が完了しました。";
constexpr char kTooLong[] = "フォルダのパスが長すぎます（259 バイトまで）。もっと短いパスのフォルダを選択して下さい。";

std::string Question(int answer, const std::string& text) { return "question " + std::to_string(answer) + ": " + text; }

const Tree kPlainTree = {{"地図", 0}, {"道路", 1}, {"建物", 1}};

TEST_F(MergeTest, CancelledFolderChooserEndsTheRun) {
    NewTarget();
    Run();
    EXPECT_EQ(Alerts(), std::vector<std::string>{ErrorLine(kChooseFolder)});
    EXPECT_TRUE(showings().empty());
}

TEST_F(MergeTest, FolderWithoutTilesEndsTheRun) {
    NewTarget();
    WriteTile("README.ai", kPlainTree);
    AnswerTileFolder();
    Run();
    EXPECT_EQ(Alerts(), std::vector<std::string>{ErrorLine(kNoTile)});
    EXPECT_TRUE(showings().empty());
}

// A folder path cut at 259 bytes would scan some other folder: it is refused
// and the chooser is shown again.
TEST_F(MergeTest, TooLongFolderIsRefusedNotCut) {
    NewTarget();
    std::filesystem::path deep = folder();
    while (deep.string().size() <= 259) deep /= "長いフォルダ名";
    std::filesystem::create_directories(deep);
    AnswerFolder(deep.string());
    Run();
    EXPECT_EQ(Alerts(), (std::vector<std::string>{ErrorLine(kTooLong), ErrorLine(kChooseFolder)}));
    EXPECT_EQ(user().folderTitles().size(), 2u);
    EXPECT_TRUE(showings().empty());
}

struct SizeCase {
    const char* name;
    std::vector<const char*> tiles;
    int answer;  // to the question, if one is asked
    std::string expected;
    bool accepted;
};

void PrintTo(const SizeCase& c, std::ostream* out) { *out << c.name; }

class SizeMessages : public MergeTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(SizeMessages, ShowTheMergedSize) {
    const SizeCase& c = GetParam();
    NewTarget();
    for (const char* tile : c.tiles) WriteTile(tile, kPlainTree);
    AnswerTileFolder();
    user().queueAnswer(c.answer);
    ScriptDialog("add all\nok\ncancel\n");
    Run();
    ASSERT_FALSE(Alerts().empty());
    EXPECT_EQ(Alerts().front(), c.expected);
    EXPECT_EQ(Alerts().back(), c.accepted ? MessageLine(kDone) : ErrorLine(kChooseFolder));
    EXPECT_EQ(showings().size(), c.accepted ? 1u : 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SizeMessages,
    ::testing::Values(
        SizeCase{"FitsThePage",
                 {"533945_100000.ai"},
                 1,
                 MessageLine("合成後のサイズは下記になります。\n113.000×92.500[mm]"),
                 true},
        SizeCase{"LargerConfirmed",
                 {"533945_025000.ai", "533946_025000.ai"},
                 1,
                 Question(1,
                          "アートボードよりも大きいですが合成しますか？\nアートボード： 210.000×297.000[mm]\n"
                          "合成後： 904.000×370.000[mm]"),
                 true},
        SizeCase{"LargerDeclined",
                 {"533945_025000.ai", "533935_025000.ai"},
                 0,
                 Question(0,
                          "アートボードよりも大きいですが合成しますか？\nアートボード： 210.000×297.000[mm]\n"
                          "合成後： 452.000×740.000[mm]"),
                 false},
        SizeCase{"LargerCancelled",
                 {"533945_025000.ai"},
                 2,
                 Question(2,
                          "アートボードよりも大きいですが合成しますか？\nアートボード： 210.000×297.000[mm]\n"
                          "合成後： 452.000×370.000[mm]"),
                 false},
        SizeCase{"BeyondTheLimit",
                 {"533945_001000.ai"},
                 1,
                 MessageLine("描画範囲を超える範囲の合成は出来ません。\n11300.000×9250.000[mm]"),
                 false}),
    [](const ::testing::TestParamInfo<SizeCase>& info) { return info.param.name; });

// The fit test compares thousandths of a point: a page of exactly the merged
// size takes it without a question, a page 0.002 pt narrower asks.
TEST_F(MergeTest, PageOfExactlyTheMergedSizeAsksNothing) {
    MeshBox box;
    box.rows = box.columns = 1;
    const MeshSize merged = MeshMergedSize(MeshKind::Material, 25000, box);
    for (const float shrink : {0.0f, 0.002f}) {
        SCOPED_TRACE(shrink);
        user().clear();
        CloseAllDocuments();
        NewTarget(merged.widthPt - shrink, merged.heightPt);
        WriteTile("533945_025000.ai", kPlainTree);
        AnswerTileFolder();
        user().queueAnswer(0);
        ScriptDialog("add 1\nok\ncancel\n");
        Run();
        ASSERT_FALSE(Alerts().empty());
        EXPECT_EQ(Alerts().front().rfind(shrink == 0.0f ? "message: 合成後のサイズ" : "question 0: ", 0), 0u)
            << Alerts().front();
    }
}

// The limit is half the page plus 2889.775 mm: a 1/25000 primary tile is
// 3616 mm wide, so a page of 1452.5 mm takes it and one of 1452.4 mm does not.
TEST_F(MergeTest, LimitFollowsThePageWidth) {
    WriteTile("5339_025000.ai", kPlainTree);
    for (const double pageMm : {1452.4, 1452.5}) {
        SCOPED_TRACE(pageMm);
        user().clear();
        CloseAllDocuments();
        NewTarget(float(pageMm * 72 / 25.4), 841.89f);
        AnswerTileFolder();
        ScriptDialog("add 1\nok\ncancel\n");
        Run();
        ASSERT_FALSE(Alerts().empty());
        const bool refused = Alerts().front().rfind("message: 描画範囲を超える", 0) == 0;
        EXPECT_EQ(refused, pageMm < 1452.45) << Alerts().front();
    }
}

// The dialog comes back with the same selection and check boxes after the
// limit message and after a declined question.
TEST_F(MergeTest, RefusedSizeShowsTheDialogAgainWithTheSelection) {
    struct Case {
        const char* tile;
        const char* status;
    };
    const Case cases[] = {
        {"533945_001000.ai", "第二次地域区画(縮尺 1/1000)を選択中"},   // beyond the limit
        {"533945_025000.ai", "第二次地域区画(縮尺 1/25000)を選択中"},  // question declined
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tile);
        std::filesystem::remove_all(folder());
        std::filesystem::create_directories(folder());
        user().clear();
        CloseAllDocuments();
        NewTarget();
        WriteTile(c.tile, kPlainTree);
        WriteTile("533946_050000.ai", kPlainTree);
        AnswerTileFolder();
        user().queueAnswer(0);
        const size_t before = showings().size();
        ScriptDialog("face\nadd 1\nok\ncancel\n");
        Run();
        ASSERT_EQ(showings().size(), before + 2);
        const Showing& again = showings()[before + 1];
        EXPECT_EQ(again.selectRows, std::vector<std::string>{c.tile});
        EXPECT_TRUE(again.folderRows.empty());
        EXPECT_EQ(again.status, c.status);
        EXPECT_TRUE(again.lineBox);
        EXPECT_FALSE(again.faceBox);
    }
}

TEST_F(MergeTest, CancelGoesBackToTheFolderChooserKeepingTheCheckBoxes) {
    NewTarget();
    WriteTile("533945_025000.ai", kPlainTree);
    WriteTile("5339_025000.ai", kPlainTree);
    AnswerTileFolder();
    AnswerTileFolder();
    ScriptDialog("line\nadd 1\ncancel\ncancel\n");
    Run();
    ASSERT_EQ(showings().size(), 2u);
    EXPECT_EQ(showings()[0].result, DialogResult::Cancel);
    const Showing& again = showings()[1];
    EXPECT_FALSE(again.lineBox);
    EXPECT_TRUE(again.faceBox);
    EXPECT_TRUE(again.selectRows.empty());
    EXPECT_EQ(again.folderRows, (std::vector<std::string>{"533945_025000.ai", "5339_025000.ai"}));
    EXPECT_EQ(again.status, "未選択");
    EXPECT_EQ(user().folderTitles().size(), 3u);
    EXPECT_EQ(Alerts(), std::vector<std::string>{ErrorLine(kChooseFolder)});
}

// Closing the dialog with nothing chosen used to go on with an undefined tile
// size; now nothing is placed, no seam is looked for, and the run just ends.
TEST_F(MergeTest, ClosedWithEmptySelectionOnlyCompletes) {
    for (const char* script : {"close\n", ""}) {
        SCOPED_TRACE(script);
        user().clear();
        host().actions().clearHistory();
        CloseAllDocuments();
        NewTarget();
        WriteTile("533945_025000.ai", kPlainTree);
        AnswerTileFolder();
        ScriptDialog(script);
        Run();
        EXPECT_EQ(Alerts(), std::vector<std::string>{MessageLine(kDone)});
        EXPECT_TRUE(host().actions().history().empty());
        EXPECT_EQ(ReadTree(), (Tree{{"Layer 1", 0}}));
        EXPECT_EQ(host().workspace().documents().size(), 1u);
    }
}

// A dialog stopped at the end of its input would be stopped again at once:
// after a refused size the run ends instead of asking for ever.
TEST_F(MergeTest, ClosedDialogWithRefusedSizeEndsTheRun) {
    NewTarget();
    WriteTile("533945_001000.ai", kPlainTree);
    AnswerTileFolder();
    ScriptDialog("add 1\nok\n");
    Run();
    const std::string limit = MessageLine("描画範囲を超える範囲の合成は出来ません。\n11300.000×9250.000[mm]");
    EXPECT_EQ(Alerts(), (std::vector<std::string>{limit, limit}));
    ASSERT_EQ(showings().size(), 2u);
    EXPECT_EQ(showings()[1].result, DialogResult::Closed);
}

// One Material tile: the scan grows three arrays, each rebuild five per row.
TEST_F(MergeTest, ExhaustedMemoryEndsTheRunCleanly) {
    struct Case {
        int failAt;
        std::vector<std::string> alerts;
    };
    const Case cases[] = {
        {1, {ErrorLine(kUnexpected)}},  // during the scan
        {4, {ErrorLine(kUnexpected)}},  // filling the dialog
        {9, {ErrorLine(kUnexpected)}},  // the rebuild after add
    };
    WriteTile("533945_025000.ai", kPlainTree);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failAt);
        user().clear();
        CloseAllDocuments();
        NewTarget();
        AnswerTileFolder();
        ScriptDialog("add 1\nok\n");
        testsupport::SuiteFaults::FailReallocAt(c.failAt);
        SetMeshRealloc(testsupport::SuiteFaults::Realloc);
        Run();
        SetMeshRealloc(nullptr);
        EXPECT_EQ(Alerts(), c.alerts);
        EXPECT_EQ(nMaterialMesh, nullptr);
        EXPECT_EQ(nFolderMesh, nullptr);
    }
}

}  // namespace
}  // namespace mergetest
