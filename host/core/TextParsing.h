// Pieces of plain text as the host's attribute and range strings are written.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace quiltor::host {

// Splits on any run of the separator characters, dropping empty pieces.
std::vector<std::string_view> Split(std::string_view text, std::string_view separators);
// Without the white space around it.
std::string_view Trim(std::string_view text);
// A whole decimal integer, white space around it allowed; nullopt for anything else.
std::optional<long> ParseInt(std::string_view text);

}  // namespace quiltor::host
