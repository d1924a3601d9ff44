#include "IAIUnicodeString.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "Suites.h"

namespace ai {

namespace {

const AIUnicodeStringSuite& Suite() {
    if (sAIUnicodeString == nullptr) throw Error(kSPSuiteNotFoundError);
    return *sAIUnicodeString;
}

int32_t ClampLength(std::size_t length) {
    if (length > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) throw Error(kBadParameterErr);
    return static_cast<int32_t>(length);
}

}  // namespace

UnicodeString::UnicodeString() { check_ai_error(Suite().Initialize(&fString)); }

UnicodeString::UnicodeString(std::string_view bytes, int32_t encoding) : UnicodeString() {
    if (!bytes.empty())
        check_ai_error(Suite().SetFromBytes(fString, bytes.data(), ClampLength(bytes.size()), encoding));
}

UnicodeString::UnicodeString(const char* bytes, int32_t encoding)
    : UnicodeString(bytes != nullptr ? std::string_view(bytes) : std::string_view(), encoding) {}

UnicodeString UnicodeString::FromUTF8(std::string_view utf8) { return UnicodeString(utf8, kAIUTF8CharacterEncoding); }

UnicodeString UnicodeString::FromUTF16(std::u16string_view units) {
    UnicodeString result;
    if (!units.empty()) {
        static_assert(sizeof(char16_t) == sizeof(uint16_t));
        check_ai_error(Suite().SetFromUTF16(result.fString, reinterpret_cast<const uint16_t*>(units.data()),
                                            ClampLength(units.size())));
    }
    return result;
}

UnicodeString::UnicodeString(const UnicodeString& other) : UnicodeString() { assign(other); }

UnicodeString::UnicodeString(UnicodeString&& other) noexcept : fString(std::exchange(other.fString, nullptr)) {}

UnicodeString& UnicodeString::operator=(const UnicodeString& other) { return assign(other); }

UnicodeString& UnicodeString::operator=(UnicodeString&& other) noexcept {
    std::swap(fString, other.fString);
    return *this;
}

UnicodeString::~UnicodeString() {
    // Without the suite the host has already let go of its strings.
    if (fString != nullptr && sAIUnicodeString != nullptr) sAIUnicodeString->Destroy(fString);
}

AIUnicodeStringRef UnicodeString::handle() const {
    if (fString == nullptr) check_ai_error(Suite().Initialize(&fString));
    return fString;
}

AIUnicodeStringRef UnicodeString::get() const { return handle(); }

UnicodeString& UnicodeString::assign(const UnicodeString& other) {
    if (this != &other) check_ai_error(Suite().Assign(handle(), other.handle()));
    return *this;
}

UnicodeString& UnicodeString::append(const UnicodeString& other) {
    // Appending a string to itself must read the whole of it first.
    if (this == &other) {
        const UnicodeString copy(other);
        return append(copy);
    }
    check_ai_error(Suite().Append(handle(), other.handle()));
    return *this;
}

int UnicodeString::compare(const UnicodeString& other) const {
    int32_t result = 0;
    check_ai_error(Suite().Compare(handle(), other.handle(), &result));
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

std::size_t UnicodeString::length() const {
    int32_t units = 0;
    check_ai_error(Suite().Length(handle(), &units));
    return units > 0 ? static_cast<std::size_t>(units) : 0;
}

std::size_t UnicodeString::getToBuffer(char* buffer, std::size_t size, int32_t encoding) const {
    if (buffer == nullptr || size == 0) return 0;
    buffer[0] = '\0';
    const int32_t capacity = static_cast<int32_t>(
        std::min<std::size_t>(size, static_cast<std::size_t>(std::numeric_limits<int32_t>::max())));
    int32_t written = 0;
    const AIErr error = Suite().GetToBuffer(handle(), buffer, capacity, encoding, &written);
    if (error != kNoErr && error != kBufferTooSmallErr) {
        buffer[0] = '\0';
        throw Error(error);
    }
    // Whatever the host reports, the text ends inside the buffer.
    written = std::clamp(written, 0, capacity - 1);
    buffer[written] = '\0';
    return static_cast<std::size_t>(written);
}

std::string UnicodeString::as_UTF8() const { return as_Encoded(kAIUTF8CharacterEncoding); }

std::string UnicodeString::as_Encoded(int32_t encoding) const {
    // A UTF-16 unit never needs more than three bytes in UTF-8, two in Shift-JIS.
    std::string text(length() * 3 + 1, '\0');
    text.resize(getToBuffer(text.data(), text.size(), encoding));
    return text;
}

std::u16string UnicodeString::as_UTF16() const {
    std::u16string units(length(), u'\0');
    if (units.empty()) return units;
    int32_t count = 0;
    check_ai_error(
        Suite().GetUTF16(handle(), reinterpret_cast<uint16_t*>(units.data()), ClampLength(units.size()), &count));
    units.resize(static_cast<std::size_t>(std::clamp<int32_t>(count, 0, ClampLength(units.size()))));
    return units;
}

}  // namespace ai
