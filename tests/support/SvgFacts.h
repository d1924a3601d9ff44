// What an SVG file shows, read with pugixml alone: for tests and fuzz targets that judge the host's
// documents and so must not read them through the host.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

struct SvgPoint {
    double x = 0, y = 0;  // SVG axes: y grows downward
};

struct SvgLabel {
    std::string text;
    SvgPoint at;
};

struct SvgLayer {
    int depth = 0;  // 0 for a top-level layer
    std::string title;
};

struct SvgFacts {
    std::vector<std::vector<SvgPoint>> paths;  // the anchors of each path element, in order
    std::vector<SvgLabel> labels;
    std::vector<SvgLayer> layers;  // in preorder
};

// The anchors of path data as the host writes it: absolute M, L and C commands, Z.
std::vector<SvgPoint> PathDataAnchors(const char* d);

// Nullopt when the file is not an XML document.
std::optional<SvgFacts> ReadSvgFacts(const std::filesystem::path& file);

}  // namespace testsupport
