// ai::UnicodeString: an owned host string (AIUnicodeStringSuite), made from
// bytes in an encoding or from UTF-16, and written back into byte buffers.
// Every failed host call throws ai::Error, except that getToBuffer treats a cut
// text as success.
#ifndef QUILTOR_COMMON_IAIUNICODESTRING_H
#define QUILTOR_COMMON_IAIUNICODESTRING_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "AIHost.h"
#include "IAIError.h"

namespace ai {

class UnicodeString {
public:
    UnicodeString();
    // Bytes in the encoding, always named: the plug-ins' own texts are in kLiteralEncoding
    // (LiteralEncoding.h), which is not the host's platform encoding everywhere.
    explicit UnicodeString(std::string_view bytes, int32_t encoding);
    // A null text gives the empty string.
    explicit UnicodeString(const char* bytes, int32_t encoding);
    static UnicodeString FromUTF8(std::string_view utf8);
    static UnicodeString FromUTF16(std::u16string_view units);

    UnicodeString(const UnicodeString& other);
    UnicodeString(UnicodeString&& other) noexcept;
    UnicodeString& operator=(const UnicodeString& other);
    UnicodeString& operator=(UnicodeString&& other) noexcept;
    ~UnicodeString();

    UnicodeString& assign(const UnicodeString& other);
    UnicodeString& append(const UnicodeString& other);
    UnicodeString& operator+=(const UnicodeString& other) { return append(other); }

    // <0, 0 or >0, comparing UTF-16 code units.
    int compare(const UnicodeString& other) const;
    bool operator==(const UnicodeString& other) const { return compare(other) == 0; }

    // Length in UTF-16 code units.
    std::size_t length() const;
    bool empty() const { return length() == 0; }

    // Writes the text in the encoding into buffer, zero-terminated, never more
    // than size bytes and never cutting a character in half; a text too long
    // is cut at the last whole character that fits. Returns the bytes written
    // without the zero. Writes nothing when buffer is null or size is 0.
    std::size_t getToBuffer(char* buffer, std::size_t size, int32_t encoding) const;

    std::string as_UTF8() const;
    // The whole text in the encoding, never cut.
    std::string as_Encoded(int32_t encoding) const;
    std::u16string as_UTF16() const;

    // The host's handle, owned by this object; valid while it lives.
    AIUnicodeStringRef get() const;

private:
    AIUnicodeStringRef handle() const;

    // Null only after a move; the host string is then made on first use.
    mutable AIUnicodeStringRef fString = nullptr;
};

}  // namespace ai

#endif
