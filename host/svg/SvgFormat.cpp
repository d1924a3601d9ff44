#include "svg/SvgFormat.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>

#include "core/TextParsing.h"
#include "model/ArtStyle.h"

namespace quiltor::host::svg {

namespace {

// Key/value pairs of a "k=v k=v" text; nullopt when a piece has no '='.
std::optional<std::map<std::string_view, std::string_view>> Pairs(std::string_view text) {
    std::map<std::string_view, std::string_view> pairs;
    for (std::string_view piece : Split(text, " \t\r\n")) {
        const size_t eq = piece.find('=');
        if (eq == std::string_view::npos) return std::nullopt;
        pairs[piece.substr(0, eq)] = piece.substr(eq + 1);
    }
    return pairs;
}

std::optional<std::vector<float>> Reals(std::string_view text) {
    std::vector<float> values;
    for (std::string_view piece : Split(text, ",")) {
        auto value = ParseReal(piece);
        if (!value) return std::nullopt;
        values.push_back(*value);
    }
    return values;
}

std::string JoinReals(std::initializer_list<float> values) {
    std::string out;
    for (float v : values) {
        if (!out.empty()) out += ',';
        out += FormatReal(v);
    }
    return out;
}

std::string FormatColor(const AIColor& color) {
    const AIColorUnion& c = color.c;
    switch (color.kind) {
    case kGrayColor: return "gray:" + JoinReals({c.g.gray});
    case kFourColor: return "cmyk:" + JoinReals({c.f.cyan, c.f.magenta, c.f.yellow, c.f.black});
    case kThreeColor: return "rgb:" + JoinReals({c.rgb.red, c.rgb.green, c.rgb.blue});
    case kNoneColor: return "none";
    case kCustomColor: return "custom:" + JoinReals({c.c.tint});
    case kPattern: {
        const AIPatternStyle& p = c.p;
        return "pattern:" +
               JoinReals({p.shiftDist, p.shiftAngle, p.scale.h, p.scale.v, p.rotate, static_cast<float>(p.reflect),
                          p.reflectAngle, p.shearAngle, p.shearAxis, p.transform.a, p.transform.b, p.transform.c,
                          p.transform.d, p.transform.tx, p.transform.ty});
    }
    case kGradient: {
        const AIGradientStyle& b = c.b;
        return "gradient:" +
               JoinReals({b.gradientOrigin.h, b.gradientOrigin.v, b.gradientAngle, b.gradientLength, b.matrix.a,
                          b.matrix.b, b.matrix.c, b.matrix.d, b.matrix.tx, b.matrix.ty, b.hiliteAngle, b.hiliteLength});
    }
    default: return "kind" + std::to_string(color.kind);
    }
}

std::optional<AIColor> ParseColor(std::string_view text) {
    AIColor color;
    std::memset(&color, 0, sizeof color);
    const size_t colon = text.find(':');
    const std::string_view kind = text.substr(0, colon);
    std::vector<float> v;
    if (colon != std::string_view::npos) {
        auto values = Reals(text.substr(colon + 1));
        if (!values) return std::nullopt;
        v = *values;
    }
    auto need = [&](size_t n) { return v.size() == n; };
    AIColorUnion& c = color.c;
    if (kind == "gray" && need(1)) {
        color.kind = kGrayColor;
        c.g.gray = v[0];
    } else if (kind == "cmyk" && need(4)) {
        color.kind = kFourColor;
        c.f = AIFourColorStyle{v[0], v[1], v[2], v[3]};
    } else if (kind == "rgb" && need(3)) {
        color.kind = kThreeColor;
        c.rgb = AIThreeColorStyle{v[0], v[1], v[2]};
    } else if (kind == "none" && need(0)) {
        color.kind = kNoneColor;
    } else if (kind == "custom" && need(1)) {
        color.kind = kCustomColor;
        c.c.tint = v[0];
    } else if (kind == "pattern" && need(15)) {
        color.kind = kPattern;
        AIPatternStyle& p = c.p;
        p.shiftDist = v[0];
        p.shiftAngle = v[1];
        p.scale = AIRealPoint{v[2], v[3]};
        p.rotate = v[4];
        p.reflect = static_cast<AIBoolean>(v[5]);
        p.reflectAngle = v[6];
        p.shearAngle = v[7];
        p.shearAxis = v[8];
        p.transform = AIRealMatrix{v[9], v[10], v[11], v[12], v[13], v[14]};
    } else if (kind == "gradient" && need(12)) {
        color.kind = kGradient;
        AIGradientStyle& b = c.b;
        b.gradientOrigin = AIRealPoint{v[0], v[1]};
        b.gradientAngle = v[2];
        b.gradientLength = v[3];
        b.matrix = AIRealMatrix{v[4], v[5], v[6], v[7], v[8], v[9]};
        b.hiliteAngle = v[10];
        b.hiliteLength = v[11];
    } else if (kind.substr(0, 4) == "kind" && need(0)) {
        auto n = ParseInt(kind.substr(4));
        if (!n || *n < INT16_MIN || *n > INT16_MAX) return std::nullopt;
        color.kind = static_cast<int16_t>(*n);
    } else {
        return std::nullopt;
    }
    return color;
}

template <class T>
bool SetInt(std::string_view text, T* out) {
    auto v = ParseInt(text);
    if (!v || *v < std::numeric_limits<T>::min() || *v > std::numeric_limits<T>::max()) return false;
    *out = static_cast<T>(*v);
    return true;
}

bool SetReal(std::string_view text, AIReal* out) {
    auto v = ParseReal(text);
    if (!v) return false;
    *out = *v;
    return true;
}

}  // namespace

std::string FormatReal(float value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::optional<float> ParseReal(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    float value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<double> ParseDouble(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::vector<AIPathSegment>> ParseSegments(std::string_view text) {
    std::vector<AIPathSegment> segments;
    for (std::string_view piece : Split(text, " \t\r\n")) {
        auto values = Reals(piece);
        if (!values || values->size() != 7) return std::nullopt;
        const std::vector<float>& v = *values;
        AIPathSegment s{};
        s.p = AIRealPoint{v[0], v[1]};
        s.in = AIRealPoint{v[2], v[3]};
        s.out = AIRealPoint{v[4], v[5]};
        s.corner = v[6] != 0;
        segments.push_back(s);
        if (segments.size() > kMaxPathSegments) return std::nullopt;
    }
    return segments;
}

std::string FormatPathStyle(const AIPathStyle& s) {
    std::string out;
    auto put = [&](const char* key, const std::string& value) {
        if (!out.empty()) out += ' ';
        out += key;
        out += '=';
        out += value;
    };
    put("fillPaint", std::to_string(s.fillPaint));
    put("fill", FormatColor(s.fill.color));
    put("fillOverprint", std::to_string(s.fill.overprint));
    put("strokePaint", std::to_string(s.strokePaint));
    put("stroke", FormatColor(s.stroke.color));
    put("strokeOverprint", std::to_string(s.stroke.overprint));
    put("width", FormatReal(s.stroke.width));
    std::string dash;
    for (int i = 0; i < s.stroke.dash.length && i < kMaxDashComponents; ++i) {
        if (i) dash += ',';
        dash += FormatReal(s.stroke.dash.array[i]);
    }
    put("dash", dash);
    put("dashOffset", FormatReal(s.stroke.dash.offset));
    put("cap", std::to_string(s.stroke.cap));
    put("join", std::to_string(s.stroke.join));
    put("miter", FormatReal(s.stroke.miterLimit));
    put("clip", std::to_string(s.clip));
    put("lockClip", std::to_string(s.lockClip));
    put("evenodd", std::to_string(s.evenodd));
    put("resolution", FormatReal(s.resolution));
    return out;
}

std::optional<AIPathStyle> ParsePathStyle(std::string_view text, const AIPathStyle& base) {
    auto pairs = Pairs(text);
    if (!pairs) return std::nullopt;
    AIPathStyle s = base;
    for (const auto& [key, value] : *pairs) {
        bool ok = true;
        if (key == "fillPaint")
            ok = SetInt(value, &s.fillPaint);
        else if (key == "strokePaint")
            ok = SetInt(value, &s.strokePaint);
        else if (key == "fillOverprint")
            ok = SetInt(value, &s.fill.overprint);
        else if (key == "strokeOverprint")
            ok = SetInt(value, &s.stroke.overprint);
        else if (key == "clip")
            ok = SetInt(value, &s.clip);
        else if (key == "lockClip")
            ok = SetInt(value, &s.lockClip);
        else if (key == "evenodd")
            ok = SetInt(value, &s.evenodd);
        else if (key == "cap")
            ok = SetInt(value, &s.stroke.cap);
        else if (key == "join")
            ok = SetInt(value, &s.stroke.join);
        else if (key == "width")
            ok = SetReal(value, &s.stroke.width);
        else if (key == "miter")
            ok = SetReal(value, &s.stroke.miterLimit);
        else if (key == "resolution")
            ok = SetReal(value, &s.resolution);
        else if (key == "dashOffset")
            ok = SetReal(value, &s.stroke.dash.offset);
        else if (key == "fill" || key == "stroke") {
            auto color = ParseColor(value);
            ok = color.has_value();
            if (ok) (key == "fill" ? s.fill.color : s.stroke.color) = *color;
        } else if (key == "dash") {
            auto values = Reals(value);
            ok = values && values->size() <= kMaxDashComponents;
            if (ok) {
                s.stroke.dash.length = static_cast<int16_t>(values->size());
                for (size_t i = 0; i < kMaxDashComponents; ++i)
                    s.stroke.dash.array[i] = i < values->size() ? (*values)[i] : 0.0f;
            }
        }
        if (!ok) return std::nullopt;
    }
    return s;
}

std::string FormatUserAttrs(int32_t attrs) {
    std::string out;
    auto add = [&](int32_t bit, const char* name) {
        if (!(attrs & bit)) return;
        if (!out.empty()) out += ' ';
        out += name;
    };
    add(kArtSelected, "selected");
    add(kArtLocked, "locked");
    add(kArtHidden, "hidden");
    add(kArtFullySelected, "fullySelected");
    return out;
}

int32_t ParseUserAttrs(std::string_view text) {
    int32_t attrs = 0;
    for (std::string_view word : Split(text, " \t\r\n")) {
        if (word == "selected")
            attrs |= kArtSelected;
        else if (word == "locked")
            attrs |= kArtLocked;
        else if (word == "hidden")
            attrs |= kArtHidden;
        else if (word == "fullySelected")
            attrs |= kArtFullySelected;
    }
    return attrs;
}

std::string FormatLayerOptions(const LayerOptions& o) {
    auto b = [](bool v) { return v ? "1" : "0"; };
    return std::string("visible=") + b(o.visible) + " preview=" + b(o.preview) + " editable=" + b(o.editable) +
           " printed=" + b(o.printed) + " dimPlacedImages=" + b(o.dimPlacedImages) + " template=" + b(o.isTemplate);
}

std::optional<LayerOptions> ParseLayerOptions(std::string_view text) {
    auto pairs = Pairs(text);
    if (!pairs) return std::nullopt;
    LayerOptions o;
    for (const auto& [key, value] : *pairs) {
        if (value != "0" && value != "1") return std::nullopt;
        const bool on = value == "1";
        if (key == "visible")
            o.visible = on;
        else if (key == "preview")
            o.preview = on;
        else if (key == "editable")
            o.editable = on;
        else if (key == "printed")
            o.printed = on;
        else if (key == "dimPlacedImages")
            o.dimPlacedImages = on;
        else if (key == "template")
            o.isTemplate = on;
    }
    return o;
}

std::string FormatSetup(const AIDocumentSetup& s) {
    return "width=" + FormatReal(s.width) + " height=" + FormatReal(s.height) +
           " showPlacedImages=" + std::to_string(s.showPlacedImages) + " pageView=" + std::to_string(s.pageView) +
           " outputResolution=" + FormatReal(s.outputResolution) +
           " splitLongPaths=" + std::to_string(s.splitLongPaths) +
           " useDefaultScreen=" + std::to_string(s.useDefaultScreen) +
           " compatibleGradients=" + std::to_string(s.compatibleGradients) +
           " printTiles=" + std::to_string(s.printTiles) + " tileFullPages=" + std::to_string(s.tileFullPages);
}

std::optional<AIDocumentSetup> ParseSetup(std::string_view text, const AIDocumentSetup& base) {
    auto pairs = Pairs(text);
    if (!pairs) return std::nullopt;
    AIDocumentSetup s = base;
    for (const auto& [key, value] : *pairs) {
        bool ok = true;
        if (key == "width")
            ok = SetReal(value, &s.width);
        else if (key == "height")
            ok = SetReal(value, &s.height);
        else if (key == "showPlacedImages")
            ok = SetInt(value, &s.showPlacedImages);
        else if (key == "pageView")
            ok = SetInt(value, &s.pageView);
        else if (key == "outputResolution")
            ok = SetReal(value, &s.outputResolution);
        else if (key == "splitLongPaths")
            ok = SetInt(value, &s.splitLongPaths);
        else if (key == "useDefaultScreen")
            ok = SetInt(value, &s.useDefaultScreen);
        else if (key == "compatibleGradients")
            ok = SetInt(value, &s.compatibleGradients);
        else if (key == "printTiles")
            ok = SetInt(value, &s.printTiles);
        else if (key == "tileFullPages")
            ok = SetInt(value, &s.tileFullPages);
        if (!ok) return std::nullopt;
    }
    return s;
}

std::string FormatColorModel(int16_t model) {
    switch (model) {
    case kDocGrayColor: return "gray";
    case kDocRGBColor: return "rgb";
    case kDocCMYKColor: return "cmyk";
    case kDocUnknownColor: return "unknown";
    default: return std::to_string(model);
    }
}

std::optional<int16_t> ParseColorModel(std::string_view text) {
    if (text == "gray") return kDocGrayColor;
    if (text == "rgb") return kDocRGBColor;
    if (text == "cmyk") return kDocCMYKColor;
    if (text == "unknown") return kDocUnknownColor;
    int16_t model = 0;
    if (SetInt(text, &model)) return model;
    return std::nullopt;
}

std::string ViewerColor(const AIColor& color) {
    double rgb[3];
    if (!ColorToRgb(color, rgb)) return "none";
    char buffer[8];
    auto byte = [](double v) {
        return v >= 0 && v <= 1 ? static_cast<int>(std::lround(v * 255.0)) : (v > 1 ? 255 : 0);
    };
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", byte(rgb[0]), byte(rgb[1]), byte(rgb[2]));
    return buffer;
}

}  // namespace quiltor::host::svg
