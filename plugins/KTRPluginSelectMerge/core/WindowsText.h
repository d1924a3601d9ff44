// The Windows build's texts are Shift-JIS bytes (code page 932); its windows and file calls take
// UTF-16. These convert with the code page named, so nothing depends on the system's own.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

inline constexpr UINT kShiftJisCodePage = 932;

// Empty for bytes that are not Shift-JIS.
inline std::wstring WideFromLiteral(std::string_view bytes) {
    if (bytes.empty()) return std::wstring();
    const int n =
        MultiByteToWideChar(kShiftJisCodePage, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(kShiftJisCodePage, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), wide.data(), n);
    return wide;
}

// A character Shift-JIS lacks becomes '?'.
inline std::string LiteralFromWide(std::wstring_view wide) {
    if (wide.empty()) return std::string();
    const int n =
        WideCharToMultiByte(kShiftJisCodePage, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(kShiftJisCodePage, 0, wide.data(), int(wide.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}
