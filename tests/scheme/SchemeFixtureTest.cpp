// The two checks against trees typed apart from the plug-in's tables: each
// accepts its own tree, and no single layer of it can change, go or be moved
// a level without the verdict changing.
#include "FakeLayerTree.h"
#include "SchemeFixture.h"
#include "core/LayerScheme.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Layers = std::vector<schemefixture::Layer>;

FakeTree Build(const Layers& layers, std::size_t& i, int depth) {
    FakeTree list;
    while (i < layers.size() && layers[i].depth == depth) {
        FakeLayer layer{layers[i].title, {}};
        ++i;
        layer.sublayers = Build(layers, i, depth + 1);
        list.push_back(std::move(layer));
    }
    return list;
}

FakeTree TreeOf(const Layers& layers) {
    std::size_t i = 0;
    FakeTree tree = Build(layers, i, 0);
    EXPECT_EQ(i, layers.size()) << "fixture depth jumps at line " << i;
    return tree;
}

struct Verdicts {
    bool standard;
    bool tokyo23;
    bool operator==(const Verdicts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Verdicts& v) {
    return out << "standard " << v.standard << ", tokyo23 " << v.tokyo23;
}

Verdicts Check(const Layers& layers) {
    FakeTree tree = TreeOf(layers);
    FakeLayerTreeReader standard(tree);
    FakeLayerTreeReader tokyo23(tree);
    return {FollowsLayerScheme(standard, materialLayerScheme, materialLayerSchemeCount),
            FollowsLayerScheme(tokyo23, tokyo23LayerScheme, tokyo23LayerSchemeCount)};
}

// One past the last layer of the subtree at i.
std::size_t SubtreeEnd(const Layers& layers, std::size_t i) {
    std::size_t end = i + 1;
    while (end < layers.size() && layers[end].depth > layers[i].depth) ++end;
    return end;
}

struct Scheme {
    const char* section;
    std::size_t count;
    Verdicts own;
};

const Scheme kSchemes[] = {
    {"standard", 90, {true, false}},
    {"tokyo23", 160, {false, true}},
};

TEST(SchemeFixture, EachCheckAcceptsItsOwnTreeOnly) {
    for (const Scheme& scheme : kSchemes) {
        SCOPED_TRACE(scheme.section);
        const Layers layers = schemefixture::Read(scheme.section);
        EXPECT_EQ(layers.size(), scheme.count);
        EXPECT_EQ(Check(layers), scheme.own);
    }
}

TEST(SchemeFixture, EveryLayerListedCounts) {
    const Verdicts neither{false, false};
    for (const Scheme& scheme : kSchemes) {
        const Layers layers = schemefixture::Read(scheme.section);
        for (std::size_t i = 0; i < layers.size(); ++i) {
            SCOPED_TRACE(std::string(scheme.section) + " " + std::to_string(i) + " " + layers[i].title);
            Layers retitled = layers;
            retitled[i].title += "・";
            EXPECT_EQ(Check(retitled), neither);

            Layers removed = layers;
            removed.erase(removed.begin() + static_cast<std::ptrdiff_t>(i),
                          removed.begin() + static_cast<std::ptrdiff_t>(SubtreeEnd(layers, i)));
            EXPECT_EQ(Check(removed), neither);

            // A layer listed without sublayers may hold any; one listed with
            // sublayers holds exactly those.
            Layers extra = layers;
            extra.insert(extra.begin() + static_cast<std::ptrdiff_t>(SubtreeEnd(layers, i)),
                         {"追加", layers[i].depth + 1});
            const bool leaf = SubtreeEnd(layers, i) == i + 1;
            EXPECT_EQ(Check(extra), leaf ? scheme.own : neither);
        }
    }
}

}  // namespace
