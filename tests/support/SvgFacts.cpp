#include "SvgFacts.h"

#include <pugixml.hpp>

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace testsupport {

namespace {

bool IsLayer(const pugi::xml_node& node) {
    return std::strcmp(node.attribute("inkscape:groupmode").value(), "layer") == 0;
}

void Walk(const pugi::xml_node& node, int depth, SvgFacts& facts) {
    for (const pugi::xml_node& child : node.children()) {
        const char* name = child.name();
        if (const char* colon = std::strchr(name, ':')) name = colon + 1;
        if (std::strcmp(name, "g") == 0 && IsLayer(child)) {
            facts.layers.push_back({depth, child.attribute("inkscape:label").value()});
            Walk(child, depth + 1, facts);
        } else if (std::strcmp(name, "path") == 0) {
            facts.paths.push_back(PathDataAnchors(child.attribute("d").value()));
        } else if (std::strcmp(name, "text") == 0) {
            facts.labels.push_back(
                {child.child_value(), {child.attribute("x").as_double(), child.attribute("y").as_double()}});
        } else {
            Walk(child, depth, facts);
        }
    }
}

}  // namespace

std::vector<SvgPoint> PathDataAnchors(const char* d) {
    std::vector<SvgPoint> anchors;
    size_t need = 0;  // numbers to an anchor under the current command
    std::vector<double> numbers;
    for (const char* p = d; *p;) {
        if (std::isalpha(static_cast<unsigned char>(*p)) && *p != 'e' && *p != 'E') {
            need = *p == 'C' ? 6 : (*p == 'M' || *p == 'L') ? 2 : 0;
            numbers.clear();
            ++p;
            continue;
        }
        char* end = nullptr;
        const double v = std::strtod(p, &end);
        if (end == p) {
            ++p;
            continue;
        }
        p = end;
        if (need == 0) continue;
        numbers.push_back(v);
        if (numbers.size() == need) {
            anchors.push_back({numbers[need - 2], numbers[need - 1]});
            numbers.clear();
        }
    }
    return anchors;
}

std::optional<SvgFacts> ReadSvgFacts(const std::filesystem::path& file) {
    pugi::xml_document document;
    if (!document.load_file(file.c_str())) return std::nullopt;
    SvgFacts facts;
    Walk(document, 0, facts);
    return facts;
}

}  // namespace testsupport
