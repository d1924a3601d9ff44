#include <windows.h>

#include "core/Charsets.h"

namespace quiltor::host {
namespace {

UINT CodePageOf(Charset charset) { return charset == Charset::ShiftJis ? 932 : 10000; }

}  // namespace

std::optional<std::u16string> DecodeCharset(Charset charset, std::string_view bytes) {
    if (bytes.empty()) return std::u16string();
    const UINT page = CodePageOf(charset);
    const int n = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), wide.data(), n);
    return std::u16string(wide.begin(), wide.end());
}

std::string EncodeCharset(Charset charset, std::u16string_view text) {
    if (text.empty()) return std::string();
    const std::wstring wide(text.begin(), text.end());
    const UINT page = CodePageOf(charset);
    const int n = WideCharToMultiByte(page, 0, wide.data(), int(wide.size()), nullptr, 0, "?", nullptr);
    std::string out(size_t(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(page, 0, wide.data(), int(wide.size()), out.data(), n, "?", nullptr);
    return out;
}

}  // namespace quiltor::host
