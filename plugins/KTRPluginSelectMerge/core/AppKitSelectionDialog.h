// The selection dialog of the AppKit builds (GNUstep here, AppKit on macOS): the SelectionDialog
// interface over a WindowController, which it owns. Every call runs on the main thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SelectionDialog.h"

#ifdef __OBJC__
@class WindowController;
#else
using WindowController = struct objc_object;
#endif

class AppKitSelectionDialog final : public SelectionDialog {
public:
    // Throws std::runtime_error when the nib "Window" cannot be loaded.
    explicit AppKitSelectionDialog(SelectionAlerts& alerts);
    ~AppKitSelectionDialog() override;

    void SetLineCheckBox(bool checked) override;
    void SetFaceCheckBox(bool checked) override;
    bool GetLineCheckBox() const override;
    bool GetFaceCheckBox() const override;

    void AppendFolderRow(const std::string& name) override;
    void AppendSelectRow(const std::string& name) override;
    void ClearFolderList() override;
    void ClearSelectList() override;
    void SetStatus(const std::string& text) override;

    // One row at most: the selection index of the list's array controller.
    std::vector<int32_t> ChosenFolderRows() const override;
    std::vector<int32_t> ChosenSelectRows() const override;
    std::string FolderRowText(int32_t row) const override;
    std::string SelectRowText(int32_t row) const override;

    // OK (code 1), Cancel (code 0), Closed (the plain stop response, or a dialog already closed),
    // Failed (the lists ran out of memory).
    DialogResult RunModal() override;
    void Close() override;

    // The events of the controller's actions.
    void Add();
    void Delete();
    void OK();

    WindowController* Controller() const { return controller_; }

private:
    SelectionAlerts& alerts_;
    WindowController* controller_ = nullptr;
    bool closed_ = false;
    bool failed_ = false;
};

// Whether this process can show AppKit windows (GNUstep: a display is named).
bool AppKitAvailable();
