#include "core/Paths.h"

namespace quiltor::host {

std::FILE* OpenFile(std::string_view utf8, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return ::_wfopen(PathFromUtf8(utf8).c_str(), wideMode.c_str());
#else
    return std::fopen(std::string(utf8).c_str(), mode);
#endif
}

}  // namespace quiltor::host
