// The selection dialog of the Windows build: a dialog built from a template in memory and run
// modally by its own message loop, which ends when the dialog posts its quit message.
//
// Control ids, so that a script or a test can drive it with window messages.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "SelectionDialog.h"

inline constexpr int kFolderListId = 1021;
inline constexpr int kSelectListId = 1022;
inline constexpr int kAddButtonId = 1023;
inline constexpr int kDelButtonId = 1024;
inline constexpr int kStatusId = 1025;
inline constexpr int kLineCheckBoxId = 1026;
inline constexpr int kFaceCheckBoxId = 1027;

class WindowsSelectionDialog final : public SelectionDialog {
public:
    explicit WindowsSelectionDialog(SelectionAlerts& alerts) : alerts_(alerts) {}
    ~WindowsSelectionDialog() override;

    void SetLineCheckBox(bool checked) override;
    void SetFaceCheckBox(bool checked) override;
    bool GetLineCheckBox() const override { return line_; }
    bool GetFaceCheckBox() const override { return face_; }

    void AppendFolderRow(const std::string& name) override;
    void AppendSelectRow(const std::string& name) override;
    void ClearFolderList() override;
    void ClearSelectList() override;
    void SetStatus(const std::string& text) override;

    std::vector<int32_t> ChosenFolderRows() const override { return ChosenRows(kFolderListId); }
    std::vector<int32_t> ChosenSelectRows() const override { return ChosenRows(kSelectListId); }
    std::string FolderRowText(int32_t row) const override { return RowText(kFolderListId, folderRows_, row); }
    std::string SelectRowText(int32_t row) const override { return RowText(kSelectListId, selectRows_, row); }

    // OK, Cancel (also the close box); Failed when the lists ran out of memory or the dialog
    // could not be built.
    DialogResult RunModal() override;
    void Close() override;

    // The window while the dialog runs, else null.
    HWND Window() const { return window_; }

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Initialise(HWND window);
    void Command(int id);
    void End(DialogResult result);
    std::vector<int32_t> ChosenRows(int listId) const;
    std::string RowText(int listId, const std::vector<std::string>& rows, int32_t row) const;
    void ShowCheckBox(int id, bool checked) const;

    SelectionAlerts& alerts_;
    HWND window_ = nullptr;
    bool line_ = true;
    bool face_ = true;
    bool closed_ = false;
    DialogResult result_ = DialogResult::Cancel;
    // What the lists hold, also before the window exists.
    std::vector<std::string> folderRows_;
    std::vector<std::string> selectRows_;
    std::string status_ = kMeshStatusNone;
};
