// The two helpers the joins share: the path-style comparison and the clean-up
// of an outline after a splice.
#include <cstring>

#include "KTRPluginSelectMergePlugin.h"
#include "SeamJoin.h"
#include "SeamWork.h"
#include "Suites.h"

namespace seamjoin {

namespace {

// Every member of the colour union is compared, whatever the colour kind, so
// each view of the union is read from its bytes (no inactive-member access).
template <typename View>
View ViewOf(const AIColorUnion& u) {
    static_assert(sizeof(View) <= sizeof(AIColorUnion));
    View view;
    std::memcpy(&view, &u, sizeof view);
    return view;
}

bool SameMatrix(const AIRealMatrix& a, const AIRealMatrix& b) {
    return a.a == b.a && a.b == b.b && a.c == b.c && a.d == b.d && a.tx == b.tx && a.ty == b.ty;
}

bool SameColourValues(const AIColorUnion& a, const AIColorUnion& b) {
    const auto ga = ViewOf<AIGrayColorStyle>(a);
    const auto gb = ViewOf<AIGrayColorStyle>(b);
    if (!(ga.gray == gb.gray)) {
        return false;
    }
    const auto fa = ViewOf<AIFourColorStyle>(a);
    const auto fb = ViewOf<AIFourColorStyle>(b);
    if (!(fa.cyan == fb.cyan && fa.magenta == fb.magenta && fa.yellow == fb.yellow && fa.black == fb.black)) {
        return false;
    }
    const auto ra = ViewOf<AIThreeColorStyle>(a);
    const auto rb = ViewOf<AIThreeColorStyle>(b);
    if (!(ra.red == rb.red && ra.green == rb.green && ra.blue == rb.blue)) {
        return false;
    }
    const auto ca = ViewOf<AICustomColorStyle>(a);
    const auto cb = ViewOf<AICustomColorStyle>(b);
    if (!(ca.color == cb.color && ca.tint == cb.tint)) {
        return false;
    }
    const auto pa = ViewOf<AIPatternStyle>(a);
    const auto pb = ViewOf<AIPatternStyle>(b);
    if (!(pa.pattern == pb.pattern && pa.shiftDist == pb.shiftDist && pa.shiftAngle == pb.shiftAngle &&
          pa.scale.h == pb.scale.h && pa.scale.v == pb.scale.v && pa.rotate == pb.rotate &&
          (pa.reflect != 0) == (pb.reflect != 0) && pa.reflectAngle == pb.reflectAngle &&
          pa.shearAngle == pb.shearAngle && pa.shearAxis == pb.shearAxis && SameMatrix(pa.transform, pb.transform))) {
        return false;
    }
    const auto ba = ViewOf<AIGradientStyle>(a);
    const auto bb = ViewOf<AIGradientStyle>(b);
    return ba.gradient == bb.gradient && ba.gradientOrigin.h == bb.gradientOrigin.h &&
           ba.gradientOrigin.v == bb.gradientOrigin.v && ba.gradientAngle == bb.gradientAngle &&
           ba.gradientLength == bb.gradientLength && SameMatrix(ba.matrix, bb.matrix) &&
           ba.hiliteAngle == bb.hiliteAngle && ba.hiliteLength == bb.hiliteLength;
}

}  // namespace

bool SamePathStyle(const AIPathStyle& a, const AIPathStyle& b) {
    return (a.clip != 0) == (b.clip != 0) && (a.evenodd != 0) == (b.evenodd != 0) &&
           SameColourValues(a.fill.color.c, b.fill.color.c);
}

void RemoveDoubledPoints(AIArtHandle path) {
    std::vector<SeamPoint> outline = detail::Outline(detail::ReadSegments(path));
    detail::RemoveDoubledPoints(path, outline);
}

namespace detail {

bool RemoveDoubledPoints(AIArtHandle path, std::vector<SeamPoint>& outline) {
    // The scan works on the copy; the host path gets the same deletions in the
    // same order, each index valid at the moment it is made.
    for (std::size_t index : RemoveDoubledPointsIndices(outline)) {
        if (sAIPath->DeletePathSegments(path, int16_t(index), 1) != kNoErr) {
            return false;
        }
    }
    return true;
}

}  // namespace detail

}  // namespace seamjoin

bool KTRPluginSelectMergePlugin::SamePathStyle(const AIPathStyle& a, const AIPathStyle& b) {
    return seamjoin::SamePathStyle(a, b);
}

void KTRPluginSelectMergePlugin::RemoveDoubledPoints(AIArtHandle path) { seamjoin::RemoveDoubledPoints(path); }
