// The AppKit tile dialog on a virtual display: the window controller loaded from its nib and
// driven through its actions while it runs modally, alone and inside whole merge runs.
#import "core/WindowController.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../merge/MergeFixture.h"
#include "../selection/SelectionSupport.h"
#include "ModalScript.h"
#include "SelectMergeRun.h"
#include "core/AppKitSelectionDialog.h"

namespace appkit_test {
namespace {

using selection_test::AddMixedTiles;
using selection_test::Alert;
using selection_test::kMixedFolderList;
using selection_test::RecordingAlerts;
using selection_test::SelectionTest;
using selection_test::TempFolder;

std::vector<std::string> FolderRows(WindowController* c) { return Rows([c arrayController], @"folderdata"); }
std::vector<std::string> SelectRows(WindowController* c) { return Rows([c arraySelectController], @"selectdata"); }

class AppKitDialogTest : public SelectionTest {
protected:
    void SetUp() override {
        SelectionTest::SetUp();
        ASSERT_TRUE(AppKitAvailable()) << "no display; run it through ctest, which starts one";
        AddMixedTiles(folder);
        ASSERT_EQ(ScanTileFolder(folder.Str().c_str()), ScanResult::Done);
    }

    // Shows a dialog as the run does and runs it modally with the step.
    DialogResult Run(Step step, bool line = true, bool face = true) {
        dialog = std::make_unique<AppKitSelectionDialog>(alerts);
        dialog->SetLineCheckBox(line);
        dialog->SetFaceCheckBox(face);
        EXPECT_TRUE(SetTableDialog());
        const ModalScript script({std::move(step)});
        return dialog->RunModal();
    }

    TempFolder folder;
    RecordingAlerts alerts;
    std::unique_ptr<AppKitSelectionDialog> dialog;
};

TEST_F(AppKitDialogTest, TheNibGivesTheWindowItsTextsAndOutlets) {
    AppKitSelectionDialog shown(alerts);
    WindowController* c = shown.Controller();
    EXPECT_STREQ([[[c window] title] UTF8String], kSelectDialogTitle);
    EXPECT_STREQ([[[c checkBoxLine] title] UTF8String], kLineCheckBoxText);
    EXPECT_STREQ([[[c checkBoxPoly] title] UTF8String], kFaceCheckBoxText);
    EXPECT_EQ(Status(c), kMeshStatusNone);
    EXPECT_TRUE(Ticked([c checkBoxLine]) && Ticked([c checkBoxPoly]));
    // Every button, label and action of the window, read from the nib.
    std::vector<std::string> texts;
    std::vector<std::string> actions;
    NSMutableArray* views = [NSMutableArray arrayWithObject:[[c window] contentView]];
    while ([views count] > 0) {
        NSView* view = [views objectAtIndex:0];
        [views removeObjectAtIndex:0];
        [views addObjectsFromArray:[view subviews]];
        if ([view isKindOfClass:[NSButton class]]) {
            texts.push_back([[(NSButton*)view title] UTF8String]);
            if ([(NSButton*)view action] != nullptr) actions.push_back(sel_getName([(NSButton*)view action]));
        } else if ([view isKindOfClass:[NSTextField class]] && view != (NSView*)[c textType] &&
                   ![[view superview] isKindOfClass:[NSTableView class]]) {
            texts.push_back([[(NSTextField*)view stringValue] UTF8String]);
        }
    }
    for (const char* text :
         {kFolderListLabel, kSelectListLabel, kAddButtonText, kDelButtonText, kOKButtonText, kCancelButtonText}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
    }
    for (const char* action : {"selectMeshAdd:", "selectMeshDel:", "selectMergeOK:", "selectMergeCancel:"}) {
        EXPECT_NE(std::find(actions.begin(), actions.end(), action), actions.end()) << action;
    }
}

TEST_F(AppKitDialogTest, ListsFilledInOrderAddAndDeleteOneChosenRowAndTheMacAlertKinds) {
    struct Seen {
        std::vector<std::string> folder, selected, folderAfterAdd, selectedAfterAdd, folderAfterDel;
        std::string statusAfterAdd, statusAfterDel;
        bool stillOpenAfterEmptyOK = false;
    } seen;
    const DialogResult result = Run([&](WindowController* c) {
        seen.folder = FolderRows(c);
        seen.selected = SelectRows(c);
        [c selectMeshAdd:nil];  // nothing chosen
        [c selectMeshDel:nil];
        [c selectMergeOK:nil];  // nothing selected
        seen.stillOpenAfterEmptyOK = [NSApp modalWindow] == [c window];
        Choose([c arrayController], @"folderdata", "533946_025000.ai");
        [c selectMeshAdd:nil];
        seen.folderAfterAdd = FolderRows(c);
        seen.selectedAfterAdd = SelectRows(c);
        seen.statusAfterAdd = Status(c);
        SaveScreenshot([c window], std::string(QUILTOR_BINARY_DIR) + "/screenshots/appkit-selection-dialog.png");
        // A rebuild leaves no row chosen: a second Add without a choice is refused.
        [c selectMeshAdd:nil];
        Choose([c arrayController], @"folderdata", "533945_025000.ai");
        [c selectMeshAdd:nil];
        Choose([c arraySelectController], @"selectdata", "533946_025000.ai");
        [c selectMeshDel:nil];
        Choose([c arraySelectController], @"selectdata", "533945_025000.ai");
        [c selectMeshDel:nil];
        seen.folderAfterDel = FolderRows(c);
        seen.statusAfterDel = Status(c);
        Choose([c arrayController], @"folderdata", "5339_025000.ai");
        [c selectMeshAdd:nil];
        [c selectMergeOK:nil];
    });
    EXPECT_EQ(result, DialogResult::OK);
    EXPECT_EQ(seen.folder, kMixedFolderList);
    EXPECT_TRUE(seen.selected.empty());
    EXPECT_TRUE(seen.stillOpenAfterEmptyOK);
    EXPECT_EQ(seen.folderAfterAdd, std::vector<std::string>{"533945_025000.ai"});
    EXPECT_EQ(seen.selectedAfterAdd, std::vector<std::string>{"533946_025000.ai"});
    EXPECT_EQ(seen.statusAfterAdd, "第二次地域区画(縮尺 1/25000)を選択中");
    EXPECT_EQ(seen.folderAfterDel, kMixedFolderList);
    EXPECT_EQ(seen.statusAfterDel, kMeshStatusNone);
    // Add and OK refused with error alerts, Delete with a message alert, as on macOS.
    EXPECT_EQ(alerts.shown, (std::vector<Alert>{{true, kMsgAddNoneChosen},
                                                {false, kMsgDelNoneChosen},
                                                {true, kMsgNoSelection},
                                                {true, kMsgAddNoneChosen}}));
    EXPECT_EQ(InqSelectMesh(), 1);
    EXPECT_EQ(SelectedMeshEntries().size(), 1u);
}

struct EndCase {
    const char* name;
    void (*end)(WindowController*);
    DialogResult result;
};

class AppKitDialogEndTest : public AppKitDialogTest, public ::testing::WithParamInterface<EndCase> {};

// OK ends with code 1, Cancel with 0, the close box and closeDialog: with the plain stop response;
// the window is off the screen afterwards and a closed dialog does not run again.
TEST_P(AppKitDialogEndTest, EndsWithItsCode) {
    NSWindow* window = nil;
    const DialogResult result = Run([&](WindowController* c) {
        window = [c window];
        Choose([c arrayController], @"folderdata", "5339_025000.ai");
        [c selectMeshAdd:nil];
        [c checkBoxPoly].state = NSOffState;
        GetParam().end(c);
    });
    EXPECT_EQ(result, GetParam().result);
    EXPECT_FALSE([window isVisible] && result == DialogResult::Closed);
    EXPECT_FALSE(dialog->GetFaceCheckBox());  // the box keeps its state for the driver to read
    if (result == DialogResult::Closed) {
        EXPECT_EQ(dialog->RunModal(), DialogResult::Closed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ends, AppKitDialogEndTest,
    ::testing::Values(EndCase{"OK", [](WindowController* c) { [c selectMergeOK:nil]; }, DialogResult::OK},
                      EndCase{"Cancel", [](WindowController* c) { [c selectMergeCancel:nil]; }, DialogResult::Cancel},
                      EndCase{"CloseDialog", [](WindowController* c) { [c closeDialog:nil]; }, DialogResult::Closed},
                      EndCase{"CloseBox", [](WindowController* c) { [[c window] performClose:nil]; },
                              DialogResult::Closed}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Whole runs, the driver showing the AppKit dialog ----

class AppKitRunTest : public mergetest::MergeTest {
protected:
    void SetUp() override {
        MergeTest::SetUp();
        ASSERT_TRUE(AppKitAvailable());
        SetSelectionDialogFactory([](SelectionAlerts& alerts) { return CreateSelectionDialog(alerts); });
        NewTarget();
        for (const char* name : {"533945_025000.ai", "533946_025000.ai"}) WriteTile(name, {{"地図", 0}, {"道路", 1}});
    }
    void RunWith(std::deque<Step> steps) {
        const ModalScript script(std::move(steps));
        Run();
        shown = script.showings();
    }
    static void AddAll(WindowController* c) {
        while (!FolderRows(c).empty()) {
            [[c arrayController] setSelectionIndex:0];
            [c selectMeshAdd:nil];
        }
    }
    int shown = 0;
};

TEST_F(AppKitRunTest, CancelReadsTheBoxesAndGoesBackToTheFolderChooser) {
    AnswerTileFolder();
    AnswerTileFolder();
    bool lineShownAgain = true, faceShownAgain = false;
    std::vector<std::string> offeredAgain;
    RunWith({[](WindowController* c) {
                 AddAll(c);
                 [[c checkBoxLine] performClick:nil];
                 [c selectMergeCancel:nil];
             },
             [&](WindowController* c) {
                 lineShownAgain = Ticked([c checkBoxLine]);
                 faceShownAgain = Ticked([c checkBoxPoly]);
                 offeredAgain = FolderRows(c);
                 [c selectMergeCancel:nil];
             }});
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(user().folderTitles().size(), 3u);  // the third chooser, unanswered, ends the run
    EXPECT_FALSE(lineShownAgain);
    EXPECT_TRUE(faceShownAgain);
    EXPECT_EQ(offeredAgain, (std::vector<std::string>{"533945_025000.ai", "533946_025000.ai"}));
}

TEST_F(AppKitRunTest, CloseGoesOnWithoutReadingTheBoxes) {
    AnswerTileFolder();
    user().queueAnswer(1);
    RunWith({[](WindowController* c) {
        AddAll(c);
        [[c checkBoxLine] performClick:nil];
        [[c checkBoxPoly] performClick:nil];
        [c closeDialog:nil];
    }});
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(bFlgCheckBox1);
    EXPECT_TRUE(bFlgCheckBox2);
    EXPECT_EQ(Alerts().back(), mergetest::MessageLine("作業が完了しました。"));
}

TEST_F(AppKitRunTest, TheBoxesSurviveADeclinedSizeQuestion) {
    AnswerTileFolder();
    user().queueAnswer(0);  // the merged map is larger than the A4 page: no
    bool lineShownAgain = false, faceShownAgain = true;
    std::vector<std::string> selectedAgain;
    RunWith({[](WindowController* c) {
                 AddAll(c);
                 [[c checkBoxPoly] performClick:nil];
                 [c selectMergeOK:nil];
             },
             [&](WindowController* c) {
                 lineShownAgain = Ticked([c checkBoxLine]);
                 faceShownAgain = Ticked([c checkBoxPoly]);
                 selectedAgain = SelectRows(c);
                 [c selectMergeCancel:nil];
             }});
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(lineShownAgain);
    EXPECT_FALSE(faceShownAgain);
    EXPECT_EQ(selectedAgain, (std::vector<std::string>{"533945_025000.ai", "533946_025000.ai"}));
}

// What the tests make autoreleased outside a modal run goes here; the host keeps no pool either.
class PoolEnvironment : public ::testing::Environment {
public:
    void SetUp() override { pool_ = [[NSAutoreleasePool alloc] init]; }
    void TearDown() override { [pool_ drain]; }

private:
    NSAutoreleasePool* pool_ = nil;
};

const ::testing::Environment* const kPool = ::testing::AddGlobalTestEnvironment(new PoolEnvironment);

}  // namespace
}  // namespace appkit_test
