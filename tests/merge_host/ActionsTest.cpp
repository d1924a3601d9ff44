// The editing events as a user of the drawing application knows them: what select all reaches, where
// cut art is pasted back, how far move moves.
#include <map>

#include "ActionsFixture.h"

namespace mergehost {
namespace {

using quiltor::host::DecodeUtf8;

class SelectAllTest : public ActionsTest {};

TEST_F(SelectAllTest, SelectsWhatAClickCouldReach) {
    Document& d = NewDocument("shown");
    Art* shown = d.firstLayer()->group;
    AddText(d, shown, "free");
    AddText(d, shown, "locked")->userAttr |= kArtLocked;
    AddText(d, shown, "hidden")->userAttr |= kArtHidden;
    Art* group = AddGroup(d, shown);
    AddText(d, group, "member");
    AddText(d, group, "locked member")->userAttr |= kArtLocked;
    Art* lockedGroup = AddGroup(d, shown);
    lockedGroup->userAttr |= kArtLocked;
    AddText(d, lockedGroup, "in locked group");

    Layer* hiddenLayer = AddLayer(d, nullptr, "hidden layer");
    hiddenLayer->options.visible = false;
    AddText(d, hiddenLayer->group, "in hidden layer")->userAttr |= kArtSelected;  // stale
    Layer* lockedLayer = AddLayer(d, nullptr, "locked layer");
    lockedLayer->options.editable = false;
    AddText(d, lockedLayer->group, "in locked layer");
    Layer* hiddenParent = AddLayer(d, nullptr, "hidden parent");
    hiddenParent->options.visible = false;
    AddText(d, AddLayer(d, hiddenParent, "shown child")->group, "under hidden parent");
    Layer* lockedParent = AddLayer(d, nullptr, "locked parent");
    lockedParent->options.editable = false;
    AddText(d, AddLayer(d, lockedParent, "unlocked child")->group, "under locked parent");
    Layer* openParent = AddLayer(d, nullptr, "open parent");
    AddText(d, AddLayer(d, openParent, "open child")->group, "in sublayer");
    Layer* outline = AddLayer(d, nullptr, "outline view");
    outline->options.preview = false;
    AddText(d, outline->group, "in outline view");

    ASSERT_EQ(Play("adobe_selectAll"), kNoErr);

    EXPECT_EQ(SelectedTexts(d), (std::vector<std::string>{"free", "member", "in sublayer", "in outline view"}));
    EXPECT_EQ(group->userAttr & kArtSelected, kArtSelected);
    EXPECT_EQ(lockedGroup->userAttr & kArtSelected, 0);
    EXPECT_EQ(SelectedCount(d), 5u);
}

TEST_F(SelectAllTest, MembersOfACompoundPathFollowIt) {
    Document& d = NewDocument();
    Art* compound = d.newArt(kCompoundPathArt, {d.firstLayer()->group, nullptr});
    Art* outer = AddPath(d, compound, {{0, 0}, {10, 0}, {10, 10}}, true);
    Art* hole = AddPath(d, compound, {{2, 2}, {4, 2}, {4, 4}}, true);

    ASSERT_EQ(Play("adobe_selectAll"), kNoErr);
    for (const Art* a : {compound, outer, hole}) EXPECT_EQ(a->userAttr & kArtSelected, kArtSelected);

    ASSERT_EQ(Play("adobe_deselectAll"), kNoErr);
    EXPECT_EQ(SelectedCount(d), 0u);
}

TEST_F(SelectAllTest, WorksOnTheFrontDocumentOnly) {
    Document& back = NewDocument();
    AddText(back, back.firstLayer()->group, "back");
    Document& front = NewDocument();
    AddText(front, front.firstLayer()->group, "front");

    ASSERT_EQ(Play("adobe_selectAll"), kNoErr);
    EXPECT_EQ(SelectedTexts(front), std::vector<std::string>{"front"});
    EXPECT_EQ(SelectedCount(back), 0u);
}

TEST_F(SelectAllTest, EveryEventNeedsADocument) {
    for (const char* event : {"adobe_selectAll", "adobe_deselectAll", "adobe_cut", "adobe_pasteInBack"})
        EXPECT_EQ(Play(event), kNoDocumentErr) << event;
    EXPECT_EQ(PlayMove(1, 1), kNoDocumentErr);
}

// ---------------------------------------------------------------- cut and paste

class CutPasteTest : public ActionsTest {
protected:
    // Two parents with sublayers of the same titles, as the Tokyo-23 tree has: "A/X", "A/Y",
    // "B/X", "B/Y", with one text in each named after its layer, and "A" and "B" in the parents.
    Document& TwinTree(bool withArt) {
        Document& d = NewDocument("A");
        Layer* a = d.firstLayer();
        Layer* b = AddLayer(d, nullptr, "B");
        for (Layer* parent : {a, b}) {
            if (withArt) AddText(d, parent->group, TitleOf(parent));
            for (const char* title : {"X", "Y"}) {
                Layer* sub = AddLayer(d, parent, title);
                if (withArt) AddText(d, sub->group, TitleOf(parent) + title);
            }
        }
        return d;
    }
};

TEST_F(CutPasteTest, EqualSublayerTitlesLandUnderTheRightParent) {
    Document& target = TwinTree(false);
    Document& tile = TwinTree(true);
    ASSERT_EQ(PlayLayersOption(true), kNoErr);

    ASSERT_EQ(Play("adobe_selectAll"), kNoErr);
    ASSERT_EQ(Play("adobe_cut"), kNoErr);
    EXPECT_EQ(tile.artCount(), tile.layerCount());  // only the layer groups are left
    Activate(target);
    ASSERT_EQ(Play("adobe_pasteInBack"), kNoErr);

    const std::map<std::string, std::vector<std::string>> expected = {{"A", {"A"}}, {"A/X", {"AX"}}, {"A/Y", {"AY"}},
                                                                      {"B", {"B"}}, {"B/X", {"BX"}}, {"B/Y", {"BY"}}};
    for (const auto& [path, texts] : expected) {
        Layer* layer = FindLayer(target, path);
        ASSERT_NE(layer, nullptr) << path;
        EXPECT_EQ(TextsIn(layer->group), texts) << path;
    }
    EXPECT_EQ(LayerPaths(target), (std::vector<std::string>{"A", "A/X", "A/Y", "B", "B/X", "B/Y"}));
}

TEST_F(CutPasteTest, TheFirstOfEqualSiblingTitlesIsTaken) {
    // The Tokyo-23 tiles hold two top-level "道路"; the one pasted into is the first.
    Document& target = NewDocument("道路");
    AddLayer(target, nullptr, "道路");
    Document& tile = NewDocument("道路");
    AddText(tile, tile.firstLayer()->group, "road name");
    ASSERT_EQ(PlayLayersOption(true), kNoErr);
    Play("adobe_selectAll");
    Play("adobe_cut");
    Activate(target);
    ASSERT_EQ(Play("adobe_pasteInBack"), kNoErr);
    EXPECT_EQ(TextsIn(target.firstLayer()->group), std::vector<std::string>{"road name"});
    EXPECT_EQ(TextsIn(target.lastLayer()->group), std::vector<std::string>{});
}

TEST_F(CutPasteTest, MissingLayersAreMadeInTheirOrderOnTop) {
    Document& target = NewDocument("A");
    AddLayer(target, target.firstLayer(), "X");
    Document& tile = NewDocument("A");
    for (const char* title : {"X", "Z"}) AddText(tile, AddLayer(tile, tile.firstLayer(), title)->group, title);
    Layer* b = AddLayer(tile, nullptr, "B");
    AddText(tile, AddLayer(tile, b, "Y")->group, "BY");
    Layer* c = AddLayer(tile, nullptr, "C");
    AddText(tile, c->group, "C");
    AddText(tile, AddLayer(tile, c, "Y")->group, "CY");

    ASSERT_EQ(PlayLayersOption(true), kNoErr);
    Play("adobe_selectAll");
    Play("adobe_cut");
    Activate(target);
    ASSERT_EQ(Play("adobe_pasteInBack"), kNoErr);

    EXPECT_EQ(LayerPaths(target), (std::vector<std::string>{"B", "B/Y", "C", "C/Y", "A", "A/Z", "A/X"}));
    const std::map<std::string, std::vector<std::string>> expected = {
        {"A/X", {"X"}}, {"A/Z", {"Z"}}, {"B/Y", {"BY"}}, {"C", {"C"}}, {"C/Y", {"CY"}}};
    for (const auto& [path, texts] : expected) EXPECT_EQ(TextsIn(FindLayer(target, path)->group), texts) << path;
}

TEST_F(CutPasteTest, PastedArtGoesBehindAndBecomesTheSelection) {
    Document& target = NewDocument("L");
    AddText(target, target.firstLayer()->group, "old 1")->userAttr |= kArtSelected;
    AddText(target, target.firstLayer()->group, "old 2");
    Document& tile = NewDocument("L");
    AddText(tile, tile.firstLayer()->group, "new 1");
    Art* group = AddGroup(tile, tile.firstLayer()->group);
    AddText(tile, group, "new member");
    AddText(tile, tile.firstLayer()->group, "new 2");

    ASSERT_EQ(PlayLayersOption(true), kNoErr);
    Play("adobe_selectAll");
    Play("adobe_cut");
    Activate(target);
    ASSERT_EQ(Play("adobe_pasteInBack"), kNoErr);

    EXPECT_EQ(TextsIn(target.firstLayer()->group), (std::vector<std::string>{"old 1", "old 2", "new 1", "new 2"}));
    EXPECT_EQ(SelectedTexts(target), (std::vector<std::string>{"new 1", "new member", "new 2"}));
    EXPECT_TRUE(target.modified());
}

TEST_F(CutPasteTest, WithTheOptionOffEverythingGoesIntoTheCurrentLayerInOrder) {
    Document& target = TwinTree(false);
    target.setCurrentLayer(FindLayer(target, "B/X"));
    AddText(target, FindLayer(target, "B/X")->group, "there");
    TwinTree(true);
    ASSERT_EQ(PlayLayersOption(false), kNoErr);

    Play("adobe_selectAll");
    Play("adobe_cut");
    Activate(target);
    ASSERT_EQ(Play("adobe_pasteInBack"), kNoErr);

    EXPECT_EQ(TextsIn(FindLayer(target, "B/X")->group),
              (std::vector<std::string>{"there", "A", "AX", "AY", "B", "BX", "BY"}));
    EXPECT_EQ(target.layerCount(), 6u);
}

TEST_F(CutPasteTest, OnlyTheSelectionIsCutAndEveryPasteGivesACopy) {
    Document& tile = NewDocument("L");
    AddText(tile, tile.firstLayer()->group, "stays")->userAttr |= kArtLocked;
    Art* taken = AddText(tile, tile.firstLayer()->group, "taken");
    taken->userAttr |= kArtSelected;
    ASSERT_EQ(Play("adobe_cut"), kNoErr);
    EXPECT_EQ(TextsIn(tile.firstLayer()->group), std::vector<std::string>{"stays"});

    Document& target = NewDocument("L");
    ASSERT_EQ(Play("adobe_pasteInBack"), kNoErr);
    ASSERT_EQ(Play("adobe_pasteInBack"), kNoErr);
    EXPECT_EQ(TextsIn(target.firstLayer()->group), (std::vector<std::string>{"taken", "taken"}));
    EXPECT_EQ(SelectedTexts(target), std::vector<std::string>{"taken"});  // the last paste only
}

TEST_F(CutPasteTest, CuttingNothingLeavesNothingToPaste) {
    // An empty tile after a full one: pasting the earlier tile's art again would double it.
    Document& first = NewDocument("L");
    AddText(first, first.firstLayer()->group, "first tile");
    Play("adobe_selectAll");
    Play("adobe_cut");
    Document& target = NewDocument("L");
    Play("adobe_pasteInBack");
    Play("adobe_deselectAll");

    NewDocument("L");  // an empty tile
    Play("adobe_selectAll");
    ASSERT_EQ(Play("adobe_cut"), kNoErr);
    Activate(target);
    ASSERT_EQ(Play("adobe_pasteInBack"), kNoErr);
    EXPECT_EQ(TextsIn(target.firstLayer()->group), std::vector<std::string>{"first tile"});
}

TEST_F(CutPasteTest, ASelectedMemberLeavesItsGroup) {
    Document& tile = NewDocument("L");
    Art* group = AddGroup(tile, tile.firstLayer()->group);
    AddText(tile, group, "kept");
    AddText(tile, group, "picked")->userAttr |= kArtSelected;
    ASSERT_EQ(Play("adobe_cut"), kNoErr);
    EXPECT_EQ(TextsIn(group), std::vector<std::string>{"kept"});

    Document& target = NewDocument("L");
    Play("adobe_pasteInBack");
    EXPECT_EQ(TextsIn(target.firstLayer()->group), std::vector<std::string>{"picked"});
}

TEST_F(CutPasteTest, GeometryStylesAndAttributesSurviveTheTrip) {
    Document& tile = NewDocument("L");
    Art* compound = tile.newArt(kCompoundPathArt, {tile.firstLayer()->group, nullptr});
    AddPath(tile, compound, {{0, 0}, {10, 0}, {10, 10}}, true);
    AddPath(tile, compound, {{2, 2}, {4, 2}, {4, 4}}, true);
    AIPathStyle style = quiltor::host::DefaultPathStyle(kDocCMYKColor);
    style.evenodd = true;
    tile.setPathStyle(compound, style);
    Art* original = tile.newArt(kCompoundPathArt, {tile.firstLayer()->group, nullptr});  // for comparison
    for (const Art* m = compound->firstChild; m; m = m->next) {
        Art* copy = tile.newArt(kPathArt, {original, nullptr});
        copy->segments = m->segments;
        copy->closed = true;
    }
    original->userAttr |= kArtLocked;

    Play("adobe_selectAll");
    Play("adobe_cut");
    Document& target = NewDocument("L");
    Play("adobe_pasteInBack");

    const Art* pasted = target.firstLayer()->group->firstChild;
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->type, kCompoundPathArt);
    EXPECT_TRUE(quiltor::host::EqualGeometry(pasted, original));
    EXPECT_TRUE(pasted->style->pathStyle().evenodd);
    EXPECT_EQ(pasted->firstChild->style, pasted->style);
}

// ---------------------------------------------------------------- move

TEST_F(ActionsTest, MoveShiftsAnchorsControlPointsAndTextOfTheSelectionOnce) {
    Document& d = NewDocument("L");
    Art* group = AddGroup(d, d.firstLayer()->group);
    Art* path = AddPath(d, group, {{0, 0}, {10, 20}});
    Art* text = AddText(d, group, "label", {5, 6});
    Art* fixed = AddPath(d, d.firstLayer()->group, {{100, 100}});
    fixed->userAttr |= kArtLocked;

    Play("adobe_selectAll");
    ASSERT_EQ(PlayMove(12.5f, -40.0f), kNoErr);

    ASSERT_EQ(path->segments.size(), 2u);
    const AIPathSegment& s = path->segments[1];
    EXPECT_FLOAT_EQ(s.p.h, 22.5f);
    EXPECT_FLOAT_EQ(s.p.v, -20.0f);
    EXPECT_FLOAT_EQ(s.in.h, 23.5f);
    EXPECT_FLOAT_EQ(s.in.v, -18.0f);
    EXPECT_FLOAT_EQ(s.out.h, 25.5f);
    EXPECT_FLOAT_EQ(s.out.v, -16.0f);
    EXPECT_FLOAT_EQ(text->position.h, 17.5f);
    EXPECT_FLOAT_EQ(text->position.v, -34.0f);
    EXPECT_FLOAT_EQ(fixed->segments[0].p.h, 100.0f);
    EXPECT_TRUE(d.hasChanges());
}

TEST_F(ActionsTest, MoveParameters) {
    struct Case {
        const char* name;
        bool setH, setV;
        bool wholeH;
        AIErr result;
        float h, v;
    };
    const Case cases[] = {
        {"both reals", true, true, false, kNoErr, 3, 4},
        {"whole number", true, true, true, kNoErr, 3, 4},
        {"no vertical", true, false, false, kNoErr, 3, 0},
        {"none", false, false, false, kNoErr, 0, 0},
    };
    for (const Case& c : cases) {
        Document& d = NewDocument("L");
        Art* text = AddText(d, d.firstLayer()->group, "t");
        Play("adobe_selectAll");
        AIActionParamValueRef params = nullptr;
        actions->AINewActionParamValue(&params);
        if (c.setH) {
            if (c.wholeH)
                actions->AIActionSetInteger(params, AI_ACTION_KEY('h', 'o', 'z', 'n'), 3);
            else
                actions->AIActionSetReal(params, AI_ACTION_KEY('h', 'o', 'z', 'n'), 3);
        }
        if (c.setV) actions->AIActionSetReal(params, AI_ACTION_KEY('v', 't', 'c', 'l'), 4);
        EXPECT_EQ(actions->PlayActionEvent("adobe_move", kDialogNoneAndNotify, params), c.result) << c.name;
        actions->AIDeleteActionParamValue(params);
        EXPECT_FLOAT_EQ(text->position.h, c.h) << c.name;
        EXPECT_FLOAT_EQ(text->position.v, c.v) << c.name;
    }
}

TEST_F(ActionsTest, MoveRefusesAnOffsetThatIsNoNumber) {
    Document& d = NewDocument("L");
    Art* text = AddText(d, d.firstLayer()->group, "t", {1, 1});
    Play("adobe_selectAll");
    AIActionParamValueRef params = nullptr;
    actions->AINewActionParamValue(&params);
    actions->AIActionSetBoolean(params, AI_ACTION_KEY('h', 'o', 'z', 'n'), true);
    EXPECT_EQ(actions->PlayActionEvent("adobe_move", kDialogNone, params), kBadParameterErr);
    actions->AIDeleteActionParamValue(params);
    EXPECT_FLOAT_EQ(text->position.h, 1.0f);
}

TEST_F(ActionsTest, AMoveThatMovesNothingLeavesNothingToUndo) {
    for (const bool selected : {false, true}) {
        Document& d = NewDocument("L");
        AddText(d, d.firstLayer()->group, "t", {1, 2});
        if (selected) Play("adobe_selectAll");
        d.purgeUndo();
        d.setModified(false);
        ASSERT_EQ(selected ? PlayMove(0, 0) : PlayMove(5, 5), kNoErr);
        EXPECT_FALSE(d.hasChanges()) << selected;
        EXPECT_FALSE(d.modified()) << selected;
        EXPECT_FLOAT_EQ(d.firstLayer()->group->firstChild->position.h, 1.0f);
    }
}

}  // namespace
}  // namespace mergehost
