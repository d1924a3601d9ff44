#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "ModelDump.h"
#include "ModelFixture.h"
#include "svg/Svg.h"

namespace quiltor::host::testing {
namespace {

class SvgRoundTripTest : public ModelTest {
protected:
    // The document written and read back, as a new document of the same workspace.
    std::unique_ptr<Document> roundTrip(const Document& d) {
        const std::string text = WriteSvgText(d);
        std::string error;
        AIErr code = kNoErr;
        std::unique_ptr<Document> read = ReadSvgText(text, workspace().styles(), &error, &code);
        EXPECT_TRUE(read) << error;
        return read;
    }
    void expectSameAfterRoundTrip() {
        document().purgeUndo();
        document().setModified(false);
        std::unique_ptr<Document> read = roundTrip(document());
        ASSERT_TRUE(read);
        EXPECT_EQ(DumpDocument(*read), DumpDocument(document()));
        EXPECT_EQ(WriteSvgText(*read), WriteSvgText(document())) << "a second round changes nothing";
    }
    AILayerHandle insert(AILayerHandle reference, int16_t order, const char* title) {
        AILayerHandle layer = nullptr;
        EXPECT_EQ(layers->InsertLayer(reference, order, &layer), kNoErr);
        setTitle(layer, title);
        return layer;
    }
    AIPathStyle styleOf(AIArtHandle a) {
        AIPathStyle s{};
        pathStyles->GetPathStyle(a, &s);
        return s;
    }
};

TEST_F(SvgRoundTripTest, AThreeLevelLayerTreeKeepsItsOptions) {
    using Set = AIErr (*)(AILayerHandle, AIBoolean);
    const Set setters[] = {layers->SetLayerVisible, layers->SetLayerPreview,         layers->SetLayerEditable,
                           layers->SetLayerPrinted, layers->SetLayerDimPlacedImages, layers->SetLayerIsTemplate};
    AILayerHandle top = firstLayer();
    setTitle(top, "整飾");
    std::vector<AILayerHandle> all = {top};
    AILayerHandle mid = insert(top, kPlaceInsideOnBottom, "スケールバー");
    all.push_back(mid);
    all.push_back(insert(mid, kPlaceInsideOnBottom, "第三 & <level> \"1\""));
    all.push_back(insert(mid, kPlaceInsideOnBottom, "第三 b"));
    all.push_back(insert(top, kPlaceInsideOnBottom, "方位記号"));
    all.push_back(insert(nullptr, kPlaceBelowAll, "道路"));
    all.push_back(insert(nullptr, kPlaceBelowAll, "  spaced title  "));
    // Every layer gets a different mix of the six options.
    for (size_t i = 0; i < all.size(); ++i) {
        for (size_t bit = 0; bit < 6; ++bit) setters[bit](all[i], ((i * 11 + bit * 5) % 3) == 0);
    }
    layers->SetCurrentLayer(all[2]);
    expectSameAfterRoundTrip();
}

TEST_F(SvgRoundTripTest, EveryPathStyleMemberSurvives) {
    using Change = std::function<void(AIPathStyle&)>;
    auto color = [](AIColor& c, int16_t kind) {
        std::memset(&c.c, 0, sizeof c.c);
        c.kind = kind;
    };
    const std::vector<std::pair<const char*, Change>> styles = {
        {"gray",
         [&](AIPathStyle& s) {
             color(s.fill.color, kGrayColor);
             s.fill.color.c.g.gray = 0.3f;
         }},
        {"cmyk",
         [&](AIPathStyle& s) {
             color(s.fill.color, kFourColor);
             s.fill.color.c.f = {0.933333f, 0.737255f, 0.152941f, 0.48f};
         }},
        {"rgb",
         [&](AIPathStyle& s) {
             color(s.stroke.color, kThreeColor);
             s.stroke.color.c.rgb = {238 / 255.0f, 188 / 255.0f, 39 / 255.0f};
         }},
        {"none", [&](AIPathStyle& s) { color(s.fill.color, kNoneColor); }},
        {"custom",
         [&](AIPathStyle& s) {
             color(s.fill.color, kCustomColor);
             s.fill.color.c.c.tint = 0.4f;
         }},
        {"pattern",
         [&](AIPathStyle& s) {
             color(s.fill.color, kPattern);
             AIPatternStyle& p = s.fill.color.c.p;
             p.shiftDist = 1;
             p.shiftAngle = 2;
             p.scale = {3, 4};
             p.rotate = 5;
             p.reflect = 1;
             p.reflectAngle = 6;
             p.shearAngle = 7;
             p.shearAxis = 8;
             p.transform = {1, 0.5f, -0.5f, 1, 9, 10};
         }},
        {"gradient",
         [&](AIPathStyle& s) {
             color(s.fill.color, kGradient);
             AIGradientStyle& g = s.fill.color.c.b;
             g.gradientOrigin = {1, 2};
             g.gradientAngle = 3;
             g.gradientLength = 4;
             g.matrix = {1, 0, 0, 1, 5, 6};
             g.hiliteAngle = 7;
             g.hiliteLength = 8;
         }},
        {"unpainted",
         [](AIPathStyle& s) {
             s.fillPaint = 0;
             s.strokePaint = 0;
         }},
        {"clip",
         [](AIPathStyle& s) {
             s.clip = 1;
             s.lockClip = 1;
         }},
        {"even-odd", [](AIPathStyle& s) { s.evenodd = 1; }},
        {"dash",
         [](AIPathStyle& s) {
             s.stroke.dash.length = 3;
             s.stroke.dash.array[0] = 4;
             s.stroke.dash.array[1] = 2.5f;
             s.stroke.dash.array[2] = 1;
             s.stroke.dash.offset = 0.75f;
         }},
        {"full dash",
         [](AIPathStyle& s) {
             s.stroke.dash.length = kMaxDashComponents;
             for (AIReal& v : s.stroke.dash.array) v = 0.1f;
         }},
        {"widths",
         [](AIPathStyle& s) {
             s.stroke.width = 0.0353f;
             s.stroke.miterLimit = 10;
         }},
        {"caps and joins",
         [](AIPathStyle& s) {
             s.stroke.cap = 2;
             s.stroke.join = 1;
         }},
        {"overprint",
         [](AIPathStyle& s) {
             s.fill.overprint = 1;
             s.stroke.overprint = 1;
         }},
        {"resolution", [](AIPathStyle& s) { s.resolution = 2400; }},
        {"odd kind", [&](AIPathStyle& s) { color(s.stroke.color, 42); }},
    };
    std::vector<std::pair<const char*, AIArtHandle>> made;
    for (const auto& [name, change] : styles) {
        AIArtHandle path = newPath({{0, 0}, {10, 10}}, false);
        AIPathStyle s = styleOf(path);
        change(s);
        ASSERT_EQ(pathStyles->SetPathStyle(path, &s), kNoErr) << name;
        made.emplace_back(name, path);
    }
    document().purgeUndo();
    document().setModified(false);
    std::unique_ptr<Document> read = roundTrip(document());
    ASSERT_TRUE(read);
    EXPECT_EQ(DumpDocument(*read), DumpDocument(document()));
    // Same order of art: compare each style byte for byte through the suite.
    workspace().addDocument(std::move(read));
    const std::vector<AIArtHandle> readBack = layerArtSet(firstLayer());
    ASSERT_EQ(readBack.size(), made.size() + 1);
    for (size_t i = 0; i < made.size(); ++i) {
        const auto& [name, original] = made[made.size() - 1 - i];  // the last made is on top
        const AIPathStyle before = styleOf(original);
        const AIPathStyle after = styleOf(readBack[i + 1]);
        EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0) << name;
    }
}

TEST_F(SvgRoundTripTest, SegmentsCornersAndOddRealsAreBitIdentical) {
    AIArtHandle path = nullptr;
    art->NewArt(kPathArt, kPlaceAboveAll, nullptr, &path);
    const float inf = std::numeric_limits<float>::infinity();
    AIPathSegment s[4] = {Segment(0.1f, -0.0f), Segment(16383.25f, 1e-30f, false), Segment(1e-40f, -inf),
                          Segment(123456.789f, 3.4e38f)};
    s[1].in = AIRealPoint{16380.1f, 2.0f / 3.0f};
    s[1].out = AIRealPoint{16386.4f, -2.0f / 3.0f};
    paths->SetPathSegments(path, 0, 4, s);
    paths->SetPathClosed(path, 1);
    art->SetArtUserAttr(path, kArtSelected | kArtFullySelected, kArtSelected | kArtFullySelected);
    expectSameAfterRoundTrip();
}

TEST_F(SvgRoundTripTest, GroupsCompoundPathsTextAndAttributesSurvive) {
    AIArtHandle group = nullptr;
    art->NewArt(kGroupArt, kPlaceAboveAll, nullptr, &group);
    art->SetArtUserAttr(group, kArtLocked, kArtLocked);
    AIArtHandle compound = nullptr;
    art->NewArt(kCompoundPathArt, kPlaceInsideOnTop, group, &compound);
    newPath({{0, 0}, {100, 0}, {100, 100}, {0, 100}}, true, kPlaceInsideOnTop, compound);
    AIArtHandle hole = newPath({{10, 10}, {20, 10}, {20, 20}}, true, kPlaceInsideOnBottom, compound);
    art->SetArtUserAttr(hole, kArtHidden, kArtHidden);
    AIPathStyle odd = styleOf(hole);
    odd.stroke.width = 7;
    pathStyles->SetPathStyle(hole, &odd);  // a member with a style of its own
    AIArtHandle empty = nullptr;
    art->NewArt(kCompoundPathArt, kPlaceInsideOnBottom, group, &empty);
    AIArtHandle hidden = newPath({{5, 5}, {6, 6}}, false, kPlaceInsideOnBottom, group);
    art->SetArtUserAttr(hidden, kArtHidden | kArtSelected | kArtLocked, kArtHidden | kArtSelected | kArtLocked);

    Document* doc = nullptr;
    Art* layerGroup = workspace().findArt(groupOf(firstLayer()), &doc);
    Art* text = doc->newArt(kTextFrameArt, Place{layerGroup, layerGroup->firstChild});
    text->text = u"  東京都\r千代田区 & <丸の内>  ";
    text->position = AIRealPoint{12.5f, 700.25f};
    text->fontSize = 9.5f;
    doc->setArtStyle(text, workspace().styles().intern(DefaultPathStyle(kDocCMYKColor), 3));
    expectSameAfterRoundTrip();
}

TEST_F(SvgRoundTripTest, PageArtboardAndColourModelSurvive) {
    AIDocumentSetup setup{};
    documents->GetDocumentSetup(&setup);
    setup.width = 2383.937f;
    setup.height = 1683.78f;
    setup.pageView = 3;
    setup.outputResolution = 2400;
    setup.printTiles = 1;
    documents->SetDocumentSetup(&setup);
    document().setArtboard(AIRealRect{-10.5f, 1700, 2400, -5});
    document().setColorModel(kDocGrayColor);
    AILayerHandle l = nullptr;
    layers->InsertLayer(nullptr, kPlaceBelowAll, &l);
    layers->DeleteLayer(l);  // the next default title is "Layer 3"
    expectSameAfterRoundTrip();
}

TEST_F(SvgRoundTripTest, ViewersSeeTheDocumentRightSideUp) {
    AIArtHandle path = newPath({{10, 790}, {110, 790}}, false);  // near the top of an 800 pt page
    AIPathStyle s = styleOf(path);
    s.stroke.color.kind = kThreeColor;
    s.stroke.color.c.rgb = {1, 0, 0};
    s.fillPaint = 0;
    pathStyles->SetPathStyle(path, &s);
    layers->SetLayerVisible(firstLayer(), 0);
    const std::string text = WriteSvgText(document());
    EXPECT_NE(text.find("d=\"M 10,10 L 110,10\""), std::string::npos) << text;
    EXPECT_NE(text.find("{fill:none;fill-rule:nonzero;stroke:#ff0000;"), std::string::npos) << "painted by class";
    EXPECT_NE(text.find("width=\"600pt\" height=\"800pt\" viewBox=\"0 0 600 800\""), std::string::npos);
    EXPECT_NE(text.find("inkscape:groupmode=\"layer\" inkscape:label=\"Layer 1\""), std::string::npos);
    EXPECT_NE(text.find("style=\"display:none\""), std::string::npos) << "hidden layers are hidden for viewers";
}

// Art styles the host calls the same are written once and referred to by one id.
TEST_F(SvgRoundTripTest, SharedAppearancesAreWrittenOnce) {
    newPath({{0, 0}, {1, 1}}, false);
    newPath({{2, 2}, {3, 3}}, false);
    AIArtHandle c = newPath({{4, 4}, {5, 5}}, false);
    AIPathStyle wide = styleOf(c);
    wide.stroke.width = 3;
    pathStyles->SetPathStyle(c, &wide);
    const std::string text = WriteSvgText(document());
    auto count = [&](const std::string& what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("<quiltor:appearance "), 2u) << "the default of the layer group and new paths, and the wide one";
    EXPECT_EQ(count("class=\"a1\""), 3u) << text;  // the layer group and two paths
    EXPECT_EQ(count("class=\"a2\""), 1u);
    EXPECT_EQ(count("path.a1{"), 1u) << "one paint rule for each appearance art is painted by";
}

TEST_F(SvgRoundTripTest, TheTopmostLayerIsPaintedLast) {
    setTitle(firstLayer(), "top");
    AILayerHandle bottom = insert(nullptr, kPlaceBelowAll, "bottom");
    insert(bottom, kPlaceInsideOnTop, "bottom-sub");
    const std::string text = WriteSvgText(document());
    const size_t top = text.find("inkscape:label=\"top\"");
    const size_t bottomAt = text.find("inkscape:label=\"bottom\"");
    const size_t sub = text.find("inkscape:label=\"bottom-sub\"");
    ASSERT_NE(top, std::string::npos);
    EXPECT_LT(bottomAt, sub);
    EXPECT_LT(sub, top);
}

}  // namespace
}  // namespace quiltor::host::testing
