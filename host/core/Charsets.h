// Byte encodings beyond UTF-8 and UTF-16, converted by the platform's own tables: iconv where
// there is one, the code pages of Windows there.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quiltor::host {

enum class Charset {
    ShiftJis,  // the Windows flavour (code page 932), the one the plug-ins' texts are written in
    MacRoman,
};

// nullopt on bytes that are not valid in the charset.
std::optional<std::u16string> DecodeCharset(Charset charset, std::string_view bytes);
// A character the charset lacks becomes '?'.
std::string EncodeCharset(Charset charset, std::u16string_view text);

}  // namespace quiltor::host
