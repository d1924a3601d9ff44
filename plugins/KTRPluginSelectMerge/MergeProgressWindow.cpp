// The Windows progress window of a merge run: a top-most captioned pop-up holding a centred caption
// and a bar. The run keeps the main thread busy, so after each visible change the window handles
// its own pending messages (only its own: the host's wait for the host), which paints it and keeps
// it from being taken for a hung window.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <memory>

#include "MergeProgress.h"
#include "core/WindowsModule.h"
#include "core/WindowsText.h"

namespace {

constexpr wchar_t kClassName[] = L"Default Class Name";
constexpr char kWindowTitle[] = "Quiltor セレクトマージ";
constexpr int kWidth = 300;
constexpr int kHeight = 79;

class ProgressWindow final : public MergeProgress {
public:
    ProgressWindow() = default;
    ~ProgressWindow() override {
        if (window_ != nullptr) {
            ShowWindow(window_, SW_HIDE);
            DestroyWindow(window_);
        }
        if (registered_) UnregisterClassW(kClassName, ThisModule());
        if (font_ != nullptr) DeleteObject(font_);
    }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // False when a window could not be made; what was made goes with the object.
    bool Create() {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = ThisModule();
        windowClass.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = kClassName;
        registered_ = RegisterClassW(&windowClass) != 0;
        if (!registered_ && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

        const int x = (GetSystemMetrics(SM_CXSCREEN) - 400) / 2;
        const int y = (GetSystemMetrics(SM_CYSCREEN) - 300) / 2;
        window_ =
            CreateWindowExW(WS_EX_TOPMOST, kClassName, WideFromLiteral(kWindowTitle).c_str(), WS_POPUP | WS_CAPTION, x,
                            y, kWidth, kHeight, nullptr, nullptr, ThisModule(), nullptr);
        if (window_ == nullptr) return false;
        caption_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 0, 300, 30, window_,
                                   nullptr, ThisModule(), nullptr);
        bar_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 30, 293, 20, window_, nullptr,
                               ThisModule(), nullptr);
        if (caption_ == nullptr || bar_ == nullptr) return false;
        font_ = CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg");
        if (font_ != nullptr) SendMessageW(caption_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        Refresh();
        return true;
    }

    void SetCaption(const char* text) override {
        SetWindowTextW(caption_, WideFromLiteral(text).c_str());
        Refresh();
    }

    void SetRange(int32_t last) override {
        last_ = last;
        painted_ = -1;
        SendMessageW(bar_, PBM_SETRANGE32, 0, last);
    }

    void SetPosition(int32_t position) override {
        SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
        // A bar of a few hundred pixels needs no more paints than it has pixels.
        const int32_t pixel = last_ > 0 ? static_cast<int32_t>(int64_t(position) * 293 / last_) : position;
        if (pixel != painted_) {
            painted_ = pixel;
            Refresh();
        }
    }

private:
    void Refresh() {
        UpdateWindow(window_);
        MSG message;
        while (PeekMessageW(&message, window_, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }

    HWND window_ = nullptr;
    HWND caption_ = nullptr;
    HWND bar_ = nullptr;
    HFONT font_ = nullptr;
    bool registered_ = false;
    int32_t last_ = 0;
    int32_t painted_ = -1;
};

}  // namespace

std::unique_ptr<MergeProgress> MakeMergeProgressWindow() {
    auto window = std::make_unique<ProgressWindow>();
    if (!window->Create()) return nullptr;
    return window;
}
