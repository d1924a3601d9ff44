#include "SelectionDialog.h"

SelectionDialog::SelectionDialog() { dlgController = this; }

SelectionDialog::~SelectionDialog() {
    if (dlgController == this) dlgController = nullptr;
}

#ifdef _WIN32
namespace {

std::vector<std::string> TextsOf(const std::vector<int32_t>& rows, auto textOf) {
    std::vector<std::string> texts;
    for (int32_t row : rows) texts.push_back(textOf(row));
    return texts;
}

}  // namespace

SelectionChange SelectMeshAdd(const SelectionDialog& dialog, SelectionAlerts& alerts) {
    const auto names = TextsOf(dialog.ChosenFolderRows(), [&](int32_t row) { return dialog.FolderRowText(row); });
    return PushAddNames(names, alerts);
}

SelectionChange SelectMeshDel(const SelectionDialog& dialog, SelectionAlerts& alerts) {
    const auto names = TextsOf(dialog.ChosenSelectRows(), [&](int32_t row) { return dialog.SelectRowText(row); });
    return PushDelNames(names, alerts);
}
#else
SelectionChange SelectMeshAdd(const SelectionDialog& dialog, SelectionAlerts& alerts) {
    const std::vector<int32_t> rows = dialog.ChosenFolderRows();
    return PushAddRows(rows, alerts);
}

SelectionChange SelectMeshDel(const SelectionDialog& dialog, SelectionAlerts& alerts) {
    const std::vector<int32_t> rows = dialog.ChosenSelectRows();
    return PushDelRows(rows, alerts);
}
#endif

bool SelectMergeOK(SelectionAlerts& alerts) {
    if (InqSelectMesh() != 0) return true;
#ifdef _WIN32
    alerts.MessageAlert(kMsgNoSelection);
#else
    alerts.ErrorAlert(kMsgNoSelection);
#endif
    return false;
}
