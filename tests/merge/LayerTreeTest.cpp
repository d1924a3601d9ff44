// The layer snapshot, the target's tree built from it or from the Tokyo-23
// table, and the scheme checks, all on host documents.
#include <cstdlib>
#include <functional>

#include "IAIUnicodeString.h"
#include "LayerSnapshot.h"
#include "MergeFixture.h"
#include "SchemeFixture.h"
#include "SuiteFaults.h"
#include "Suites.h"

namespace mergetest {
namespace {

const Tree kThreeLevels = {
    {"注記", 0},     {"市区町村名", 1}, {"漢字", 2}, {"ひらがな", 2}, {"交通関連", 1},
    {"国道番号", 2}, {"交通", 0},       {"道路", 1}, {"行政界", 0},
};

Tree TitlesAndDepths(const Tree& tree) {
    Tree out;
    for (const LayerSpec& layer : tree) out.push_back(LayerSpec{layer.title, layer.depth});
    return out;
}

class LayerTree : public MergeTest {
protected:
    void TearDown() override {
        SetLayerRecordRealloc(nullptr);
        FreeLayerSnapshot();
        MergeTest::TearDown();
    }

    // Snapshot of a tile with the tree, then a fresh target made current.
    void SnapshotOf(const Tree& tree) {
        NewDocument();
        BuildTree(tree);
        plugin().read_first_ai_layer();
        CloseAllDocuments();
        NewTarget();
    }
};

TEST_F(LayerTree, SnapshotRecordsEveryLayerInPreorder) {
    Tree tree = kThreeLevels;
    tree[3].visible = false;
    tree[5].isTemplate = true;
    tree[7].editable = false;
    NewDocument();
    BuildTree(tree);
    plugin().read_first_ai_layer();
    ASSERT_EQ(nMaxLayer, int32_t(tree.size()));
    EXPECT_EQ(nMaxFloor, 2);
    for (size_t i = 0; i < tree.size(); ++i) {
        SCOPED_TRACE(tree[i].title);
        const LayerRecord& record = layerFirstAI[i];
        EXPECT_STREQ(record.title, tree[i].title.c_str());
        EXPECT_EQ(record.depth, tree[i].depth);
        EXPECT_EQ(bool(record.visible), tree[i].visible);
        EXPECT_EQ(bool(record.isTemplate), tree[i].isTemplate);
        EXPECT_EQ(bool(record.editable), tree[i].editable);
    }
    EXPECT_TRUE(plugin().check_second_ai_layer());
}

TEST_F(LayerTree, WriteRebuildsThreeLevels) {
    SnapshotOf(kThreeLevels);
    plugin().write_ai_layer();
    EXPECT_EQ(TitlesAndDepths(ReadTree()), kThreeLevels);
}

// Parents used to be looked up by title, so the sublayers of a second "道路"
// went into the first one.
TEST_F(LayerTree, WriteKeepsSublayersOfParentsWithEqualTitles) {
    const Tree tree = {{"道路", 0}, {"名称", 1}, {"建物", 0}, {"道路", 0}, {"国道", 1}, {"県道", 1}};
    SnapshotOf(tree);
    plugin().write_ai_layer();
    EXPECT_EQ(TitlesAndDepths(ReadTree()), tree);
}

struct TreeChange {
    const char* name;
    std::function<void(Tree&)> change;
    bool equal;
};

void PrintTo(const TreeChange& c, std::ostream* out) { *out << c.name; }

class SecondTile : public LayerTree, public ::testing::WithParamInterface<TreeChange> {};

TEST_P(SecondTile, MatchesOnlyAnEqualTree) {
    NewDocument();
    BuildTree(kThreeLevels);
    plugin().read_first_ai_layer();
    Tree tree = kThreeLevels;
    GetParam().change(tree);
    NewDocument();
    BuildTree(tree);
    EXPECT_EQ(plugin().check_second_ai_layer(), GetParam().equal);
}

INSTANTIATE_TEST_SUITE_P(Changes, SecondTile,
                         ::testing::Values(TreeChange{"Same", [](Tree&) {}, true},
                                           TreeChange{"OneHidden", [](Tree& t) { t[4].visible = false; }, false},
                                           TreeChange{"OneOutline", [](Tree& t) { t[8].preview = false; }, false},
                                           TreeChange{"OneLocked", [](Tree& t) { t[0].editable = false; }, false},
                                           TreeChange{"OneNotPrinted", [](Tree& t) { t[1].printed = false; }, false},
                                           TreeChange{"OneDimmed", [](Tree& t) { t[2].dimPlacedImages = true; }, false},
                                           TreeChange{"OneTemplate", [](Tree& t) { t[7].isTemplate = true; }, false},
                                           TreeChange{"SiblingsSwapped", [](Tree& t) { std::swap(t[2], t[3]); }, false},
                                           TreeChange{"OneLevelDeeper", [](Tree& t) { t[8].depth = 1; }, false},
                                           TreeChange{"OneRetitled", [](Tree& t) { t[7].title = "道路 "; }, false},
                                           TreeChange{"OneMore",
                                                      [](Tree& t) {
                                                          t.push_back({"その他", 0});
                                                      },
                                                      false},
                                           TreeChange{"OneLess", [](Tree& t) { t.pop_back(); }, false}),
                         [](const ::testing::TestParamInfo<TreeChange>& info) { return info.param.name; });

// No path of the run handles a snapshot that cannot grow. It is left empty,
// so that no tile matches and none is half placed; a tile whose own tree
// cannot be read whole does not match either.
TEST_F(LayerTree, RecordsThatCannotGrowMatchNothing) {
    NewDocument();
    BuildTree(kThreeLevels);
    testsupport::SuiteFaults::FailReallocAt(4);
    SetLayerRecordRealloc(testsupport::SuiteFaults::Realloc);
    plugin().read_first_ai_layer();
    EXPECT_EQ(layerFirstAI, nullptr);
    EXPECT_EQ(nMaxLayer, 0);
    EXPECT_EQ(nMaxFloor, 0);
    EXPECT_FALSE(plugin().check_second_ai_layer());
    plugin().write_ai_layer();
    EXPECT_EQ(ReadTree().size(), kThreeLevels.size());

    SetLayerRecordRealloc(nullptr);
    plugin().read_first_ai_layer();
    ASSERT_EQ(nMaxLayer, int32_t(kThreeLevels.size()));
    testsupport::SuiteFaults::FailReallocAt(9);
    SetLayerRecordRealloc(testsupport::SuiteFaults::Realloc);
    EXPECT_FALSE(plugin().check_second_ai_layer());
}

TEST_F(LayerTree, Tokyo23TreeIsBuiltInOutlineView) {
    NewTarget();
    plugin().make_tokyo23_layer();
    const Tree built = ReadTree();

    // The tree typed apart from the tables, its 10th top-level layer as the
    // road names' layer.
    Tree expected;
    int top = 0;
    for (const schemefixture::Layer& layer : schemefixture::Read("tokyo23")) {
        expected.push_back(LayerSpec{layer.title, layer.depth});
        expected.back().preview = false;
        if (layer.depth == 0 && top++ == 9) expected.back().title = "道路注記";
    }
    EXPECT_EQ(built, expected);

    size_t topLevel = 0;
    for (const LayerSpec& layer : built) topLevel += layer.depth == 0;
    EXPECT_EQ(topLevel, 21u);
    EXPECT_EQ(built.size() - topLevel, 139u);
    EXPECT_EQ(built.back().title, "街区");
    EXPECT_EQ(built.back().depth, 1);

    // The built tree carries "道路注記", which the scheme does not know.
    EXPECT_FALSE(plugin().check_tokyo23_layer());
    AILayerHandle layer = nullptr;
    sAILayer->GetNthLayer(9, &layer);
    sAILayer->SetLayerTitle(layer, ai::UnicodeString("道路", kAIUTF8CharacterEncoding).get());
    EXPECT_TRUE(plugin().check_tokyo23_layer());
}

struct SchemeCase {
    const char* name;
    std::function<Tree()> tree;
    bool material;
    bool tokyo23;
};

void PrintTo(const SchemeCase& c, std::ostream* out) { *out << c.name; }

class SchemeCheck : public MergeTest, public ::testing::WithParamInterface<SchemeCase> {};

TEST_P(SchemeCheck, ReadsTheCurrentDocument) {
    NewDocument();
    BuildTree(GetParam().tree());
    EXPECT_EQ(plugin().check_material_layer(), GetParam().material);
    EXPECT_EQ(plugin().check_tokyo23_layer(), GetParam().tokyo23);
}

Tree WithExtraTopLayer(Tree tree) {
    tree.push_back({"その他", 0});
    return tree;
}

// Sublayers under "行政界" and under each Tokyo-23 sublayer are not looked at.
Tree WithThirdLevels(Tree tree) {
    for (size_t i = 0; i < tree.size(); ++i) {
        if (tree[i].title == "行政界" || tree[i].title == "スケールバー") {
            tree.insert(tree.begin() + std::ptrdiff_t(i) + 1, LayerSpec{"何でも", tree[i].depth + 1});
            break;
        }
    }
    return tree;
}

Tree WithSwappedGroups(Tree tree) {
    // The two second sublayers that differ between outline and fill groups.
    std::vector<size_t> at;
    for (size_t i = 0; i < tree.size(); ++i)
        if (tree[i].title == "芝生等その他" || tree[i].title == "芝生その他") at.push_back(i);
    std::swap(tree[at.at(0)].title, tree[at.at(1)].title);
    return tree;
}

INSTANTIATE_TEST_SUITE_P(
    Trees, SchemeCheck,
    ::testing::Values(SchemeCase{"Material", MaterialTree, true, false},
                      SchemeCase{"Tokyo23", Tokyo23Tree, false, true},
                      SchemeCase{"MaterialExtraLayer", [] { return WithExtraTopLayer(MaterialTree()); }, false, false},
                      SchemeCase{"Tokyo23ExtraLayer", [] { return WithExtraTopLayer(Tokyo23Tree()); }, false, false},
                      SchemeCase{"MaterialThirdLevel", [] { return WithThirdLevels(MaterialTree()); }, true, false},
                      SchemeCase{"Tokyo23ThirdLevel", [] { return WithThirdLevels(Tokyo23Tree()); }, false, true},
                      SchemeCase{"Tokyo23Swapped", [] { return WithSwappedGroups(Tokyo23Tree()); }, false, false},
                      SchemeCase{"Plain", [] { return kThreeLevels; }, false, false}),
    [](const ::testing::TestParamInfo<SchemeCase>& info) { return info.param.name; });

}  // namespace
}  // namespace mergetest
