#include "WindowsSelectionDialog.h"

#include <memory>
#include <new>
#include <string_view>

#include "SelectionTable.h"
#include "WindowsModule.h"
#include "WindowsText.h"

namespace {

// Predefined control classes, by atom.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kListBoxClass = 0x0083;
constexpr WORD kNoId = 0xFFFF;

struct Item {
    WORD controlClass;
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    const char* text;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kList =
    kChild | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_CHECKBOX;  // the procedure toggles it

// In dialog units.
const Item kItems[] = {
    {kStaticClass, kChild | SS_LEFT, 10, 5, 55, 8, kNoId, kFolderListLabel},
    {kStaticClass, kChild | SS_LEFT, 190, 5, 55, 8, kNoId, kSelectListLabel},
    {kListBoxClass, kList, 10, 20, 120, 180, kFolderListId, ""},
    {kListBoxClass, kList, 190, 20, 120, 180, kSelectListId, ""},
    {kButtonClass, kChild | WS_TABSTOP | BS_PUSHBUTTON, 135, 25, 50, 14, kAddButtonId, kAddButtonText},
    {kButtonClass, kChild | WS_TABSTOP | BS_PUSHBUTTON, 135, 44, 50, 14, kDelButtonId, kDelButtonText},
    {kStaticClass, kChild | WS_BORDER | SS_LEFT, 10, 205, 300, 10, kStatusId, kMeshStatusNone},
    {kButtonClass, kCheck, 10, 219, 168, 10, kLineCheckBoxId, kLineCheckBoxText},
    {kButtonClass, kCheck, 10, 231, 168, 10, kFaceCheckBoxId, kFaceCheckBoxText},
    {kButtonClass, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 205, 225, 50, 14, IDOK, kOKButtonText},
    {kButtonClass, kChild | WS_TABSTOP | BS_PUSHBUTTON, 260, 225, 50, 14, IDCANCEL, kCancelButtonText},
};

// A dialog template in memory: the dialog, then each item on a four-byte boundary.
class Template {
public:
    const DLGTEMPLATE* Build() {
        Put(DWORD(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU));
        Put(DWORD(0));
        words_.push_back(WORD(std::size(kItems)));
        for (short v : {short(0), short(0), short(320), short(249)}) words_.push_back(WORD(v));
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the dialog class
        Put(WideFromLiteral(kSelectDialogTitle));
        words_.push_back(9);
        Put(L"MS Shell Dlg");
        for (const Item& item : kItems) {
            if (words_.size() % 2 != 0) words_.push_back(0);
            Put(item.style);
            Put(DWORD(0));
            for (short v : {item.x, item.y, item.cx, item.cy}) words_.push_back(WORD(v));
            words_.push_back(item.id);
            words_.push_back(0xFFFF);
            words_.push_back(item.controlClass);
            Put(WideFromLiteral(item.text));
            words_.push_back(0);  // no creation data
        }
        return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
    }

private:
    void Put(DWORD value) {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void Put(std::wstring_view text) {
        for (wchar_t c : text) words_.push_back(WORD(c));
        words_.push_back(0);
    }

    std::vector<WORD> words_;
};

void AddRow(HWND window, int listId, const std::string& name) {
    if (window != nullptr)
        SendDlgItemMessageW(window, listId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromLiteral(name).c_str()));
}

}  // namespace

WindowsSelectionDialog::~WindowsSelectionDialog() {
    if (window_ != nullptr) DestroyWindow(window_);
}

void WindowsSelectionDialog::ShowCheckBox(int id, bool checked) const {
    if (window_ != nullptr) CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void WindowsSelectionDialog::SetLineCheckBox(bool checked) {
    line_ = checked;
    ShowCheckBox(kLineCheckBoxId, checked);
}

void WindowsSelectionDialog::SetFaceCheckBox(bool checked) {
    face_ = checked;
    ShowCheckBox(kFaceCheckBoxId, checked);
}

void WindowsSelectionDialog::AppendFolderRow(const std::string& name) {
    folderRows_.push_back(name);
    AddRow(window_, kFolderListId, name);
}

void WindowsSelectionDialog::AppendSelectRow(const std::string& name) {
    selectRows_.push_back(name);
    AddRow(window_, kSelectListId, name);
}

void WindowsSelectionDialog::ClearFolderList() {
    folderRows_.clear();
    if (window_ != nullptr) SendDlgItemMessageW(window_, kFolderListId, LB_RESETCONTENT, 0, 0);
}

void WindowsSelectionDialog::ClearSelectList() {
    selectRows_.clear();
    if (window_ != nullptr) SendDlgItemMessageW(window_, kSelectListId, LB_RESETCONTENT, 0, 0);
}

void WindowsSelectionDialog::SetStatus(const std::string& text) {
    status_ = text;
    if (window_ != nullptr) SetDlgItemTextW(window_, kStatusId, WideFromLiteral(text).c_str());
}

std::vector<int32_t> WindowsSelectionDialog::ChosenRows(int listId) const {
    std::vector<int32_t> rows;
    if (window_ == nullptr) return rows;
    const LRESULT count = SendDlgItemMessageW(window_, listId, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) return rows;
    std::vector<int> chosen(static_cast<std::size_t>(count));
    const LRESULT got =
        SendDlgItemMessageW(window_, listId, LB_GETSELITEMS, WPARAM(count), reinterpret_cast<LPARAM>(chosen.data()));
    for (LRESULT i = 0; i < got; ++i) rows.push_back(chosen[std::size_t(i)]);
    return rows;
}

std::string WindowsSelectionDialog::RowText(int listId, const std::vector<std::string>& rows, int32_t row) const {
    if (window_ == nullptr) {
        return row >= 0 && std::size_t(row) < rows.size() ? rows[std::size_t(row)] : std::string();
    }
    const LRESULT length = SendDlgItemMessageW(window_, listId, LB_GETTEXTLEN, WPARAM(row), 0);
    if (length == LB_ERR) return std::string();
    std::wstring text(std::size_t(length) + 1, L'\0');
    const LRESULT got =
        SendDlgItemMessageW(window_, listId, LB_GETTEXT, WPARAM(row), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : std::size_t(got));
    return LiteralFromWide(text);
}

DialogResult WindowsSelectionDialog::RunModal() {
    if (closed_) return DialogResult::Closed;
    // A dialog that cannot be built ends the run with an error; going on as after OK would merge
    // whatever the last showing left selected.
    Template dialogTemplate;
    const DLGTEMPLATE* built = nullptr;
    try {
        built = dialogTemplate.Build();
    } catch (const std::bad_alloc&) {
        return DialogResult::Failed;
    }
    window_ = CreateDialogIndirectParamW(ThisModule(), built, nullptr, &Procedure, reinterpret_cast<LPARAM>(this));
    if (window_ == nullptr) return DialogResult::Failed;
    ShowWindow(window_, SW_SHOW);
    result_ = DialogResult::Cancel;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window_ == nullptr || !IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return result_;
}

void WindowsSelectionDialog::Close() {
    closed_ = true;
    if (window_ != nullptr) {
        HWND window = window_;
        window_ = nullptr;
        DestroyWindow(window);
    }
}

void WindowsSelectionDialog::End(DialogResult result) {
    result_ = result;
    HWND window = window_;
    window_ = nullptr;
    DestroyWindow(window);
    PostQuitMessage(0);
}

void WindowsSelectionDialog::Initialise(HWND window) {
    window_ = window;
    ShowCheckBox(kLineCheckBoxId, line_);
    ShowCheckBox(kFaceCheckBoxId, face_);
    for (const std::string& name : folderRows_) AddRow(window_, kFolderListId, name);
    for (const std::string& name : selectRows_) AddRow(window_, kSelectListId, name);
    SetDlgItemTextW(window_, kStatusId, WideFromLiteral(status_).c_str());
}

void WindowsSelectionDialog::Command(int id) {
    switch (id) {
    case kAddButtonId:
        if (SelectMeshAdd(*this, alerts_) == SelectionChange::OutOfMemory) End(DialogResult::Failed);
        break;
    case kDelButtonId:
        if (SelectMeshDel(*this, alerts_) == SelectionChange::OutOfMemory) End(DialogResult::Failed);
        break;
    case kLineCheckBoxId: SetLineCheckBox(!line_); break;
    case kFaceCheckBoxId: SetFaceCheckBox(!face_); break;
    case IDOK:
        if (SelectMergeOK(alerts_)) End(DialogResult::OK);
        break;
    case IDCANCEL: End(DialogResult::Cancel); break;
    default: break;
    }
}

INT_PTR CALLBACK WindowsSelectionDialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<WindowsSelectionDialog*>(lParam)->Initialise(window);
        return TRUE;
    }
    auto* dialog = reinterpret_cast<WindowsSelectionDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr || dialog->window_ != window) return FALSE;
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) dialog->Command(LOWORD(wParam));
        return TRUE;
    case WM_CLOSE: dialog->End(DialogResult::Cancel); return TRUE;
    default: return FALSE;
    }
}

std::unique_ptr<SelectionDialog> CreateSelectionDialog(SelectionAlerts& alerts) {
    return std::make_unique<WindowsSelectionDialog>(alerts);
}
