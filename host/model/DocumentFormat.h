// How documents are kept on disk. The model reads and writes files only through this interface:
// a format folder implements it and the host hands the workspace the one it uses.
#pragma once

#include <memory>
#include <string>

#include "AIHost.h"

namespace quiltor::host {

class Document;
class StyleTable;

class DocumentFormat {
public:
    virtual ~DocumentFormat() = default;

    // Reads the file into a new document whose appearances are interned in styles. On failure
    // returns null, fills *code with kFileNotFoundErr (no readable file) or kBadFileFormatErr (not
    // a document of this format) and *error with a one-line reason.
    virtual std::unique_ptr<Document> read(const std::string& path, StyleTable& styles, std::string* error,
                                           AIErr* code) const = 0;
    // Writes the document; on failure returns false and fills *error. The file is replaced only
    // once the whole document has been written.
    virtual bool write(const Document& document, const std::string& path, std::string* error) const = 0;
};

}  // namespace quiltor::host
