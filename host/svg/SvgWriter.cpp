// Writes a document as SVG. Viewers get ordinary SVG (y flipped, paint order bottom first, RGB
// colours); its numbers read back as the very floats written, and the quiltor: attributes keep
// what SVG cannot say, so reading the file gives back the same document.
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
#include "svg/ExactPathData.h"
#include "svg/Svg.h"
#include "svg/SvgFormat.h"
#include "svg/SvgNames.h"

namespace quiltor::host {

namespace {

using namespace svg;

class Writer {
public:
    explicit Writer(const Document& document) : document_(document), axes_(document.setup().height), paths_(axes_) {}

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
        // Viewers paint art by its appearance's class; the rules are filled in as art uses them.
        pugi::xml_node style = root.append_child("style");
        // Every appearance once, before the art that refers to it.
        appearanceTable_ = root.append_child("quiltor:appearances");
        // Bottom layer first: SVG paints later elements on top.
        for (const Layer* layer = document_.lastLayer(); layer; layer = layer->prev) writeLayer(root, layer);
        if (rules_.empty())
            root.remove_child(style);
        else
            style.text().set(rules_.c_str());
    }

private:
    void writeLayer(pugi::xml_node parent, const Layer* layer) {
        pugi::xml_node g = parent.append_child("g");
        g.append_attribute("id") = ("layer" + std::to_string(++layerNumber_)).c_str();
        g.append_attribute("inkscape:groupmode") = "layer";
        g.append_attribute("inkscape:label") = EncodeUtf8(layer->title).c_str();
        g.append_attribute("quiltor:options") = FormatLayerOptions(layer->options).c_str();
        if (layer == document_.currentLayer()) g.append_attribute("quiltor:current") = "1";
        writeIdentity(g, layer->group, Paints::kNothing);
        if (!layer->options.visible) g.append_attribute("style") = "display:none";
        if (!layer->options.editable) g.append_attribute("sodipodi:insensitive") = "true";
        // A layer's own art is painted below its sublayers.
        for (const Art* art = layer->group->lastChild; art; art = art->prev) writeArt(g, art);
        for (const Layer* sub = layer->lastChild; sub; sub = sub->prev) writeLayer(g, sub);
    }

    enum class Paints { kNothing, kPath, kText };

    // What only this host reads back: the appearance, named by the class viewers paint by, and the
    // user attributes.
    void writeIdentity(pugi::xml_node node, const Art* art, Paints paints) {
        node.append_attribute("class") = appearanceId(art->style, paints).c_str();
        if (art->userAttr) node.append_attribute("quiltor:attr") = FormatUserAttrs(art->userAttr).c_str();
    }

    // Art that shares an appearance shares its id, so the file shows which art styles are the same.
    const std::string& appearanceId(const ArtStyle* style, Paints paints) {
        auto found = appearances_.find(style);
        if (found == appearances_.end()) {
            Appearance entry{"a" + std::to_string(appearances_.size() + 1)};
            pugi::xml_node node = appearanceTable_.append_child("quiltor:appearance");
            node.append_attribute("quiltor:id") = entry.id.c_str();
            node.append_attribute("quiltor:style") = FormatPathStyle(style->pathStyle()).c_str();
            if (style->effect()) node.append_attribute("quiltor:effect") = style->effect();
            found = appearances_.emplace(style, std::move(entry)).first;
        }
        Appearance& entry = found->second;
        if (paints == Paints::kPath && !entry.pathRule) {
            rules_ += PathRule(entry.id, style->pathStyle());
            entry.pathRule = true;
        }
        if (paints == Paints::kText && !entry.textRule) {
            rules_ += TextRule(entry.id, style->pathStyle());
            entry.textRule = true;
        }
        return entry.id;
    }

    void writeArt(pugi::xml_node parent, const Art* art) {
        pugi::xml_node node;
        switch (art->type) {
        case kGroupArt:
            node = parent.append_child("g");
            node.append_attribute("quiltor:kind") = "group";
            writeIdentity(node, art, Paints::kNothing);
            for (const Art* member = art->lastChild; member; member = member->prev) writeArt(node, member);
            break;
        case kPathArt: {
            node = parent.append_child("path");
            node.append_attribute("quiltor:kind") = "path";
            d_.clear();
            exact_.clear();
            paths_.append(art->segments, art->closed, 0, d_, exact_);
            node.append_attribute("d") = d_.c_str();
            if (!exact_.empty()) node.append_attribute("quiltor:exact") = exact_.c_str();
            // Path data cannot say that a path without anchors is closed.
            if (art->segments.empty() && art->closed) node.append_attribute("quiltor:closed") = "1";
            writeIdentity(node, art, Paints::kPath);
            break;
        }
        case kCompoundPathArt: writeCompound(parent, art, node); break;
        case kTextFrameArt: writeText(parent, art, node); break;
        default: return;
        }
        if (art->userAttr & kArtHidden) node.append_attribute("style") = "display:none";
    }

    // Every member's sub-path in the one path data; a member child only for a member that has no
    // sub-path or is not as the compound path makes it.
    void writeCompound(pugi::xml_node parent, const Art* compound, pugi::xml_node& node) {
        node = parent.append_child("path");
        node.append_attribute("quiltor:kind") = "compound";
        d_.clear();
        exact_.clear();
        size_t first = 0;
        for (const Art* member = compound->lastChild; member; member = member->prev) {
            paths_.append(member->segments, member->closed, first, d_, exact_);
            first += member->segments.size();
        }
        node.append_attribute("d") = d_.c_str();
        if (!exact_.empty()) node.append_attribute("quiltor:exact") = exact_.c_str();
        writeIdentity(node, compound, Paints::kPath);
        size_t at = 0;
        for (const Art* member = compound->lastChild; member; member = member->prev, ++at) {
            const bool empty = member->segments.empty();
            if (!empty && member->style == compound->style && !member->userAttr) continue;
            pugi::xml_node m = node.append_child("quiltor:member");
            m.append_attribute("quiltor:at") = at;
            if (empty) m.append_attribute("quiltor:empty") = member->closed ? "closed" : "open";
            m.append_attribute("quiltor:appearance") = appearanceId(member->style, Paints::kNothing).c_str();
            if (member->userAttr) m.append_attribute("quiltor:attr") = FormatUserAttrs(member->userAttr).c_str();
        }
    }

    void writeText(pugi::xml_node parent, const Art* art, pugi::xml_node& node) {
        node = parent.append_child("text");
        node.append_attribute("quiltor:kind") = "text";
        std::string x, y;
        const bool exact = SameBits(axes_.appendH(x, art->position.h), art->position.h) &&
                           SameBits(axes_.appendV(y, art->position.v), art->position.v);
        node.append_attribute("x") = x.c_str();
        node.append_attribute("y") = y.c_str();
        node.append_attribute("font-size") = FormatReal(art->fontSize).c_str();
        node.append_attribute("xml:space") = "preserve";
        if (!exact)
            node.append_attribute("quiltor:position") =
                (FormatReal(art->position.h) + "," + FormatReal(art->position.v)).c_str();
        const std::string text = EncodeUtf8(art->text);
        // Where the content would not read back as it is, the attribute keeps the text exactly.
        if (!ContentKeepsText(text)) node.append_attribute("quiltor:text") = text.c_str();
        writeIdentity(node, art, Paints::kText);
        node.text().set(text.c_str());
    }

    static bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

    // XML reads a carriage return as a line feed, and white space alone as nothing.
    static bool ContentKeepsText(const std::string& text) {
        bool onlySpace = true;
        for (unsigned char c : text) {
            if (c < 0x20 && c != '\n' && c != '\t') return false;
            if (c != ' ' && c != '\n' && c != '\t') onlySpace = false;
        }
        return text.empty() || !onlySpace;
    }

    static std::string PathRule(const std::string& id, const AIPathStyle& style) {
        std::string rule = "path." + id + "{fill:" + (IsFilled(style) ? ViewerColor(style.fill.color) : "none") +
                           ";fill-rule:" + (style.evenodd ? "evenodd" : "nonzero");
        if (!IsStroked(style)) return rule + ";stroke:none}\n";
        const AIStrokeStyle& s = style.stroke;
        rule += ";stroke:" + ViewerColor(s.color) + ";stroke-width:" + FormatReal(s.width);
        static const char* const caps[] = {"butt", "round", "square"};
        static const char* const joins[] = {"miter", "round", "bevel"};
        if (s.cap >= 0 && s.cap <= 2) rule += std::string(";stroke-linecap:") + caps[s.cap];
        if (s.join >= 0 && s.join <= 2) rule += std::string(";stroke-linejoin:") + joins[s.join];
        rule += ";stroke-miterlimit:" + FormatReal(s.miterLimit);
        if (s.dash.length > 0) {
            rule += ";stroke-dasharray:";
            for (int i = 0; i < s.dash.length && i < kMaxDashComponents; ++i) {
                if (i) rule += ',';
                rule += FormatReal(s.dash.array[i]);
            }
            rule += ";stroke-dashoffset:" + FormatReal(s.dash.offset);
        }
        return rule + "}\n";
    }

    static std::string TextRule(const std::string& id, const AIPathStyle& style) {
        return "text." + id + "{fill:" + (IsFilled(style) ? ViewerColor(style.fill.color) : "none") + "}\n";
    }

    struct Appearance {
        std::string id;
        bool pathRule = false, textRule = false;
    };

    const Document& document_;
    PageAxes axes_;
    ExactPathWriter paths_;
    std::string d_, exact_;
    int layerNumber_ = 0;
    pugi::xml_node appearanceTable_;
    std::map<const ArtStyle*, Appearance> appearances_;
    std::string rules_;
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
