// Reads SVG into a document. Files the host wrote carry quiltor: attributes and read back exactly;
// any other SVG (say from Inkscape) is read as a viewer would show it, its top-level groups as
// layers.
#include <pugixml.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "core/HostStrings.h"
#include "core/Paths.h"
#include "core/TextParsing.h"
#include "model/Document.h"
#include "svg/ExactPathData.h"
#include "svg/Svg.h"
#include "svg/SvgFormat.h"
#include "svg/SvgGeometry.h"
#include "svg/SvgNames.h"

namespace quiltor::host {

namespace {

using namespace svg;

// Deeper nesting than this is refused rather than followed: no editor writes it, and following it
// would only risk the stack.
constexpr int kMaxDepth = 200;

struct FormatError {
    std::string reason;
};

struct Rgb {
    double r = 0, g = 0, b = 0;
};

// Inherited paint of plain SVG, in user units.
struct Paint {
    std::optional<Rgb> fill = Rgb{};  // nullopt: none
    std::optional<Rgb> stroke;
    double strokeWidth = 1;
    int16_t cap = 0, join = 0;
    double miterLimit = 4;
    std::vector<double> dash;
    double dashOffset = 0;
    bool evenodd = false;
    double fontSize = 16;
};

struct Context {
    Affine toDocument;
    Paint paint;
};

std::optional<Rgb> NamedColor(std::string_view name) {
    static const std::map<std::string_view, Rgb> names = {{"black", {0, 0, 0}},
                                                          {"white", {1, 1, 1}},
                                                          {"red", {1, 0, 0}},
                                                          {"lime", {0, 1, 0}},
                                                          {"green", {0, 128 / 255.0, 0}},
                                                          {"blue", {0, 0, 1}},
                                                          {"yellow", {1, 1, 0}},
                                                          {"cyan", {0, 1, 1}},
                                                          {"aqua", {0, 1, 1}},
                                                          {"magenta", {1, 0, 1}},
                                                          {"fuchsia", {1, 0, 1}},
                                                          {"gray", {128 / 255.0, 128 / 255.0, 128 / 255.0}},
                                                          {"grey", {128 / 255.0, 128 / 255.0, 128 / 255.0}},
                                                          {"silver", {192 / 255.0, 192 / 255.0, 192 / 255.0}},
                                                          {"maroon", {128 / 255.0, 0, 0}},
                                                          {"olive", {128 / 255.0, 128 / 255.0, 0}},
                                                          {"navy", {0, 0, 128 / 255.0}},
                                                          {"purple", {128 / 255.0, 0, 128 / 255.0}},
                                                          {"teal", {0, 128 / 255.0, 128 / 255.0}},
                                                          {"orange", {1, 165 / 255.0, 0}},
                                                          {"brown", {165 / 255.0, 42 / 255.0, 42 / 255.0}},
                                                          {"pink", {1, 192 / 255.0, 203 / 255.0}}};
    auto found = names.find(name);
    if (found == names.end()) return std::nullopt;
    return found->second;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A paint value: nullopt for a value not understood (the inherited paint stays); an inner nullopt
// for "none".
std::optional<std::optional<Rgb>> ParsePaint(std::string_view text) {
    text = Trim(text);
    if (text == "none") return std::optional<Rgb>{};
    if (text == "currentColor") return std::optional<Rgb>{Rgb{}};
    // Gradients and patterns are not drawn here: a middle gray stands in for them.
    if (text.substr(0, 4) == "url(") return std::optional<Rgb>{Rgb{0.5, 0.5, 0.5}};
    if (!text.empty() && text[0] == '#') {
        const std::string_view hex = text.substr(1);
        if (hex.size() != 3 && hex.size() != 6) return std::nullopt;
        int v[6];
        for (size_t i = 0; i < hex.size(); ++i) {
            v[i] = HexDigit(hex[i]);
            if (v[i] < 0) return std::nullopt;
        }
        if (hex.size() == 3) return std::optional<Rgb>{Rgb{v[0] * 17 / 255.0, v[1] * 17 / 255.0, v[2] * 17 / 255.0}};
        return std::optional<Rgb>{
            Rgb{(v[0] * 16 + v[1]) / 255.0, (v[2] * 16 + v[3]) / 255.0, (v[4] * 16 + v[5]) / 255.0}};
    }
    if (text.substr(0, 4) == "rgb(" && text.back() == ')') {
        const std::vector<std::string_view> parts = Split(text.substr(4, text.size() - 5), ", \t");
        if (parts.size() != 3) return std::nullopt;
        double c[3];
        for (int i = 0; i < 3; ++i) {
            std::string_view part = parts[i];
            const bool percent = !part.empty() && part.back() == '%';
            if (percent) part.remove_suffix(1);
            auto v = ParseDouble(part);
            if (!v) return std::nullopt;
            c[i] = std::clamp(percent ? *v / 100.0 : *v / 255.0, 0.0, 1.0);
        }
        return std::optional<Rgb>{Rgb{c[0], c[1], c[2]}};
    }
    if (auto named = NamedColor(text)) return std::optional<Rgb>{*named};
    return std::nullopt;
}

// A length in user units (px), from a number with an optional unit; nullopt for percentages and
// anything else not absolute.
std::optional<double> UserLength(std::string_view text) {
    text = Trim(text);
    size_t end = text.size();
    while (end > 0 && ((text[end - 1] >= 'a' && text[end - 1] <= 'z') || text[end - 1] == '%')) --end;
    auto value = ParseDouble(text.substr(0, end));
    if (!value) return std::nullopt;
    const std::string_view unit = text.substr(end);
    if (unit.empty() || unit == "px") return *value;
    if (unit == "pt") return *value * 96.0 / 72.0;
    if (unit == "pc") return *value * 16.0;
    if (unit == "mm") return *value * 96.0 / 25.4;
    if (unit == "cm") return *value * 960.0 / 25.4;
    if (unit == "in") return *value * 96.0;
    return std::nullopt;
}

class Reader {
public:
    explicit Reader(StyleTable& styles) : styles_(styles) {}

    std::unique_ptr<Document> read(const pugi::xml_node& root) {
        readNamespaces(root);
        if (localName(root) != "svg")
            throw FormatError{"not an SVG document (root element <" + std::string(root.name()) + ">)"};
        const bool hostFile = !quiltor_.empty() && root.attribute(qname(quiltor_, "version").c_str());
        if (hostFile) {
            auto version = ParseInt(qattr(root, "version"));
            if (!version || *version < 1) throw FormatError{"bad quiltor:version"};
            if (*version > kQuiltorFormatVersion)
                throw FormatError{"a document of format version " + std::to_string(*version) +
                                  ", newer than this host reads (" + std::to_string(kQuiltorFormatVersion) + ")"};
            version_ = static_cast<int>(*version);
        }

        // Page size and the mapping from root user units to document points (y up).
        NewDocumentOptions options;
        options.colorModel = kDocRGBColor;
        double widthPt = options.widthPt, heightPt = options.heightPt;
        const std::vector<double> viewBox = ParseNumberList(root.attribute("viewBox").value());
        const bool hasViewBox = viewBox.size() == 4 && viewBox[2] > 0 && viewBox[3] > 0;
        auto width = UserLength(root.attribute("width").value());
        auto height = UserLength(root.attribute("height").value());
        if (width && *width > 0)
            widthPt = *width * 0.75;
        else if (hasViewBox)
            widthPt = viewBox[2] * 0.75;
        if (height && *height > 0)
            heightPt = *height * 0.75;
        else if (hasViewBox)
            heightPt = viewBox[3] * 0.75;
        const double sx = hasViewBox ? widthPt / viewBox[2] : 0.75;
        const double sy = hasViewBox ? heightPt / viewBox[3] : 0.75;
        const double vx = hasViewBox ? viewBox[0] : 0, vy = hasViewBox ? viewBox[1] : 0;
        Context context;
        context.toDocument = Affine{sx, 0, 0, -sy, -sx * vx, heightPt + sy * vy};
        options.widthPt = NearestReal(widthPt);
        options.heightPt = NearestReal(heightPt);

        if (hostFile) {
            if (auto model = ParseColorModel(Trim(qattr(root, "colorModel")))) options.colorModel = *model;
        }
        document_ = std::make_unique<Document>(styles_, options, false);
        if (hostFile) readHostRoot(root);
        axes_.emplace(document_->setup().height);
        for (pugi::xml_node child : root.children()) {
            if (isQuiltorElement(child, "appearances")) readAppearances(child);
        }
        context = derive(root, context);

        Layer* loose = nullptr;  // a layer for art outside any top-level group
        for (pugi::xml_node child : root.children()) {
            if (child.type() != pugi::node_element) continue;
            const std::string_view name = localName(child);
            if (name == "g") {
                readLayer(child, nullptr, context, 1);
                loose = nullptr;
            } else if (isDrawable(name)) {
                if (!loose) loose = document_->insertLayer(nullptr, kPlaceAboveAll);
                readArt(child, loose->group, context, 1);
            }
        }
        if (!document_->firstLayer()) document_->insertLayer(nullptr, kPlaceAboveAll);
        document_->setCurrentLayer(current_ ? current_ : document_->firstLayer());
        if (layersMade_) document_->setLayersMade(*layersMade_);
        document_->markOpened();
        return std::move(document_);
    }

private:
    void readNamespaces(const pugi::xml_node& root) {
        svgDefault_ = true;
        for (pugi::xml_attribute a : root.attributes()) {
            const std::string_view name = a.name();
            const std::string_view uri = a.value();
            if (name == "xmlns") {
                svgDefault_ = uri == kSvgNamespaceUri;
            } else if (name.substr(0, 6) == "xmlns:") {
                const std::string prefix(name.substr(6));
                if (uri == kSvgNamespaceUri)
                    svg_ = prefix;
                else if (uri == kInkscapeNamespaceUri)
                    inkscape_ = prefix;
                else if (uri == kSodipodiNamespaceUri)
                    sodipodi_ = prefix;
                else if (uri == kQuiltorNamespace)
                    quiltor_ = prefix;
            }
        }
    }

    static std::string qname(const std::string& prefix, const char* local) { return prefix + ":" + local; }

    // The SVG name of an element, empty for elements of other namespaces.
    std::string_view localName(const pugi::xml_node& node) const {
        const std::string_view name = node.name();
        const size_t colon = name.find(':');
        if (colon == std::string_view::npos) return svgDefault_ ? name : std::string_view{};
        if (!svg_.empty() && name.substr(0, colon) == svg_) return name.substr(colon + 1);
        return {};
    }

    bool isQuiltorElement(const pugi::xml_node& node, const char* local) const {
        return !quiltor_.empty() && node.name() == qname(quiltor_, local);
    }

    // The value of a quiltor: attribute, or null when the file has none.
    const char* qattrOrNull(const pugi::xml_node& node, const char* local) const {
        if (quiltor_.empty()) return nullptr;
        pugi::xml_attribute a = node.attribute(qname(quiltor_, local).c_str());
        return a ? a.value() : nullptr;
    }
    std::string_view qattr(const pugi::xml_node& node, const char* local) const {
        const char* v = qattrOrNull(node, local);
        return v ? v : "";
    }

    std::string_view inkscapeAttr(const pugi::xml_node& node, const char* local) const {
        return node.attribute(qname(inkscape_, local).c_str()).value();
    }

    static bool isDrawable(std::string_view name) {
        return name == "path" || name == "rect" || name == "circle" || name == "ellipse" || name == "line" ||
               name == "polyline" || name == "polygon" || name == "text" || name == "g" || name == "a" ||
               name == "switch";
    }

    void readHostRoot(const pugi::xml_node& root) {
        if (const char* setup = qattrOrNull(root, "setup")) {
            auto parsed = ParseSetup(setup, document_->setup());
            if (!parsed) throw FormatError{"bad quiltor:setup"};
            document_->setSetup(*parsed);
        }
        if (const char* artboard = qattrOrNull(root, "artboard")) {
            std::vector<float> v;
            for (std::string_view piece : Split(artboard, ", ")) {
                auto value = ParseReal(piece);
                if (!value) throw FormatError{"bad quiltor:artboard"};
                v.push_back(*value);
            }
            if (v.size() != 4) throw FormatError{"bad quiltor:artboard"};
            document_->setArtboard(AIRealRect{v[0], v[1], v[2], v[3]});
        }
        if (const char* made = qattrOrNull(root, "layersMade")) {
            auto n = ParseInt(made);
            if (!n || *n < 0 || *n > INT32_MAX) throw FormatError{"bad quiltor:layersMade"};
            layersMade_ = static_cast<int32_t>(*n);
        }
    }

    void readAppearances(const pugi::xml_node& table) {
        for (pugi::xml_node entry : table.children()) {
            if (!isQuiltorElement(entry, "appearance")) continue;
            const char* id = qattrOrNull(entry, "id");
            if (!id || !qattrOrNull(entry, "style")) throw FormatError{"an appearance without id or style"};
            appearances_[id] = readAppearance(entry);
        }
    }

    // An appearance written out in quiltor:style and quiltor:effect.
    ArtStyle* readAppearance(const pugi::xml_node& node) {
        auto style = ParsePathStyle(qattr(node, "style"), DefaultPathStyle(document_->colorModel()));
        if (!style) throw FormatError{"bad quiltor:style"};
        int32_t effect = 0;
        if (const char* text = qattrOrNull(node, "effect")) {
            auto n = ParseInt(text);
            if (!n || *n < INT32_MIN || *n > INT32_MAX) throw FormatError{"bad quiltor:effect"};
            effect = static_cast<int32_t>(*n);
        }
        return styles_.intern(*style, effect);
    }

    std::u16string decodeText(std::string_view utf8, const char* what) const {
        auto text = DecodeUtf8(utf8);
        if (!text) throw FormatError{std::string("invalid UTF-8 in ") + what};
        return *text;
    }

    // ---- Presentation: attributes first, then style="" overriding them.
    struct Presentation {
        std::map<std::string, std::string, std::less<>> properties;
        bool hidden = false;
    };

    Presentation presentation(const pugi::xml_node& node) const {
        Presentation p;
        static const char* const names[] = {"fill",
                                            "stroke",
                                            "stroke-width",
                                            "stroke-linecap",
                                            "stroke-linejoin",
                                            "stroke-miterlimit",
                                            "stroke-dasharray",
                                            "stroke-dashoffset",
                                            "fill-rule",
                                            "font-size",
                                            "display",
                                            "visibility"};
        for (const char* name : names) {
            if (pugi::xml_attribute a = node.attribute(name)) p.properties[name] = std::string(Trim(a.value()));
        }
        for (std::string_view declaration : Split(node.attribute("style").value(), ";")) {
            const size_t colon = declaration.find(':');
            if (colon == std::string_view::npos) continue;
            std::string value(Trim(declaration.substr(colon + 1)));
            const size_t important = value.find("!important");
            if (important != std::string::npos) value = std::string(Trim(std::string_view(value).substr(0, important)));
            p.properties[std::string(Trim(declaration.substr(0, colon)))] = value;
        }
        auto display = p.properties.find("display");
        auto visibility = p.properties.find("visibility");
        p.hidden =
            (display != p.properties.end() && display->second == "none") ||
            (visibility != p.properties.end() && (visibility->second == "hidden" || visibility->second == "collapse"));
        return p;
    }

    Context derive(const pugi::xml_node& node, const Context& parent) const {
        Context c = parent;
        if (pugi::xml_attribute t = node.attribute("transform")) {
            if (auto m = ParseTransform(t.value())) c.toDocument = parent.toDocument * *m;
        }
        const Presentation p = presentation(node);
        Paint& paint = c.paint;
        for (const auto& [name, value] : p.properties) {
            if (value == "inherit") continue;
            if (name == "fill") {
                if (auto v = ParsePaint(value)) paint.fill = *v;
            } else if (name == "stroke") {
                if (auto v = ParsePaint(value)) paint.stroke = *v;
            } else if (name == "stroke-width") {
                if (auto v = UserLength(value); v && *v >= 0) paint.strokeWidth = *v;
            } else if (name == "stroke-linecap") {
                paint.cap = value == "round" ? 1 : value == "square" ? 2 : 0;
            } else if (name == "stroke-linejoin") {
                paint.join = value == "round" ? 1 : value == "bevel" ? 2 : 0;
            } else if (name == "stroke-miterlimit") {
                if (auto v = ParseDouble(value)) paint.miterLimit = *v;
            } else if (name == "stroke-dasharray") {
                paint.dash = value == "none" ? std::vector<double>{} : ParseNumberList(value);
            } else if (name == "stroke-dashoffset") {
                if (auto v = UserLength(value)) paint.dashOffset = *v;
            } else if (name == "fill-rule") {
                paint.evenodd = value == "evenodd";
            } else if (name == "font-size") {
                if (auto v = UserLength(value); v && *v > 0) paint.fontSize = *v;
            }
        }
        return c;
    }

    AIPathStyle pathStyleOf(const Context& c) const {
        AIPathStyle s = DefaultPathStyle(document_->colorModel());
        const Paint& p = c.paint;
        const double scale = c.toDocument.scale();
        auto color = [](const std::optional<Rgb>& rgb) {
            AIColor out{};
            if (!rgb) {
                out.kind = kNoneColor;
                return out;
            }
            out.kind = kThreeColor;
            out.c.rgb = AIThreeColorStyle{static_cast<AIReal>(rgb->r), static_cast<AIReal>(rgb->g),
                                          static_cast<AIReal>(rgb->b)};
            return out;
        };
        s.fillPaint = p.fill.has_value();
        s.fill.color = color(p.fill);
        s.strokePaint = p.stroke.has_value();
        s.stroke.color = color(p.stroke);
        s.stroke.width = NearestReal(p.strokeWidth * scale);
        s.stroke.cap = p.cap;
        s.stroke.join = p.join;
        s.stroke.miterLimit = NearestReal(p.miterLimit);
        std::vector<double> dash = p.dash;
        if (dash.size() % 2) dash.insert(dash.end(), p.dash.begin(), p.dash.end());  // odd lists repeat
        s.stroke.dash.length = static_cast<int16_t>(std::min<size_t>(dash.size(), kMaxDashComponents));
        for (int i = 0; i < s.stroke.dash.length; ++i) s.stroke.dash.array[i] = NearestReal(dash[i] * scale);
        s.stroke.dash.offset = NearestReal(p.dashOffset * scale);
        s.evenodd = p.evenodd;
        return s;
    }

    // Appearance and user attributes: exact from quiltor: attributes, else from the SVG paint.
    void applyIdentity(Art* art, const pugi::xml_node& node, const Context& c, bool hidden) {
        if (const char* id = appearanceIdOf(node)) {
            auto found = appearances_.find(id);
            if (found == appearances_.end()) throw FormatError{std::string("unknown appearance ") + id};
            art->style = found->second;
        } else if (qattrOrNull(node, "style")) {
            art->style = readAppearance(node);
        } else if (art->type == kGroupArt) {
            art->style = styles_.intern(DefaultPathStyle(document_->colorModel()));
        } else {
            art->style = styles_.intern(pathStyleOf(c));
        }
        if (const char* text = qattrOrNull(node, "attr"))
            art->userAttr = ParseUserAttrs(text);
        else
            art->userAttr = hidden ? kArtHidden : 0;
    }

    // The appearance the host wrote for the node: quiltor:appearance, or from version 2 the class
    // viewers paint it by.
    const char* appearanceIdOf(const pugi::xml_node& node) const {
        if (const char* id = qattrOrNull(node, "appearance")) return id;
        if (version_ < 2) return nullptr;
        pugi::xml_attribute c = node.attribute("class");
        return c ? c.value() : nullptr;
    }

    void readLayer(const pugi::xml_node& node, Layer* parent, const Context& outer, int depth) {
        if (depth > kMaxDepth) throw FormatError{"layers nested too deeply"};
        Layer* layer = document_->insertLayer(parent, parent ? kPlaceInsideOnTop : kPlaceAboveAll);
        const Context context = derive(node, outer);
        const Presentation p = presentation(node);

        std::string_view title = inkscapeAttr(node, "label");
        if (title.empty()) title = node.attribute("id").value();
        if (!title.empty()) layer->title = decodeText(title, "a layer title");

        if (const char* options = qattrOrNull(node, "options")) {
            auto parsed = ParseLayerOptions(options);
            if (!parsed) throw FormatError{"bad quiltor:options"};
            layer->options = *parsed;
        } else {
            layer->options.visible = !p.hidden;
            layer->options.editable =
                std::string_view(node.attribute(qname(sodipodi_, "insensitive").c_str()).value()) != "true";
        }
        if (qattr(node, "current") == "1") current_ = layer;
        if (appearanceIdOf(node) || qattrOrNull(node, "style") || qattrOrNull(node, "attr"))
            applyIdentity(layer->group, node, context, false);

        for (pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element) continue;
            const std::string_view name = localName(child);
            if (name == "g" && (inkscapeAttr(child, "groupmode") == "layer"))
                readLayer(child, layer, context, depth + 1);
            else
                readArt(child, layer->group, context, depth + 1);
        }
    }

    // New art of the type on top of the container.
    Art* place(int16_t type, Art* container) {
        Art* art = document_->newArt(type, Place{container, container->firstChild});
        if (!art) throw FormatError{"art that cannot be placed here"};
        return art;
    }

    void readArt(const pugi::xml_node& node, Art* container, const Context& outer, int depth) {
        if (depth > kMaxDepth) throw FormatError{"groups nested too deeply"};
        const std::string_view name = localName(node);
        if (!isDrawable(name)) return;
        const std::string_view kind = qattr(node, "kind");
        const Context context = derive(node, outer);
        const bool hidden = presentation(node).hidden;

        if (name == "g" || name == "a" || name == "switch") {
            if (container->type == kCompoundPathArt) return;
            Art* group = place(kGroupArt, container);
            applyIdentity(group, node, context, hidden);
            for (pugi::xml_node child : node.children()) {
                if (child.type() == pugi::node_element) readArt(child, group, context, depth + 1);
            }
            return;
        }
        if (name == "text") {
            readText(node, container, context, hidden);
            return;
        }
        if (kind == "compound") {
            readHostCompound(node, container, context, hidden);
            return;
        }
        if (qattrOrNull(node, "segs")) {
            Art* path = place(kPathArt, container);
            readHostGeometry(path, node);
            applyIdentity(path, node, context, hidden);
            return;
        }
        if (version_ >= 2 && kind == "path") {
            if (auto paths = exactPaths(node); paths && paths->size() <= 1) {
                Art* path = place(kPathArt, container);
                if (!paths->empty()) {
                    path->segments = std::move(paths->front().segments);
                    path->closed = paths->front().closed;
                } else {
                    path->closed = qattr(node, "closed") == "1";
                }
                applyIdentity(path, node, context, hidden);
                return;
            }
            // Path data in another form (an editor rewrote it): read as a viewer shows it.
        }

        std::vector<Subpath> subpaths = shapeOf(node, name);
        if (subpaths.empty()) return;
        if (subpaths.size() == 1 || container->type == kCompoundPathArt) {
            for (const Subpath& subpath : subpaths) {
                Art* path = place(kPathArt, container);
                path->segments = hostSegments(subpath, context);
                path->closed = subpath.closed;
                applyIdentity(path, node, context, hidden);
            }
            return;
        }
        Art* compound = place(kCompoundPathArt, container);
        // The first subpath ends up topmost, as members are listed top first.
        for (auto it = subpaths.rbegin(); it != subpaths.rend(); ++it) {
            Art* member = place(kPathArt, compound);
            member->segments = hostSegments(*it, context);
            member->closed = it->closed;
        }
        // Styles last: the first member placed handed its own to the compound path.
        applyIdentity(compound, node, context, hidden);
        for (Art* member = compound->firstChild; member; member = member->next) member->style = compound->style;
    }

    std::vector<AIPathSegment> hostSegments(const Subpath& subpath, const Context& c) const {
        if (subpath.segments.size() > kMaxPathSegments)
            throw FormatError{"a path with more than " + std::to_string(kMaxPathSegments) + " points"};
        return ToHostSegments(subpath, c.toDocument);
    }

    std::vector<Subpath> shapeOf(const pugi::xml_node& node, std::string_view name) const {
        auto length = [&](const char* attr) { return UserLength(node.attribute(attr).value()).value_or(0.0); };
        if (name == "path") return ParsePathData(node.attribute("d").value());
        if (name == "rect") {
            const double w = length("width"), h = length("height");
            if (!(w > 0 && h > 0)) return {};
            return {RectPath(length("x"), length("y"), w, h)};
        }
        if (name == "circle" || name == "ellipse") {
            const double rx = name == "circle" ? length("r") : length("rx");
            const double ry = name == "circle" ? length("r") : length("ry");
            if (!(rx > 0 && ry > 0)) return {};
            return {EllipsePath(length("cx"), length("cy"), rx, ry)};
        }
        if (name == "line") return {PolyPath({length("x1"), length("y1"), length("x2"), length("y2")}, false)};
        if (name == "polyline" || name == "polygon") {
            std::vector<double> points = ParseNumberList(node.attribute("points").value());
            if (points.size() < 4) return {};
            return {PolyPath(points, name == "polygon")};
        }
        return {};
    }

    // The paths of a node's data in the host's exact form, finished by its quiltor:exact; nullopt
    // when the data is in another form.
    std::optional<std::vector<ExactPath>> exactPaths(const pugi::xml_node& node) const {
        auto paths = ReadExactPathData(node.attribute("d").value(), *axes_);
        if (!paths) return std::nullopt;
        std::vector<ExactPath*> all;
        for (ExactPath& path : *paths) {
            if (path.segments.size() > kMaxPathSegments)
                throw FormatError{"a path with more than " + std::to_string(kMaxPathSegments) + " points"};
            all.push_back(&path);
        }
        if (!FinishExactPaths(qattr(node, "exact"), all)) throw FormatError{"bad quiltor:exact"};
        return paths;
    }

    void readHostGeometry(Art* path, const pugi::xml_node& node) {
        auto segments = ParseSegments(qattr(node, "segs"));
        if (!segments) throw FormatError{"bad quiltor:segs"};
        path->segments = std::move(*segments);
        path->closed = qattr(node, "closed") == "1";
    }

    void readHostCompound(const pugi::xml_node& node, Art* container, const Context& context, bool hidden) {
        if (container->type == kCompoundPathArt) throw FormatError{"a compound path inside a compound path"};
        std::vector<pugi::xml_node> children;
        for (pugi::xml_node child : node.children()) {
            if (child.type() == pugi::node_element && isQuiltorElement(child, "member")) children.push_back(child);
        }
        std::optional<std::vector<ExactPath>> exact;
        if (version_ >= 2) exact = exactPaths(node);
        Art* compound = place(kCompoundPathArt, container);
        std::vector<std::pair<Art*, pugi::xml_node>> members;
        if (exact) {
            members = exactMembers(compound, std::move(*exact), children);
        } else if (version_ < 2 && !children.empty()) {
            for (pugi::xml_node child : children) {
                Art* member = place(kPathArt, compound);
                readHostGeometry(member, child);
                members.emplace_back(member, child);
            }
        } else {
            // Members whose data the file does not keep apart (an older file without members, or
            // path data an editor rewrote): the sub-paths a viewer shows, bottom first as the
            // host writes them.
            for (const Subpath& subpath : ParsePathData(node.attribute("d").value())) {
                Art* member = place(kPathArt, compound);
                member->segments = hostSegments(subpath, context);
                member->closed = subpath.closed;
                members.emplace_back(member, pugi::xml_node{});
            }
        }
        // Styles last: placing members hands styles around, the file says what each one has.
        applyIdentity(compound, node, context, hidden);
        for (auto& [member, child] : members) {
            if (child)
                applyIdentity(member, child, context, false);
            else
                member->style = compound->style;
        }
    }

    // The members of a compound path in the exact form, in the order written: a member child with
    // quiltor:empty stands for a member without anchors, every other member is the next sub-path.
    std::vector<std::pair<Art*, pugi::xml_node>> exactMembers(Art* compound, std::vector<ExactPath> paths,
                                                              const std::vector<pugi::xml_node>& children) {
        std::map<size_t, pugi::xml_node> at;
        size_t empties = 0;
        for (pugi::xml_node child : children) {
            auto n = ParseInt(qattr(child, "at"));
            if (!n || *n < 0 || !at.emplace(static_cast<size_t>(*n), child).second)
                throw FormatError{"a compound path member without a place of its own"};
            const std::string_view empty = qattr(child, "empty");
            if (!empty.empty() && empty != "open" && empty != "closed") throw FormatError{"bad quiltor:empty"};
            if (!empty.empty()) ++empties;
        }
        const size_t count = paths.size() + empties;
        if (!at.empty() && at.rbegin()->first >= count)
            throw FormatError{"a compound path member beyond its sub-paths"};
        std::vector<std::pair<Art*, pugi::xml_node>> members;
        size_t next = 0;
        for (size_t k = 0; k < count; ++k) {
            auto found = at.find(k);
            const pugi::xml_node child = found == at.end() ? pugi::xml_node{} : found->second;
            const std::string_view empty = child ? qattr(child, "empty") : std::string_view{};
            Art* member = place(kPathArt, compound);
            if (!empty.empty()) {
                member->closed = empty == "closed";
            } else {
                if (next >= paths.size()) throw FormatError{"a compound path member beyond its sub-paths"};
                member->segments = std::move(paths[next].segments);
                member->closed = paths[next].closed;
                ++next;
            }
            members.emplace_back(member, child);
        }
        return members;
    }

    void readText(const pugi::xml_node& node, Art* container, const Context& context, bool hidden) {
        if (container->type == kCompoundPathArt) return;
        Art* text = place(kTextFrameArt, container);
        const char* exact = qattrOrNull(node, "text");
        const char* position = qattrOrNull(node, "position");
        const char* fontSize = qattrOrNull(node, "fontSize");
        if (version_ >= 2 && qattr(node, "kind") == "text") {
            readExactText(text, node, exact, position, fontSize);
        } else if (exact && position && fontSize) {
            text->text = decodeText(exact, "a text");
            const std::vector<std::string_view> v = Split(position, ", ");
            auto h = v.size() == 2 ? ParseReal(v[0]) : std::nullopt;
            auto vv = v.size() == 2 ? ParseReal(v[1]) : std::nullopt;
            auto size = ParseReal(fontSize);
            if (!h || !vv || !size) throw FormatError{"bad quiltor text frame"};
            text->position = AIRealPoint{*h, *vv};
            text->fontSize = *size;
        } else {
            readPlainText(text, node, context);
        }
        applyIdentity(text, node, context, hidden);
    }

    // A text the host wrote: what the viewer attributes do not carry is in quiltor: attributes.
    void readExactText(Art* text, const pugi::xml_node& node, const char* exact, const char* position,
                       const char* fontSize) {
        if (exact) {
            text->text = decodeText(exact, "a text");
        } else {
            std::string content;
            for (pugi::xml_node child : node.children()) {
                if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) content += child.value();
            }
            text->text = decodeText(content, "a text");
        }
        if (position) {
            const std::vector<std::string_view> v = Split(position, ", ");
            auto h = v.size() == 2 ? ParseReal(v[0]) : std::nullopt;
            auto vv = v.size() == 2 ? ParseReal(v[1]) : std::nullopt;
            if (!h || !vv) throw FormatError{"bad quiltor:position"};
            text->position = AIRealPoint{*h, *vv};
        } else {
            auto x = ParseDouble(node.attribute("x").value());
            auto y = ParseDouble(node.attribute("y").value());
            if (!x || !y) throw FormatError{"a text without its place"};
            text->position = AIRealPoint{axes_->h(*x), axes_->v(*y)};
        }
        auto size = ParseReal(fontSize ? fontSize : node.attribute("font-size").value());
        if (!size) throw FormatError{"a text without its font size"};
        text->fontSize = *size;
    }

    // Viewer text: its characters with white space collapsed, placed at the first x/y given (on
    // the text or its first tspan).
    void readPlainText(Art* text, const pugi::xml_node& node, const Context& context) {
        std::string content;
        std::optional<double> x = UserLength(node.attribute("x").value());
        std::optional<double> y = UserLength(node.attribute("y").value());
        std::vector<pugi::xml_node> pending{node};
        while (!pending.empty()) {
            pugi::xml_node n = pending.back();
            pending.pop_back();
            if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) {
                content += n.value();
                continue;
            }
            if (n != node && (!x || !y)) {
                if (!x) x = UserLength(n.attribute("x").value());
                if (!y) y = UserLength(n.attribute("y").value());
            }
            std::vector<pugi::xml_node> children(n.begin(), n.end());
            for (auto it = children.rbegin(); it != children.rend(); ++it) pending.push_back(*it);
        }
        const bool preserve = std::string_view(node.attribute("xml:space").value()) == "preserve";
        std::string collapsed;
        for (char c : content) {
            const bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r';
            if (!space)
                collapsed += c;
            else if (preserve)
                collapsed += ' ';
            else if (!collapsed.empty() && collapsed.back() != ' ')
                collapsed += ' ';
        }
        if (!preserve) collapsed = std::string(Trim(collapsed));
        text->text = decodeText(collapsed, "a text");
        const Point2 at = context.toDocument.apply(Point2{x.value_or(0), y.value_or(0)});
        text->position = AIRealPoint{NearestReal(at.x), NearestReal(at.y)};
        text->fontSize = NearestReal(context.paint.fontSize * context.toDocument.scale());
    }

    StyleTable& styles_;
    std::unique_ptr<Document> document_;
    bool svgDefault_ = true;
    std::string svg_, inkscape_ = "inkscape", sodipodi_ = "sodipodi", quiltor_;
    Layer* current_ = nullptr;
    std::map<std::string, ArtStyle*, std::less<>> appearances_;
    std::optional<int32_t> layersMade_;
    int version_ = 0;  // of the host's format; 0 for other SVG
    std::optional<PageAxes> axes_;
};

std::unique_ptr<Document> Fail(std::string* error, AIErr* code, AIErr which, std::string reason) {
    if (error) *error = std::move(reason);
    if (code) *code = which;
    return nullptr;
}

}  // namespace

std::unique_ptr<Document> ReadSvgText(std::string_view text, StyleTable& styles, std::string* error, AIErr* code) {
    pugi::xml_document xml;
    const pugi::xml_parse_result parsed =
        xml.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
        return Fail(error, code, kBadFileFormatErr,
                    std::string("not a readable XML document (") + parsed.description() + " at byte " +
                        std::to_string(parsed.offset) + ")");
    }
    try {
        return Reader(styles).read(xml.document_element());
    } catch (const FormatError& e) {
        return Fail(error, code, kBadFileFormatErr, e.reason);
    }
}

std::unique_ptr<Document> ReadSvgFile(const std::string& path, StyleTable& styles, std::string* error, AIErr* code) {
    const std::filesystem::path file = PathFromUtf8(path);
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (ec) return Fail(error, code, kFileNotFoundErr, ec.message());
    if (!std::filesystem::exists(status)) return Fail(error, code, kFileNotFoundErr, "no such file");
    if (std::filesystem::is_directory(status)) return Fail(error, code, kFileNotFoundErr, "is a folder, not a file");
    std::ifstream in(file, std::ios::binary);
    if (!in) return Fail(error, code, kFileNotFoundErr, std::strerror(errno));
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return Fail(error, code, kFileNotFoundErr, "read error");
    return ReadSvgText(content.str(), styles, error, code);
}

}  // namespace quiltor::host
