// Documents on disk: SVG that common viewers and editors show right side up, with the host's own
// namespace carrying what SVG cannot say, so that a document written and read again is the same.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "AIHost.h"
#include "model/DocumentFormat.h"

namespace quiltor::host {

class Document;
class StyleTable;

// The namespace of the host's own attributes.
inline constexpr const char* kQuiltorNamespace = "urn:quiltor:host";

// Reads a document. The format is recognised by content, whatever the file is called. On failure
// returns null, fills *code with kFileNotFoundErr (no readable file) or kBadFileFormatErr (not an
// SVG document) and *error with a one-line reason.
std::unique_ptr<Document> ReadSvgFile(const std::string& path, StyleTable& styles, std::string* error, AIErr* code);
std::unique_ptr<Document> ReadSvgText(std::string_view text, StyleTable& styles, std::string* error, AIErr* code);

// Writes the document; on failure returns false and fills *error. The file is replaced only once
// the whole document has been written.
bool WriteSvgFile(const Document& document, const std::string& path, std::string* error);
std::string WriteSvgText(const Document& document);

// The files of the workspace in this format, as ReadSvgFile and WriteSvgFile do them.
class SvgDocumentFormat final : public DocumentFormat {
public:
    std::unique_ptr<Document> read(const std::string& path, StyleTable& styles, std::string* error,
                                   AIErr* code) const override;
    bool write(const Document& document, const std::string& path, std::string* error) const override;
};

}  // namespace quiltor::host
