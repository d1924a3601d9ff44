// The tile selection dialog as the selection table and the driver see it.
//
// The dialog holds no logic: every list change goes through the selection
// table, which clears and refills both lists and the status after each change.
// A platform dialog (the terminal dialog of this build, a Windows dialog
// later) implements SelectionDialog and calls the event functions below from
// its buttons, so the checks and messages are the same on every platform.
//
// Host-free: standard library only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SelectionTable.h"

// The alerts the dialog events show. The plug-in implements them with the
// host's AIUserSuite; tests record them. Texts are in the build's literal
// encoding (UTF-8; Shift-JIS in the Windows build).
struct SelectionAlerts {
    virtual ~SelectionAlerts() = default;
    virtual void ErrorAlert(const char* text) = 0;
    virtual void MessageAlert(const char* text) = 0;
};

// Texts of the dialog.
inline constexpr char kSelectDialogTitle[] = "Quiltor セレクトマージ - ファイル選択";
inline constexpr char kFolderListLabel[] = "フォルダ内データ：";
inline constexpr char kSelectListLabel[] = "選択済みデータ：";
inline constexpr char kAddButtonText[] = "[追加]≫";
inline constexpr char kDelButtonText[] = "≪[削除]";
inline constexpr char kLineCheckBoxText[] = "隣接図形（線）の合成を行う。";
inline constexpr char kFaceCheckBoxText[] = "隣接図形（面）の合成を行う。";
inline constexpr char kOKButtonText[] = "OK";
inline constexpr char kCancelButtonText[] = "キャンセル";

// Messages of the dialog events.
inline constexpr char kMsgAddNoneChosen[] = "フォルダ内データから Adobe Illustrator Artwork を選択して下さい。";
inline constexpr char kMsgDelNoneChosen[] = "選択済みデータから Adobe Illustrator Artwork を選択して下さい。";
inline constexpr char kMsgNoSelection[] = "選択済みデータが一つもありません。";
inline constexpr char kMsgMixedMeshKind[] = "メッシュ単位の異なる Adobe Illustrator ArtWork を選択しています。";
inline constexpr char kMsgMixedScale[] = "縮尺の異なる Adobe Illustrator ArtWork の結合は出来ません。";

// How a modal run of the dialog ended.
enum class DialogResult {
    OK,      // the user confirmed a non-empty selection
    Cancel,  // the user cancelled
    Closed,  // the dialog was stopped without an answer (close box, end of input)
    Failed,  // memory ran out while the lists were rebuilt; the tables are freed
};

// One selection dialog. Row indices are 0-based and are the rows of the
// matching display table (row i of the folder list is row i of nFolder...).
//
// While a dialog lives, dlgController points at the newest one, so that
// SetTableDialog fills it; the destructor clears dlgController when it still
// points here.
class SelectionDialog {
public:
    SelectionDialog();
    virtual ~SelectionDialog();
    SelectionDialog(const SelectionDialog&) = delete;
    SelectionDialog& operator=(const SelectionDialog&) = delete;

    // Check boxes: line = join lines (bFlgCheckBox1), face = compound faces
    // and closed lines (bFlgCheckBox2). Checked is true.
    virtual void SetLineCheckBox(bool checked) = 0;
    virtual void SetFaceCheckBox(bool checked) = 0;
    virtual bool GetLineCheckBox() const = 0;
    virtual bool GetFaceCheckBox() const = 0;

    // Appends name as the last row of the folder (selected) list.
    virtual void AppendFolderRow(const std::string& name) = 0;
    virtual void AppendSelectRow(const std::string& name) = 0;

    // Removes every row of the folder (selected) list.
    virtual void ClearFolderList() = 0;
    virtual void ClearSelectList() = 0;

    virtual void SetStatus(const std::string& text) = 0;

    // The rows the user has chosen in the folder (selected) list, ascending,
    // without repeats; empty when none is chosen.
    virtual std::vector<int32_t> ChosenFolderRows() const = 0;
    virtual std::vector<int32_t> ChosenSelectRows() const = 0;

    // The text of a row of the folder (selected) list, empty for no such row.
    // The Windows build identifies chosen rows by their text.
    virtual std::string FolderRowText(int32_t row) const = 0;
    virtual std::string SelectRowText(int32_t row) const = 0;

    // Shows the dialog and handles events until it ends. The check boxes
    // keep their state afterwards for the driver to read.
    virtual DialogResult RunModal() = 0;

    // Takes the dialog off the screen; a later RunModal answers Closed.
    virtual void Close() = 0;
};

// The dialog of this build, bound to alerts for its events. Sets dlgController.
std::unique_ptr<SelectionDialog> CreateSelectionDialog(SelectionAlerts& alerts);

// Events. Each implementation calls these from its buttons.
//
// Add: the chosen folder rows go into the selection (error alert when none is
// chosen, or when they mix kinds or scales). Delete: the chosen selected rows
// go back (message alert when none is chosen). OutOfMemory means the tables
// are freed and the dialog must end with DialogResult::Failed.
SelectionChange SelectMeshAdd(const SelectionDialog& dialog, SelectionAlerts& alerts);
SelectionChange SelectMeshDel(const SelectionDialog& dialog, SelectionAlerts& alerts);

// OK: true when the dialog may end with OK; otherwise shows the error alert
// "選択済みデータが一つもありません。" and the dialog stays.
bool SelectMergeOK(SelectionAlerts& alerts);
