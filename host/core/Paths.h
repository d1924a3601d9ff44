// File names are UTF-8 everywhere in the host. These turn them into the platform's paths and back,
// so that the Windows program opens any Unicode name: its narrow calls know only the system's
// code page.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace quiltor::host {

inline std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

// fopen for a UTF-8 name.
std::FILE* OpenFile(std::string_view utf8, const char* mode);

}  // namespace quiltor::host
