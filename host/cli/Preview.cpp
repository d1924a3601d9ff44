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

// Draws the whole merged map, also where it reaches beyond the page, on white, its longer side
// `pixels` long.
}  // namespace

bool WritePreview(const host::Document& document, const std::string& png, int pixels, std::string* why) {
#ifdef _WIN32
    (void)document, (void)png, (void)pixels;
    *why = "the Windows build draws no previews";
    return false;
#else
    pugi::xml_document xml;
    const std::string text = host::WriteSvgText(document);
    if (!xml.load_buffer(text.data(), text.size())) {
        *why = "cannot read back the merged map";
        return false;
    }
    AIRealRect box{0, document.setup().height, document.setup().width, 0};
    VisibleArtBounds(document, &box);
    const double pageHeight = document.setup().height;
    double width = static_cast<double>(box.right) - box.left;
    double height = static_cast<double>(box.top) - box.bottom;
    const double margin = std::max(1.0, std::max(width, height) * 0.01);
    const double x = box.left - margin;
    const double y = pageHeight - box.top - margin;  // viewers count y downward from the page top
    width += 2 * margin;
    height += 2 * margin;
    const double scale = pixels / std::max(width, height);
    const long pixelWidth = std::max(1L, std::lround(width * scale));
    const long pixelHeight = std::max(1L, std::lround(height * scale));

    pugi::xml_node root = xml.child("svg");
    std::ostringstream viewBox;
    viewBox.precision(10);
    viewBox << x << ' ' << y << ' ' << width << ' ' << height;
    root.attribute("viewBox").set_value(viewBox.str().c_str());
    root.attribute("width").set_value((std::to_string(pixelWidth) + "px").c_str());
    root.attribute("height").set_value((std::to_string(pixelHeight) + "px").c_str());

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
    if (!xml.save_file(svgPath.c_str(), "", pugi::format_raw)) {
        *why = "cannot write " + svgPath;
        return false;
    }
    return RunProgram(
        {"rsvg-convert", "--unlimited", "--background-color", "white", "--format", "png", "-o", png, svgPath}, why);
#endif
}

}  // namespace quiltor::cli
