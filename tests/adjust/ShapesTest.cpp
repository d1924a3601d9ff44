// The frame and the test rectangle, their colours in each colour model, and the annotation layer
// names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AdjustHost.h"
#include "Suites.h"
#include "core/AnnotationLayers.h"
#include "core/SuiteRegistry.h"

namespace adjusttest {
namespace {

using quiltor::host::Art;

struct ColourCase {
    const char* name;
    int16_t model;
    int16_t kind;
    std::vector<AIReal> frame;  // the components the kind uses
    std::vector<AIReal> rect;
};

void PrintTo(const ColourCase& c, std::ostream* out) { *out << c.name; }

std::vector<AIReal> Components(const AIColor& colour) {
    switch (colour.kind) {
    case kGrayColor: return {colour.c.g.gray};
    case kThreeColor: return {colour.c.rgb.red, colour.c.rgb.green, colour.c.rgb.blue};
    case kFourColor: return {colour.c.f.cyan, colour.c.f.magenta, colour.c.f.yellow, colour.c.f.black};
    default: return {};
    }
}

class ColourTest : public ::testing::TestWithParam<ColourCase> {};

void ExpectShapeStyle(const Art* art, int16_t kind, const std::vector<AIReal>& components) {
    const AIPathStyle& style = art->style->pathStyle();
    EXPECT_TRUE(style.fillPaint);
    EXPECT_FALSE(style.strokePaint);
    EXPECT_EQ(style.fill.color.kind, kind);
    EXPECT_EQ(style.stroke.color.kind, kind);
    EXPECT_EQ(Components(style.fill.color), components);
    EXPECT_EQ(Components(style.stroke.color), components);
    EXPECT_EQ(style.stroke.width, 1.0f);
    EXPECT_EQ(style.stroke.dash.length, 0);
}

TEST_P(ColourTest, FrameAndTestRectangleTakeTheDocumentsColourKind) {
    AdjustHost h(GetParam().model);
    AILayerHandle layer = h.AddLayer("道路");
    AIArtHandle line = h.AddLine(layer, {{10, 10}, {20, 30}});
    AILayerHandle clip = h.AddClipLayer(Rect(0, 0, 50, 50));
    AIArtHandle path = h.Objects(clip).front();

    AIArtHandle frame = h.plugin().CreateLineArt(path);
    AIArtHandle rect = h.plugin().CreateRectLineArt(frame, line);

    ASSERT_NE(frame, nullptr);
    ASSERT_NE(rect, nullptr);
    ExpectShapeStyle(h.document().findArt(frame), GetParam().kind, GetParam().frame);
    ExpectShapeStyle(h.document().findArt(rect), GetParam().kind, GetParam().rect);
}

const ColourCase kColourCases[] = {
    {"Gray", kDocGrayColor, kGrayColor, {0.933333f}, {0.0f}},
    {"RGB", kDocRGBColor, kThreeColor, {0.933333f, 0.737255f, 0.152941f}, {0, 0, 0}},
    {"CMYK", kDocCMYKColor, kFourColor, {0.933333f, 0.737255f, 0.152941f, 0.48f}, {0, 0, 0, 1.0f}},
    {"Unknown", kDocUnknownColor, kNoneColor, {}, {}},
};

INSTANTIATE_TEST_SUITE_P(Adjust, ColourTest, ::testing::ValuesIn(kColourCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CreateLineArt, AnyOtherColourModelKeepsTheColourKindAsRead) {
    AdjustHost h(kDocRGBColor);
    AILayerHandle clip = h.AddClipLayer(Rect(0, 0, 50, 50));
    auto* documents = h.host().suites().table<AIDocumentSuite>(kAIDocumentSuite, kAIDocumentSuiteVersion);
    documents->GetDocumentColorModel = [](int16_t* model) -> AIErr {
        *model = 7;
        return kNoErr;
    };
    AIArtHandle square = nullptr;
    sAIArt->NewArt(kPathArt, kPlaceAbove, h.Objects(clip).front(), &square);
    const int16_t kindAsRead = h.document().findArt(square)->style->pathStyle().fill.color.kind;

    AIArtHandle frame = h.plugin().CreateLineArt(h.Objects(clip).back());

    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(h.document().findArt(frame)->style->pathStyle().fill.color.kind, kindAsRead);
}

TEST(CreateLineArt, HoldsTheSquareAboveTheOutlineAsItsHole) {
    AdjustHost h;
    AILayerHandle clip = h.AddClipLayer(Rect(10, 20, 30, 40));
    AIArtHandle path = h.Objects(clip).front();

    AIArtHandle frame = h.plugin().CreateLineArt(path);

    ASSERT_NE(frame, nullptr);
    const Art* compound = h.document().findArt(frame);
    EXPECT_EQ(compound->type, kCompoundPathArt);
    ASSERT_EQ(h.Objects(clip).size(), 1u);
    EXPECT_EQ(h.Objects(clip).front(), compound);
    const Art* square = compound->firstChild;
    ASSERT_NE(square, nullptr);
    ASSERT_EQ(square->next, h.document().findArt(path));
    EXPECT_EQ(square->next->next, nullptr);
    EXPECT_TRUE(square->closed);
    const std::vector<AIRealPoint> corners{{-16383, -16383}, {16383, -16383}, {16383, 16383}, {-16383, 16383}};
    ASSERT_EQ(square->segments.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const AIPathSegment& s = square->segments[i];
        EXPECT_EQ(s.p.h, corners[i].h);
        EXPECT_EQ(s.p.v, corners[i].v);
        EXPECT_EQ(s.in.h, s.p.h);
        EXPECT_EQ(s.out.v, s.p.v);
        EXPECT_TRUE(s.corner);
    }
    // The square and the outline share one appearance; even-odd makes the outline a hole.
    EXPECT_EQ(Area(compound), 32766.0 * 32766.0 - 20 * 20);
}

TEST(CreateRectLineArt, CoversATextObjectsBoundsDirectlyAboveTheReference) {
    AdjustHost h(kDocRGBColor);
    AILayerHandle names = h.AddLayer("漢字");
    AIArtHandle reference = h.AddRing(names, Rect(0, 0, 10, 10));
    AIArtHandle below = h.AddRing(names, Rect(0, 0, 5, 5));
    AIArtHandle text = h.AddText(names, u"渋谷", {100, 200}, 10);

    AIArtHandle rect = h.plugin().CreateRectLineArt(reference, text);

    ASSERT_NE(rect, nullptr);
    const auto objects = h.Objects(names);
    ASSERT_EQ(objects.size(), 4u);
    EXPECT_EQ(objects[0], h.document().findArt(rect));
    EXPECT_EQ(objects[1], h.document().findArt(reference));
    EXPECT_EQ(objects[2], h.document().findArt(below));
    const AIRealRect want = BoundsOf(h.document().findArt(text));
    const AIRealRect got = BoundsOf(objects[0]);
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.bottom, want.bottom);
    EXPECT_EQ(got.right, want.right);
    EXPECT_EQ(got.top, want.top);
    EXPECT_TRUE(objects[0]->closed);
    ExpectShapeStyle(objects[0], kThreeColor, {0, 0, 0});
}

TEST(CreateLineArt, TakesBackAHalfMadeSquare) {
    AdjustHost h;
    AILayerHandle clip = h.AddClipLayer(Rect(0, 0, 50, 50));
    AIArtHandle path = h.Objects(clip).front();
    auto* styles = h.host().suites().table<AIPathStyleSuite>(kAIPathStyleSuite, kAIPathStyleSuiteVersion);
    styles->SetPathStyle = [](AIArtHandle, const AIPathStyle*) -> AIErr { return kInjectedFailureErr; };

    EXPECT_EQ(h.plugin().CreateLineArt(path), nullptr);

    const auto objects = h.Objects(clip);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0], h.document().findArt(path));
}

// ---- annotation layers

struct TitleCase {
    const char* name;
    std::string parent;  // empty: a top-level layer
    std::string title;
    bool annotation;
};

void PrintTo(const TitleCase& c, std::ostream* out) { *out << c.name; }

class AnnotationTitleTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(AnnotationTitleTest, ComparesTheLayersOwnTitleExactly) {
    AdjustHost h;
    AILayerHandle parent = GetParam().parent.empty() ? nullptr : h.AddLayer(GetParam().parent);
    AILayerHandle layer = h.AddLayer(GetParam().title, parent);
    EXPECT_EQ(h.plugin().CheckPlateoStringLayer(layer), GetParam().annotation);
}

const TitleCase kTitleCases[] = {
    {"Other", "", "その他", true},
    {"TrailingBlank", "", "その他 ", false},
    {"DigitAppended", "", "その他1", false},
    {"FullWidthLetters", "", "ＩＣ・ＪＣ・ＳＡ・ＰＡ", true},
    {"HalfWidthLetters", "", "IC・JC・SA・PA", false},
    {"FullWidthBrackets", "", "駅名（ひらがな）", true},
    {"HalfWidthBrackets", "", "駅名(ひらがな)", false},
    {"HalfWidthSlash", "", "教育/小学・中学・高校", true},
    {"FullWidthSlash", "", "教育／小学・中学・高校", false},
    {"SublayerUnderAnyParent", "道路", "漢字", true},
    {"ParentTitleDoesNotCount", "漢字", "道路", false},
    {"Empty", "", "", false},
};

INSTANTIATE_TEST_SUITE_P(Adjust, AnnotationTitleTest, ::testing::ValuesIn(kTitleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AnnotationTitle, EveryNameOfTheTableIsAnAnnotationLayer) {
    AdjustHost h;
    for (const char* name : plateoStringLayerNames) {
        AILayerHandle layer = h.AddLayer(name);
        EXPECT_TRUE(h.plugin().CheckPlateoStringLayer(layer)) << name;
    }
}

TEST(AnnotationTitle, AnUnreadableTitleIsNoAnnotationLayer) {
    AdjustHost h;
    AILayerHandle layer = h.AddLayer("漢字");
    auto* layers = h.host().suites().table<AILayerSuite>(kAILayerSuite, kAILayerSuiteVersion);
    layers->GetLayerTitle = [](AILayerHandle, AIUnicodeStringRef) -> AIErr { return kInjectedFailureErr; };
    EXPECT_FALSE(h.plugin().CheckPlateoStringLayer(layer));
}

}  // namespace
}  // namespace adjusttest
