#include "model/ArtStyle.h"

#include <algorithm>
#include <cstring>

namespace quiltor::host {

namespace {

AIColor MakeColor(int16_t colorModel, bool black) {
    AIColor color;
    std::memset(&color, 0, sizeof color);
    switch (colorModel) {
    case kDocGrayColor:
        color.kind = kGrayColor;
        color.c.g.gray = black ? 1.0f : 0.0f;
        break;
    case kDocRGBColor:
        color.kind = kThreeColor;
        color.c.rgb.red = color.c.rgb.green = color.c.rgb.blue = black ? 0.0f : 1.0f;
        break;
    default:
        color.kind = kFourColor;
        color.c.f.black = black ? 1.0f : 0.0f;
        break;
    }
    return color;
}

void AppendBytes(std::string& key, const void* p, size_t n) { key.append(static_cast<const char*>(p), n); }

}  // namespace

AIPathStyle DefaultPathStyle(int16_t colorModel) {
    AIPathStyle style;
    std::memset(&style, 0, sizeof style);
    style.fillPaint = 1;
    style.strokePaint = 1;
    style.fill.color = MakeColor(colorModel, false);
    style.stroke.color = MakeColor(colorModel, true);
    style.stroke.width = 1.0f;
    style.stroke.miterLimit = 4.0f;
    style.resolution = 800.0f;
    return style;
}

AIColor CanonicalColor(const AIColor& in) {
    AIColor out;
    std::memset(&out, 0, sizeof out);
    out.kind = in.kind;
    switch (in.kind) {
    case kGrayColor: out.c.g.gray = in.c.g.gray; break;
    case kFourColor:
        out.c.f.cyan = in.c.f.cyan;
        out.c.f.magenta = in.c.f.magenta;
        out.c.f.yellow = in.c.f.yellow;
        out.c.f.black = in.c.f.black;
        break;
    case kThreeColor:
        out.c.rgb.red = in.c.rgb.red;
        out.c.rgb.green = in.c.rgb.green;
        out.c.rgb.blue = in.c.rgb.blue;
        break;
    case kCustomColor:
        out.c.c.color = in.c.c.color;
        out.c.c.tint = in.c.c.tint;
        break;
    case kPattern: {
        const AIPatternStyle& p = in.c.p;
        AIPatternStyle& q = out.c.p;
        q.pattern = p.pattern;
        q.shiftDist = p.shiftDist;
        q.shiftAngle = p.shiftAngle;
        q.scale.h = p.scale.h;
        q.scale.v = p.scale.v;
        q.rotate = p.rotate;
        q.reflect = p.reflect;
        q.reflectAngle = p.reflectAngle;
        q.shearAngle = p.shearAngle;
        q.shearAxis = p.shearAxis;
        q.transform = p.transform;
        break;
    }
    case kGradient: {
        const AIGradientStyle& b = in.c.b;
        AIGradientStyle& q = out.c.b;
        q.gradient = b.gradient;
        q.gradientOrigin.h = b.gradientOrigin.h;
        q.gradientOrigin.v = b.gradientOrigin.v;
        q.gradientAngle = b.gradientAngle;
        q.gradientLength = b.gradientLength;
        q.matrix = b.matrix;
        q.hiliteAngle = b.hiliteAngle;
        q.hiliteLength = b.hiliteLength;
        break;
    }
    default:  // none, or a kind the host does not know: no values
        break;
    }
    return out;
}

AIPathStyle CanonicalPathStyle(const AIPathStyle& in) {
    AIPathStyle out;
    std::memset(&out, 0, sizeof out);
    out.fillPaint = in.fillPaint;
    out.strokePaint = in.strokePaint;
    // Whole-object copies keep the zeroed padding, so the style works as a byte key.
    const AIColor fill = CanonicalColor(in.fill.color);
    const AIColor stroke = CanonicalColor(in.stroke.color);
    std::memcpy(&out.fill.color, &fill, sizeof fill);
    std::memcpy(&out.stroke.color, &stroke, sizeof stroke);
    out.fill.overprint = in.fill.overprint;
    out.stroke.overprint = in.stroke.overprint;
    out.stroke.width = in.stroke.width;
    out.stroke.dash.length = std::clamp<int16_t>(in.stroke.dash.length, 0, kMaxDashComponents);
    out.stroke.dash.offset = in.stroke.dash.offset;
    for (int i = 0; i < out.stroke.dash.length; ++i) out.stroke.dash.array[i] = in.stroke.dash.array[i];
    out.stroke.cap = in.stroke.cap;
    out.stroke.join = in.stroke.join;
    out.stroke.miterLimit = in.stroke.miterLimit;
    out.clip = in.clip;
    out.lockClip = in.lockClip;
    out.evenodd = in.evenodd;
    out.resolution = in.resolution;
    return out;
}

bool ColorToRgb(const AIColor& color, double rgb[3]) {
    auto unit = [](double v) { return std::clamp(v, 0.0, 1.0); };
    switch (color.kind) {
    case kGrayColor: rgb[0] = rgb[1] = rgb[2] = 1.0 - unit(color.c.g.gray); return true;
    case kFourColor: {
        const double k = unit(color.c.f.black);
        rgb[0] = (1.0 - unit(color.c.f.cyan)) * (1.0 - k);
        rgb[1] = (1.0 - unit(color.c.f.magenta)) * (1.0 - k);
        rgb[2] = (1.0 - unit(color.c.f.yellow)) * (1.0 - k);
        return true;
    }
    case kThreeColor:
        rgb[0] = unit(color.c.rgb.red);
        rgb[1] = unit(color.c.rgb.green);
        rgb[2] = unit(color.c.rgb.blue);
        return true;
    case kCustomColor: rgb[0] = rgb[1] = rgb[2] = 1.0 - unit(color.c.c.tint); return true;
    case kPattern:
    case kGradient:
        rgb[0] = rgb[1] = rgb[2] = 0.5;  // no pattern or gradient art here: a plain middle gray
        return true;
    default: return false;
    }
}

bool IsFilled(const AIPathStyle& style) { return style.fillPaint && style.fill.color.kind != kNoneColor; }
bool IsStroked(const AIPathStyle& style) { return style.strokePaint && style.stroke.color.kind != kNoneColor; }

ArtStyle* StyleTable::intern(const Appearance& appearance) {
    Appearance canonical{CanonicalPathStyle(appearance.pathStyle), appearance.effect};
    std::string key;
    AppendBytes(key, &canonical.pathStyle, sizeof canonical.pathStyle);
    AppendBytes(key, &canonical.effect, sizeof canonical.effect);
    auto found = byKey_.find(key);
    if (found != byKey_.end()) return found->second.get();
    auto style = std::make_unique<ArtStyle>(canonical);
    ArtStyle* raw = style.get();
    byKey_.emplace(std::move(key), std::move(style));
    known_.insert(raw);
    return raw;
}

ArtStyle* StyleTable::find(AIArtStyleHandle handle) const {
    if (!handle || !known_.count(handle)) return nullptr;
    return static_cast<ArtStyle*>(handle);
}

}  // namespace quiltor::host
