// SVG that the host did not write: read as a viewer shows it, top-level groups as layers.
#include <gtest/gtest.h>

#include "core/HostStrings.h"
#include "model/ArtStyle.h"
#include "model/Document.h"
#include "svg/Svg.h"
#include "svg/SvgGeometry.h"

namespace quiltor::host::testing {
namespace {

constexpr double kMm = 72.0 / 25.4;  // points per millimetre, the fixture's user unit

std::vector<const Art*> Members(const Art* container) {
    std::vector<const Art*> members;
    for (const Art* a = container->firstChild; a; a = a->next) members.push_back(a);
    return members;
}

std::string Title(const Layer* layer) { return EncodeUtf8(layer->title); }

class SvgPlainTest : public ::testing::Test {
protected:
    std::unique_ptr<Document> readFile(const std::string& name) {
        std::string error;
        AIErr code = kNoErr;
        auto document = ReadSvgFile(std::string(HOST_MODEL_FIXTURES) + "/" + name, styles, &error, &code);
        EXPECT_TRUE(document) << error;
        return document;
    }
    std::unique_ptr<Document> readText(const std::string& text) {
        std::string error;
        AIErr code = kNoErr;
        auto document = ReadSvgText(text, styles, &error, &code);
        EXPECT_TRUE(document) << error;
        return document;
    }
    StyleTable styles;
};

TEST_F(SvgPlainTest, InkscapeLayersBecomeLayersInPaintOrder) {
    auto d = readFile("inkscape_two_layers.svg");
    ASSERT_TRUE(d);
    EXPECT_NEAR(d->setup().width, 595.276, 1e-3);
    EXPECT_NEAR(d->setup().height, 841.89, 1e-3);
    EXPECT_EQ(d->colorModel(), kDocRGBColor);

    const Layer* top = d->firstLayer();
    ASSERT_TRUE(top && top->next);
    const Layer* bottom = top->next;
    EXPECT_EQ(Title(top), "注記");
    EXPECT_EQ(Title(bottom), "建物");
    EXPECT_EQ(bottom->next, nullptr);
    EXPECT_EQ(d->currentLayer(), top);
    EXPECT_FALSE(top->options.editable) << "sodipodi:insensitive locks the layer";
    EXPECT_TRUE(top->options.visible);
    ASSERT_TRUE(bottom->firstChild);
    EXPECT_EQ(Title(bottom->firstChild), "sub");
    EXPECT_FALSE(bottom->firstChild->options.visible);
    EXPECT_EQ(Members(bottom->firstChild->group).size(), 1u);
}

TEST_F(SvgPlainTest, ShapesAndPaintAreReadInDocumentPoints) {
    auto d = readFile("inkscape_two_layers.svg");
    ASSERT_TRUE(d);
    const double height = d->setup().height;
    const std::vector<const Art*> art = Members(d->firstLayer()->next->group);
    ASSERT_EQ(art.size(), 3u);  // g1, rect2, rect1 from the top
    const Art* group = art[0];
    const Art* rect2 = art[1];
    const Art* rect1 = art[2];

    // Relative commands, a translated layer and the flipped y.
    ASSERT_EQ(rect1->type, kPathArt);
    ASSERT_EQ(rect1->segments.size(), 4u);
    EXPECT_TRUE(rect1->closed);
    EXPECT_NEAR(rect1->segments[0].p.h, 10 * kMm, 1e-3);
    EXPECT_NEAR(rect1->segments[0].p.v, height - 30 * kMm, 1e-3);
    EXPECT_NEAR(rect1->segments[2].p.h, 40 * kMm, 1e-3);
    EXPECT_NEAR(rect1->segments[2].p.v, height - 70 * kMm, 1e-3);
    EXPECT_TRUE(rect1->segments[1].corner);
    const AIPathStyle& red = rect1->style->pathStyle();
    EXPECT_TRUE(IsFilled(red));
    EXPECT_FALSE(IsStroked(red));
    EXPECT_EQ(red.fill.color.kind, kThreeColor);
    EXPECT_EQ(red.fill.color.c.rgb.red, 1.0f);
    EXPECT_EQ(red.fill.color.c.rgb.green, 0.0f);

    const AIPathStyle& blue = rect2->style->pathStyle();
    EXPECT_EQ(blue.fill.color.c.rgb.blue, 1.0f);
    EXPECT_TRUE(IsStroked(blue));
    EXPECT_NEAR(blue.stroke.width, 0.5 * kMm, 1e-4);

    ASSERT_EQ(group->type, kGroupArt);
    const std::vector<const Art*> members = Members(group);
    ASSERT_EQ(members.size(), 2u);
    const Art* polyline = members[0];
    const Art* polygon = members[1];
    EXPECT_TRUE(polygon->closed);
    EXPECT_EQ(polygon->segments.size(), 3u);
    EXPECT_EQ(polygon->style->pathStyle().fill.color.c.rgb.green, 1.0f) << "fill inherited from the group";
    EXPECT_FALSE(polyline->closed);
    EXPECT_FALSE(IsFilled(polyline->style->pathStyle()));
    EXPECT_EQ(polyline->style->pathStyle().stroke.dash.length, 2);
    EXPECT_NEAR(polyline->style->pathStyle().stroke.dash.array[1], 2 * kMm, 1e-4);
}

TEST_F(SvgPlainTest, TextCompoundPathsAndCirclesAreRead) {
    auto d = readFile("inkscape_two_layers.svg");
    ASSERT_TRUE(d);
    const double height = d->setup().height;
    const std::vector<const Art*> art = Members(d->firstLayer()->group);
    ASSERT_EQ(art.size(), 3u);  // circle, path, text from the top
    const Art* circle = art[0];
    const Art* compound = art[1];
    const Art* text = art[2];

    ASSERT_EQ(text->type, kTextFrameArt);
    EXPECT_EQ(EncodeUtf8(text->text), "丸の内");
    EXPECT_NEAR(text->position.h, 30 * kMm, 1e-3);
    EXPECT_NEAR(text->position.v, height - 40 * kMm, 1e-3);
    EXPECT_NEAR(text->fontSize, 4.23333 * kMm, 1e-3);

    ASSERT_EQ(compound->type, kCompoundPathArt);
    const std::vector<const Art*> members = Members(compound);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_FALSE(members[0]->closed) << "the first subpath is the first member";
    ASSERT_EQ(members[0]->segments.size(), 3u);
    const AIPathSegment& middle = members[0]->segments[1];
    EXPECT_NEAR(middle.p.h, 20 * kMm, 1e-3);
    EXPECT_NEAR(middle.in.h, 10 * kMm, 1e-3);
    EXPECT_NEAR(middle.out.h, 30 * kMm, 1e-3) << "S reflects the last control point";
    EXPECT_FALSE(middle.corner);
    EXPECT_TRUE(members[1]->closed);
    EXPECT_EQ(members[1]->segments.size(), 3u);
    EXPECT_TRUE(compound->style->pathStyle().evenodd);
    EXPECT_EQ(members[1]->style, compound->style);

    ASSERT_EQ(circle->type, kPathArt);
    EXPECT_TRUE(circle->closed);
    EXPECT_EQ(circle->segments.size(), 4u);
    EXPECT_EQ(circle->style->pathStyle().fill.color.c.rgb.red, 0.0f) << "SVG fills black by default";
}

TEST_F(SvgPlainTest, ArtOutsideGroupsGetsALayerOfItsOwn) {
    auto d = readText(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 100 50">
        <rect width="10" height="10"/><rect x="20" width="10" height="10"/>
        <g id="roads"><path d="M0 0 10 10"/></g>
        <circle r="3"/></svg>)");
    ASSERT_TRUE(d);
    std::vector<std::string> titles;
    std::vector<size_t> counts;
    for (const Layer* l = d->firstLayer(); l; l = l->next) {
        titles.push_back(Title(l));
        counts.push_back(Members(l->group).size());
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Layer 3", "roads", "Layer 1"}));
    EXPECT_EQ(counts, (std::vector<size_t>{1, 1, 2}));
    EXPECT_NEAR(d->setup().width, 75, 1e-4) << "px user units without a size: 0.75 pt each";
    const Art* path = d->firstLayer()->next->group->firstChild;
    EXPECT_EQ(path->segments.size(), 2u) << "pairs after a move draw lines";
}

TEST_F(SvgPlainTest, AnEmptyDrawingOpensWithOneLayer) {
    auto d = readText(R"(<svg:svg xmlns:svg="http://www.w3.org/2000/svg" width="2in" height="1in"/>)");
    ASSERT_TRUE(d);
    ASSERT_TRUE(d->firstLayer());
    EXPECT_EQ(d->firstLayer()->next, nullptr);
    EXPECT_EQ(d->currentLayer(), d->firstLayer());
    EXPECT_NEAR(d->setup().width, 144, 1e-4);
    EXPECT_NEAR(d->setup().height, 72, 1e-4);
}

// ---------------------------------------------------------------- path data

struct PathCase {
    const char* d;
    std::vector<size_t> segments;  // per subpath
    std::vector<bool> closed;
};

void PrintTo(const PathCase& c, std::ostream* out) { *out << '"' << c.d << '"'; }

class PathDataTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathDataTest, SubpathsAndSegments) {
    const PathCase& c = GetParam();
    const std::vector<svg::Subpath> paths = svg::ParsePathData(c.d);
    std::vector<size_t> segments;
    std::vector<bool> closed;
    for (const svg::Subpath& p : paths) {
        segments.push_back(p.segments.size());
        closed.push_back(p.closed);
    }
    EXPECT_EQ(segments, c.segments) << c.d;
    EXPECT_EQ(closed, c.closed) << c.d;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PathDataTest,
    ::testing::Values(PathCase{"M0 0 L10 0 L10 10", {3}, {false}}, PathCase{"M0,0 H10 V10 H0 Z", {4}, {true}},
                      PathCase{"M0 0 10 0 10 10 0 10 0 0 z", {4}, {true}},  // the closing point is dropped
                      PathCase{"m1-2.5.5.5e1", {2}, {false}},               // numbers run together
                      PathCase{"M0 0 C1 1 2 2 3 3 S5 5 6 6", {3}, {false}},
                      PathCase{"M0 0 Q5 5 10 0 T20 0", {3}, {false}},
                      PathCase{"M0 0 A10 10 0 0 1 20 0", {3}, {false}},     // a half turn in two quarters
                      PathCase{"M0 0 a10 10 0 0120 0", {3}, {false}},       // flags written together
                      PathCase{"M0 0 L1 1 Z L2 0", {2, 2}, {true, false}},  // drawing after Z starts again
                      PathCase{"M0 0 M5 5 L6 6", {2}, {false}},             // a lone move draws nothing
                      PathCase{"M0 0 L10 0 X 5 5", {2}, {false}},           // stops at the error
                      PathCase{"L10 10", {}, {}},                           // no move first
                      PathCase{"", {}, {}}));

TEST(SvgTransformTest, TransformsComposeLeftToRight) {
    auto m = svg::ParseTransform("translate(10,20) scale(2)");
    ASSERT_TRUE(m);
    const svg::Point2 p = m->apply({1, 1});
    EXPECT_DOUBLE_EQ(p.x, 12);
    EXPECT_DOUBLE_EQ(p.y, 22);
    auto r = svg::ParseTransform("rotate(90 10 10)");
    ASSERT_TRUE(r);
    const svg::Point2 q = r->apply({20, 10});
    EXPECT_NEAR(q.x, 10, 1e-12);
    EXPECT_NEAR(q.y, 20, 1e-12);
    EXPECT_FALSE(svg::ParseTransform("translate(1,2"));
    EXPECT_FALSE(svg::ParseTransform("wobble(3)"));
}

}  // namespace
}  // namespace quiltor::host::testing
