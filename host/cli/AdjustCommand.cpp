// quiltor-host adjust: cut a map to an outline in one command, as a person would in the
// application: a new top layer holding the outline, the outline selected, "Quiltor アジャスト".

#include <pugixml.hpp>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Commands.h"
#include "cli/Preview.h"
#include "cli/Session.h"
#include "core/HostStrings.h"
#include "core/Paths.h"
#include "loader/PluginManager.h"
#include "model/Document.h"
#include "model/Workspace.h"
#include "svg/Svg.h"

namespace quiltor::cli {
namespace {

constexpr const char* kAdjustItem = "Quiltor アジャスト";
constexpr const char16_t* kOutlineLayerTitle = u"Adjust outline";

struct AdjustOptions {
    std::string map;
    std::string out;
    std::optional<std::string> outline;      // "X,Y X,Y ..."
    std::optional<std::string> outlineFile;  // an SVG file
    std::optional<std::string> preview;      // a PNG file
    bool help = false;
};

std::optional<AdjustOptions> ParseAdjustArguments(const std::vector<std::string>& args, std::string* error) {
    AdjustOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::optional<std::string>& into) {
            if (into) {
                *error = arg + " given twice";
                return false;
            }
            if (i + 1 >= args.size()) {
                *error = arg + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        std::optional<std::string> out;
        if (arg == "-h" || arg == "--help") {
            options.help = true;
            return options;
        } else if (arg == "-o" || arg == "--output") {
            if (!options.out.empty()) {
                *error = arg + " given twice";
                return std::nullopt;
            }
            if (!value(out)) return std::nullopt;
            options.out = *out;
        } else if (arg == "--outline") {
            if (!value(options.outline)) return std::nullopt;
        } else if (arg == "--outline-file") {
            if (!value(options.outlineFile)) return std::nullopt;
        } else if (arg == "--preview") {
            if (!value(options.preview)) return std::nullopt;
        } else if (!arg.empty() && arg[0] == '-') {
            *error = "unknown option " + arg;
            return std::nullopt;
        } else if (options.map.empty()) {
            options.map = arg;
        } else {
            *error = "more than one map: " + options.map + " and " + arg;
            return std::nullopt;
        }
    }
    if (options.map.empty())
        *error = "no map file given";
    else if (options.out.empty())
        *error = "no output file given (-o OUT.svg)";
    else if (options.outline.has_value() == options.outlineFile.has_value())
        *error = "give the outline either as --outline \"X,Y X,Y ...\" or as --outline-file FILE.svg";
    else
        return options;
    return std::nullopt;
}

std::optional<double> Number(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

// "X,Y X,Y ..." as SVG path data; nullopt (and *error) unless there are three points or more.
std::optional<std::string> OutlinePathData(const std::string& text, std::string* error) {
    std::istringstream in(text);
    std::string pair;
    std::string data;
    int count = 0;
    while (in >> pair) {
        const size_t comma = pair.find(',');
        std::optional<double> x, y;
        if (comma != std::string::npos) {
            x = Number(std::string_view(pair).substr(0, comma));
            y = Number(std::string_view(pair).substr(comma + 1));
        }
        if (!x || !y) {
            *error = "--outline: \"" + pair + "\" is not a point X,Y";
            return std::nullopt;
        }
        std::ostringstream point;
        point.precision(17);
        point << (count == 0 ? "M" : " L") << *x << ' ' << *y;
        data += point.str();
        ++count;
    }
    if (count < 3) {
        *error = "--outline: an outline needs three points or more";
        return std::nullopt;
    }
    return data + " Z";
}

// The attributes of the map's root that fix how its user coordinates become document points.
const char* const kFrameAttributes[] = {"width", "height", "viewBox"};

// An SVG text holding the outline, read in the map's own user coordinates: the outline file (or a
// new document with the given path) under the map's root size and view box.
std::optional<std::string> OutlineDocument(const AdjustOptions& options, std::string* error) {
    pugi::xml_document map;
    if (!map.load_file(host::PathFromUtf8(options.map).c_str())) {
        *error = "cannot read " + options.map + " as SVG";
        return std::nullopt;
    }
    pugi::xml_document outline;
    if (options.outlineFile) {
        if (!outline.load_file(host::PathFromUtf8(*options.outlineFile).c_str())) {
            *error = "cannot read " + *options.outlineFile + " as SVG";
            return std::nullopt;
        }
    } else {
        auto data = OutlinePathData(*options.outline, error);
        if (!data) return std::nullopt;
        pugi::xml_node root = outline.append_child("svg");
        root.append_attribute("xmlns") = "http://www.w3.org/2000/svg";
        root.append_child("path").append_attribute("d") = data->c_str();
    }
    pugi::xml_node root = outline.document_element();
    for (const char* name : kFrameAttributes) {
        root.remove_attribute(name);
        if (pugi::xml_attribute attribute = map.document_element().attribute(name))
            root.append_attribute(name) = attribute.value();
    }
    std::ostringstream text;
    outline.save(text);
    return text.str();
}

// The first closed path of the document, in layer order.
const host::Art* FirstClosedPath(const host::Document& document) {
    for (const host::Layer* layer = document.firstLayer(); layer; layer = host::NextLayerInPreorder(layer)) {
        for (const host::Art* art = layer->group; art; art = host::NextInPreorder(art, layer->group)) {
            if (art->type == kPathArt && art->closed && art->segments.size() >= 3) return art;
        }
    }
    return nullptr;
}

int Adjust(const GlobalOptions& global, const std::vector<std::string>& args) {
    std::string error;
    auto options = ParseAdjustArguments(args, &error);
    if (!options) {
        Complain("adjust: " + error);
        std::cerr << "Try 'quiltor-host adjust --help'." << std::endl;
        return kExitUsage;
    }
    if (options->help) {
        std::cout << AdjustCommand().help;
        return kExitOk;
    }
    auto outlineText = OutlineDocument(*options, &error);
    if (!outlineText) {
        Complain("adjust: " + error);
        return error.rfind("--outline:", 0) == 0 ? kExitUsage : kExitFailure;
    }

    Session session;
    if (!session.start(global)) return kExitFailure;
    host::Workspace& workspace = session.host().workspace();
    AIErr code = kNoErr;
    if (!workspace.openFile(options->map, &error, &code)) {
        Complain("cannot open " + options->map + ": " + (error.empty() ? host::DescribeError(code) : error));
        return kExitFailure;
    }
    host::Document& map = *workspace.currentDocument();
    auto outlineDocument = host::ReadSvgText(*outlineText, map.styles(), &error, &code);
    const host::Art* outline = outlineDocument ? FirstClosedPath(*outlineDocument) : nullptr;
    if (!outline) {
        Complain("adjust: no closed path in the outline" +
                 (options->outlineFile ? " file " + *options->outlineFile : std::string()));
        return kExitFailure;
    }

    // The outline alone is selected, on a layer of its own above the map.
    map.willChange();
    for (const host::Layer* layer = map.firstLayer(); layer; layer = host::NextLayerInPreorder(layer)) {
        for (host::Art* art = layer->group; art; art = host::NextInPreorder(art, layer->group))
            art->userAttr &= ~(kArtSelected | kArtFullySelected);
    }
    host::Layer* layer = map.insertLayer(nullptr, kPlaceAboveAll);
    map.setLayerTitle(layer, kOutlineLayerTitle);
    host::Art* path = map.copyArt(outline, host::Place{layer->group, nullptr});
    map.setUserAttr(path, kArtSelected);

    const AIErr result = session.host().plugins().chooseMenuItem(kAdjustItem);
    if (result != kNoErr) {
        Complain(std::string("the plug-in answered ") + host::DescribeError(result) + " to \"" + kAdjustItem + "\"");
        return kExitFailure;
    }
    // A run that stopped at one of its checks leaves the outline where it was.
    if (map.findLayer(layer) && layer->group->firstChild) {
        Complain("adjust: the run stopped before cutting; nothing was saved");
        return kExitFailure;
    }
    if (!workspace.saveFile(workspace.current(), options->out, &error)) {
        Complain("cannot save " + options->out + ": " + error);
        return kExitFailure;
    }
    PreviewOptions preview;
    preview.outline = outline->segments;
    if (options->preview && !WritePreview(map, *options->preview, preview, &error)) {
        Complain("adjust: " + error);
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

const Command& AdjustCommand() {
    static const Command command{
        "adjust", "cut a map to an outline with \"Quiltor アジャスト\"",
        "Usage: quiltor-host [--plugin FILE]... adjust MAP -o OUT.svg\n"
        "                    (--outline \"X,Y X,Y ...\" | --outline-file FILE.svg) [--preview OUT.png]\n"
        "\n"
        "Opens the map, puts a new layer on top of it holding the outline, selects the outline\n"
        "(and nothing else), chooses \"Quiltor アジャスト\" and saves the cut map.\n"
        "\n"
        "  --outline \"X,Y X,Y ...\"  the outline's corners, three or more, in the map's own SVG\n"
        "                           user coordinates (x to the right, y downward, as an SVG\n"
        "                           editor shows them); the last corner joins the first\n"
        "  --outline-file FILE.svg  the first closed path in the file, read in the same\n"
        "                           coordinates (the file's own size and view box are ignored)\n"
        "  -o, --output OUT.svg     where the cut map is written\n"
        "  --preview OUT.png        also draw the cut map, beyond the page too (rsvg-convert)\n"
        "\n"
        "Alerts are printed to standard output, one line each (ERROR: text, MESSAGE: text).\n"
        "When the run stops at one of its checks nothing is saved and the exit status is 1.\n"
        "\n"
        "Examples:\n"
        "  quiltor-host adjust merged.svg -o town.svg --outline \"120,80 620,80 620,540 120,540\"\n"
        "  quiltor-host adjust merged.svg -o town.svg --outline-file range.svg --preview town.png\n"
        "\n"
        "A map whose top layer already holds one selected closed path can also be cut with\n"
        "  quiltor-host run \"Quiltor アジャスト\" --open MAP --save OUT\n",
        Adjust};
    return command;
}

}  // namespace quiltor::cli
