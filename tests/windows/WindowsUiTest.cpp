// The Windows dialog and progress window, opened as the merge run opens them and driven from a
// second thread with window messages, as a person's clicks would arrive. Screenshots go to
// screenshots/ in the build folder.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "../selection/SelectionSupport.h"
#include "MergeProgress.h"
#include "core/WindowsSelectionDialog.h"
#include "core/WindowsText.h"

// Allocation fails on demand, for a dialog whose template cannot be made.
namespace {
std::atomic<bool> gFailAllocations{false};
}  // namespace

// GCC takes free() after this operator new for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    if (gFailAllocations) throw std::bad_alloc();
    if (void* block = std::malloc(size != 0 ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace selection_test {
namespace {

// ---- Driving a window from another thread ----

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 20000, &result);
    return LRESULT(result);
}

HWND WaitForDialog() {
    const std::wstring title = WideFromLiteral(kSelectDialogTitle);
    for (int i = 0; i < 1000; ++i) {
        if (HWND dialog = FindWindowW(L"#32770", title.c_str()); dialog != nullptr && IsWindowVisible(dialog))
            return dialog;
        Sleep(10);
    }
    return nullptr;
}

std::vector<std::string> Rows(HWND dialog, int listId) {
    const HWND list = GetDlgItem(dialog, listId);
    std::vector<std::string> rows;
    const int count = int(Send(list, LB_GETCOUNT));
    for (int row = 0; row < count; ++row) {
        std::wstring text(size_t(Send(list, LB_GETTEXTLEN, WPARAM(row))) + 1, L'\0');
        text.resize(size_t(Send(list, LB_GETTEXT, WPARAM(row), reinterpret_cast<LPARAM>(text.data()))));
        rows.push_back(LiteralFromWide(text));
    }
    return rows;
}

void Choose(HWND dialog, int listId, const std::vector<std::string>& names) {
    const std::vector<std::string> rows = Rows(dialog, listId);
    for (const std::string& name : names) Send(GetDlgItem(dialog, listId), LB_SETSEL, TRUE, RowOf(rows, name));
}

void Click(HWND dialog, int id) {
    Send(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool Checked(HWND dialog, int id) { return Send(GetDlgItem(dialog, id), BM_GETCHECK) == BST_CHECKED; }

std::string Text(HWND window) {
    std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return LiteralFromWide(text);
}

// The window as the screen shows it, as a 24-bit BMP.
void SaveScreenshot(HWND window, const char* name) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    std::vector<char> pixels(stride * size_t(height));
    GetDIBits(memory, bitmap, 0, UINT(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = DWORD(file.bfOffBits + pixels.size());
    CreateDirectoryW(L"screenshots", nullptr);
    std::ofstream out(std::string("screenshots/") + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(pixels.data(), std::streamsize(pixels.size()));
}

// ---- The dialog ----

class WindowsDialogTest : public SelectionTest {
protected:
    void SetUp() override {
        SelectionTest::SetUp();
        AddMixedTiles(folder);
        ASSERT_EQ(ScanTileFolder(folder.Str().c_str()), ScanResult::Done);
    }

    // Shows a dialog (as the run does) and drives it from a second thread until the run ends;
    // a dialog the driver leaves open is closed.
    DialogResult Run(const std::function<void(HWND)>& drive, bool line = true, bool face = true) {
        dialog = std::make_unique<WindowsSelectionDialog>(alerts);
        dialog->SetLineCheckBox(line);
        dialog->SetFaceCheckBox(face);
        EXPECT_TRUE(SetTableDialog());
        std::thread robot([&] {
            HWND window = WaitForDialog();
            if (window == nullptr) return;
            drive(window);
            if (IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
        });
        const DialogResult result = dialog->RunModal();
        robot.join();
        return result;
    }

    TempFolder folder;
    RecordingAlerts alerts;
    std::unique_ptr<WindowsSelectionDialog> dialog;
};

TEST_F(WindowsDialogTest, ListsInKindOrderAddsAndDeletesSeveralRowsAndTogglesTheBoxes) {
    const std::vector<std::string> pair = {"533945_025000.ai", "533946_025000.ai"};
    struct Seen {
        std::vector<std::string> folder, selected, folderAfterAdd, selectedAfterAdd, folderAfterDel;
        std::string status, statusAfterAdd;
        bool line = false, face = false, lineAfterClick = true, stillOpenAfterEmptyOK = false;
    } seen;
    const DialogResult result = Run([&](HWND window) {
        seen.folder = Rows(window, kFolderListId);
        seen.selected = Rows(window, kSelectListId);
        seen.status = Text(GetDlgItem(window, kStatusId));
        seen.line = Checked(window, kLineCheckBoxId);
        seen.face = Checked(window, kFaceCheckBoxId);
        Click(window, IDOK);  // nothing selected yet
        seen.stillOpenAfterEmptyOK = IsWindow(window);
        Choose(window, kFolderListId, pair);
        Click(window, kAddButtonId);
        seen.folderAfterAdd = Rows(window, kFolderListId);
        seen.selectedAfterAdd = Rows(window, kSelectListId);
        seen.statusAfterAdd = Text(GetDlgItem(window, kStatusId));
        Sleep(300);
        SaveScreenshot(window, "selection-dialog");
        Choose(window, kSelectListId, pair);
        Click(window, kDelButtonId);
        seen.folderAfterDel = Rows(window, kFolderListId);
        Click(window, kLineCheckBoxId);
        seen.lineAfterClick = Checked(window, kLineCheckBoxId);
        Choose(window, kFolderListId, {"5339_025000.ai"});
        Click(window, kAddButtonId);
        Click(window, IDOK);
    });
    EXPECT_EQ(result, DialogResult::OK);
    EXPECT_EQ(seen.folder, kMixedFolderList);
    EXPECT_TRUE(seen.selected.empty());
    EXPECT_EQ(seen.status, "未選択");
    EXPECT_TRUE(seen.line && seen.face);
    EXPECT_TRUE(seen.stillOpenAfterEmptyOK);
    EXPECT_EQ(seen.folderAfterAdd, std::vector<std::string>{});  // both Material tiles at 1/25000 are chosen
    EXPECT_EQ(seen.selectedAfterAdd, pair);
    EXPECT_EQ(seen.statusAfterAdd, "第二次地域区画(縮尺 1/25000)を選択中");
    EXPECT_EQ(seen.folderAfterDel, kMixedFolderList);
    EXPECT_FALSE(seen.lineAfterClick);
    EXPECT_EQ(alerts.shown, (std::vector<Alert>{{false, kMsgNoSelection}}));  // a message alert on Windows
    EXPECT_FALSE(dialog->GetLineCheckBox());
    EXPECT_TRUE(dialog->GetFaceCheckBox());
    EXPECT_EQ(InqSelectMesh(), 1);
}

TEST_F(WindowsDialogTest, MismatchedAndMissingRowsAreRefusedWithErrorAlerts) {
    std::vector<std::string> folderAfter;
    const DialogResult result = Run([&](HWND window) {
        Click(window, kAddButtonId);
        Click(window, kDelButtonId);
        Choose(window, kFolderListId, {"533945_2_025000.ai", "533945_025000.ai"});
        Click(window, kAddButtonId);
        Send(GetDlgItem(window, kFolderListId), LB_SETSEL, FALSE, -1);
        Choose(window, kFolderListId, {"533945_010000.ai", "533946_025000.ai"});
        Click(window, kAddButtonId);
        folderAfter = Rows(window, kFolderListId);
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(result, DialogResult::Cancel);
    EXPECT_EQ(
        alerts.shown,
        (std::vector<Alert>{
            {true, kMsgAddNoneChosen}, {true, kMsgDelNoneChosen}, {true, kMsgMixedMeshKind}, {true, kMsgMixedScale}}));
    EXPECT_EQ(folderAfter, kMixedFolderList);
    EXPECT_EQ(InqSelectMesh(), 0);
}

TEST_F(WindowsDialogTest, TheCloseBoxEndsLikeCancel) {
    EXPECT_EQ(Run([](HWND window) { Send(window, WM_CLOSE); }), DialogResult::Cancel);
}

// Going on as after OK would merge whatever an earlier showing left selected; the run ends with
// an error instead.
TEST_F(WindowsDialogTest, ADialogThatCannotBeBuiltEndsTheRunWithAnError) {
    WindowsSelectionDialog failing(alerts);
    gFailAllocations = true;
    const DialogResult result = failing.RunModal();
    gFailAllocations = false;
    EXPECT_EQ(result, DialogResult::Failed);
    EXPECT_EQ(failing.Window(), nullptr);
}

// After a declined size question the run shows the dialog again: only the chosen kind and
// scale, the chosen tiles on the right, the boxes as the user left them.
TEST_F(WindowsDialogTest, ShowingAgainOffersOnlyTheChosenKindAndScaleWithTheBoxesAsLeft) {
    ASSERT_EQ(Run([](HWND window) {
                  Choose(window, kFolderListId, {"53394511_02500.ai"});
                  Click(window, kAddButtonId);
                  Click(window, kFaceCheckBoxId);
                  Click(window, IDOK);
              }),
              DialogResult::OK);
    const bool line = dialog->GetLineCheckBox();
    const bool face = dialog->GetFaceCheckBox();
    dialog.reset();
    free_mesh_table();
    std::vector<std::string> folderRows, selectRows;
    bool lineShown = false, faceShown = true;
    std::string status;
    Run(
        [&](HWND window) {
            folderRows = Rows(window, kFolderListId);
            selectRows = Rows(window, kSelectListId);
            lineShown = Checked(window, kLineCheckBoxId);
            faceShown = Checked(window, kFaceCheckBoxId);
            status = Text(GetDlgItem(window, kStatusId));
            Click(window, IDCANCEL);
        },
        line, face);
    EXPECT_EQ(folderRows, std::vector<std::string>{"53394512_02500.ai"});
    EXPECT_EQ(selectRows, std::vector<std::string>{"53394511_02500.ai"});
    EXPECT_TRUE(lineShown);
    EXPECT_FALSE(faceShown);
    EXPECT_EQ(status, "KTR64分割メッシュ(縮尺 1/2500)を選択中");
}

// ---- The progress window ----

TEST(WindowsProgressTest, ShowsCaptionAndBarWhereTheRunPutsThemAndGoesWithoutATrace) {
    const std::wstring title = WideFromLiteral("Quiltor セレクトマージ");
    std::unique_ptr<MergeProgress> progress = ShowMergeProgress();
    HWND window = FindWindowW(L"Default Class Name", title.c_str());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 300);
    EXPECT_EQ(rect.bottom - rect.top, 79);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 400) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 300) / 2);
    HWND caption = FindWindowExW(window, nullptr, L"STATIC", nullptr);
    HWND bar = FindWindowExW(window, nullptr, L"msctls_progress32", nullptr);
    ASSERT_NE(caption, nullptr);
    ASSERT_NE(bar, nullptr);

    struct Step {
        const char* caption;
        int32_t last, position;
        const char* screenshot;
    };
    const Step steps[] = {
        {"選択したAdobe Illustrator ArtWorkを配置中...", 8, 5, "progress-placing"},
        {"『道路』\nレイヤのメッシュ間で隣接する線を合成中...", 1999, 1200, "progress-joining"},
    };
    for (const Step& s : steps) {
        progress->SetCaption(s.caption);
        progress->SetRange(s.last);
        progress->SetPosition(s.position);
        EXPECT_EQ(Text(caption), std::string(s.caption));
        PBRANGE range{};
        SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        EXPECT_EQ(range.iLow, 0);
        EXPECT_EQ(range.iHigh, s.last);
        EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), s.position);
        SaveScreenshot(window, s.screenshot);
    }

    progress.reset();
    EXPECT_EQ(FindWindowW(L"Default Class Name", title.c_str()), nullptr);
    EXPECT_FALSE(IsWindow(window));
    WNDCLASSW unused{};
    EXPECT_FALSE(GetClassInfoW(GetModuleHandleW(nullptr), L"Default Class Name", &unused));
}

}  // namespace
}  // namespace selection_test
