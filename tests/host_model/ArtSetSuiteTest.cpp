#include "ModelFixture.h"

namespace quiltor::host::testing {
namespace {

using ArtSetSuiteTest = ModelTest;

// The seam joining and the adjust run walk a layer's art in this order: the layer's group, then
// every art in preorder, members right after their container; sublayers are not included.
TEST_F(ArtSetSuiteTest, LayerArtSetListsTheGroupThenPreorder) {
    AILayerHandle layer = firstLayer();
    AILayerHandle sub = nullptr;
    layers->InsertLayer(layer, kPlaceInsideOnTop, &sub);
    newPath({{0, 0}, {1, 1}}, false, kPlaceInsideOnTop, groupOf(sub));

    AIArtHandle last = newPath({{0, 0}, {1, 1}}, false);
    AIArtHandle compound = nullptr;
    art->NewArt(kCompoundPathArt, kPlaceAboveAll, nullptr, &compound);
    AIArtHandle member = newPath({{0, 0}, {1, 0}, {1, 1}}, true, kPlaceInsideOnTop, compound);
    AIArtHandle group = nullptr;
    art->NewArt(kGroupArt, kPlaceAboveAll, nullptr, &group);
    AIArtHandle inner = nullptr;
    art->NewArt(kGroupArt, kPlaceInsideOnTop, group, &inner);
    AIArtHandle deep = newPath({{0, 0}, {1, 1}}, false, kPlaceInsideOnTop, inner);
    AIArtHandle besideInner = newPath({{0, 0}, {1, 1}}, false, kPlaceInsideOnBottom, group);

    EXPECT_EQ(layerArtSet(layer),
              (std::vector<AIArtHandle>{groupOf(layer), group, inner, deep, besideInner, compound, member, last}));
    EXPECT_EQ(layerArtSet(sub).size(), 2u);
}

TEST_F(ArtSetSuiteTest, SelectedArtSetAddsTheContainersOfSelectedArt) {
    AILayerHandle top = firstLayer();
    AILayerHandle below = nullptr;
    layers->InsertLayer(nullptr, kPlaceBelowAll, &below);
    AIArtHandle loose = newPath({{0, 0}, {1, 1}}, false);
    AIArtHandle group = nullptr;
    art->NewArt(kGroupArt, kPlaceAboveAll, nullptr, &group);
    AIArtHandle inGroup = newPath({{0, 0}, {1, 1}}, false, kPlaceInsideOnTop, group);
    AIArtHandle elsewhere = newPath({{0, 0}, {1, 1}}, false, kPlaceInsideOnTop, groupOf(below));

    AIArtSet set = nullptr;
    artSets->NewArtSet(&set);
    EXPECT_EQ(artSets->SelectedArtSet(set), kNoErr);
    EXPECT_TRUE(contents(set).empty());

    for (AIArtHandle a : {loose, inGroup, elsewhere}) art->SetArtUserAttr(a, kArtSelected, kArtSelected);
    artSets->SelectedArtSet(set);
    EXPECT_EQ(contents(set),
              (std::vector<AIArtHandle>{groupOf(top), group, inGroup, loose, groupOf(below), elsewhere}));
    artSets->DisposeArtSet(&set);
}

TEST_F(ArtSetSuiteTest, MembersAreRemovedAndAddedOneAtATime) {
    AIArtHandle a = newPath({{0, 0}, {1, 1}}, false);
    AIArtHandle b = newPath({{0, 0}, {1, 1}}, false);
    AIArtSet set = nullptr;
    artSets->NewArtSet(&set);
    EXPECT_EQ(artSets->AddArtToArtSet(set, a), kNoErr);
    EXPECT_EQ(artSets->AddArtToArtSet(set, b), kNoErr);
    EXPECT_EQ(artSets->AddArtToArtSet(set, a), kNoErr);
    EXPECT_EQ(contents(set), (std::vector<AIArtHandle>{a, b})) << "no member twice";

    EXPECT_EQ(artSets->RemoveArtFromArtSet(set, a), kNoErr);
    EXPECT_EQ(contents(set), std::vector<AIArtHandle>{b}) << "later members move down";
    EXPECT_EQ(artSets->RemoveArtFromArtSet(set, a), kNoErr);
    EXPECT_EQ(artSets->AddArtToArtSet(set, a), kNoErr);
    EXPECT_EQ(contents(set), (std::vector<AIArtHandle>{b, a}));

    AIArtHandle out = Foreign<AIArtHandle>();
    EXPECT_EQ(artSets->IndexArtSet(set, 2, &out), kIndexOutOfRangeErr);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(artSets->IndexArtSet(set, -1, &out), kIndexOutOfRangeErr);

    EXPECT_EQ(artSets->DisposeArtSet(&set), kNoErr);
    EXPECT_EQ(set, nullptr);
}

TEST_F(ArtSetSuiteTest, SetsKeepMembersThatDied) {
    AIArtHandle a = newPath({{0, 0}, {1, 1}}, false);
    AIArtSet set = nullptr;
    artSets->NewArtSet(&set);
    artSets->LayerArtSet(firstLayer(), set);
    art->DisposeArt(a);
    int32_t count = 0;
    artSets->CountArtSet(set, &count);
    EXPECT_EQ(count, 2);
    AIArtHandle member = nullptr;
    EXPECT_EQ(artSets->IndexArtSet(set, 1, &member), kNoErr);
    int16_t type = 0;
    EXPECT_EQ(art->GetArtType(member, &type), kBadParameterErr) << "the dead member is refused, not followed";
    artSets->DisposeArtSet(&set);
}

TEST_F(ArtSetSuiteTest, DeadAndForeignSetsAreRefused) {
    AIArtSet set = nullptr;
    artSets->NewArtSet(&set);
    AIArtSet dead = set;
    artSets->DisposeArtSet(&set);
    int32_t count = 0;
    AIArtHandle a = nullptr;
    for (AIArtSet bad : {dead, Foreign<AIArtSet>(), static_cast<AIArtSet>(nullptr)}) {
        EXPECT_EQ(artSets->CountArtSet(bad, &count), kBadParameterErr);
        EXPECT_EQ(artSets->IndexArtSet(bad, 0, &a), kBadParameterErr);
        EXPECT_EQ(artSets->LayerArtSet(firstLayer(), bad), kBadParameterErr);
        EXPECT_EQ(artSets->SelectedArtSet(bad), kBadParameterErr);
        EXPECT_EQ(artSets->RemoveArtFromArtSet(bad, a), kBadParameterErr);
        AIArtSet copy = bad;
        EXPECT_EQ(artSets->DisposeArtSet(&copy), kBadParameterErr);
    }
    EXPECT_EQ(artSets->DisposeArtSet(nullptr), kBadParameterErr);
}

}  // namespace
}  // namespace quiltor::host::testing
