// The map-range adjust run: the art of the map layers below the clip layer is cut to the closed
// path the user selected on it. Lines are trimmed and kept whole or dropped, filled areas are
// cut with the host's pathfinder on a work layer, annotation objects are never cut.
#include "KTRPluginAdjustPlugin.h"

#include <algorithm>
#include <cstddef>
#include <unordered_set>
#include <vector>

#include "AnnotationLayers.h"
#include "IAIError.h"
#include "IAIUnicodeString.h"
#include "OutlineArea.h"
#include "Suites.h"

namespace {

constexpr const char* kNoDocumentText = "地図範囲を調整するドキュメントを開いて下さい。";
constexpr const char* kNoClipLayerText =
    "Plateo.aiのレイヤの上に地図範囲の調整に使用する図形を含んだレイヤを設置して下さい。";
constexpr const char* kClipLayerCountText = "クリップ範囲を設定するレイヤは、一つのオブジェクトのみにして下さい。";
constexpr const char* kNothingSelectedText = "地図範囲の調整に使用するオブジェクトを一つ選択して下さい。";
constexpr const char* kTooManySelectedText = "地図範囲の調整に使用するオブジェクトは一つだけ選択して下さい。";
constexpr const char* kNotPlainPathText =
    "地図範囲の調整に使用するオブジェクトは複合パスやグループ化されていないパスアートを選択して下さい。";
constexpr const char* kNotClosedText = "地図範囲の調整に使用するオブジェクトは閉じているパスアートを選択して下さい。";
constexpr const char* kNoAreaText = "地図範囲の調整に使用するオブジェクトは面積のある閉じたパスアートを選択して下さい。";
constexpr const char* kUnexpectedText = "予期しないエラーが発生しました。";
constexpr const char* kDoneText = "作業が完了しました。";

// Texts reach the host through platform buffers of these sizes.
constexpr std::size_t kAlertBufferSize = 260;
constexpr std::size_t kTitleBufferSize = 101;

// Half the side of the frame square; 16383, so the square stays inside the host's range.
constexpr AIReal kFrameHalfSide = 16383.0f;

// The frame is drawn in a muted yellow, the test rectangles in black. Gray uses the first
// component only.
constexpr AIReal kFrameColour[4] = {0.933333f, 0.737255f, 0.152941f, 0.48f};
constexpr AIReal kTestRectColour[4] = {0.0f, 0.0f, 0.0f, 1.0f};

// A test rectangle thinner than this (the bounds of a level or upright line) would cover no area,
// and the pathfinder would report it empty even wholly inside the outline.
constexpr AIReal kMinTestRectSide = 0.02f;

constexpr AIReal kPathfinderPrecision = 10.0f;

void Alert(bool error, const char* text) {
    try {
        char buffer[kAlertBufferSize];
        ai::UnicodeString(text).getToBuffer(buffer, sizeof buffer, kAIPlatformCharacterEncoding);
        const ai::UnicodeString message(buffer);
        if (error)
            sAIUser->ErrorAlert(message.get());
        else
            sAIUser->MessageAlert(message.get());
    } catch (const ai::Error&) {
    }
}

// An art set that is disposed on every way out.
class ArtSet {
public:
    ArtSet() {
        if (sAIArtSet->NewArtSet(&fSet) != kNoErr)
            fSet = nullptr;
    }
    explicit ArtSet(AILayerHandle layer) : ArtSet() {
        if (fSet)
            sAIArtSet->LayerArtSet(layer, fSet);
    }
    ~ArtSet() {
        if (fSet)
            sAIArtSet->DisposeArtSet(&fSet);
    }
    ArtSet(const ArtSet&) = delete;
    ArtSet& operator=(const ArtSet&) = delete;

    void FillSelected() {
        if (fSet)
            sAIArtSet->SelectedArtSet(fSet);
    }
    int32_t Count() const {
        int32_t count = 0;
        if (fSet)
            sAIArtSet->CountArtSet(fSet, &count);
        return count;
    }
    // Null when the index is out of range or the host fails.
    AIArtHandle At(int32_t index) const {
        AIArtHandle art = nullptr;
        if (fSet && sAIArtSet->IndexArtSet(fSet, index, &art) != kNoErr)
            art = nullptr;
        return art;
    }

private:
    AIArtSet fSet = nullptr;
};

// The art and everything inside it, container first.
std::vector<AIArtHandle> Subtree(AIArtHandle root) {
    std::vector<AIArtHandle> tree{root};
    for (std::size_t i = 0; i < tree.size(); ++i) {
        AIArtHandle member = nullptr;
        if (sAIArt->GetArtFirstChild(tree[i], &member) != kNoErr)
            continue;
        while (member) {
            tree.push_back(member);
            AIArtHandle next = nullptr;
            if (sAIArt->GetArtSibling(member, &next) != kNoErr)
                next = nullptr;
            member = next;
        }
    }
    return tree;
}

// Art deleted while an art set is walked: the set still lists it and its members, and their
// handles are dead, so they must never reach the host again.
class DisposedArt {
public:
    bool Contains(AIArtHandle art) const { return fDead.count(art) != 0; }
    bool Dispose(AIArtHandle art) {
        const std::vector<AIArtHandle> tree = Subtree(art);
        if (sAIArt->DisposeArt(art) != kNoErr)
            return false;
        fDead.insert(tree.begin(), tree.end());
        return true;
    }

private:
    std::unordered_set<AIArtHandle> fDead;
};

bool WhollyOutside(const AIRealRect& outline, const AIRealRect& art) {
    return outline.bottom > art.top || art.bottom > outline.top || outline.left > art.right ||
           art.left > outline.right;
}

bool WhollyInside(const AIRealRect& outline, const AIRealRect& art) {
    return outline.bottom <= art.bottom && art.top <= outline.top && outline.left <= art.left &&
           art.right <= outline.right;
}

bool AnchorInside(const AIRealRect& outline, const AIRealPoint& p) {
    return outline.left <= p.h && p.h <= outline.right && outline.bottom <= p.v && p.v <= outline.top;
}

bool LayerOpen(AILayerHandle layer) {
    AIBoolean visible = false;
    AIBoolean editable = false;
    return sAILayer->GetLayerVisible(layer, &visible) == kNoErr && visible &&
           sAILayer->GetLayerEditable(layer, &editable) == kNoErr && editable;
}

// Visible, editable, holding art, without sublayers, and every enclosing layer visible and
// editable. A layer the host cannot answer for is left alone.
bool IsEligibleLayer(AILayerHandle layer) {
    if (!LayerOpen(layer))
        return false;
    AIBoolean hasArt = false;
    if (sAILayer->LayerHasArt(layer, &hasArt) != kNoErr || !hasArt)
        return false;
    AILayerHandle child = nullptr;
    if (sAILayer->GetLayerFirstChild(layer, &child) != kNoErr || child)
        return false;
    AILayerHandle parent = nullptr;
    if (sAILayer->GetLayerParent(layer, &parent) != kNoErr)
        return false;
    while (parent) {
        if (!LayerOpen(parent))
            return false;
        AILayerHandle above = nullptr;
        if (sAILayer->GetLayerParent(parent, &above) != kNoErr)
            return false;
        parent = above;
    }
    return true;
}

// Every eligible layer in the host's preorder except the ones named.
std::vector<AILayerHandle> EligibleLayers(AILayerHandle skip1, AILayerHandle skip2) {
    std::vector<AILayerHandle> layers;
    AILayerHandle layer = nullptr;
    if (sAILayer->GetFirstLayer(&layer) != kNoErr)
        layer = nullptr;
    while (layer) {
        if (layer != skip1 && layer != skip2 && IsEligibleLayer(layer))
            layers.push_back(layer);
        AILayerHandle next = nullptr;
        if (sAILayer->GetNextPreorderLayer(layer, &next) != kNoErr)
            next = nullptr;
        layer = next;
    }
    return layers;
}

bool LockedOrHidden(AIArtHandle art) {
    int32_t attr = 0;
    if (sAIArt->GetArtUserAttr(art, kArtLocked | kArtHidden, &attr) != kNoErr)
        return true;
    return (attr & (kArtLocked | kArtHidden)) != 0;
}

int16_t ArtType(AIArtHandle art) {
    int16_t type = kUnknownArt;
    if (sAIArt->GetArtType(art, &type) != kNoErr)
        type = kUnknownArt;
    return type;
}

// Where an art set entry stands: whether it may be touched, and what encloses it below the
// layer's own group. Art inside a locked or hidden group is as locked or hidden as the group.
struct Standing {
    bool eligible = false;
    bool inCompound = false;
    bool inGroup = false;
};

Standing Locate(AIArtHandle art) {
    Standing standing;
    standing.eligible = !LockedOrHidden(art);
    AIArtHandle parent = nullptr;
    if (sAIArt->GetArtParent(art, &parent) != kNoErr) {
        standing.eligible = false;
        return standing;
    }
    while (parent) {
        AIArtHandle above = nullptr;
        if (sAIArt->GetArtParent(parent, &above) != kNoErr) {
            standing.eligible = false;
            return standing;
        }
        if (!above)
            break;  // the layer's own group
        const int16_t type = ArtType(parent);
        standing.inCompound |= type == kCompoundPathArt;
        standing.inGroup |= type != kCompoundPathArt;
        if (LockedOrHidden(parent))
            standing.eligible = false;
        parent = above;
    }
    return standing;
}

bool Bounds(AIArtHandle art, AIRealRect* bounds) {
    *bounds = AIRealRect{0, 0, 0, 0};
    return sAIArt->GetArtBounds(art, bounds) == kNoErr;
}

bool HasFill(AIArtHandle art) {
    AIBoolean fill = false;
    return sAIArt->ArtHasFill(art, &fill) == kNoErr && fill;
}

bool IsClosed(AIArtHandle art) {
    AIBoolean closed = false;
    return sAIPath->GetPathClosed(art, &closed) == kNoErr && closed;
}

int16_t SegmentCount(AIArtHandle path) {
    int16_t count = -1;
    if (sAIPath->GetPathSegmentCount(path, &count) != kNoErr)
        count = -1;
    return count;
}

// An outline the host cannot read counts as one without area: cut to it, the map would go whole.
bool HasArea(AIArtHandle path) {
    const int16_t count = SegmentCount(path);
    if (count < 1)
        return false;
    std::vector<AIPathSegment> segments(static_cast<std::size_t>(count));
    if (sAIPath->GetPathSegments(path, 0, count, segments.data()) != kNoErr)
        return false;
    std::vector<OutlineAnchor> anchors;
    for (const AIPathSegment& s : segments)
        anchors.push_back({{s.p.h, s.p.v}, {s.in.h, s.in.v}, {s.out.h, s.out.v}});
    return OutlineArea(anchors) >= kMinOutlineArea;
}

// ---------------------------------------------------------------- pass 1

// Deletes what lies wholly outside the outline's bounds. A compound path is one shape and goes
// or stays whole; on an annotation layer so does a group, since a label is never taken apart.
void DeleteOutside(AILayerHandle layer, const AIRealRect& outline, bool annotation) {
    ArtSet set(layer);
    DisposedArt disposed;
    const int32_t count = set.Count();
    for (int32_t i = 1; i < count; ++i) {
        AIArtHandle art = set.At(i);
        if (!art || disposed.Contains(art))
            continue;
        const Standing standing = Locate(art);
        if (!standing.eligible || standing.inCompound || (annotation && standing.inGroup))
            continue;
        AIRealRect bounds;
        if (Bounds(art, &bounds) && WhollyOutside(outline, bounds))
            disposed.Dispose(art);
    }
}

// ---------------------------------------------------------------- pass 2

struct Trim {
    bool changed = false;
    AIArtHandle copy = nullptr;  // the part split off, placed below the path
};

bool BoxesMeet(const AIRealRect& a, const AIRealRect& b) {
    return !WhollyOutside(a, b);
}

// Whether the way from one anchor to the next can touch the box. A curve is judged by the box
// of its control points; a straight line is clipped against the box.
bool SegmentMeetsBox(const AIPathSegment& from, const AIPathSegment& to, const AIRealRect& box) {
    const bool straight = from.out.h == from.p.h && from.out.v == from.p.v && to.in.h == to.p.h && to.in.v == to.p.v;
    if (!straight) {
        AIRealRect hull{from.p.h, from.p.v, from.p.h, from.p.v};
        for (const AIRealPoint& q : {from.out, to.in, to.p}) {
            hull.left = std::min(hull.left, q.h);
            hull.right = std::max(hull.right, q.h);
            hull.bottom = std::min(hull.bottom, q.v);
            hull.top = std::max(hull.top, q.v);
        }
        return BoxesMeet(box, hull);
    }
    double t0 = 0, t1 = 1;
    const double dh = static_cast<double>(to.p.h) - from.p.h;
    const double dv = static_cast<double>(to.p.v) - from.p.v;
    // Liang-Barsky: each side of the box cuts the parameter range.
    const double p[4] = {-dh, dh, -dv, dv};
    const double q[4] = {static_cast<double>(from.p.h) - box.left, static_cast<double>(box.right) - from.p.h,
                         static_cast<double>(from.p.v) - box.bottom, static_cast<double>(box.top) - from.p.v};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0)
                return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

// Removes or splits off the first anchor that lies outside the outline's bounds together with the
// way to each neighbour. (Judging by the neighbours' anchors alone would drop a long straight
// stretch that crosses the box between two anchors outside it.) Reports a change only when the
// path really got shorter, so that a host that refuses the change cannot keep the layer running
// for ever.
Trim TrimAtBounds(AIArtHandle path, const AIRealRect& outline) {
    const int16_t count = SegmentCount(path);
    if (count < 3)
        return {};
    std::vector<AIPathSegment> segments(static_cast<std::size_t>(count));
    if (sAIPath->GetPathSegments(path, 0, count, segments.data()) != kNoErr)
        return {};
    auto at = [&](int i) -> const AIPathSegment& { return segments[static_cast<std::size_t>(i)]; };
    int16_t found = -1;
    for (int16_t i = 0; i < count && found < 0; ++i) {
        if (AnchorInside(outline, at(i).p))
            continue;
        const bool previousOut = i == 0 || !SegmentMeetsBox(at(i - 1), at(i), outline);
        const bool nextOut = i == count - 1 || !SegmentMeetsBox(at(i), at(i + 1), outline);
        if (previousOut && nextOut)
            found = i;
    }
    if (found < 0)
        return {};
    if (found == 0 || found == count - 1) {
        sAIPath->DeletePathSegments(path, found, 1);
        return {SegmentCount(path) == count - 1, nullptr};
    }
    // Both keep anchor `found` as an end. The copy is cut first: when the path then refuses its
    // cut, dropping the copy leaves the line as it was.
    AIArtHandle copy = nullptr;
    if (sAIArt->DuplicateArt(path, kPlaceBelow, path, &copy) != kNoErr || !copy)
        return {};
    sAIPath->DeletePathSegments(copy, 0, found);
    if (SegmentCount(copy) != count - found) {
        sAIArt->DisposeArt(copy);
        return {};
    }
    sAIPath->DeletePathSegments(path, static_cast<int16_t>(found + 1), static_cast<int16_t>(count - found - 1));
    const int16_t left = SegmentCount(path);
    if (left == found + 1)
        return {true, copy};
    if (left == count)
        sAIArt->DisposeArt(copy);
    // Otherwise the path's state is unknown: the copy stays so that nothing of the line is lost,
    // but the layer is not run again for it.
    return {};
}

// Shortens open, unfilled lines at the outline's bounds until nothing changes. Only a path that
// changed can change again, so the later rounds look at the paths of the round before.
void TrimLines(AILayerHandle layer, const AIRealRect& outline) {
    std::unordered_set<AIArtHandle> changed;
    for (bool firstRound = true;; firstRound = false) {
        ArtSet set(layer);
        DisposedArt disposed;
        std::unordered_set<AIArtHandle> changedNow;
        const int32_t count = set.Count();
        for (int32_t i = 1; i < count; ++i) {
            AIArtHandle art = set.At(i);
            if (!art || disposed.Contains(art) || (!firstRound && changed.count(art) == 0))
                continue;
            const Standing standing = Locate(art);
            if (!standing.eligible || standing.inCompound)
                continue;
            if (ArtType(art) != kPathArt)
                continue;
            AIBoolean fill = true;
            AIBoolean closed = true;
            if (sAIArt->ArtHasFill(art, &fill) != kNoErr || fill)
                continue;
            if (sAIPath->GetPathClosed(art, &closed) != kNoErr || closed)
                continue;
            AIRealRect bounds;
            if (!Bounds(art, &bounds))
                continue;
            if (WhollyOutside(outline, bounds)) {
                disposed.Dispose(art);
                continue;
            }
            if (WhollyInside(outline, bounds))
                continue;
            const Trim trim = TrimAtBounds(art, outline);
            if (trim.changed) {
                changedNow.insert(art);
                if (trim.copy)
                    changedNow.insert(trim.copy);
            }
        }
        if (changedNow.empty())
            break;
        changed = std::move(changedNow);
    }
}

// ---------------------------------------------------------------- pass 3

struct WorkArea {
    AIArtHandle frame = nullptr;
    AILayerHandle layer = nullptr;
    AIArtHandle group = nullptr;
};

void EmptyWorkLayer(const WorkArea& work) {
    ArtSet set(work.layer);
    // From the last entry up, so that members go before the art that holds them.
    for (int32_t i = set.Count() - 1; i >= 1; --i) {
        if (AIArtHandle art = set.At(i))
            sAIArt->DisposeArt(art);
    }
}

bool EveryMemberClosed(AIArtHandle compound) {
    AIArtHandle member = nullptr;
    if (sAIArt->GetArtFirstChild(compound, &member) != kNoErr || !member)
        return false;
    while (member) {
        if (ArtType(member) != kPathArt || !IsClosed(member))
            return false;
        AIArtHandle next = nullptr;
        if (sAIArt->GetArtSibling(member, &next) != kNoErr)
            return false;
        member = next;
    }
    return true;
}

// Only areas are cut: a closed, filled path, or a filled compound path all of whose members are
// closed. Everything else (lines, outlines without fill, text, groups, anything on an annotation
// layer) is kept whole or deleted.
bool GetsCut(AIArtHandle art, int16_t type, bool annotation) {
    if (annotation)
        return false;
    if (type == kPathArt)
        return IsClosed(art) && HasFill(art);
    if (type == kCompoundPathArt)
        return HasFill(art) && EveryMemberClosed(art);
    return false;
}

// Moves the pieces the cut left on the work layer to just below the map object. False when the
// host failed on the way; the pieces placed so far are then taken back.
bool PlacePieces(const WorkArea& work, AIArtHandle mapObject) {
    AIArtStyleHandle mapStyle = nullptr;
    if (sAIArtStyle->GetArtStyle(mapObject, &mapStyle) != kNoErr)
        return false;
    ArtSet set(work.layer);
    DisposedArt disposed;
    std::vector<AIArtHandle> placed;
    bool ok = true;
    const int32_t count = set.Count();
    for (int32_t i = 1; i < count && ok; ++i) {
        AIArtHandle entry = set.At(i);
        if (!entry || disposed.Contains(entry))
            continue;
        // Members go with the art that holds them.
        AIArtHandle parent = nullptr;
        if (sAIArt->GetArtParent(entry, &parent) != kNoErr || parent != work.group)
            continue;
        const int16_t type = ArtType(entry);
        if (type != kGroupArt && type != kPathArt && type != kCompoundPathArt)
            continue;
        if (type != kGroupArt && !(IsClosed(entry) && HasFill(entry)))
            continue;
        AIArtHandle copy = nullptr;
        if (sAIArt->DuplicateArt(entry, kPlaceBelow, mapObject, &copy) != kNoErr || !copy) {
            ok = false;
            break;
        }
        if (type == kGroupArt) {
            placed.push_back(copy);
        } else {
            AIArtStyleHandle copyStyle = nullptr;
            AIBoolean same = false;
            if (sAIArtStyle->GetArtStyle(copy, &copyStyle) != kNoErr ||
                sAIArtStyle->CompareArtStyles(copyStyle, mapStyle, &same) != kNoErr) {
                sAIArt->DisposeArt(copy);
                ok = false;
                break;
            }
            if (same)
                placed.push_back(copy);
            else
                sAIArt->DisposeArt(copy);
        }
        disposed.Dispose(entry);
    }
    if (!ok) {
        for (AIArtHandle copy : placed)
            sAIArt->DisposeArt(copy);
    }
    return ok;
}

}  // namespace

// ---------------------------------------------------------------- shapes

namespace {

void SetComponents(AIColor& colour, const AIReal (&components)[4]) {
    switch (colour.kind) {
    case kGrayColor:
        colour.c = AIColorUnion{};
        colour.c.g.gray = components[0];
        break;
    case kFourColor:
        colour.c = AIColorUnion{};
        colour.c.f = AIFourColorStyle{components[0], components[1], components[2], components[3]};
        break;
    case kThreeColor:
        colour.c = AIColorUnion{};
        colour.c.rgb = AIThreeColorStyle{components[0], components[1], components[2]};
        break;
    case kNoneColor:
        colour.c = AIColorUnion{};
        break;
    default:
        break;  // patterns, gradients and custom colours keep what they were
    }
}

// Filled, unstroked, in the colour kind of the document's colour model.
AIErr StyleShape(AIArtHandle art, const AIReal (&components)[4], bool evenOdd) {
    AIPathStyle style{};
    if (AIErr error = sAIPathStyle->GetPathStyle(art, &style))
        return error;
    int16_t model = kDocUnknownColor - 1;  // anything else keeps the colour kind as read
    if (sAIDocument->GetDocumentColorModel(&model) != kNoErr)
        model = kDocUnknownColor - 1;
    AIColor colour = style.fill.color;
    switch (model) {
    case kDocGrayColor: colour.kind = kGrayColor; break;
    case kDocRGBColor: colour.kind = kThreeColor; break;
    case kDocCMYKColor: colour.kind = kFourColor; break;
    case kDocUnknownColor: colour.kind = kNoneColor; break;
    default: break;
    }
    SetComponents(colour, components);
    style.fillPaint = true;
    style.strokePaint = false;
    style.fill.color = colour;
    style.stroke.color = colour;
    style.stroke.width = 1.0f;
    style.stroke.dash = AIDashStyle{};
    if (evenOdd)
        style.evenodd = true;
    return sAIPathStyle->SetPathStyle(art, &style);
}

AIPathSegment Corner(AIReal h, AIReal v) {
    const AIRealPoint p{h, v};
    return AIPathSegment{p, p, p, 1};
}

AIErr MakeRectangle(AIArtHandle path, const AIPathSegment (&corners)[4]) {
    if (AIErr error = sAIPath->SetPathSegmentCount(path, 4))
        return error;
    if (AIErr error = sAIPath->SetPathSegments(path, 0, 4, corners))
        return error;
    return sAIPath->SetPathClosed(path, true);
}

}  // namespace

AIArtHandle KTRPluginAdjustPlugin::CreateLineArt(AIArtHandle path) {
    AIArtHandle square = nullptr;
    if (sAIArt->NewArt(kPathArt, kPlaceAbove, path, &square) != kNoErr || !square)
        return nullptr;
    const AIPathSegment corners[4] = {
        Corner(-kFrameHalfSide, -kFrameHalfSide),
        Corner(kFrameHalfSide, -kFrameHalfSide),
        Corner(kFrameHalfSide, kFrameHalfSide),
        Corner(-kFrameHalfSide, kFrameHalfSide),
    };
    // Even-odd, so the outline is a hole in the square whichever way either runs.
    if (MakeRectangle(square, corners) != kNoErr || StyleShape(square, kFrameColour, true) != kNoErr) {
        sAIArt->DisposeArt(square);
        return nullptr;
    }
    AIArtHandle compound = nullptr;
    if (sAIArt->NewArt(kCompoundPathArt, kPlaceAbove, square, &compound) != kNoErr || !compound) {
        sAIArt->DisposeArt(square);
        return nullptr;
    }
    // A frame without its hole would cover the whole map, so a half-made one is taken back.
    if (sAIArt->ReorderArt(square, kPlaceInsideOnBottom, compound) != kNoErr) {
        sAIArt->DisposeArt(compound);
        sAIArt->DisposeArt(square);
        return nullptr;
    }
    if (sAIArt->ReorderArt(path, kPlaceInsideOnBottom, compound) != kNoErr) {
        sAIArt->DisposeArt(compound);
        return nullptr;
    }
    return compound;
}

AIArtHandle KTRPluginAdjustPlugin::CreateRectLineArt(AIArtHandle reference, AIArtHandle object) {
    AIArtHandle rect = nullptr;
    if (sAIArt->NewArt(kPathArt, kPlaceAbove, reference, &rect) != kNoErr || !rect)
        return nullptr;
    AIRealRect bounds{0, 0, 0, 0};
    if (sAIArt->GetArtBounds(object, &bounds) != kNoErr) {
        sAIArt->DisposeArt(rect);
        return nullptr;
    }
    if (bounds.right - bounds.left < kMinTestRectSide) {
        bounds.left -= kMinTestRectSide / 2;
        bounds.right += kMinTestRectSide / 2;
    }
    if (bounds.top - bounds.bottom < kMinTestRectSide) {
        bounds.bottom -= kMinTestRectSide / 2;
        bounds.top += kMinTestRectSide / 2;
    }
    const AIPathSegment corners[4] = {
        Corner(bounds.left, bounds.bottom),
        Corner(bounds.right, bounds.bottom),
        Corner(bounds.right, bounds.top),
        Corner(bounds.left, bounds.top),
    };
    if (MakeRectangle(rect, corners) != kNoErr || StyleShape(rect, kTestRectColour, false) != kNoErr) {
        sAIArt->DisposeArt(rect);
        return nullptr;
    }
    return rect;
}

bool KTRPluginAdjustPlugin::CheckPlateoStringLayer(AILayerHandle layer) {
    char title[kTitleBufferSize] = {};
    try {
        ai::UnicodeString text;
        if (sAILayer->GetLayerTitle(layer, text.get()) != kNoErr)
            return false;
        text.getToBuffer(title, sizeof title, kAIPlatformCharacterEncoding);
    } catch (const ai::Error&) {
        return false;
    }
    return IsPlateoStringLayerTitle(title);
}

namespace {

void ClipObject(KTRPluginAdjustPlugin& plugin, const WorkArea& work, AIArtHandle art, bool cut,
                DisposedArt& disposed) {
    AIArtHandle frameCopy = nullptr;
    if (sAIArt->DuplicateArt(work.frame, kPlaceAboveAll, work.group, &frameCopy) != kNoErr)
        frameCopy = nullptr;
    AIArtHandle shape = nullptr;
    if (frameCopy) {
        if (!cut)
            shape = plugin.CreateRectLineArt(frameCopy, art);
        else if (sAIArt->DuplicateArt(art, kPlaceAboveAll, work.group, &shape) != kNoErr)
            shape = nullptr;
    }
    // Without both shapes there is no test to go by, and the map object stays.
    AIErr result = kCantHappenErr;
    if (frameCopy && shape) {
        AIArtHandle arts[2] = {shape, frameCopy};
        AIPathfinderData data{};
        data.fSelectedArt = arts;
        data.fSelectedArtCount = 2;
        data.fOptions.ipmPrecision = kPathfinderPrecision;
        data.fOptions.removeRedundantPoints = true;
        data.fOptions.extractUnpaintedArtwork = true;
        result = sAIPathfinder->DoBackMinusFrontEffect(&data);
    }
    bool placed = false;
    if (cut && result == kNoErr)
        placed = PlacePieces(work, art);
    EmptyWorkLayer(work);
    // Only an empty result says the object lies outside; any other failure keeps it.
    if (result == kEmptyResultErr || placed)
        disposed.Dispose(art);
}

void ClipLayer(KTRPluginAdjustPlugin& plugin, const WorkArea& work, AILayerHandle layer) {
    const bool annotation = plugin.CheckPlateoStringLayer(layer);
    ArtSet set(layer);
    DisposedArt disposed;
    const int32_t count = set.Count();
    for (int32_t i = 1; i < count; ++i) {
        AIArtHandle art = set.At(i);
        if (!art || disposed.Contains(art))
            continue;
        // Groups and compound paths are cut or tested whole; their members go with them.
        const Standing standing = Locate(art);
        if (!standing.eligible || standing.inCompound || standing.inGroup)
            continue;
        const int16_t type = ArtType(art);
        if (type == kUnknownArt)
            continue;
        ClipObject(plugin, work, art, GetsCut(art, type, annotation), disposed);
    }
}

// The top-level art of a layer.
std::vector<AIArtHandle> LayerObjects(AILayerHandle layer) {
    std::vector<AIArtHandle> objects;
    AIArtHandle group = nullptr;
    AIArtHandle art = nullptr;
    if (sAIArt->GetFirstArtOfLayer(layer, &group) != kNoErr || !group ||
        sAIArt->GetArtFirstChild(group, &art) != kNoErr)
        return objects;
    while (art) {
        objects.push_back(art);
        AIArtHandle next = nullptr;
        if (sAIArt->GetArtSibling(art, &next) != kNoErr)
            next = nullptr;
        art = next;
    }
    return objects;
}

bool HasMembers(AIArtHandle art) {
    AIArtHandle member = nullptr;
    return sAIArt->GetArtFirstChild(art, &member) == kNoErr && member;
}

// The frame flattened by the exclude operation: the first compound path on the clip layer. Null
// when there is none with members, for an empty frame or none would cover the whole map.
AIArtHandle FlattenFrame(AILayerHandle clipLayer, AIArtHandle lineArt) {
    AIArtHandle arts[1] = {lineArt};
    AIPathfinderData data{};
    data.fSelectedArt = arts;
    data.fSelectedArtCount = 1;
    data.fOptions.ipmPrecision = kPathfinderPrecision;
    data.fOptions.removeRedundantPoints = false;
    data.fOptions.extractUnpaintedArtwork = true;
    // A failed flattening that leaves the frame as built still has the outline as its hole.
    sAIPathfinder->DoExcludeEffect(&data);
    for (AIArtHandle art : LayerObjects(clipLayer)) {
        if (ArtType(art) == kCompoundPathArt && HasMembers(art))
            return art;
    }
    return nullptr;
}

// Gives the clip layer back its outline alone, in its own style (inside the frame it took the
// frame's), as far as the host left the outline alive.
void TakeBackFrame(AILayerHandle clipLayer, AIArtHandle path, AIArtStyleHandle style) {
    bool outlineAlive = false;
    for (AIArtHandle art : LayerObjects(clipLayer)) {
        for (AIArtHandle member : Subtree(art))
            outlineAlive |= member == path;
    }
    AIArtHandle group = nullptr;
    if (outlineAlive && sAIArt->GetFirstArtOfLayer(clipLayer, &group) == kNoErr && group &&
        sAIArt->ReorderArt(path, kPlaceInsideOnTop, group) == kNoErr && style)
        sAIArtStyle->SetArtStyle(path, style);
    for (AIArtHandle art : LayerObjects(clipLayer)) {
        if (art != path)
            sAIArt->DisposeArt(art);
    }
}

}  // namespace

AIErr KTRPluginAdjustPlugin::KTRPluginAdjustMain(AIMenuMessage*) {
    AIDocumentHandle document = nullptr;
    if (sAIDocument->GetDocument(&document) != kNoErr || !document) {
        Alert(true, kNoDocumentText);
        return kNoErr;
    }
    AILayerHandle clipLayer = nullptr;
    AIBoolean hasSelection = false;
    if (sAILayer->GetFirstLayer(&clipLayer) != kNoErr || !clipLayer ||
        sAILayer->LayerHasSelectedArt(clipLayer, &hasSelection) != kNoErr || !hasSelection) {
        Alert(true, kNoClipLayerText);
        return kNoErr;
    }
    if (ArtSet(clipLayer).Count() != 2) {
        Alert(true, kClipLayerCountText);
        return kNoErr;
    }
    AIArtHandle path = nullptr;
    {
        ArtSet selected;
        selected.FillSelected();
        const int32_t count = selected.Count();
        if (count == 0) {
            Alert(true, kNothingSelectedText);
            return kNoErr;
        }
        if (count != 2) {
            Alert(true, kTooManySelectedText);
            return kNoErr;
        }
        path = selected.At(1);
    }
    if (!path || ArtType(path) != kPathArt) {
        Alert(true, kNotPlainPathText);
        return kNoErr;
    }
    if (!IsClosed(path)) {
        Alert(true, kNotClosedText);
        return kNoErr;
    }

    if (!HasArea(path)) {
        Alert(true, kNoAreaText);
        return kNoErr;
    }

    // Without the outline's bounds the first two passes would measure against a wrong box; the
    // clip alone still gives the range.
    AIRealRect outline;
    const bool haveBounds = Bounds(path, &outline);

    // The frame and the work layer are made before anything in the map changes: without them
    // nothing could be cut, and a run that had already deleted and trimmed would leave a map that
    // is neither.
    WorkArea work;
    AIArtStyleHandle outlineStyle = nullptr;
    if (sAIArtStyle->GetArtStyle(path, &outlineStyle) != kNoErr)
        outlineStyle = nullptr;
    AIArtHandle lineArt = CreateLineArt(path);
    if (lineArt && sAILayer->InsertLayer(nullptr, kPlaceAboveAll, &work.layer) != kNoErr)
        work.layer = nullptr;
    if (work.layer && sAIArt->GetFirstArtOfLayer(work.layer, &work.group) != kNoErr)
        work.group = nullptr;
    if (work.group)
        work.frame = FlattenFrame(clipLayer, lineArt);
    if (!work.frame) {
        if (lineArt)
            TakeBackFrame(clipLayer, path, outlineStyle);
        if (work.layer)
            sAILayer->DeleteLayer(work.layer);
        Alert(true, kUnexpectedText);
        return kNoErr;
    }

    if (haveBounds) {
        for (AILayerHandle layer : EligibleLayers(clipLayer, nullptr))
            DeleteOutside(layer, outline, CheckPlateoStringLayer(layer));
        for (AILayerHandle layer : EligibleLayers(clipLayer, nullptr)) {
            if (!CheckPlateoStringLayer(layer))
                TrimLines(layer, outline);
        }
    }

    for (AILayerHandle layer : EligibleLayers(work.layer, clipLayer))
        ClipLayer(*this, work, layer);

    sAILayer->DeleteLayer(work.layer);
    sAIArt->DisposeArt(work.frame);
    Alert(false, kDoneText);
    return kNoErr;
}
