#include "svg/Svg.h"

#include "model/Document.h"

namespace quiltor::host {

std::unique_ptr<Document> SvgDocumentFormat::read(const std::string& path, StyleTable& styles, std::string* error,
                                                  AIErr* code) const {
    return ReadSvgFile(path, styles, error, code);
}

bool SvgDocumentFormat::write(const Document& document, const std::string& path, std::string* error) const {
    return WriteSvgFile(document, path, error);
}

}  // namespace quiltor::host
