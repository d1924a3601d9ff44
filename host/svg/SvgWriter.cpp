// Writes a document as SVG. Viewers get ordinary SVG (y flipped, paint order bottom first, RGB
// colours); the quiltor: attributes keep the exact values, so reading the file gives back the same
// document.
#include <pugixml.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>

#include "core/HostStrings.h"
#include "core/Paths.h"
#include "model/ArtStyle.h"
#include "model/Document.h"
#include "svg/Svg.h"
#include "svg/SvgFormat.h"
#include "svg/SvgNames.h"

namespace quiltor::host {

namespace {

using namespace svg;

class Writer {
public:
    explicit Writer(const Document& document) : document_(document), pageHeight_(document.setup().height) {}

    void write(pugi::xml_document& xml) {
        pugi::xml_node root = xml.append_child("svg");
        const AIDocumentSetup& setup = document_.setup();
        root.append_attribute("xmlns") = kSvgNamespaceUri;
        root.append_attribute("xmlns:inkscape") = kInkscapeNamespaceUri;
        root.append_attribute("xmlns:sodipodi") = kSodipodiNamespaceUri;
        root.append_attribute("xmlns:quiltor") = kQuiltorNamespace;
        root.append_attribute("version") = "1.1";
        root.append_attribute("width") = (FormatReal(setup.width) + "pt").c_str();
        root.append_attribute("height") = (FormatReal(setup.height) + "pt").c_str();
        root.append_attribute("viewBox") = ("0 0 " + FormatReal(setup.width) + " " + FormatReal(setup.height)).c_str();
        root.append_attribute("quiltor:version") = kQuiltorFormatVersion;
        root.append_attribute("quiltor:setup") = FormatSetup(setup).c_str();
        root.append_attribute("quiltor:colorModel") = FormatColorModel(document_.colorModel()).c_str();
        const AIRealRect& a = document_.artboard();
        root.append_attribute("quiltor:artboard") =
            (FormatReal(a.left) + "," + FormatReal(a.top) + "," + FormatReal(a.right) + "," + FormatReal(a.bottom))
                .c_str();
        root.append_attribute("quiltor:layersMade") = document_.layersMade();
        // Every appearance once, before the art that refers to it.
        appearances_ = root.append_child("quiltor:appearances");
        // Bottom layer first: SVG paints later elements on top.
        for (const Layer* layer = document_.lastLayer(); layer; layer = layer->prev) writeLayer(root, layer);
    }

private:
    void writeLayer(pugi::xml_node parent, const Layer* layer) {
        pugi::xml_node g = parent.append_child("g");
        g.append_attribute("id") = ("layer" + std::to_string(++layerNumber_)).c_str();
        g.append_attribute("inkscape:groupmode") = "layer";
        g.append_attribute("inkscape:label") = EncodeUtf8(layer->title).c_str();
        g.append_attribute("quiltor:options") = FormatLayerOptions(layer->options).c_str();
        if (layer == document_.currentLayer()) g.append_attribute("quiltor:current") = "1";
        writeIdentity(g, layer->group);
        if (!layer->options.visible) g.append_attribute("style") = "display:none";
        if (!layer->options.editable) g.append_attribute("sodipodi:insensitive") = "true";
        // A layer's own art is painted below its sublayers.
        for (const Art* art = layer->group->lastChild; art; art = art->prev) writeArt(g, art);
        for (const Layer* sub = layer->lastChild; sub; sub = sub->prev) writeLayer(g, sub);
    }

    // What only this host reads back: the appearance and the user attributes.
    void writeIdentity(pugi::xml_node node, const Art* art) {
        node.append_attribute("quiltor:appearance") = appearanceId(art->style).c_str();
        if (art->userAttr) node.append_attribute("quiltor:attr") = FormatUserAttrs(art->userAttr).c_str();
    }

    // Art that shares an appearance shares its id, so the file shows which art styles are the same.
    const std::string& appearanceId(const ArtStyle* style) {
        auto found = appearanceIds_.find(style);
        if (found != appearanceIds_.end()) return found->second;
        const std::string id = "a" + std::to_string(appearanceIds_.size() + 1);
        pugi::xml_node entry = appearances_.append_child("quiltor:appearance");
        entry.append_attribute("quiltor:id") = id.c_str();
        entry.append_attribute("quiltor:style") = FormatPathStyle(style->pathStyle()).c_str();
        if (style->effect()) entry.append_attribute("quiltor:effect") = style->effect();
        return appearanceIds_.emplace(style, id).first->second;
    }

    void writeArt(pugi::xml_node parent, const Art* art) {
        pugi::xml_node node;
        switch (art->type) {
        case kGroupArt:
            node = parent.append_child("g");
            node.append_attribute("quiltor:kind") = "group";
            writeIdentity(node, art);
            for (const Art* member = art->lastChild; member; member = member->prev) writeArt(node, member);
            break;
        case kPathArt:
            node = parent.append_child("path");
            node.append_attribute("quiltor:kind") = "path";
            node.append_attribute("d") = pathData(art).c_str();
            writeGeometry(node, art);
            writeIdentity(node, art);
            writePaint(node, art->style->pathStyle());
            break;
        case kCompoundPathArt: {
            node = parent.append_child("path");
            node.append_attribute("quiltor:kind") = "compound";
            std::string d;
            for (const Art* member = art->lastChild; member; member = member->prev) {
                if (member->type != kPathArt) continue;
                if (!d.empty()) d += ' ';
                d += pathData(member);
            }
            node.append_attribute("d") = d.c_str();
            writeIdentity(node, art);
            writePaint(node, art->style->pathStyle());
            for (const Art* member = art->lastChild; member; member = member->prev) {
                pugi::xml_node m = node.append_child("quiltor:member");
                writeGeometry(m, member);
                writeIdentity(m, member);
            }
            break;
        }
        case kTextFrameArt: {
            node = parent.append_child("text");
            node.append_attribute("quiltor:kind") = "text";
            node.append_attribute("x") = FormatCoord(art->position.h).c_str();
            node.append_attribute("y") = FormatCoord(flip(art->position.v)).c_str();
            node.append_attribute("font-size") = FormatReal(art->fontSize).c_str();
            node.append_attribute("xml:space") = "preserve";
            node.append_attribute("quiltor:position") =
                (FormatReal(art->position.h) + "," + FormatReal(art->position.v)).c_str();
            node.append_attribute("quiltor:fontSize") = FormatReal(art->fontSize).c_str();
            const std::string text = EncodeUtf8(art->text);
            // The attribute keeps the text exactly (line ends included); the content is for viewers.
            node.append_attribute("quiltor:text") = text.c_str();
            writeIdentity(node, art);
            const AIPathStyle& style = art->style->pathStyle();
            node.append_attribute("fill") = IsFilled(style) ? ViewerColor(style.fill.color).c_str() : "none";
            node.text().set(text.c_str());
            break;
        }
        default: return;
        }
        if (art->userAttr & kArtHidden) node.append_attribute("style") = "display:none";
    }

    void writeGeometry(pugi::xml_node node, const Art* path) {
        node.append_attribute("quiltor:segs") = FormatSegments(path->segments).c_str();
        node.append_attribute("quiltor:closed") = path->closed ? "1" : "0";
    }

    void writePaint(pugi::xml_node node, const AIPathStyle& style) {
        node.append_attribute("fill") = IsFilled(style) ? ViewerColor(style.fill.color).c_str() : "none";
        node.append_attribute("fill-rule") = style.evenodd ? "evenodd" : "nonzero";
        if (!IsStroked(style)) {
            node.append_attribute("stroke") = "none";
            return;
        }
        const AIStrokeStyle& s = style.stroke;
        node.append_attribute("stroke") = ViewerColor(s.color).c_str();
        node.append_attribute("stroke-width") = FormatReal(s.width).c_str();
        static const char* const caps[] = {"butt", "round", "square"};
        static const char* const joins[] = {"miter", "round", "bevel"};
        if (s.cap >= 0 && s.cap <= 2) node.append_attribute("stroke-linecap") = caps[s.cap];
        if (s.join >= 0 && s.join <= 2) node.append_attribute("stroke-linejoin") = joins[s.join];
        node.append_attribute("stroke-miterlimit") = FormatReal(s.miterLimit).c_str();
        if (s.dash.length > 0) {
            std::string dash;
            for (int i = 0; i < s.dash.length && i < kMaxDashComponents; ++i) {
                if (i) dash += ',';
                dash += FormatReal(s.dash.array[i]);
            }
            node.append_attribute("stroke-dasharray") = dash.c_str();
            node.append_attribute("stroke-dashoffset") = FormatReal(s.dash.offset).c_str();
        }
    }

    double flip(double v) const { return static_cast<double>(pageHeight_) - v; }

    std::string point(const AIRealPoint& p) const { return FormatCoord(p.h) + "," + FormatCoord(flip(p.v)); }

    static bool Straight(const AIPathSegment& from, const AIPathSegment& to) {
        return from.out.h == from.p.h && from.out.v == from.p.v && to.in.h == to.p.h && to.in.v == to.p.v;
    }

    std::string pathData(const Art* path) const {
        const std::vector<AIPathSegment>& s = path->segments;
        if (s.empty()) return {};
        std::string d = "M " + point(s[0].p);
        auto edge = [&](const AIPathSegment& from, const AIPathSegment& to) {
            if (Straight(from, to))
                d += " L " + point(to.p);
            else
                d += " C " + point(from.out) + " " + point(to.in) + " " + point(to.p);
        };
        for (size_t i = 1; i < s.size(); ++i) edge(s[i - 1], s[i]);
        if (path->closed) {
            if (s.size() > 1 && !Straight(s.back(), s.front())) edge(s.back(), s.front());
            d += " Z";
        }
        return d;
    }

    const Document& document_;
    AIReal pageHeight_;
    int layerNumber_ = 0;
    pugi::xml_node appearances_;
    std::map<const ArtStyle*, std::string> appearanceIds_;
};

}  // namespace

std::string WriteSvgText(const Document& document) {
    pugi::xml_document xml;
    pugi::xml_node declaration = xml.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    Writer(document).write(xml);
    std::ostringstream out;
    xml.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

bool WriteSvgFile(const Document& document, const std::string& path, std::string* error) {
    const std::string text = WriteSvgText(document);
    const std::string temporary = path + ".quiltor-tmp";
    auto fail = [&](const std::string& what) {
        if (error) *error = what + ": " + std::strerror(errno);
        return false;
    };
    std::FILE* file = OpenFile(temporary, "wb");
    if (!file) return fail("cannot write " + path);
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    std::error_code ec;
    if (!written || !closed) {
        const int saved = errno;
        std::filesystem::remove(PathFromUtf8(temporary), ec);
        errno = saved;
        return fail("cannot write " + path);
    }
    // Replaces an older file of that name on every platform.
    std::filesystem::rename(PathFromUtf8(temporary), PathFromUtf8(path), ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(PathFromUtf8(temporary), ignored);
        if (error) *error = "cannot replace " + path + ": " + ec.message();
        return false;
    }
    return true;
}

}  // namespace quiltor::host
