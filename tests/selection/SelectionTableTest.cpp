#include <string>
#include <vector>

#include "SelectionSupport.h"

namespace selection_test {
namespace {

// The selection invariant and the agreement of lists and display tables.
void ExpectConsistent(const RecordingDialog& dlg) {
    ASSERT_EQ(static_cast<int32_t>(dlg.folder.size()), nFolderCount);
    ASSERT_EQ(static_cast<int32_t>(dlg.selected.size()), nSelectCount);
    const auto name = [](int32_t nameLen, int32_t mesh, int32_t area, int32_t scale) {
        return FormatTileFileName(*MeshKindFromNameLength(nameLen), mesh, area, scale);
    };
    for (int32_t i = 0; i < nFolderCount; ++i) {
        EXPECT_EQ(dlg.folder[i], name(nFolderNameLen[i], nFolderMesh[i], nFolderArea[i], nFolderScale[i]));
        EXPECT_FALSE(bFolderSelect[i]);
    }
    for (int32_t i = 0; i < nSelectCount; ++i) {
        EXPECT_EQ(dlg.selected[i], name(nSelectNameLen[i], nSelectMesh[i], nSelectArea[i], nSelectScale[i]));
        EXPECT_TRUE(bSelectSelect[i]);
        EXPECT_EQ(nSelectScale[i], nSelScale);
        EXPECT_EQ(MeshKindFromNameLength(nSelectNameLen[i]), SelectedMeshKind());
    }
    int32_t flagged = 0;
    for (int32_t i = 0; i < nMatQuaCount; ++i) flagged += bMatQuaSelect[i];
    for (int32_t i = 0; i < nMaterialCount; ++i) flagged += bMaterialSelect[i];
    for (int32_t i = 0; i < nMat1stCount; ++i) flagged += bMat1stSelect[i];
    for (int32_t i = 0; i < nTokyo23Count; ++i) flagged += bTokyo23Select[i];
    EXPECT_EQ(flagged, nSelectAICount);
    EXPECT_EQ(nSelectCount, nSelectAICount);
    const int kindFlags = bSelectMatQua + bSelectMaterial + bSelectMat1st + bSelectTokyo23;
    EXPECT_EQ(kindFlags, nSelectAICount == 0 ? 0 : 1);
    if (nSelectAICount == 0) {
        EXPECT_EQ(nSelScale, 0);
    }
}

class SelectionTableTest : public SelectionTest {
protected:
    void SetUp() override {
        SelectionTest::SetUp();
        AddMixedTiles(folder);
        ASSERT_EQ(ScanTileFolder(folder.Str().c_str()), ScanResult::Done);
        ASSERT_TRUE(SetTableDialog());
    }

    bool Add(const std::string& name) { return PushAddButton(RowOf(dlg.folder, name)); }
    bool Del(const std::string& name) { return PushDelButton(RowOf(dlg.selected, name)); }

    TempFolder folder;
    RecordingDialog dlg;
    RecordingAlerts alerts;
};

TEST_F(SelectionTableTest, FirstShowingOffersEveryTileInKindOrder) {
    EXPECT_EQ(dlg.folder, kMixedFolderList);
    EXPECT_TRUE(dlg.selected.empty());
    EXPECT_EQ(dlg.status, "未選択");
    EXPECT_EQ(InqSelectMesh(), 0);
    ExpectConsistent(dlg);
}

struct NarrowCase {
    const char* added;
    std::vector<std::string> folderAfter;
    const char* status;
    MeshKind kind;
};

const NarrowCase kNarrowCases[] = {
    {"533945_2_025000.ai", {"533945_1_025000.ai"}, "五倍地域メッシュ(縮尺 1/25000)を選択中", MeshKind::MatQua},
    {"533945_1_010000.ai", {}, "五倍地域メッシュ(縮尺 1/10000)を選択中", MeshKind::MatQua},
    {"533946_025000.ai", {"533945_025000.ai"}, "第二次地域区画(縮尺 1/25000)を選択中", MeshKind::Material},
    {"5339_200000.ai", {}, "第一次地域区画(縮尺 1/200000)を選択中", MeshKind::Mat1st},
    {"53394511_02500.ai", {"53394512_02500.ai"}, "KTR64分割メッシュ(縮尺 1/2500)を選択中", MeshKind::Tokyo23},
};

TEST_F(SelectionTableTest, AddNarrowsToKindAndScaleAndDeletingTheLastRestoresAll) {
    for (const NarrowCase& c : kNarrowCases) {
        SCOPED_TRACE(c.added);
        ASSERT_TRUE(Add(c.added));
        EXPECT_EQ(dlg.folder, c.folderAfter);
        EXPECT_EQ(dlg.selected, std::vector<std::string>{c.added});
        EXPECT_EQ(dlg.status, c.status);
        EXPECT_EQ(SelectedMeshKind(), c.kind);
        EXPECT_EQ(InqSelectMesh(), 1);
        ExpectConsistent(dlg);

        ASSERT_TRUE(Del(c.added));
        EXPECT_EQ(dlg.folder, kMixedFolderList);
        EXPECT_TRUE(dlg.selected.empty());
        EXPECT_EQ(dlg.status, "未選択");
        EXPECT_EQ(SelectedMeshKind(), std::nullopt);
        ExpectConsistent(dlg);
    }
}

TEST_F(SelectionTableTest, SelectedRowsFollowTableOrderNotAddOrder) {
    ASSERT_TRUE(Add("533946_025000.ai"));
    ASSERT_TRUE(Add("533945_025000.ai"));
    EXPECT_EQ(dlg.selected, (std::vector<std::string>{"533945_025000.ai", "533946_025000.ai"}));
    EXPECT_TRUE(dlg.folder.empty());
    EXPECT_EQ(InqSelectMesh(), 2);
    ExpectConsistent(dlg);

    const std::vector<MeshEntry> chosen = SelectedMeshEntries();
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(chosen[0].mesh, 533945);
    EXPECT_EQ(chosen[1].mesh, 533946);
    EXPECT_EQ(chosen[0].nameLen, 16);

    ASSERT_TRUE(Del("533945_025000.ai"));
    EXPECT_EQ(dlg.folder, std::vector<std::string>{"533945_025000.ai"});
    EXPECT_EQ(dlg.status, "第二次地域区画(縮尺 1/25000)を選択中");
    ExpectConsistent(dlg);
}

TEST_F(SelectionTableTest, RowOutsideTheTableChangesNothing) {
    for (int32_t index : {-1, static_cast<int32_t>(kMixedFolderList.size()), 1000}) {
        EXPECT_TRUE(PushAddButton(index));
        EXPECT_TRUE(PushDelButton(index));
    }
    EXPECT_EQ(dlg.folder, kMixedFolderList);
    EXPECT_EQ(InqSelectMesh(), 0);
}

struct RowsCase {
    const char* what;
    std::vector<std::string> rows;
    std::vector<Alert> alerts;
    std::vector<std::string> selectedAfter;
};

const RowsCase kAddRowsCases[] = {
    {"nothing chosen", {}, {{true, kMsgAddNoneChosen}}, {}},
    {"two kinds", {"533945_2_025000.ai", "533945_025000.ai"}, {{true, kMsgMixedMeshKind}}, {}},
    {"two scales", {"533945_010000.ai", "533946_025000.ai"}, {{true, kMsgMixedScale}}, {}},
    {"kind is checked before scale", {"533945_025000.ai", "5339_200000.ai"}, {{true, kMsgMixedMeshKind}}, {}},
    {"a bad row among good ones",
     {"533946_025000.ai", "533945_025000.ai", "5339_025000.ai"},
     {{true, kMsgMixedMeshKind}},
     {}},
    {"one kind, one scale", {"53394512_02500.ai", "53394511_02500.ai"}, {}, {"53394511_02500.ai", "53394512_02500.ai"}},
    {"quarters of one scale",
     {"533945_2_025000.ai", "533945_1_025000.ai"},
     {},
     {"533945_1_025000.ai", "533945_2_025000.ai"}},
};

// Rows chosen by index and rows known by their text (the Windows dialog) must act alike.
TEST_F(SelectionTableTest, AddSeveralRowsChecksTheWholeSetFirst) {
    for (const bool byText : {false, true})
        for (const RowsCase& c : kAddRowsCases) {
            SCOPED_TRACE(std::string(c.what) + (byText ? ", by text" : ", by index"));
            ResetMeshSelection();
            ASSERT_EQ(ScanTileFolder(folder.Str().c_str()), ScanResult::Done);
            ASSERT_TRUE(SetTableDialog());
            alerts.shown.clear();

            std::vector<int32_t> rows;
            for (const std::string& name : c.rows) rows.push_back(RowOf(dlg.folder, name));
            const SelectionChange expected = c.alerts.empty() ? SelectionChange::Changed : SelectionChange::Refused;
            EXPECT_EQ(byText ? PushAddNames(c.rows, alerts) : PushAddRows(rows, alerts), expected);
            EXPECT_EQ(alerts.shown, c.alerts);
            EXPECT_EQ(dlg.selected, c.selectedAfter);
            if (c.selectedAfter.empty()) {
                EXPECT_EQ(dlg.folder, kMixedFolderList);
            }
            ExpectConsistent(dlg);
        }
}

TEST_F(SelectionTableTest, DeleteSeveralRows) {
    const std::vector<int32_t> all = {RowOf(dlg.folder, "533945_010000.ai")};
    ASSERT_EQ(PushAddRows(all, alerts), SelectionChange::Changed);

    EXPECT_EQ(PushDelRows({}, alerts), SelectionChange::Refused);
    EXPECT_EQ(alerts.shown, (std::vector<Alert>{{kDelNoneChosenIsError, kMsgDelNoneChosen}}));
    EXPECT_EQ(dlg.selected, std::vector<std::string>{"533945_010000.ai"});

    const std::vector<int32_t> outside = {0, 1};
    EXPECT_EQ(PushDelRows(outside, alerts), SelectionChange::Refused);
    EXPECT_EQ(InqSelectMesh(), 1);

    const std::vector<int32_t> first = {0};
    EXPECT_EQ(PushDelRows(first, alerts), SelectionChange::Changed);
    EXPECT_EQ(dlg.folder, kMixedFolderList);
    EXPECT_EQ(dlg.status, "未選択");
    EXPECT_EQ(alerts.shown.size(), 1u);
    ExpectConsistent(dlg);
}

TEST_F(SelectionTableTest, RowsKnownByTextThatNameNoTileOfTheTablesAreRefused) {
    const std::vector<std::string> kept = {"533945_010000.ai"};
    ASSERT_EQ(PushAddNames(kept, alerts), SelectionChange::Changed);
    const std::vector<std::string> refused[] = {
        {"533945_010000.ai", "not a tile.ai"}, {"999999_010000.ai"}, {""}, {"533945_010000.AI "}};
    for (const auto& names : refused) {
        SCOPED_TRACE(names.back());
        EXPECT_EQ(PushAddNames(names, alerts), SelectionChange::Refused);
        EXPECT_EQ(PushDelNames(names, alerts), SelectionChange::Refused);
        EXPECT_EQ(dlg.selected, kept);
    }
    EXPECT_TRUE(alerts.shown.empty());
    EXPECT_EQ(PushDelNames({}, alerts), SelectionChange::Refused);
    EXPECT_EQ(alerts.shown, (std::vector<Alert>{{kDelNoneChosenIsError, kMsgDelNoneChosen}}));
    EXPECT_EQ(PushDelNames(kept, alerts), SelectionChange::Changed);
    EXPECT_EQ(dlg.folder, kMixedFolderList);
    ExpectConsistent(dlg);
}

TEST_F(SelectionTableTest, RepeatedRowCountsOnce) {
    const int32_t row = RowOf(dlg.folder, "5339_025000.ai");
    const std::vector<int32_t> rows = {row, row};
    ASSERT_EQ(PushAddRows(rows, alerts), SelectionChange::Changed);
    EXPECT_EQ(InqSelectMesh(), 1);
    ExpectConsistent(dlg);
}

TEST_F(SelectionTableTest, OKNeedsASelection) {
    EXPECT_FALSE(SelectMergeOK(alerts));
    EXPECT_EQ(alerts.shown, (std::vector<Alert>{{kNoSelectionIsError, kMsgNoSelection}}));
    ASSERT_TRUE(Add("5339_025000.ai"));
    EXPECT_TRUE(SelectMergeOK(alerts));
    EXPECT_EQ(alerts.shown.size(), 1u);
}

// The driver shows the dialog again after the user declines the size: the
// display tables go, the kind tables and the selection stay.
TEST_F(SelectionTableTest, ShowingAgainKeepsTheSelection) {
    ASSERT_TRUE(Add("53394511_05000.ai"));
    free_mesh_table();
    EXPECT_EQ(nFolderMesh, nullptr);
    EXPECT_EQ(nSelectMesh, nullptr);
    RecordingDialog again;
    ASSERT_TRUE(SetTableDialog());
    EXPECT_TRUE(again.folder.empty());
    EXPECT_EQ(again.selected, std::vector<std::string>{"53394511_05000.ai"});
    EXPECT_EQ(again.status, "KTR64分割メッシュ(縮尺 1/5000)を選択中");
}

// Cancel used to leave the old scale behind: the next folder, though shown
// with "未選択", listed only tiles of that scale.
TEST_F(SelectionTableTest, CancelForgetsTheScale) {
    ASSERT_TRUE(Add("533945_010000.ai"));
    bFlgCheckBox2 = false;
    ResetMeshSelection();
    EXPECT_TRUE(TablesFreed());
    EXPECT_EQ(nSelScale, 0);
    EXPECT_EQ(InqSelectMesh(), 0);
    EXPECT_FALSE(bFlgCheckBox2);

    ASSERT_EQ(ScanTileFolder(folder.Str().c_str()), ScanResult::Done);
    ASSERT_TRUE(SetTableDialog());
    EXPECT_EQ(dlg.folder, kMixedFolderList);
    EXPECT_EQ(dlg.status, "未選択");

    ResetMeshState();
    EXPECT_TRUE(bFlgCheckBox1);
    EXPECT_TRUE(bFlgCheckBox2);
}

TEST_F(SelectionTableTest, OutOfMemoryAtEveryGrowthOfTheListsFreesEverything) {
    free_mesh_table();
    ReallocProbe::Arm(0);
    ASSERT_TRUE(SetTableDialog());
    const int growths = ReallocProbe::calls;
    EXPECT_EQ(growths, 5 * static_cast<int>(kMixedFolderList.size()));

    for (int n = 1; n <= growths; ++n) {
        SCOPED_TRACE(n);
        SetMeshRealloc(nullptr);
        ResetMeshSelection();
        ASSERT_EQ(ScanTileFolder(folder.Str().c_str()), ScanResult::Done);
        ReallocProbe::Arm(n);
        EXPECT_FALSE(SetTableDialog());
        EXPECT_TRUE(TablesFreed());
        EXPECT_TRUE(dlg.folder.empty());
        EXPECT_TRUE(dlg.selected.empty());
    }
}

TEST_F(SelectionTableTest, OutOfMemoryWhileMovingRows) {
    const int32_t row = RowOf(dlg.folder, "533945_025000.ai");
    ReallocProbe::Arm(1);
    EXPECT_FALSE(PushAddButton(row));
    EXPECT_TRUE(TablesFreed());

    SetMeshRealloc(nullptr);
    ResetMeshSelection();
    ASSERT_EQ(ScanTileFolder(folder.Str().c_str()), ScanResult::Done);
    ASSERT_TRUE(SetTableDialog());
    ASSERT_TRUE(Add("533945_025000.ai"));
    ReallocProbe::Arm(2);
    const std::vector<int32_t> first = {0};
    EXPECT_EQ(PushDelRows(first, alerts), SelectionChange::OutOfMemory);
    EXPECT_TRUE(TablesFreed());
    EXPECT_TRUE(alerts.shown.empty());
}

}  // namespace
}  // namespace selection_test
