// A document from any bytes: the reader refuses what it cannot take, with a reason, and what it
// takes it writes back in a form it reads again to the very same text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/ArtStyle.h"
#include "model/Document.h"
#include "svg/Svg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quiltor::host;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    StyleTable styles;
    std::string error;
    AIErr code = kNoErr;
    const auto document = ReadSvgText(text, styles, &error, &code);
    if (!document) {
        if (error.empty() || code == kNoErr) std::abort();
        return 0;
    }
    const std::string written = WriteSvgText(*document);
    StyleTable again;
    const auto reread = ReadSvgText(written, again, &error, &code);
    if (!reread || WriteSvgText(*reread) != written) std::abort();
    return 0;
}
