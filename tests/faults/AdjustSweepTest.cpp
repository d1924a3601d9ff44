// A whole adjust run once for every host call of the run, with that one call failing the way the
// host fails it. Whatever fails, nothing inside the range may be lost: each line wholly inside
// stays as it was, each face keeps at least its area inside, each label reaching in stays; and a
// run that does not finish says so.
//
// QUILTOR_SWEEP_CALLS=N sweeps N indices spread over the run (0: every index).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "AdjustHost.h"
#include "SuiteFaults.h"
#include "SweepIndices.h"

namespace adjusttest {
namespace {

constexpr char kDone[] = "作業が完了しました。";

AIReal Quarter(double v) { return static_cast<AIReal>(std::round(v * 4) / 4); }

std::vector<Contour> ContoursOf(const quiltor::host::Art* art) {
    std::vector<Contour> contours;
    if (art->type == kPathArt) contours.push_back(Anchors(art));
    for (const quiltor::host::Art* m = art->firstChild; m; m = m->next) contours.push_back(Anchors(m));
    return contours;
}

struct Face {
    std::vector<Contour> contours;
    Cmyk colour;
};

// One map for every run, drawn from a fixed seed.
struct Map {
    std::vector<Face> faces;
    std::vector<Contour> lines;
    std::vector<AIRealPoint> labels;
    Contour outline;

    Map() {
        std::mt19937 rng(11);
        std::uniform_real_distribution<double> coord(0, 1000);
        std::uniform_real_distribution<double> size(5, 250);
        for (int i = 0; i < 16; ++i) {
            const AIReal left = Quarter(coord(rng)), bottom = Quarter(coord(rng));
            const AIReal right = Quarter(left + size(rng)), top = Quarter(bottom + size(rng));
            Face face{{Rect(left, bottom, right, top)}, {static_cast<AIReal>(i) / 32, 0.5f, 0.25f, 0}};
            if (i % 2 == 1) {
                const AIReal w = (right - left) / 4, h = (top - bottom) / 4;
                face.contours.push_back(
                    Rect(Quarter(left + w), Quarter(bottom + h), Quarter(right - w), Quarter(top - h)));
            }
            faces.push_back(face);
        }
        for (int i = 0; i < 12; ++i) {
            Contour points;
            AIReal x = Quarter(coord(rng)), y = Quarter(coord(rng));
            for (int k = 0; k < 5; ++k) {
                points.push_back({x, y});
                x = Quarter(x + size(rng) - 125);
                y = Quarter(y + size(rng) - 125);
            }
            lines.push_back(points);
        }
        for (int i = 0; i < 10; ++i) labels.push_back({Quarter(coord(rng)), Quarter(coord(rng))});
        outline = {{250, 250}, {750, 200}, {800, 700}, {500, 820}, {200, 650}};
    }
};

struct Outcome {
    int calls = 0;
    std::string failed;
    int lastWorkingCall = 0;
    std::vector<std::string> log;  // every call, in order
    bool done = false;
    bool saidWhy = false;
    std::vector<std::string> lost;  // what went missing inside the range
};

Outcome RunAdjust(const Map& map, int failAt) {
    Outcome outcome;
    AdjustHost h;
    AILayerHandle blocks = h.AddLayer("街区");
    AILayerHandle roads = h.AddLayer("道路");
    AILayerHandle labelLayer = h.AddLayer("町・大字名");
    std::vector<const void*> faceStyles;
    for (const Face& face : map.faces)
        faceStyles.push_back(h.document().findArt(h.AddFace(blocks, face.contours, face.colour))->style);
    std::vector<AIArtHandle> lines;
    for (const Contour& line : map.lines) lines.push_back(h.AddLine(roads, line));
    std::vector<AIArtHandle> labels;
    std::vector<AIRealRect> labelBounds;
    for (const AIRealPoint& at : map.labels) {
        labels.push_back(h.AddText(labelLayer, u"町名", at, 12));
        labelBounds.push_back(BoundsOf(h.document().findArt(labels.back())));
    }
    h.AddClipLayer(map.outline);
    {
        testsupport::SuiteFaults faults(h.host().suites());
        faults.WrapAll();
        faults.FailNthCall(failAt);
        h.Run();
        outcome.calls = faults.TotalCalls();
        if (failAt > 0 && failAt <= int(faults.Log().size())) outcome.failed = faults.Log()[size_t(failAt - 1)];
        outcome.lastWorkingCall = testsupport::LastWorkingCall(faults.Log());
        if (failAt == 0) outcome.log.assign(faults.Log().begin(), faults.Log().end());
    }
    for (const auto& alert : h.ui().alerts()) {
        if (alert.text == kDone) outcome.done = true;
        if (alert.kind == quiltor::host::AlertKind::Error) outcome.saidWhy = true;
    }

    for (size_t i = 0; i < map.lines.size(); ++i) {
        bool inside = true;
        for (const AIRealPoint& p : map.lines[i]) inside &= Inside(map.outline, p);
        if (inside && (!h.Alive(lines[i]) || Points(h.document().findArt(lines[i])) != Points(map.lines[i])))
            outcome.lost.push_back("line " + std::to_string(i));
    }
    std::map<const void*, double> areaByStyle;
    for (const quiltor::host::Art* piece : h.Objects(blocks))
        areaByStyle[piece->style] += AreaInside(ContoursOf(piece), map.outline);
    for (size_t i = 0; i < map.faces.size(); ++i) {
        const double want = AreaInside(map.faces[i].contours, map.outline);
        if (areaByStyle[faceStyles[i]] < want - 1e-6 * want - 1e-2) outcome.lost.push_back("face " + std::to_string(i));
    }
    for (size_t i = 0; i < labels.size(); ++i) {
        const AIRealRect& b = labelBounds[i];
        if (AreaInside({Rect(b.left, b.bottom, b.right, b.top)}, map.outline) > 0 && !h.Alive(labels[i]))
            outcome.lost.push_back("label " + std::to_string(i));
    }
    return outcome;
}

TEST(AdjustSweep, AFailingHostCallLosesNothingInsideTheRangeAndIsNeverReportedAsSuccess) {
    const Map map;
    const Outcome clean = RunAdjust(map, 0);
    ASSERT_TRUE(clean.done);
    ASSERT_TRUE(clean.lost.empty()) << clean.lost.front();
    int stopped = 0;
    const std::vector<int> indices = testsupport::SweepCalls(clean.log);
    for (int n : indices) {
        const Outcome run = RunAdjust(map, n);
        SCOPED_TRACE("host call " + std::to_string(n) + " of " + std::to_string(clean.calls) +
                     " failing: " + run.failed);
        EXPECT_TRUE(run.lost.empty()) << run.lost.size() << " lost, first " << run.lost.front();
        if (!run.done) {
            ++stopped;
            EXPECT_TRUE(run.saidWhy || n > clean.lastWorkingCall);
        }
    }
    std::printf("[ sweep    ] %zu of %d host calls failed in turn; %d runs stopped early\n", indices.size(),
                clean.calls, stopped);
}

}  // namespace
}  // namespace adjusttest
