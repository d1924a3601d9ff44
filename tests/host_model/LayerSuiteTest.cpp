#include <functional>

#include "ModelFixture.h"

namespace quiltor::host::testing {
namespace {

class LayerSuiteTest : public ModelTest {
protected:
    // "title/depth" of every layer in preorder.
    std::vector<std::string> tree() {
        std::vector<std::string> lines;
        for (AILayerHandle l = firstLayer(); l;) {
            int depth = 0;
            for (AILayerHandle p = l; layers->GetLayerParent(p, &p) == kNoErr && p;) ++depth;
            lines.push_back(titleOf(l) + "/" + std::to_string(depth));
            layers->GetNextPreorderLayer(l, &l);
        }
        return lines;
    }
    AILayerHandle insert(AILayerHandle reference, int16_t order, const char* title) {
        AILayerHandle layer = nullptr;
        EXPECT_EQ(layers->InsertLayer(reference, order, &layer), kNoErr) << title;
        if (layer) setTitle(layer, title);
        return layer;
    }
};

TEST_F(LayerSuiteTest, NewDocumentHasOneFreshCurrentLayer) {
    int32_t count = 0;
    EXPECT_EQ(layers->CountLayers(&count), kNoErr);
    EXPECT_EQ(count, 1);
    AILayerHandle layer = firstLayer();
    AILayerHandle current = nullptr;
    layers->GetCurrentLayer(&current);
    EXPECT_EQ(current, layer);
    EXPECT_EQ(titleOf(layer), "Layer 1");
    AIBoolean value = 9;
    layers->LayerHasArt(layer, &value);
    EXPECT_EQ(value, 0);
}

TEST_F(LayerSuiteTest, NewLayersHaveTheDefaultOptions) {
    AILayerHandle layer = nullptr;
    ASSERT_EQ(layers->InsertLayer(nullptr, kPlaceAboveAll, &layer), kNoErr);
    struct Option {
        const char* name;
        AIErr (*get)(AILayerHandle, AIBoolean*);
        AIBoolean expected;
    } options[] = {
        {"visible", layers->GetLayerVisible, 1},
        {"preview", layers->GetLayerPreview, 1},
        {"editable", layers->GetLayerEditable, 1},
        {"printed", layers->GetLayerPrinted, 1},
        {"dimPlacedImages", layers->GetLayerDimPlacedImages, 0},
        {"template", layers->GetLayerIsTemplate, 0},
    };
    for (const Option& o : options) {
        AIBoolean value = 7;
        EXPECT_EQ(o.get(layer, &value), kNoErr) << o.name;
        EXPECT_EQ(value, o.expected) << o.name;
    }
    EXPECT_EQ(titleOf(layer), "Layer 2");
}

TEST_F(LayerSuiteTest, EachOptionIsStoredOnItsOwn) {
    using Get = AIErr (*)(AILayerHandle, AIBoolean*);
    using Set = AIErr (*)(AILayerHandle, AIBoolean);
    const std::vector<std::pair<Get, Set>> options = {
        {layers->GetLayerVisible, layers->SetLayerVisible},
        {layers->GetLayerPreview, layers->SetLayerPreview},
        {layers->GetLayerEditable, layers->SetLayerEditable},
        {layers->GetLayerPrinted, layers->SetLayerPrinted},
        {layers->GetLayerDimPlacedImages, layers->SetLayerDimPlacedImages},
        {layers->GetLayerIsTemplate, layers->SetLayerIsTemplate},
    };
    AILayerHandle layer = firstLayer();
    for (size_t flipped = 0; flipped < options.size(); ++flipped) {
        std::vector<AIBoolean> before;
        for (auto [get, set] : options) {
            AIBoolean v = 0;
            get(layer, &v);
            before.push_back(v);
        }
        EXPECT_EQ(options[flipped].second(layer, !before[flipped]), kNoErr);
        for (size_t i = 0; i < options.size(); ++i) {
            AIBoolean v = 0;
            options[i].first(layer, &v);
            EXPECT_EQ(v, i == flipped ? !before[i] : before[i]) << "flipped " << flipped << " read " << i;
        }
    }
}

TEST_F(LayerSuiteTest, InsertLayerPlacesByPaintOrder) {
    struct Case {
        const char* name;
        bool withReference;
        int16_t order;
        std::vector<std::string> expected;
    } cases[] = {
        {"above all", false, kPlaceAboveAll, {"new/0", "A/0", "A1/1", "B/0"}},
        {"below all", false, kPlaceBelowAll, {"A/0", "A1/1", "B/0", "new/0"}},
        {"above A", true, kPlaceAbove, {"new/0", "A/0", "A1/1", "B/0"}},
        {"below A", true, kPlaceBelow, {"A/0", "A1/1", "new/0", "B/0"}},
        {"inside A on top", true, kPlaceInsideOnTop, {"A/0", "new/1", "A1/1", "B/0"}},
        {"inside A on bottom", true, kPlaceInsideOnBottom, {"A/0", "A1/1", "new/1", "B/0"}},
    };
    for (const Case& c : cases) {
        NewDocumentOptions options;
        workspace().newDocument(options);
        AILayerHandle a = firstLayer();
        setTitle(a, "A");
        insert(a, kPlaceInsideOnTop, "A1");
        insert(nullptr, kPlaceBelowAll, "B");
        insert(c.withReference ? a : nullptr, c.order, "new");
        EXPECT_EQ(tree(), c.expected) << c.name;
    }
}

TEST_F(LayerSuiteTest, InsertLayerRefusesOrdersThatDoNotFit) {
    AILayerHandle a = firstLayer();
    const std::vector<std::pair<AILayerHandle, int16_t>> misfits = {{nullptr, kPlaceAbove},
                                                                    {nullptr, kPlaceInsideOnTop},
                                                                    {a, kPlaceAboveAll},
                                                                    {a, 99},
                                                                    {Foreign<AILayerHandle>(), kPlaceAbove}};
    for (auto [reference, order] : misfits) {
        AILayerHandle layer = Foreign<AILayerHandle>();
        EXPECT_EQ(layers->InsertLayer(reference, order, &layer), kBadParameterErr) << order;
        EXPECT_EQ(layer, nullptr);
    }
    EXPECT_EQ(tree(), std::vector<std::string>{"Layer 1/0"});
}

TEST_F(LayerSuiteTest, PreorderWalkGoesThroughThreeLevels) {
    AILayerHandle a = firstLayer();
    setTitle(a, "A");
    AILayerHandle a1 = insert(a, kPlaceInsideOnBottom, "A1");
    insert(a1, kPlaceInsideOnBottom, "A1a");
    insert(a1, kPlaceInsideOnBottom, "A1b");
    insert(a, kPlaceInsideOnBottom, "A2");
    insert(nullptr, kPlaceBelowAll, "B");
    EXPECT_EQ(tree(), (std::vector<std::string>{"A/0", "A1/1", "A1a/2", "A1b/2", "A2/1", "B/0"}));
}

TEST_F(LayerSuiteTest, GetLayerByTitleFindsTheFirstInPreorder) {
    AILayerHandle a = firstLayer();
    setTitle(a, "道路");
    AILayerHandle inner = insert(a, kPlaceInsideOnTop, "建物");
    insert(nullptr, kPlaceBelowAll, "建物");
    _AIUnicodeString title{u"建物"};
    AILayerHandle found = nullptr;
    EXPECT_EQ(layers->GetLayerByTitle(&found, &title), kNoErr);
    EXPECT_EQ(found, inner);

    _AIUnicodeString missing{u"鉄道"};
    found = Foreign<AILayerHandle>();
    EXPECT_EQ(layers->GetLayerByTitle(&found, &missing), kNameNotFoundErr);
    EXPECT_EQ(found, nullptr);
}

TEST_F(LayerSuiteTest, GetNthLayerStopsAtTheEnd) {
    insert(nullptr, kPlaceBelowAll, "second");
    AILayerHandle layer = nullptr;
    EXPECT_EQ(layers->GetNthLayer(1, &layer), kNoErr);
    EXPECT_EQ(titleOf(layer), "second");
    for (int32_t n : {2, -1}) {
        layer = Foreign<AILayerHandle>();
        EXPECT_EQ(layers->GetNthLayer(n, &layer), kIndexOutOfRangeErr) << n;
        EXPECT_EQ(layer, nullptr);
    }
}

TEST_F(LayerSuiteTest, DeleteLayerTakesSublayersAndArtAlong) {
    AILayerHandle a = firstLayer();
    AILayerHandle sub = insert(a, kPlaceInsideOnTop, "sub");
    AILayerHandle b = insert(nullptr, kPlaceBelowAll, "B");
    layers->SetCurrentLayer(sub);
    AIArtHandle path = newPath({{0, 0}, {1, 1}}, false);  // in the current layer: sub
    EXPECT_EQ(layers->DeleteLayer(a), kNoErr);

    AIBoolean valid = 1;
    art->ValidArt(path, &valid);
    EXPECT_EQ(valid, 0);
    AILayerHandle parent = nullptr;
    EXPECT_EQ(layers->GetLayerParent(sub, &parent), kBadParameterErr);
    AILayerHandle current = nullptr;
    layers->GetCurrentLayer(&current);
    EXPECT_EQ(current, b);
    EXPECT_EQ(layers->DeleteLayer(b), kBadParameterErr) << "a document keeps its last layer";
    EXPECT_EQ(tree(), std::vector<std::string>{"B/0"});
}

TEST_F(LayerSuiteTest, LayerHasSelectedArtLooksInsideGroups) {
    AILayerHandle layer = firstLayer();
    AIArtHandle group = nullptr;
    art->NewArt(kGroupArt, kPlaceAboveAll, nullptr, &group);
    AIArtHandle path = newPath({{0, 0}, {1, 1}}, false, kPlaceInsideOnTop, group);
    AIBoolean selected = 1;
    layers->LayerHasSelectedArt(layer, &selected);
    EXPECT_EQ(selected, 0);
    art->SetArtUserAttr(path, kArtSelected, kArtSelected);
    layers->LayerHasSelectedArt(layer, &selected);
    EXPECT_EQ(selected, 1);
}

// Every call that takes a layer refuses one that is dead or was never given out.
TEST_F(LayerSuiteTest, DeadAndForeignLayersAreRefused) {
    AILayerHandle dead = insert(nullptr, kPlaceBelowAll, "doomed");
    ASSERT_EQ(layers->DeleteLayer(dead), kNoErr);
    _AIUnicodeString title{u"x"};
    AIBoolean flag = 0;
    AILayerHandle out = nullptr;
    AIArtHandle group = nullptr;
    const std::vector<std::pair<const char*, std::function<AIErr(AILayerHandle)>>> calls = {
        {"SetCurrentLayer", [&](AILayerHandle l) { return layers->SetCurrentLayer(l); }},
        {"GetNextLayer", [&](AILayerHandle l) { return layers->GetNextLayer(l, &out); }},
        {"GetPrevLayer", [&](AILayerHandle l) { return layers->GetPrevLayer(l, &out); }},
        {"InsertLayer", [&](AILayerHandle l) { return layers->InsertLayer(l, kPlaceAbove, &out); }},
        {"DeleteLayer", [&](AILayerHandle l) { return layers->DeleteLayer(l); }},
        {"GetLayerTitle", [&](AILayerHandle l) { return layers->GetLayerTitle(l, &title); }},
        {"SetLayerTitle", [&](AILayerHandle l) { return layers->SetLayerTitle(l, &title); }},
        {"GetLayerVisible", [&](AILayerHandle l) { return layers->GetLayerVisible(l, &flag); }},
        {"SetLayerEditable", [&](AILayerHandle l) { return layers->SetLayerEditable(l, 1); }},
        {"LayerHasArt", [&](AILayerHandle l) { return layers->LayerHasArt(l, &flag); }},
        {"LayerHasSelectedArt", [&](AILayerHandle l) { return layers->LayerHasSelectedArt(l, &flag); }},
        {"GetLayerFirstChild", [&](AILayerHandle l) { return layers->GetLayerFirstChild(l, &out); }},
        {"GetLayerParent", [&](AILayerHandle l) { return layers->GetLayerParent(l, &out); }},
        {"GetNextPreorderLayer", [&](AILayerHandle l) { return layers->GetNextPreorderLayer(l, &out); }},
        {"GetFirstArtOfLayer", [&](AILayerHandle l) { return art->GetFirstArtOfLayer(l, &group); }},
    };
    for (AILayerHandle bad : {dead, Foreign<AILayerHandle>(), static_cast<AILayerHandle>(nullptr)}) {
        for (const auto& [name, call] : calls) EXPECT_EQ(call(bad), kBadParameterErr) << name;
    }
}

TEST_F(LayerSuiteTest, CallsWithoutADocumentSayNoDocument) {
    ASSERT_TRUE(workspace().close(document_));
    int32_t count = 5;
    EXPECT_EQ(layers->CountLayers(&count), kNoDocumentErr);
    AILayerHandle layer = Foreign<AILayerHandle>();
    EXPECT_EQ(layers->GetFirstLayer(&layer), kNoDocumentErr);
    EXPECT_EQ(layer, nullptr);
    EXPECT_EQ(layers->InsertLayer(nullptr, kPlaceAboveAll, &layer), kNoDocumentErr);
}

}  // namespace
}  // namespace quiltor::host::testing
