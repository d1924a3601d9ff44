// What the host keeps behind the string and file-path handles, and conversions between the
// encodings the plug-ins use (UTF-8, UTF-16, Shift-JIS).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "AIHost.h"

struct _AIUnicodeString {
    std::u16string text;
};

struct _AIFilePath {
    std::string path;  // UTF-8, "/" separated
};

namespace quiltor::host {

// Decoding fails (nullopt) on bytes that are not valid in the encoding.
std::optional<std::u16string> DecodeUtf8(std::string_view bytes);
std::optional<std::u16string> DecodeShiftJis(std::string_view bytes);
std::string EncodeUtf8(std::u16string_view text);
// Characters Shift-JIS lacks become '?'.
std::string EncodeShiftJis(std::u16string_view text);

// Convenience for host code holding a handle.
std::string Utf8Of(AIUnicodeStringRef str);
void AssignUtf8(AIUnicodeStringRef str, std::string_view utf8);

}  // namespace quiltor::host
