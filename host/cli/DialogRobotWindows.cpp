#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "cli/DialogRobot.h"

namespace quiltor::cli {
namespace {

// What the dialog offers to be driven by: its title and control ids.
constexpr char kDialogTitle[] = "Quiltor セレクトマージ - ファイル選択";
constexpr int kFolderListId = 1021;
constexpr int kAddButtonId = 1023;
constexpr int kLineCheckBoxId = 1026;
constexpr int kFaceCheckBoxId = 1027;

std::wstring Wide(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(size_t(n > 0 ? n : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size_t(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), utf8.data(), n, nullptr, nullptr);
    return utf8;
}

// Sends the message to the dialog's thread and waits for it to be handled; a minute at most.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 60000, &result);
    return LRESULT(result);
}

void Click(HWND dialog, int id) {
    Send(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string RowText(HWND list, int row) {
    const LRESULT length = Send(list, LB_GETTEXTLEN, WPARAM(row), 0);
    if (length <= 0) return std::string();
    std::wstring text(size_t(length) + 1, L'\0');
    const LRESULT got = Send(list, LB_GETTEXT, WPARAM(row), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? size_t(got) : 0);
    return Utf8(text);
}

const char* OnOff(bool on) { return on ? "on" : "off"; }

// The dialog of this process only: another program may show one of the same title.
HWND FindOwnDialog(const std::wstring& title) {
    struct Search {
        const std::wstring& title;
        HWND found = nullptr;
    } search{title};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process != GetCurrentProcessId()) return TRUE;
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
            text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
            if (std::wstring(name) != L"#32770" || text != s.title) return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

DialogRobot::DialogRobot(Plan plan, Note note)
    : plan_(std::move(plan)), note_(std::move(note)), thread_([this] { Watch(); }) {}

bool DialogRobot::WindowShown() { return true; }

DialogRobot::~DialogRobot() {
    stop_ = true;
    thread_.join();
}

void DialogRobot::Watch() {
    const std::wstring title = Wide(kDialogTitle);
    HWND handled = nullptr;
    int showings = 0;
    while (!stop_) {
        HWND dialog = FindOwnDialog(title);
        if (dialog == nullptr) {
            handled = nullptr;
        } else if (dialog != handled) {
            handled = dialog;
            if (++showings > 1) {
                note_(std::string("DIALOG: ") + kDialogTitle + " shown again -> closed");
                PostMessageW(dialog, WM_CLOSE, 0, 0);
                continue;
            }
            const HWND list = GetDlgItem(dialog, kFolderListId);
            const int rows = int(Send(list, LB_GETCOUNT, 0, 0));
            int chosen = 0;
            for (int row = 0; row < rows; ++row) {
                const std::string name = RowText(list, row);
                const bool wanted =
                    plan_.tiles.empty() || std::find(plan_.tiles.begin(), plan_.tiles.end(), name) != plan_.tiles.end();
                if (!wanted) continue;
                Send(list, LB_SETSEL, TRUE, row);
                ++chosen;
            }
            Click(dialog, kAddButtonId);
            for (auto [id, wanted] :
                 {std::pair{kLineCheckBoxId, plan_.lineBox}, std::pair{kFaceCheckBoxId, plan_.faceBox}}) {
                if ((Send(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED) != wanted) Click(dialog, id);
            }
            note_(std::string("DIALOG: ") + kDialogTitle + " -> " + std::to_string(chosen) + " of " +
                  std::to_string(rows) + " added, line join " + OnOff(plan_.lineBox) + ", face join " +
                  OnOff(plan_.faceBox) + ", OK");
            Click(dialog, IDOK);
        }
        Sleep(10);
    }
}

}  // namespace quiltor::cli
