#include "AdjustHost.h"

#include <gtest/gtest.h>

#include <polyclipping/clipper.hpp>

#include <cmath>
#include <stdexcept>

#include "IAIUnicodeString.h"
#include "Suites.h"
#include "core/SuiteRegistry.h"
#include "model/Workspace.h"
#include "suites/PathfinderSuite.h"
#include "svg/Svg.h"

namespace adjusttest {

using quiltor::host::Art;

namespace {

void Check(AIErr error, const char* what) {
    if (error != kNoErr) throw std::runtime_error(std::string("host call failed: ") + what);
}

AIPathStyle LineStyle() {
    AIPathStyle style{};
    style.fillPaint = false;
    style.fill.color.kind = kNoneColor;
    style.strokePaint = true;
    style.stroke.color.kind = kFourColor;
    style.stroke.color.c.f = AIFourColorStyle{0, 0, 0, 1};
    style.stroke.width = 0.5f;
    style.stroke.miterLimit = 4;
    return style;
}

constexpr double kUnits = 65536.0;

ClipperLib::Path ToPath(const Contour& contour) {
    ClipperLib::Path path;
    for (const AIRealPoint& p : contour) path.emplace_back(std::llround(p.h * kUnits), std::llround(p.v * kUnits));
    return path;
}

ClipperLib::Paths PathsOf(const Art* art) {
    ClipperLib::Paths paths;
    auto take = [&](const Art* path) {
        Contour contour;
        for (const AIPathSegment& s : path->segments) contour.push_back(s.p);
        paths.push_back(ToPath(contour));
    };
    if (art->type == kPathArt) take(art);
    for (const Art* m = art->firstChild; m; m = m->next) take(m);
    return paths;
}

ClipperLib::PolyFillType RuleOf(const Art* art) {
    return art->style->pathStyle().evenodd ? ClipperLib::pftEvenOdd : ClipperLib::pftNonZero;
}

double AreaOf(const ClipperLib::Paths& paths) {
    double area = 0;
    for (const auto& p : paths) area += ClipperLib::Area(p);
    return area / (kUnits * kUnits);
}

}  // namespace

AdjustHost::AdjustHost(int16_t colorModel) {
    if (!running_.suites().table<AIPathfinderSuite>(kAIPathfinderSuite, kAIPathfinderSuiteVersion))
        quiltor::host::RegisterPathfinderSuite(running_.suites());
    suites_ = std::make_unique<testsupport::PluginSuites>();
    Check(suites_->error(), "acquiring the suites");
    plugin_ = std::make_unique<KTRPluginAdjustPlugin>(nullptr);
    quiltor::host::NewDocumentOptions options;
    options.colorModel = colorModel;
    options.widthPt = 1000;
    options.heightPt = 1000;
    running_.workspace().newDocument(options);
}

AdjustHost::~AdjustHost() { running_.suites().restoreAll(); }

quiltor::host::Document& AdjustHost::document() { return *running_.workspace().currentDocument(); }

AILayerHandle AdjustHost::AddLayer(const std::string& title, AILayerHandle parent) {
    AILayerHandle layer = nullptr;
    if (!parent && !firstLayerTaken_) {
        Check(sAILayer->GetFirstLayer(&layer), "GetFirstLayer");
        firstLayerTaken_ = true;
    } else if (parent) {
        Check(sAILayer->InsertLayer(parent, kPlaceInsideOnBottom, &layer), "InsertLayer");
    } else {
        Check(sAILayer->InsertLayer(nullptr, kPlaceBelowAll, &layer), "InsertLayer");
    }
    Check(sAILayer->SetLayerTitle(layer, ai::UnicodeString(title, kAIUTF8CharacterEncoding).get()), "SetLayerTitle");
    return layer;
}

AILayerHandle AdjustHost::AddClipLayer(const Contour& outline, bool select) {
    firstLayerTaken_ = true;
    AILayerHandle layer = nullptr;
    Check(sAILayer->InsertLayer(nullptr, kPlaceAboveAll, &layer), "InsertLayer");
    Check(sAILayer->SetLayerTitle(layer, ai::UnicodeString("範囲", kAIUTF8CharacterEncoding).get()), "SetLayerTitle");
    AIArtHandle path = AddRing(layer, outline);
    if (select) SetAttr(path, kArtSelected);
    return layer;
}

AIArtHandle AdjustHost::Place(AILayerHandle layer, AIArtHandle parent, int16_t type) {
    AIArtHandle container = parent;
    if (!container) Check(sAIArt->GetFirstArtOfLayer(layer, &container), "GetFirstArtOfLayer");
    AIArtHandle art = nullptr;
    Check(sAIArt->NewArt(type, kPlaceInsideOnBottom, container, &art), "NewArt");
    return art;
}

void AdjustHost::SetSegments(AIArtHandle path, const Contour& points, bool closed) {
    std::vector<AIPathSegment> segments;
    for (const AIRealPoint& p : points) segments.push_back(AIPathSegment{p, p, p, 1});
    const auto count = static_cast<int16_t>(segments.size());
    Check(sAIPath->SetPathSegmentCount(path, count), "SetPathSegmentCount");
    Check(sAIPath->SetPathSegments(path, 0, count, segments.data()), "SetPathSegments");
    Check(sAIPath->SetPathClosed(path, closed), "SetPathClosed");
}

AIArtHandle AdjustHost::AddLine(AILayerHandle layer, const Contour& points, AIArtHandle parent) {
    AIArtHandle path = Place(layer, parent, kPathArt);
    SetSegments(path, points, false);
    const AIPathStyle style = LineStyle();
    Check(sAIPathStyle->SetPathStyle(path, &style), "SetPathStyle");
    return path;
}

AIArtHandle AdjustHost::AddRing(AILayerHandle layer, const Contour& points, AIArtHandle parent) {
    AIArtHandle path = Place(layer, parent, kPathArt);
    SetSegments(path, points, true);
    const AIPathStyle style = LineStyle();
    Check(sAIPathStyle->SetPathStyle(path, &style), "SetPathStyle");
    return path;
}

AIArtHandle AdjustHost::AddFace(AILayerHandle layer, const std::vector<Contour>& contours, Cmyk fill,
                                AIArtHandle parent, bool evenOdd) {
    AIPathStyle style{};
    style.fillPaint = true;
    style.fill.color.kind = kFourColor;
    style.fill.color.c.f = AIFourColorStyle{fill.c, fill.m, fill.y, fill.k};
    style.strokePaint = false;
    style.stroke.color.kind = kNoneColor;
    style.stroke.width = 1;
    style.evenodd = evenOdd;
    AIArtHandle art = nullptr;
    if (contours.size() == 1) {
        art = Place(layer, parent, kPathArt);
        SetSegments(art, contours.front(), true);
    } else {
        art = Place(layer, parent, kCompoundPathArt);
        for (const Contour& contour : contours) {
            AIArtHandle member = nullptr;
            Check(sAIArt->NewArt(kPathArt, kPlaceInsideOnBottom, art, &member), "NewArt");
            SetSegments(member, contour, true);
        }
    }
    Check(sAIPathStyle->SetPathStyle(art, &style), "SetPathStyle");
    return art;
}

AIArtHandle AdjustHost::AddGroup(AILayerHandle layer, AIArtHandle parent) { return Place(layer, parent, kGroupArt); }

AIArtHandle AdjustHost::AddText(AILayerHandle layer, const std::u16string& text, AIRealPoint baseline, AIReal size) {
    // No suite makes text; the model does.
    Art* group = LayerOf(layer)->group;
    Art* art = document().newArt(kTextFrameArt, quiltor::host::Place{group, nullptr});
    AIArtHandle handle = art;
    art->text = text;
    art->position = baseline;
    art->fontSize = size;
    return handle;
}

void AdjustHost::SetAttr(AIArtHandle art, int32_t attr) {
    Check(sAIArt->SetArtUserAttr(art, attr, attr), "SetArtUserAttr");
}

void AdjustHost::SetLayerVisible(AILayerHandle layer, bool visible) {
    Check(sAILayer->SetLayerVisible(layer, visible), "SetLayerVisible");
}

void AdjustHost::SetLayerEditable(AILayerHandle layer, bool editable) {
    Check(sAILayer->SetLayerEditable(layer, editable), "SetLayerEditable");
}

std::vector<std::string> AdjustHost::Run() {
    ui().clear();
    AIMenuMessage message{};
    EXPECT_EQ(plugin_->KTRPluginAdjustMain(&message), kNoErr);
    return ui().transcript();
}

std::string AdjustHost::Svg() { return quiltor::host::WriteSvgText(document()); }

quiltor::host::Layer* AdjustHost::LayerOf(AILayerHandle layer) { return document().findLayer(layer); }

std::vector<Art*> AdjustHost::Objects(AILayerHandle layer) {
    std::vector<Art*> objects;
    for (Art* a = LayerOf(layer)->group->firstChild; a; a = a->next) objects.push_back(a);
    return objects;
}

bool AdjustHost::Alive(AIArtHandle art) { return document().findArt(art) != nullptr; }

double Area(const Art* art) {
    ClipperLib::Clipper clipper;
    clipper.AddPaths(PathsOf(art), ClipperLib::ptSubject, true);
    ClipperLib::Paths out;
    clipper.Execute(ClipperLib::ctUnion, out, RuleOf(art), RuleOf(art));
    return AreaOf(out);
}

double AreaInside(const std::vector<Contour>& contours, const Contour& outline) {
    ClipperLib::Paths subject;
    for (const Contour& c : contours) subject.push_back(ToPath(c));
    ClipperLib::Clipper clipper;
    clipper.AddPaths(subject, ClipperLib::ptSubject, true);
    clipper.AddPath(ToPath(outline), ClipperLib::ptClip, true);
    ClipperLib::Paths out;
    clipper.Execute(ClipperLib::ctIntersection, out, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
    return AreaOf(out);
}

double AreaOutside(const Art* art, const Contour& outline) {
    ClipperLib::Clipper clipper;
    clipper.AddPaths(PathsOf(art), ClipperLib::ptSubject, true);
    clipper.AddPath(ToPath(outline), ClipperLib::ptClip, true);
    ClipperLib::Paths out;
    clipper.Execute(ClipperLib::ctDifference, out, RuleOf(art), ClipperLib::pftEvenOdd);
    return AreaOf(out);
}

AIRealRect BoundsOf(const Contour& contour) {
    AIRealRect r{contour.front().h, contour.front().v, contour.front().h, contour.front().v};
    for (const AIRealPoint& p : contour) {
        r.left = std::min(r.left, p.h);
        r.right = std::max(r.right, p.h);
        r.bottom = std::min(r.bottom, p.v);
        r.top = std::max(r.top, p.v);
    }
    return r;
}

AIRealRect BoundsOf(const Art* art) {
    AIRealRect r{};
    quiltor::host::ArtBounds(art, &r);
    return r;
}

std::vector<AIRealPoint> Anchors(const Art* path) {
    std::vector<AIRealPoint> anchors;
    for (const AIPathSegment& s : path->segments) anchors.push_back(s.p);
    return anchors;
}

std::vector<std::pair<AIReal, AIReal>> Points(const Art* path) {
    std::vector<std::pair<AIReal, AIReal>> points;
    for (const AIPathSegment& s : path->segments) points.emplace_back(s.p.h, s.p.v);
    return points;
}

std::vector<std::pair<AIReal, AIReal>> Points(const Contour& contour) {
    std::vector<std::pair<AIReal, AIReal>> points;
    for (const AIRealPoint& p : contour) points.emplace_back(p.h, p.v);
    return points;
}

bool Inside(const Contour& outline, const AIRealPoint& p) {
    bool inside = false;
    for (size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        const auto& a = outline[i];
        const auto& b = outline[j];
        if ((a.v > p.v) != (b.v > p.v) && p.h < (b.h - a.h) * (p.v - a.v) / (b.v - a.v) + a.h) inside = !inside;
    }
    return inside;
}

Contour Rect(AIReal left, AIReal bottom, AIReal right, AIReal top) {
    return {{left, bottom}, {right, bottom}, {right, top}, {left, top}};
}

}  // namespace adjusttest
