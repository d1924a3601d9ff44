// Drawing a document as a PNG with rsvg-convert, for the commands that offer a preview.
#include "cli/Preview.h"

#ifndef _WIN32
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <sstream>
#include <vector>

#include "model/Document.h"
#include "svg/Svg.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace quiltor::cli {

#ifdef _WIN32
// The Windows build carries no SVG renderer, so it draws no previews.
std::optional<std::string> FindProgram(const std::string&) { return std::nullopt; }
#else
std::optional<std::string> FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return std::nullopt;
}
#endif

namespace {

// The bounds of what shows: art of layers that are visible all the way up.
[[maybe_unused]] bool VisibleArtBounds(const host::Document& document, AIRealRect* bounds) {
    bool any = false;
    for (const host::Layer* layer = document.firstLayer(); layer; layer = host::NextLayerInPreorder(layer)) {
        bool shown = true;
        for (const host::Layer* l = layer; l; l = l->parent) shown = shown && l->options.visible;
        AIRealRect r;
        if (!shown || !host::ArtBounds(layer->group, &r)) continue;
        if (!any) {
            *bounds = r;
            any = true;
        } else {
            bounds->left = std::min(bounds->left, r.left);
            bounds->right = std::max(bounds->right, r.right);
            bounds->bottom = std::min(bounds->bottom, r.bottom);
            bounds->top = std::max(bounds->top, r.top);
        }
    }
    return any;
}

#ifndef _WIN32
bool RunProgram(const std::vector<std::string>& argv, std::string* why) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ);
    if (spawned != 0) {
        *why = "cannot start " + argv[0] + ": " + std::strerror(spawned);
        return false;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            *why = "lost " + argv[0] + ": " + std::strerror(errno);
            return false;
        }
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        *why = argv[0] + " failed" +
               (WIFEXITED(status) ? " (exit status " + std::to_string(WEXITSTATUS(status)) + ")" : "");
        return false;
    }
    return true;
}
#endif

void Include(AIRealRect& box, AIRealPoint p) {
    box.left = std::min(box.left, p.h);
    box.right = std::max(box.right, p.h);
    box.bottom = std::min(box.bottom, p.v);
    box.top = std::max(box.top, p.v);
}

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", v);
    return text;
}

// Path data of the outline, closed, in the viewer's axes (y downward from the page top).
std::string OutlineData(const std::vector<AIPathSegment>& outline, double pageHeight) {
    const auto at = [&](AIRealPoint p) { return Number(p.h) + "," + Number(pageHeight - p.v); };
    std::string d = "M " + at(outline.front().p);
    for (size_t i = 0; i < outline.size(); ++i) {
        const AIPathSegment& from = outline[i];
        const AIPathSegment& to = outline[(i + 1) % outline.size()];
        d += " C " + at(from.out) + " " + at(to.in) + " " + at(to.p);
    }
    return d + " Z";
}

}  // namespace

std::string PreviewSvg(const host::Document& document, const PreviewOptions& options) {
    pugi::xml_document xml;
    const std::string text = host::WriteSvgText(document);
    if (!xml.load_buffer(text.data(), text.size())) return {};
    AIRealRect box{0, document.setup().height, document.setup().width, 0};
    VisibleArtBounds(document, &box);
    for (const AIPathSegment& s : options.outline) Include(box, s.p);
    const double pageHeight = document.setup().height;
    double width = static_cast<double>(box.right) - box.left;
    double height = static_cast<double>(box.top) - box.bottom;
    const double margin = std::max(1.0, std::max(width, height) * 0.01);
    const double x = box.left - margin;
    const double y = pageHeight - box.top - margin;  // viewers count y downward from the page top
    width += 2 * margin;
    height += 2 * margin;
    const double scale = options.pixels / std::max(width, height);
    const long pixelWidth = std::max(1L, std::lround(width * scale));
    const long pixelHeight = std::max(1L, std::lround(height * scale));

    pugi::xml_node root = xml.child("svg");
    std::ostringstream viewBox;
    viewBox.precision(10);
    viewBox << x << ' ' << y << ' ' << width << ' ' << height;
    root.attribute("viewBox").set_value(viewBox.str().c_str());
    root.attribute("width").set_value((std::to_string(pixelWidth) + "px").c_str());
    root.attribute("height").set_value((std::to_string(pixelHeight) + "px").c_str());
    if (!options.outline.empty()) {
        // Widths in pixels of the picture, whatever its scale.
        pugi::xml_node path = root.append_child("path");
        path.append_attribute("d") = OutlineData(options.outline, pageHeight).c_str();
        path.append_attribute("fill") = "none";
        path.append_attribute("stroke") = "#d01c1c";
        path.append_attribute("stroke-width") = Number(2.5 / scale).c_str();
        path.append_attribute("stroke-dasharray") = (Number(12 / scale) + " " + Number(7 / scale)).c_str();
        path.append_attribute("stroke-linejoin") = "round";
    }
    std::ostringstream out;
    xml.save(out, "", pugi::format_raw);
    return out.str();
}

bool WritePreview(const host::Document& document, const std::string& png, const PreviewOptions& options,
                  std::string* why) {
#ifdef _WIN32
    (void)document, (void)png, (void)options;
    *why = "the Windows build draws no previews";
    return false;
#else
    const std::string svg = PreviewSvg(document, options);
    if (svg.empty()) {
        *why = "cannot read back the map";
        return false;
    }
    std::error_code ec;
    std::filesystem::path scratch = std::filesystem::temp_directory_path(ec);
    if (ec) scratch = ".";
    std::string svgPath = (scratch / "quiltor-preview-XXXXXX").string();
    const int fd = ::mkstemp(svgPath.data());
    if (fd < 0) {
        *why = "cannot make a scratch file in " + scratch.string() + ": " + std::strerror(errno);
        return false;
    }
    ::close(fd);
    struct Remove {
        std::string path;
        ~Remove() { std::remove(path.c_str()); }
    } remove{svgPath};
    std::ofstream file(svgPath, std::ios::binary);
    if (!(file << svg) || !(file.flush())) {
        *why = "cannot write " + svgPath;
        return false;
    }
    return RunProgram(
        {"rsvg-convert", "--unlimited", "--background-color", "white", "--format", "png", "-o", png, svgPath}, why);
#endif
}

}  // namespace quiltor::cli
