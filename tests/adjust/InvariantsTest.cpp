// Random maps cut with random ranges: what must hold whatever the map and the range.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <vector>

#include "AdjustHost.h"
#include "Suites.h"

namespace adjusttest {
namespace {

using quiltor::host::Art;

// A star-shaped outline around the centre: simple, often concave.
Contour RandomStar(std::mt19937& rng, AIReal cx, AIReal cy, AIReal rMin, AIReal rMax, int nMin, int nMax) {
    const int n = std::uniform_int_distribution<int>(nMin, nMax)(rng);
    std::uniform_real_distribution<double> radius(rMin, rMax);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    Contour contour;
    for (int i = 0; i < n; ++i) {
        const double a = (i + 0.5 + jitter(rng)) * 2 * M_PI / n;
        const double r = radius(rng);
        // Quarter points keep the coordinates exact in single precision.
        contour.push_back({static_cast<AIReal>(std::round((cx + r * std::cos(a)) * 4) / 4),
                           static_cast<AIReal>(std::round((cy + r * std::sin(a)) * 4) / 4)});
    }
    return contour;
}

struct FaceRecord {
    std::vector<Contour> contours;
    const void* style;
};

struct LineRecord {
    AIArtHandle handle;
    Contour points;
};

struct LabelRecord {
    AIArtHandle handle;
    AIRealRect bounds;
};

bool BoxesMeet(const AIRealRect& a, const AIRealRect& b) {
    return !(a.bottom > b.top || b.bottom > a.top || a.left > b.right || b.left > a.right);
}

class RandomMapTest : public ::testing::TestWithParam<int> {};

TEST_P(RandomMapTest, KeepsOnlyWhatReachesTheRangeAndCutsAreasExactly) {
    std::mt19937 rng(static_cast<unsigned>(GetParam()));
    std::uniform_real_distribution<double> coord(0, 1000);
    std::uniform_real_distribution<double> size(5, 250);
    auto quarter = [](double v) { return static_cast<AIReal>(std::round(v * 4) / 4); };

    AdjustHost h;
    AILayerHandle blocks = h.AddLayer("街区");
    AILayerHandle roads = h.AddLayer("道路");
    AILayerHandle labels = h.AddLayer("町・大字名");
    std::vector<FaceRecord> faces;
    std::vector<LineRecord> lines;
    std::vector<LabelRecord> texts;
    for (int i = 0; i < 60; ++i) {
        const AIReal left = quarter(coord(rng)), bottom = quarter(coord(rng));
        const AIReal right = quarter(left + size(rng)), top = quarter(bottom + size(rng));
        std::vector<Contour> contours;
        switch (i % 3) {
        case 0: contours = {Rect(left, bottom, right, top)}; break;
        case 1: contours = {RandomStar(rng, (left + right) / 2, (bottom + top) / 2, 10, 120, 3, 9)}; break;
        default: {
            const AIReal w = (right - left) / 4, hgt = (top - bottom) / 4;
            contours = {Rect(left, bottom, right, top),
                        Rect(quarter(left + w), quarter(bottom + hgt), quarter(right - w), quarter(top - hgt))};
        }
        }
        const Cmyk colour{static_cast<AIReal>(i) / 64, 0.5f, 0.25f, 0};
        AIArtHandle art = h.AddFace(blocks, contours, colour);
        faces.push_back({contours, h.document().findArt(art)->style});
    }
    for (int i = 0; i < 40; ++i) {
        Contour points;
        const int n = std::uniform_int_distribution<int>(2, 9)(rng);
        AIReal x = quarter(coord(rng)), y = quarter(coord(rng));
        for (int k = 0; k < n; ++k) {
            points.push_back({x, y});
            x = quarter(x + size(rng) - 125);
            y = quarter(y + size(rng) - 125);
        }
        lines.push_back({h.AddLine(roads, points), points});
    }
    for (int i = 0; i < 30; ++i) {
        AIArtHandle text = h.AddText(labels, u"町名", {quarter(coord(rng)), quarter(coord(rng))}, 12);
        texts.push_back({text, BoundsOf(h.document().findArt(text))});
    }
    const Contour outline = RandomStar(rng, 500, 500, 80, 350, 4, 12);
    const AIRealRect box = BoundsOf(outline);
    h.AddClipLayer(outline);

    h.Run();
    ASSERT_EQ(h.ui().alerts().size(), 1u);
    ASSERT_EQ(h.ui().alerts()[0].text, "作業が完了しました。");

    // Nothing wholly outside the range's box survives.
    for (AILayerHandle layer : {blocks, roads, labels}) {
        for (const Art* art : h.Objects(layer)) EXPECT_TRUE(BoxesMeet(box, BoundsOf(art)));
    }
    // Every piece lies inside the range, and each area keeps exactly its part inside. New corners
    // are exact to single precision (about 1e-5 pt here), so a long cut edge may stray by a
    // hundredth of a square point.
    std::map<const void*, double> pieceArea;
    for (const Art* piece : h.Objects(blocks)) {
        EXPECT_LT(AreaOutside(piece, outline), 1e-2);
        pieceArea[piece->style] += Area(piece);
    }
    for (const FaceRecord& face : faces) {
        const double want = AreaInside(face.contours, outline);
        EXPECT_NEAR(pieceArea[face.style], want, 1e-6 * want + 1e-2);
    }
    // A line whose anchors all lie inside the range is kept as it was.
    for (const LineRecord& line : lines) {
        bool allInside = true;
        for (const AIRealPoint& p : line.points) allInside &= Inside(outline, p);
        if (!allInside) continue;
        ASSERT_TRUE(h.Alive(line.handle));
        EXPECT_EQ(Anchors(h.document().findArt(line.handle)).size(), line.points.size());
    }
    // Labels stay exactly when their box reaches into the range, and stay as they were.
    for (const LabelRecord& text : texts) {
        const Contour rect = Rect(text.bounds.left, text.bounds.bottom, text.bounds.right, text.bounds.top);
        const bool reaches = AreaInside({rect}, outline) > 0;
        EXPECT_EQ(h.Alive(text.handle), reaches);
        if (reaches) {
            EXPECT_EQ(BoundsOf(h.document().findArt(text.handle)).left, text.bounds.left);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Adjust, RandomMapTest, ::testing::Range(1, 21));

}  // namespace
}  // namespace adjusttest
