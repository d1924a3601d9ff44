#include "core/SeamEdgeIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

std::vector<uint32_t> Listed(SeamEdgeIndex& index, EdgeKey key) {
    std::vector<uint32_t> ids;
    index.Visit(key, [&](uint32_t id) {
        ids.push_back(id);
        return true;
    });
    std::sort(ids.begin(), ids.end());
    return ids;
}

TEST(SeamEdgeIndex, EdgeKeyIgnoresDirection) {
    const SeamPoint a{0, 5}, b{0, 9}, c{3, -1};
    EXPECT_EQ(KeyOf(a, b), KeyOf(b, a));
    EXPECT_EQ(KeyOf(c, a), KeyOf(a, c));
    EXPECT_FALSE(KeyOf(a, b) == KeyOf(a, c));
    EXPECT_EQ(KeyOf(a, a), (EdgeKey{a, a}));
}

TEST(SeamEdgeIndex, ListsEveryEntryUnderItsEdgeOnly) {
    const EdgeKey e1 = KeyOf({0, 0}, {0, 100});
    const EdgeKey e2 = KeyOf({0, 100}, {0, 200});
    const EdgeKey none = KeyOf({5, 5}, {5, 6});
    SeamEdgeIndex index({{e1, 3}, {e2, 3}, {e1, 1}, {e1, 7}});
    EXPECT_EQ(Listed(index, e1), (std::vector<uint32_t>{1, 3, 7}));
    EXPECT_EQ(Listed(index, e2), (std::vector<uint32_t>{3}));
    EXPECT_TRUE(Listed(index, none).empty());
    SeamEdgeIndex empty;
    EXPECT_TRUE(Listed(empty, e1).empty());
}

TEST(SeamEdgeIndex, DroppedEntriesStayDroppedAndAddedOnesAreListed) {
    const EdgeKey e = KeyOf({0, 0}, {0, 100});
    SeamEdgeIndex index({{e, 1}, {e, 2}, {e, 3}, {e, 4}});
    index.Visit(e, [](uint32_t id) { return id % 2 == 0; });
    EXPECT_EQ(Listed(index, e), (std::vector<uint32_t>{2, 4}));
    index.Add(e, 9);
    index.Add(e, 9);  // listed once
    index.Add(KeyOf({1, 1}, {1, 2}), 5);
    EXPECT_EQ(Listed(index, e), (std::vector<uint32_t>{2, 4, 9}));
    index.Visit(e, [](uint32_t id) { return id != 9 && id != 2; });
    EXPECT_EQ(Listed(index, e), (std::vector<uint32_t>{4}));
    EXPECT_EQ(Listed(index, KeyOf({1, 2}, {1, 1})), (std::vector<uint32_t>{5}));
}

// Many edges that collide in the table: every bucket still holds exactly its own ids.
TEST(SeamEdgeIndex, AgreesWithAPlainMapOnManyEdges) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int32_t> coord(-40, 40);
    std::vector<SeamEdgeIndex::Entry> entries;
    std::vector<std::pair<EdgeKey, std::vector<uint32_t>>> plain;
    for (uint32_t id = 0; id < 3000; ++id) {
        const EdgeKey key = KeyOf({coord(rng), 0}, {coord(rng), 100});
        entries.emplace_back(key, id);
        auto it = std::find_if(plain.begin(), plain.end(), [&](const auto& p) { return p.first == key; });
        if (it == plain.end()) {
            plain.push_back({key, {}});
            it = plain.end() - 1;
        }
        it->second.push_back(id);
    }
    SeamEdgeIndex index(entries);
    for (const auto& [key, ids] : plain) {
        ASSERT_EQ(Listed(index, key), ids);
    }
}

}  // namespace
