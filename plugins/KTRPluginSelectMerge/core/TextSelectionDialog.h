// The selection dialog of the builds without a window of their own: a text dialog on the terminal.
//
// It prints the title, both lists with row numbers, the status line and the
// two check boxes, then reads one command per line:
//
//   add 1 3 5-7   add all     the chosen folder rows go into the selection
//   del 2         del all     the chosen selected rows go back
//   line          face        tick or untick a check box
//   ok  cancel  close  help
//
// Row numbers start at 1. Commands are read with getline, one line at a time
// and never beyond it, since the host reads its own scripted answers from the
// same stream after the dialog. End of input closes the dialog. No terminal
// is needed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SelectionDialog.h"

class TextSelectionDialog final : public SelectionDialog {
public:
    // in and out are not owned and stay open.
    explicit TextSelectionDialog(SelectionAlerts& alerts, FILE* in = stdin, FILE* out = stdout);

    void SetLineCheckBox(bool checked) override { line_ = checked; }
    void SetFaceCheckBox(bool checked) override { face_ = checked; }
    bool GetLineCheckBox() const override { return line_; }
    bool GetFaceCheckBox() const override { return face_; }

    void AppendFolderRow(const std::string& name) override { folderRows_.push_back(name); }
    void AppendSelectRow(const std::string& name) override { selectRows_.push_back(name); }
    void ClearFolderList() override { folderRows_.clear(); }
    void ClearSelectList() override { selectRows_.clear(); }
    void SetStatus(const std::string& text) override { status_ = text; }

    std::vector<int32_t> ChosenFolderRows() const override { return chosenFolder_; }
    std::vector<int32_t> ChosenSelectRows() const override { return chosenSelect_; }
    std::string FolderRowText(int32_t row) const override { return RowText(folderRows_, row); }
    std::string SelectRowText(int32_t row) const override { return RowText(selectRows_, row); }

    DialogResult RunModal() override;
    void Close() override { closed_ = true; }

    const std::vector<std::string>& FolderRows() const { return folderRows_; }
    const std::vector<std::string>& SelectRows() const { return selectRows_; }
    const std::string& Status() const { return status_; }

private:
    static std::string RowText(const std::vector<std::string>& rows, int32_t row) {
        return row >= 0 && static_cast<size_t>(row) < rows.size() ? rows[static_cast<size_t>(row)] : std::string();
    }
    std::optional<std::string> ReadLine();
    // The result that ends the run, or nullopt to read the next line.
    std::optional<DialogResult> Handle(std::string_view line);
    std::optional<DialogResult> MoveRows(bool add, std::string_view args);
    void Render() const;
    void PrintList(const char* label, const std::vector<std::string>& rows) const;
    void PrintCheckBoxes() const;
    void PrintHelp() const;
    void Note(const std::string& text) const;

    SelectionAlerts& alerts_;
    FILE* in_;
    FILE* out_;
    bool echo_;
    bool line_ = true;
    bool face_ = true;
    bool closed_ = false;
    std::vector<std::string> folderRows_;
    std::vector<std::string> selectRows_;
    std::string status_ = kMeshStatusNone;
    std::vector<int32_t> chosenFolder_;
    std::vector<int32_t> chosenSelect_;
};

// Reads the row list of an add or del command ("1 3 5-7", "2,4", "all")
// against a list of rowCount rows. Fills rows with 0-based indices, ascending
// and without repeats, and returns true; an empty args gives no rows. On a
// malformed or missing row returns false with error saying which one, and
// leaves rows empty.
bool ParseRowList(std::string_view args, int32_t rowCount, std::vector<int32_t>* rows, std::string* error);
