// Drawing a document as a PNG, for the commands that offer a preview.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "AIHost.h"

namespace quiltor::host {
class Document;
}

namespace quiltor::cli {

// The program's full path on PATH, or nullopt.
std::optional<std::string> FindProgram(const std::string& name);

struct PreviewOptions {
    int pixels = 1600;  // the longer side
    // Drawn over the art, dashed, in document coordinates (a cut's outline); empty for none.
    std::vector<AIPathSegment> outline;
};

// The document as the preview draws it: the whole of its visible art (and the outline), also
// where it reaches beyond the page, on a view box with a small margin, `pixels` on its longer side.
// Empty when the document does not write back.
std::string PreviewSvg(const host::Document& document, const PreviewOptions& options);

// Draws PreviewSvg on white with rsvg-convert. On failure returns false and says why.
bool WritePreview(const host::Document& document, const std::string& png, const PreviewOptions& options,
                  std::string* why);

}  // namespace quiltor::cli
