#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "SeamJoin.h"

namespace {

AIPathStyle Base() {
    AIPathStyle s;
    std::memset(&s, 0, sizeof s);
    s.fillPaint = 1;
    s.fill.color.kind = kGrayColor;
    s.strokePaint = 1;
    s.stroke.width = 1;
    s.resolution = 800;
    return s;
}

struct Case {
    const char* name;
    std::function<void(AIPathStyle&)> change;
    bool same;
};

TEST(SamePathStyleTest, OnlyClipEvenOddAndFillColourValuesCount) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {"unchanged", [](AIPathStyle&) {}, true},
        {"clip", [](AIPathStyle& s) { s.clip = 1; }, false},
        {"even-odd", [](AIPathStyle& s) { s.evenodd = 1; }, false},
        {"gray", [](AIPathStyle& s) { s.fill.color.c.g.gray = 0.5f; }, false},
        {"black", [](AIPathStyle& s) { s.fill.color.c.f.black = 0.5f; }, false},
        {"blue", [](AIPathStyle& s) { s.fill.color.c.rgb.blue = 0.5f; }, false},
        {"custom tint", [](AIPathStyle& s) { s.fill.color.c.c.tint = 0.5f; }, false},
        {"custom colour",
         [](AIPathStyle& s) { s.fill.color.c.c.color = reinterpret_cast<AICustomColorHandle>(uintptr_t(64)); }, false},
        {"pattern scale v", [](AIPathStyle& s) { s.fill.color.c.p.scale.v = 2; }, false},
        {"pattern reflect", [](AIPathStyle& s) { s.fill.color.c.p.reflect = 1; }, false},
        {"pattern shear axis", [](AIPathStyle& s) { s.fill.color.c.p.shearAxis = 1; }, false},
        {"pattern transform ty", [](AIPathStyle& s) { s.fill.color.c.p.transform.ty = 1; }, false},
        {"gradient highlight length", [](AIPathStyle& s) { s.fill.color.c.b.hiliteLength = 1; }, false},
        {"gradient matrix d", [](AIPathStyle& s) { s.fill.color.c.b.matrix.d = 1; }, false},
        {"gradient origin h", [](AIPathStyle& s) { s.fill.color.c.b.gradientOrigin.h = 1; }, false},
        {"NaN never equals", [&](AIPathStyle& s) { s.fill.color.c.g.gray = nan; }, false},
        {"colour kind", [](AIPathStyle& s) { s.fill.color.kind = kNoneColor; }, true},
        {"fill paint", [](AIPathStyle& s) { s.fillPaint = 0; }, true},
        {"fill overprint", [](AIPathStyle& s) { s.fill.overprint = 1; }, true},
        {"stroke paint", [](AIPathStyle& s) { s.strokePaint = 0; }, true},
        {"stroke width", [](AIPathStyle& s) { s.stroke.width = 3; }, true},
        {"stroke colour", [](AIPathStyle& s) { s.stroke.color.c.g.gray = 0.7f; }, true},
        {"stroke dash", [](AIPathStyle& s) { s.stroke.dash.length = 2; }, true},
        {"lock clip", [](AIPathStyle& s) { s.lockClip = 1; }, true},
        {"resolution", [](AIPathStyle& s) { s.resolution = 72; }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AIPathStyle other = Base();
        c.change(other);
        EXPECT_EQ(seamjoin::SamePathStyle(Base(), other), c.same);
        EXPECT_EQ(seamjoin::SamePathStyle(other, Base()), c.same);
        // Equal to itself unless a NaN sits in the colour.
        const bool hasNaN = std::isnan(other.fill.color.c.g.gray);
        EXPECT_EQ(seamjoin::SamePathStyle(other, other), !hasNaN);
    }
}

}  // namespace
