#include <cmath>
#include <cstring>
#include <functional>
#include <map>

#include "ModelFixture.h"

namespace quiltor::host::testing {
namespace {

// A layer holding, top to bottom: p1, g (q1, q2), p2.
class ArtSuiteTest : public ModelTest {
protected:
    void SetUp() override {
        p2 = named("p2", newPath({{0, 0}, {2, 2}}, false));
        g = named("g", newGroup(kPlaceAboveAll, nullptr));
        q2 = named("q2", newPath({{0, 0}, {4, 4}}, false, kPlaceInsideOnTop, g));
        q1 = named("q1", newPath({{0, 0}, {3, 3}}, false, kPlaceInsideOnTop, g));
        p1 = named("p1", newPath({{0, 0}, {1, 1}}, false));
    }

    // The same arrangement again, in a new current document.
    void SetUpFresh() {
        NewDocumentOptions options;
        workspace().newDocument(options);
        names.clear();
        SetUp();
    }

    AIArtHandle newGroup(int16_t order, AIArtHandle prep) {
        AIArtHandle group = nullptr;
        EXPECT_EQ(art->NewArt(kGroupArt, order, prep, &group), kNoErr);
        return group;
    }
    AIArtHandle named(const char* name, AIArtHandle a) {
        names[a] = name;
        return a;
    }
    // "p1 g(q1 q2) p2": the members top to bottom, containers with theirs in brackets.
    std::string describe(AIArtHandle container) {
        std::string out;
        for (AIArtHandle a : membersOf(container)) {
            if (!out.empty()) out += ' ';
            out += names.count(a) ? names[a] : "?";
            int16_t type = 0;
            art->GetArtType(a, &type);
            if (type == kGroupArt || type == kCompoundPathArt) out += "(" + describe(a) + ")";
        }
        return out;
    }
    std::string layerText() { return describe(groupOf(firstLayer())); }

    std::map<AIArtHandle, std::string> names;

public:  // the cases below name them by member pointer
    AIArtHandle p1 = nullptr, g = nullptr, q1 = nullptr, q2 = nullptr, p2 = nullptr;
};

TEST_F(ArtSuiteTest, NewArtGoesWhereThePaintOrderSays) {
    struct Case {
        int16_t order;
        AIArtHandle ArtSuiteTest::*prep;  // null member: no reference art
        const char* expected;
    } cases[] = {
        {kPlaceAbove, &ArtSuiteTest::p2, "p1 g(q1 q2) n p2"},
        {kPlaceBelow, &ArtSuiteTest::p1, "p1 n g(q1 q2) p2"},
        {kPlaceBelow, &ArtSuiteTest::p2, "p1 g(q1 q2) p2 n"},
        {kPlaceAbove, &ArtSuiteTest::q2, "p1 g(q1 n q2) p2"},
        {kPlaceInsideOnTop, &ArtSuiteTest::g, "p1 g(n q1 q2) p2"},
        {kPlaceInsideOnBottom, &ArtSuiteTest::g, "p1 g(q1 q2 n) p2"},
        {kPlaceAboveAll, &ArtSuiteTest::q1, "n p1 g(q1 q2) p2"},
        {kPlaceBelowAll, &ArtSuiteTest::q1, "p1 g(q1 q2) p2 n"},
        {kPlaceAboveAll, nullptr, "n p1 g(q1 q2) p2"},
        {kPlaceBelowAll, nullptr, "p1 g(q1 q2) p2 n"},
        {kPlaceInsideOnTop, nullptr, "n p1 g(q1 q2) p2"},
        {kPlaceDefault, nullptr, "n p1 g(q1 q2) p2"},
    };
    for (const Case& c : cases) {
        AIArtHandle n = nullptr;
        ASSERT_EQ(art->NewArt(kPathArt, c.order, c.prep ? this->*c.prep : nullptr, &n), kNoErr) << c.expected;
        names[n] = "n";
        EXPECT_EQ(layerText(), c.expected);
        art->DisposeArt(n);
    }
}

TEST_F(ArtSuiteTest, NewArtRefusesPlacesThatDoNotFit) {
    const AIArtHandle layerGroup = groupOf(firstLayer());
    const std::vector<std::tuple<const char*, int16_t, int16_t, AIArtHandle>> misfits = {
        {"above nothing", kPathArt, kPlaceAbove, nullptr},
        {"inside a path", kPathArt, kPlaceInsideOnTop, p1},
        {"beside a layer group", kPathArt, kPlaceBelow, layerGroup},
        {"unknown order", kPathArt, 42, p1},
        {"text frame", kTextFrameArt, kPlaceAbove, p1},
        {"placed art", kPlacedArt, kPlaceAbove, p1},
        {"dead reference", kPathArt, kPlaceAbove, Foreign<AIArtHandle>()},
    };
    for (const auto& [name, type, order, prep] : misfits) {
        AIArtHandle n = Foreign<AIArtHandle>();
        EXPECT_EQ(art->NewArt(type, order, prep, &n), kBadParameterErr) << name;
        EXPECT_EQ(n, nullptr) << name;
    }
    EXPECT_EQ(layerText(), "p1 g(q1 q2) p2");
}

TEST_F(ArtSuiteTest, ReorderArtMovesToEveryPaintOrder) {
    struct Case {
        AIArtHandle ArtSuiteTest::*moved;
        int16_t order;
        AIArtHandle ArtSuiteTest::*prep;
        const char* expected;
    } cases[] = {
        {&ArtSuiteTest::p2, kPlaceAbove, &ArtSuiteTest::p1, "p2 p1 g(q1 q2)"},
        {&ArtSuiteTest::p1, kPlaceBelow, &ArtSuiteTest::p2, "g(q1 q2) p2 p1"},
        {&ArtSuiteTest::p1, kPlaceInsideOnBottom, &ArtSuiteTest::g, "g(q1 q2 p1) p2"},
        {&ArtSuiteTest::q1, kPlaceAbove, &ArtSuiteTest::g, "p1 q1 g(q2) p2"},
        {&ArtSuiteTest::q2, kPlaceBelowAll, nullptr, "p1 g(q1) p2 q2"},
        {&ArtSuiteTest::p2, kPlaceAboveAll, &ArtSuiteTest::q2, "p2 p1 g(q1 q2)"},
        {&ArtSuiteTest::p1, kPlaceAbove, &ArtSuiteTest::p1, "p1 g(q1 q2) p2"},
        {&ArtSuiteTest::p1, kPlaceBelow, &ArtSuiteTest::p1, "p1 g(q1 q2) p2"},
    };
    for (const Case& c : cases) {
        SetUpFresh();
        EXPECT_EQ(art->ReorderArt(this->*c.moved, c.order, c.prep ? this->*c.prep : nullptr), kNoErr) << c.expected;
        EXPECT_EQ(layerText(), c.expected);
    }
}

TEST_F(ArtSuiteTest, ReorderArtRefusesMovesIntoItself) {
    EXPECT_EQ(art->ReorderArt(g, kPlaceInsideOnTop, g), kBadParameterErr);
    EXPECT_EQ(art->ReorderArt(g, kPlaceAbove, q1), kBadParameterErr);
    EXPECT_EQ(art->ReorderArt(groupOf(firstLayer()), kPlaceBelow, p1), kBadParameterErr);
    EXPECT_EQ(layerText(), "p1 g(q1 q2) p2");
}

TEST_F(ArtSuiteTest, ArtMovesToAnotherLayerAndAnotherDocument) {
    AILayerHandle other = nullptr;
    layers->InsertLayer(nullptr, kPlaceBelowAll, &other);
    AIArtHandle there = named("there", newPath({{5, 5}, {6, 6}}, false, kPlaceInsideOnTop, groupOf(other)));
    EXPECT_EQ(art->ReorderArt(g, kPlaceAbove, there), kNoErr);
    EXPECT_EQ(describe(groupOf(other)), "g(q1 q2) there");
    AILayerHandle layerOfMember = nullptr;
    art->GetLayerOfArt(q2, &layerOfMember);
    EXPECT_EQ(layerOfMember, other);

    NewDocumentOptions options;
    workspace().newDocument(options);
    AIArtHandle inSecond = newPath({{0, 0}, {1, 1}}, false);
    EXPECT_EQ(art->ReorderArt(g, kPlaceBelow, inSecond), kNoErr);
    AIBoolean valid = 0;
    art->ValidArt(q1, &valid);
    EXPECT_EQ(valid, 1) << "members move with their group into the current document";
    EXPECT_EQ(describe(groupOf(firstLayer())), "? g(q1 q2)");
}

TEST_F(ArtSuiteTest, DuplicateArtCopiesDirectlyAboveTheReference) {
    AIArtStyleHandle style = nullptr;
    artStyles->GetArtStyle(q1, &style);
    art->SetArtUserAttr(q1, kArtLocked, kArtLocked);
    AIArtHandle copy = nullptr;
    ASSERT_EQ(art->DuplicateArt(g, kPlaceAbove, p1, &copy), kNoErr);
    names[copy] = "copy";
    const std::vector<AIArtHandle> copied = membersOf(copy);
    ASSERT_EQ(copied.size(), 2u);
    names[copied[0]] = "c1";
    names[copied[1]] = "c2";
    EXPECT_EQ(layerText(), "copy(c1 c2) p1 g(q1 q2) p2");
    EXPECT_EQ(segmentsOf(copied[0]).size(), segmentsOf(q1).size());
    AIArtStyleHandle copiedStyle = nullptr;
    artStyles->GetArtStyle(copied[0], &copiedStyle);
    EXPECT_EQ(copiedStyle, style);
    int32_t attrs = 0;
    art->GetArtUserAttr(copied[0], kArtLocked, &attrs);
    EXPECT_EQ(attrs, kArtLocked);

    // The copy is independent of its source.
    art->DisposeArt(g);
    EXPECT_EQ(anchorsH(copied[1]), (std::vector<float>{0, 4}));
}

TEST_F(ArtSuiteTest, DisposeArtKillsTheArtAndItsMembers) {
    EXPECT_EQ(art->DisposeArt(g), kNoErr);
    EXPECT_EQ(layerText(), "p1 p2");
    for (AIArtHandle dead : {g, q1, q2}) {
        AIBoolean valid = 1;
        art->ValidArt(dead, &valid);
        EXPECT_EQ(valid, 0);
    }
    EXPECT_EQ(art->DisposeArt(g), kBadParameterErr) << "twice";
    EXPECT_EQ(art->DisposeArt(groupOf(firstLayer())), kBadParameterErr) << "a layer keeps its group";
}

// After DisposeArt a handle is dead: every call that takes it says kBadParameterErr, as it does for
// a handle the host never gave out.
TEST_F(ArtSuiteTest, DeadAndForeignArtIsRefusedByEveryCall) {
    AIArtHandle dead = q2;
    ASSERT_EQ(art->DisposeArt(dead), kNoErr);
    AIArtHandle out = nullptr;
    int16_t type = 0, count = 0;
    int32_t attrs = 0;
    AIBoolean flag = 0;
    AIRealRect bounds{};
    AILayerHandle layer = nullptr;
    AIPathSegment segment = Segment(1, 1);
    AIPathStyle style{};
    AIArtStyleHandle artStyle = nullptr;
    AIArtSet set = nullptr;
    artSets->NewArtSet(&set);
    const AIRealMatrix identity{1, 0, 0, 1, 0, 0};
    const AITransformArtSuite* transform =
        acquire<AITransformArtSuite>(kAITransformArtSuite, kAITransformArtSuiteVersion);
    const std::vector<std::pair<const char*, std::function<AIErr(AIArtHandle)>>> calls = {
        {"DisposeArt", [&](AIArtHandle a) { return art->DisposeArt(a); }},
        {"ReorderArt", [&](AIArtHandle a) { return art->ReorderArt(a, kPlaceAbove, p1); }},
        {"ReorderArt prep", [&](AIArtHandle a) { return art->ReorderArt(p1, kPlaceAbove, a); }},
        {"DuplicateArt", [&](AIArtHandle a) { return art->DuplicateArt(a, kPlaceAbove, p1, &out); }},
        {"GetLayerOfArt", [&](AIArtHandle a) { return art->GetLayerOfArt(a, &layer); }},
        {"GetArtType", [&](AIArtHandle a) { return art->GetArtType(a, &type); }},
        {"GetArtUserAttr", [&](AIArtHandle a) { return art->GetArtUserAttr(a, kArtSelected, &attrs); }},
        {"SetArtUserAttr", [&](AIArtHandle a) { return art->SetArtUserAttr(a, kArtSelected, kArtSelected); }},
        {"GetArtParent", [&](AIArtHandle a) { return art->GetArtParent(a, &out); }},
        {"GetArtFirstChild", [&](AIArtHandle a) { return art->GetArtFirstChild(a, &out); }},
        {"GetArtSibling", [&](AIArtHandle a) { return art->GetArtSibling(a, &out); }},
        {"GetArtPriorSibling", [&](AIArtHandle a) { return art->GetArtPriorSibling(a, &out); }},
        {"GetArtBounds", [&](AIArtHandle a) { return art->GetArtBounds(a, &bounds); }},
        {"ArtHasFill", [&](AIArtHandle a) { return art->ArtHasFill(a, &flag); }},
        {"ArtHasStroke", [&](AIArtHandle a) { return art->ArtHasStroke(a, &flag); }},
        {"ArtsHaveEqualPaths", [&](AIArtHandle a) { return art->ArtsHaveEqualPaths(a, p1, &flag); }},
        {"GetPathSegments", [&](AIArtHandle a) { return paths->GetPathSegments(a, 0, 1, &segment); }},
        {"SetPathSegments", [&](AIArtHandle a) { return paths->SetPathSegments(a, 0, 1, &segment); }},
        {"InsertPathSegments", [&](AIArtHandle a) { return paths->InsertPathSegments(a, -1, 1, &segment); }},
        {"DeletePathSegments", [&](AIArtHandle a) { return paths->DeletePathSegments(a, 0, 1); }},
        {"GetPathSegmentCount", [&](AIArtHandle a) { return paths->GetPathSegmentCount(a, &count); }},
        {"SetPathSegmentCount", [&](AIArtHandle a) { return paths->SetPathSegmentCount(a, 3); }},
        {"GetPathClosed", [&](AIArtHandle a) { return paths->GetPathClosed(a, &flag); }},
        {"SetPathClosed", [&](AIArtHandle a) { return paths->SetPathClosed(a, 1); }},
        {"ReversePathSegments", [&](AIArtHandle a) { return paths->ReversePathSegments(a); }},
        {"GetPathStyle", [&](AIArtHandle a) { return pathStyles->GetPathStyle(a, &style); }},
        {"SetPathStyle", [&](AIArtHandle a) { return pathStyles->SetPathStyle(a, &style); }},
        {"GetArtStyle", [&](AIArtHandle a) { return artStyles->GetArtStyle(a, &artStyle); }},
        {"AddArtToArtSet", [&](AIArtHandle a) { return artSets->AddArtToArtSet(set, a); }},
        {"TransformArt", [&](AIArtHandle a) { return transform->TransformArt(a, &identity, 1, 0); }},
    };
    for (AIArtHandle bad : {dead, Foreign<AIArtHandle>(), static_cast<AIArtHandle>(nullptr)}) {
        for (const auto& [name, call] : calls) EXPECT_EQ(call(bad), kBadParameterErr) << name;
    }
    EXPECT_EQ(layerText(), "p1 g(q1) p2");
    artSets->DisposeArtSet(&set);
}

TEST_F(ArtSuiteTest, ParentsLeadUpToTheLayerGroup) {
    AIArtHandle parent = nullptr;
    art->GetArtParent(q1, &parent);
    EXPECT_EQ(parent, g);
    art->GetArtParent(g, &parent);
    EXPECT_EQ(parent, groupOf(firstLayer()));
    art->GetArtParent(parent, &parent);
    EXPECT_EQ(parent, nullptr);
    AIArtHandle last = nullptr, prior = nullptr;
    art->GetArtLastChild(g, &last);
    EXPECT_EQ(last, q2);
    art->GetArtPriorSibling(q1, &prior);
    EXPECT_EQ(prior, nullptr);
}

TEST_F(ArtSuiteTest, UserAttributesAreSetByMask) {
    EXPECT_EQ(art->SetArtUserAttr(p1, kArtSelected | kArtHidden, kArtSelected | kArtHidden | kArtLocked), kNoErr);
    int32_t attrs = -1;
    art->GetArtUserAttr(p1, kArtSelected | kArtLocked | kArtHidden, &attrs);
    EXPECT_EQ(attrs, kArtSelected | kArtHidden) << "locked was not in the mask";
    art->SetArtUserAttr(p1, kArtSelected, 0);
    art->GetArtUserAttr(p1, -1, &attrs);
    EXPECT_EQ(attrs, kArtHidden);
    art->SetArtUserAttr(p1, 0x100, 0x100);
    art->GetArtUserAttr(p1, -1, &attrs);
    EXPECT_EQ(attrs, kArtHidden) << "attributes the host does not know are not kept";
}

TEST_F(ArtSuiteTest, BoundsTakeInControlPointsAndMembers) {
    AIArtHandle curve = nullptr;
    art->NewArt(kPathArt, kPlaceAboveAll, nullptr, &curve);
    AIPathSegment s[2] = {Segment(0, 0), Segment(10, 0)};
    s[0].out = AIRealPoint{2, 8};
    s[1].in = AIRealPoint{12, -3};
    paths->SetPathSegments(curve, 0, 2, s);
    AIRealRect r{};
    art->GetArtBounds(curve, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 12);
    EXPECT_EQ(r.top, 8);
    EXPECT_EQ(r.bottom, -3);

    art->GetArtBounds(g, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 4);
    EXPECT_EQ(r.top, 4);

    AIArtHandle empty = newGroup(kPlaceAboveAll, nullptr);
    r = AIRealRect{1, 2, 3, 4};
    EXPECT_EQ(art->GetArtBounds(empty, &r), kNoErr);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 0);
    EXPECT_EQ(r.bottom, 0);
}

TEST_F(ArtSuiteTest, TextFramesHaveABoxFromPositionSizeAndText) {
    Document* doc = nullptr;
    Art* group = workspace().findArt(groupOf(firstLayer()), &doc);
    Art* text = doc->newArt(kTextFrameArt, Place{group, group->firstChild});
    text->text = u"AB道";
    text->position = AIRealPoint{100, 50};
    text->fontSize = 10;
    AIRealRect r{};
    art->GetArtBounds(text, &r);
    EXPECT_FLOAT_EQ(r.left, 100);
    EXPECT_FLOAT_EQ(r.right, 120);  // two half-em letters and one full-em one
    EXPECT_FLOAT_EQ(r.bottom, 48);
    EXPECT_FLOAT_EQ(r.top, 58);
    int16_t type = 0;
    art->GetArtType(text, &type);
    EXPECT_EQ(type, kTextFrameArt);
}

TEST_F(ArtSuiteTest, ArtsHaveEqualPathsComparesSegmentsAndClosedFlag) {
    AIArtHandle same = newPath({{0, 0}, {1, 1}}, false);
    AIArtHandle closed = newPath({{0, 0}, {1, 1}}, true);
    AIBoolean equal = 0;
    art->ArtsHaveEqualPaths(p1, same, &equal);
    EXPECT_EQ(equal, 1);
    art->ArtsHaveEqualPaths(p1, closed, &equal);
    EXPECT_EQ(equal, 0);
    art->ArtsHaveEqualPaths(p1, p2, &equal);
    EXPECT_EQ(equal, 0);
    art->ArtsHaveEqualPaths(p1, g, &equal);
    EXPECT_EQ(equal, 0);
}

TEST_F(ArtSuiteTest, ValidArtIsAboutTheCurrentDocument) {
    AIBoolean valid = 0;
    art->ValidArt(p1, &valid);
    EXPECT_EQ(valid, 1);
    NewDocumentOptions options;
    workspace().newDocument(options);
    art->ValidArt(p1, &valid);
    EXPECT_EQ(valid, 0);
    int16_t type = 0;
    EXPECT_EQ(art->GetArtType(p1, &type), kNoErr) << "art of a document behind stays usable";
}

TEST_F(ArtSuiteTest, SelectedArtComesInADocumentOrderBlock) {
    const AIMatchingArtSuite* matching = acquire<AIMatchingArtSuite>(kAIMatchingArtSuite, kAIMatchingArtSuiteVersion);
    AIArtHandle* matches = Foreign<AIArtHandle*>();
    int32_t count = -1;
    EXPECT_EQ(matching->GetSelectedArt(&matches, &count), kNoErr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(matches, nullptr);
    art->SetArtUserAttr(p2, kArtSelected, kArtSelected);
    art->SetArtUserAttr(q1, kArtSelected, kArtSelected);
    ASSERT_EQ(matching->GetSelectedArt(&matches, &count), kNoErr);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(matches[0], q1);
    EXPECT_EQ(matches[1], p2);
    BasicSuite()->FreeBlock(matches);
}

TEST_F(ArtSuiteTest, TransformArtMovesEveryPoint) {
    const AITransformArtSuite* transform =
        acquire<AITransformArtSuite>(kAITransformArtSuite, kAITransformArtSuiteVersion);
    const AIRealMatrix shift{1, 0, 0, 1, 10, -5};
    EXPECT_EQ(transform->TransformArt(g, &shift, 1, 0), kNoErr);
    const std::vector<AIPathSegment> s = segmentsOf(q2);
    EXPECT_EQ(s[1].p.h, 14);
    EXPECT_EQ(s[1].p.v, -1);
    EXPECT_EQ(s[1].in.h, 14);
    EXPECT_EQ(s[1].out.v, -1);
}

}  // namespace
}  // namespace quiltor::host::testing
