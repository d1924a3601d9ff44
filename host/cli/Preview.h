// Drawing a document as a PNG, for the commands that offer a preview.
#pragma once

#include <optional>
#include <string>

namespace quiltor::host {
class Document;
}

namespace quiltor::cli {

// The program's full path on PATH, or nullopt.
std::optional<std::string> FindProgram(const std::string& name);

// Draws the whole document, also where its art reaches beyond the page, on white, its longer
// side `pixels` long, with rsvg-convert. On failure returns false and says why.
bool WritePreview(const host::Document& document, const std::string& png, int pixels, std::string* why);

}  // namespace quiltor::cli
