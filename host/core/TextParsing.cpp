#include "core/TextParsing.h"

#include <charconv>

namespace quiltor::host {

std::optional<long> ParseInt(std::string_view text) {
    text = Trim(text);
    long value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::vector<std::string_view> Split(std::string_view text, std::string_view separators) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of(separators, start);
        const size_t stop = end == std::string_view::npos ? text.size() : end;
        if (stop > start) pieces.push_back(text.substr(start, stop - start));
        start = stop + 1;
    }
    return pieces;
}

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

}  // namespace quiltor::host
