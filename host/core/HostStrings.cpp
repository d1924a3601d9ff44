#include "core/HostStrings.h"

#include "core/Charsets.h"

#include <cstring>

namespace quiltor::host {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Walks the code points of UTF-16 text; a lone surrogate counts as U+FFFD.
template <typename Visit>
void ForEachCodePoint(std::u16string_view text, Visit visit) {
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t u = text[i];
        if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            visit(0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
            visit(kReplacement);
        } else {
            visit(char32_t(u));
        }
    }
}

std::optional<Charset> CharsetOf(int32_t encoding) {
    switch (encoding) {
    case kAIShiftJISCharacterEncoding: return Charset::ShiftJis;
    case kAIRomanCharacterEncoding: return Charset::MacRoman;
    default: return std::nullopt;
    }
}

std::optional<std::u16string> DecodeUtf16Bytes(std::string_view bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::u16string out(bytes.size() / 2, u'\0');
    std::memcpy(out.data(), bytes.data(), bytes.size());
    return out;
}

std::string EncodeUtf16Bytes(std::u16string_view text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
}

}  // namespace

std::optional<std::u16string> DecodeUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        size_t n;
        char32_t cp;
        char32_t min;
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            n = 2, cp = b & 0x1F, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            n = 3, cp = b & 0x0F, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            n = 4, cp = b & 0x07, min = 0x10000;
        } else {
            return std::nullopt;
        }
        if (i + n > bytes.size()) return std::nullopt;
        for (size_t k = 1; k < n; ++k) {
            unsigned char c = static_cast<unsigned char>(bytes[i + k]);
            if ((c & 0xC0) != 0x80) return std::nullopt;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
        AppendUtf16(out, cp);
        i += n;
    }
    return out;
}

std::optional<std::u16string> DecodeShiftJis(std::string_view bytes) { return DecodeCharset(Charset::ShiftJis, bytes); }

std::string EncodeUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    ForEachCodePoint(text, [&](char32_t cp) { AppendUtf8(out, cp); });
    return out;
}

std::string EncodeShiftJis(std::u16string_view text) { return EncodeCharset(Charset::ShiftJis, text); }

int32_t ResolvePlatformEncoding(int32_t encoding) {
    if (encoding != kAIPlatformCharacterEncoding) return encoding;
#ifdef _WIN32
    // The host of the Windows plug-ins runs on Japanese Windows, whose code page is 932.
    return kAIShiftJISCharacterEncoding;
#else
    return kAIUTF8CharacterEncoding;
#endif
}

std::string Utf8FromPlatform(std::string_view bytes) {
    const auto text = DecodeBytes(bytes, kAIPlatformCharacterEncoding);
    return text ? EncodeUtf8(*text) : std::string(bytes);
}

bool IsKnownEncoding(int32_t encoding) {
    switch (encoding) {
    case kAIPlatformCharacterEncoding:
    case kAIUTF8CharacterEncoding:
    case kAIUTF16CharacterEncoding:
    case kAIShiftJISCharacterEncoding:
    case kAIRomanCharacterEncoding: return true;
    default: return false;
    }
}

std::optional<std::u16string> DecodeBytes(std::string_view bytes, int32_t encoding) {
    encoding = ResolvePlatformEncoding(encoding);
    switch (encoding) {
    case kAIUTF8CharacterEncoding: return DecodeUtf8(bytes);
    case kAIUTF16CharacterEncoding: return DecodeUtf16Bytes(bytes);
    default:
        if (const auto charset = CharsetOf(encoding)) return DecodeCharset(*charset, bytes);
        return std::nullopt;
    }
}

std::optional<std::string> EncodeBytes(std::u16string_view text, int32_t encoding) {
    encoding = ResolvePlatformEncoding(encoding);
    switch (encoding) {
    case kAIUTF8CharacterEncoding: return EncodeUtf8(text);
    case kAIUTF16CharacterEncoding: return EncodeUtf16Bytes(text);
    default:
        if (const auto charset = CharsetOf(encoding)) return EncodeCharset(*charset, text);
        return std::nullopt;
    }
}

size_t FitWholeCharacters(std::string_view encoded, int32_t encoding, size_t room) {
    size_t fitted = 0;
    size_t i = 0;
    while (i < encoded.size()) {
        unsigned char b = static_cast<unsigned char>(encoded[i]);
        size_t n = 1;
        switch (ResolvePlatformEncoding(encoding)) {
        case kAIUTF8CharacterEncoding:
            while (i + n < encoded.size() && (static_cast<unsigned char>(encoded[i + n]) & 0xC0) == 0x80) ++n;
            break;
        case kAIShiftJISCharacterEncoding:
            if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) n = 2;
            break;
        case kAIUTF16CharacterEncoding: {
            n = 2;
            char16_t unit;
            if (i + 2 <= encoded.size()) {
                std::memcpy(&unit, encoded.data() + i, 2);
                if (IsHighSurrogate(unit) && i + 4 <= encoded.size()) {
                    char16_t next;
                    std::memcpy(&next, encoded.data() + i + 2, 2);
                    if (IsLowSurrogate(next)) n = 4;
                }
            }
            break;
        }
        default: break;
        }
        if (i + n > encoded.size()) n = encoded.size() - i;
        if (fitted + n > room) break;
        fitted += n;
        i += n;
    }
    return fitted;
}

std::string DescribeError(AIErr error) {
    uint32_t u = static_cast<uint32_t>(error);
    char c[4] = {char(u >> 24), char(u >> 16), char(u >> 8), char(u)};
    bool printable = true;
    for (char ch : c) printable = printable && ch >= 0x20 && ch < 0x7F;
    if (printable && error != 0) return "'" + std::string(c, 4) + "'";
    return std::to_string(error);
}

std::string Utf8Of(AIUnicodeStringRef str) { return str ? EncodeUtf8(str->text) : std::string(); }

void AssignUtf8(AIUnicodeStringRef str, std::string_view utf8) {
    if (!str) return;
    // Host code only hands in its own UTF-8; anything else is kept readable rather than dropped.
    if (auto decoded = DecodeUtf8(utf8)) {
        str->text = std::move(*decoded);
    } else {
        str->text.clear();
        for (unsigned char b : utf8) str->text.push_back(b < 0x80 ? char16_t(b) : char16_t(kReplacement));
    }
}

}  // namespace quiltor::host
