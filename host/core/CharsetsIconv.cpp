#include <iconv.h>

#include <cerrno>

#include "core/Charsets.h"
#include "core/HostStrings.h"

namespace quiltor::host {
namespace {

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of in; nullopt on an invalid or incomplete sequence.
    std::optional<std::string> convert(std::string_view in) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char chunk[256];
        while (srcLeft > 0) {
            char* dst = chunk;
            size_t dstLeft = sizeof chunk;
            size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(chunk, sizeof chunk - dstLeft);
            if (r == static_cast<size_t>(-1) && errno != E2BIG) return std::nullopt;
        }
        char* dst = chunk;
        size_t dstLeft = sizeof chunk;
        iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
        out.append(chunk, sizeof chunk - dstLeft);
        return out;
    }

private:
    iconv_t cd_;
};

// glibc's CP932 is the Windows flavour of Shift-JIS.
const char* NameOf(Charset charset) { return charset == Charset::ShiftJis ? "CP932" : "MACINTOSH"; }

// The length of the UTF-8 character that starts with lead.
size_t Utf8Length(unsigned char lead) { return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4; }

}  // namespace

std::optional<std::u16string> DecodeCharset(Charset charset, std::string_view bytes) {
    Iconv cd("UTF-8", NameOf(charset));
    if (!cd.ok()) return std::nullopt;
    auto utf8 = cd.convert(bytes);
    if (!utf8) return std::nullopt;
    return DecodeUtf8(*utf8);
}

std::string EncodeCharset(Charset charset, std::u16string_view text) {
    Iconv cd(NameOf(charset), "UTF-8");
    const std::string utf8 = EncodeUtf8(text);
    std::string out;
    // One character at a time, so a character the charset lacks becomes '?' and the rest goes on.
    for (size_t i = 0; i < utf8.size();) {
        const size_t n = Utf8Length(static_cast<unsigned char>(utf8[i]));
        std::optional<std::string> converted;
        if (cd.ok()) converted = cd.convert(std::string_view(utf8).substr(i, n));
        out += converted && !converted->empty() ? *converted : std::string("?");
        i += n;
    }
    return out;
}

}  // namespace quiltor::host
