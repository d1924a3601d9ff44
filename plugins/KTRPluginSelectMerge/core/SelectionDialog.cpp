#include "SelectionDialog.h"

SelectionDialog::SelectionDialog() { dlgController = this; }

SelectionDialog::~SelectionDialog() {
    if (dlgController == this) dlgController = nullptr;
}

SelectionChange SelectMeshAdd(const SelectionDialog& dialog, SelectionAlerts& alerts) {
    const std::vector<int32_t> rows = dialog.ChosenFolderRows();
    return PushAddRows(rows, alerts);
}

SelectionChange SelectMeshDel(const SelectionDialog& dialog, SelectionAlerts& alerts) {
    const std::vector<int32_t> rows = dialog.ChosenSelectRows();
    return PushDelRows(rows, alerts);
}

bool SelectMergeOK(SelectionAlerts& alerts) {
    if (InqSelectMesh() != 0) return true;
#ifdef _WIN32
    alerts.MessageAlert(kMsgNoSelection);
#else
    alerts.ErrorAlert(kMsgNoSelection);
#endif
    return false;
}
