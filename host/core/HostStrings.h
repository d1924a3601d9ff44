// What the host keeps behind the string and file-path handles, and conversions between the
// encodings the plug-ins use (UTF-8, UTF-16, Shift-JIS).
#pragma once

#include <cstddef>
#include <cstdint>
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

// The encoding kAIPlatformCharacterEncoding stands for: UTF-8, Shift-JIS on Windows. The names
// a plug-in gives as plain C strings (menu groups, items, notifiers) are in it too.
int32_t ResolvePlatformEncoding(int32_t encoding);
// Such a name as UTF-8 for the transcript; bytes the platform encoding rejects are kept as they are.
std::string Utf8FromPlatform(std::string_view bytes);

// Any of the kAI...CharacterEncoding values. Roman is Mac Roman.
// UTF-16 bytes are in the machine's byte order.
std::optional<std::u16string> DecodeBytes(std::string_view bytes, int32_t encoding);
// nullopt for an encoding the host does not know.
std::optional<std::string> EncodeBytes(std::u16string_view text, int32_t encoding);
// The length of the longest prefix of encoded text that fits in room bytes without cutting a character.
size_t FitWholeCharacters(std::string_view encoded, int32_t encoding, size_t room);
bool IsKnownEncoding(int32_t encoding);

// An error code as its four characters ('CANT') when they are printable, else as a number.
std::string DescribeError(AIErr error);

// Convenience for host code holding a handle.
std::string Utf8Of(AIUnicodeStringRef str);
void AssignUtf8(AIUnicodeStringRef str, std::string_view utf8);

}  // namespace quiltor::host
