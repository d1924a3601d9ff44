#include "FakeLayerTree.h"
#include "core/LayerScheme.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

struct SchemeRef {
    const LayerSchemeEntry* entries;
    int32_t count;
    bool operator==(const SchemeRef&) const = default;
};
constexpr SchemeRef kNoLayers{nullptr, 0};
constexpr SchemeRef kMaterial{materialLayerScheme, materialLayerSchemeCount};
constexpr SchemeRef kTokyo23{tokyo23LayerScheme, tokyo23LayerSchemeCount};

FakeTree TreeOf(SchemeRef scheme) { return TreeFromScheme(scheme.entries, scheme.count); }

bool Follows(FakeTree& tree, SchemeRef scheme) {
    FakeLayerTreeReader reader(tree);
    return FollowsLayerScheme(reader, scheme.entries, scheme.count);
}

void ForEachTitle(const LayerSchemeEntry* entries, int32_t count, int depth,
                  const std::function<void(const LayerSchemeEntry&, int)>& visit) {
    for (int32_t i = 0; i < count; ++i) {
        visit(entries[i], depth);
        if (entries[i].group) ForEachTitle(entries[i].sublayers, entries[i].count, depth + 1, visit);
    }
}

// Gives every layer whose sublayers the scheme ignores a small nested subtree.
void AddSublayersUnderNonGroups(std::vector<FakeLayer>& list, const LayerSchemeEntry* entries) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (entries[i].group)
            AddSublayersUnderNonGroups(list[i].sublayers, entries[i].sublayers);
        else
            list[i].sublayers = {{"x", {{"y", {}}}}, {list[i].title, {}}};
    }
}

// ---- The tables themselves ----

struct ShapeCase {
    const char* name;
    SchemeRef scheme;
    std::vector<int> perDepth;
    int total;
};
void PrintTo(const ShapeCase& c, std::ostream* os) { *os << c.name; }

class SchemeShape : public testing::TestWithParam<ShapeCase> {};

TEST_P(SchemeShape, LayerCountsPerLevel) {
    const ShapeCase& c = GetParam();
    std::vector<int> perDepth;
    int total = 0;
    ForEachTitle(c.scheme.entries, c.scheme.count, 0, [&](const LayerSchemeEntry& e, int depth) {
        if (perDepth.size() <= static_cast<std::size_t>(depth)) perDepth.resize(depth + 1);
        ++perDepth[depth];
        ++total;
        EXPECT_EQ(e.group, e.sublayers != nullptr) << e.title;
        EXPECT_EQ(e.group, e.count > 0) << e.title;
    });
    EXPECT_EQ(perDepth, c.perDepth);
    EXPECT_EQ(total, c.total);
}

INSTANTIATE_TEST_SUITE_P(Tables, SchemeShape,
                         testing::Values(ShapeCase{"material", kMaterial, {7, 32, 51}, 90},
                                         ShapeCase{"tokyo23", kTokyo23, {21, 139}, 160}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SchemeTables, MaterialTitlesStandOnce) {
    std::set<std::string> titles;
    ForEachTitle(materialLayerScheme, materialLayerSchemeCount, 0,
                 [&](const LayerSchemeEntry& e, int) { EXPECT_TRUE(titles.insert(e.title).second) << e.title; });
    EXPECT_EQ(titles.size(), 90u);
}

TEST(SchemeTables, Tokyo23HasTwoLevelsOnly) {
    ForEachTitle(tokyo23LayerScheme, tokyo23LayerSchemeCount, 0,
                 [](const LayerSchemeEntry& e, int depth) { EXPECT_EQ(e.group, depth == 0) << e.title; });
}

TEST(SchemeTables, RoadNotesRetitleTargetsTheFirstOfTwoRoadLayers) {
    const std::string road = tokyo23LayerScheme[tokyo23RoadNotesIndex].title;
    EXPECT_EQ(road, tokyo23LayerScheme[19].title);
    EXPECT_NE(road, tokyo23RoadNotesTitle);
    for (int32_t i = 0; i < tokyo23LayerSchemeCount; ++i)
        EXPECT_STRNE(tokyo23LayerScheme[i].title, tokyo23RoadNotesTitle);
}

// The few half-width characters among the titles, and the full-width look-alikes
// that must not creep in.
struct CharCase {
    const char* text;
    int titlesHoldingIt;
};
void PrintTo(const CharCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class SchemeCharacters : public testing::TestWithParam<CharCase> {};

// Whether text stands in title as whole characters; a Shift-JIS trail byte may look like ASCII.
bool Holds(const char* title, const char* text) {
#ifdef _WIN32
    for (const char* p = title; *p != '\0';) {
        if (std::strncmp(p, text, std::strlen(text)) == 0) return true;
        const unsigned char lead = static_cast<unsigned char>(*p);
        p += (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
    }
    return false;
#else
    return std::strstr(title, text) != nullptr;
#endif
}

TEST_P(SchemeCharacters, StandOnlyWhereExpected) {
    int holding = 0;
    auto count = [&](const LayerSchemeEntry& e, int) { holding += Holds(e.title, GetParam().text); };
    ForEachTitle(materialLayerScheme, materialLayerSchemeCount, 0, count);
    ForEachTitle(tokyo23LayerScheme, tokyo23LayerSchemeCount, 0, count);
    EXPECT_EQ(holding, GetParam().titlesHoldingIt) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Tables, SchemeCharacters,
                         testing::Values(CharCase{"/", 8}, CharCase{" ", 4}, CharCase{"_", 10}, CharCase{"4", 1},
                                         CharCase{"／", 0}, CharCase{"　", 0}, CharCase{"＿", 0}, CharCase{"４", 0},
                                         CharCase{"(", 0}, CharCase{")", 0}, CharCase{"3", 0}, CharCase{"JR", 0},
                                         CharCase{"IC", 0}));

// ---- The walk ----

struct WalkCase {
    const char* name;
    SchemeRef tree;
    void (*mutate)(FakeTree&);
    SchemeRef check;
    bool follows;
};
void PrintTo(const WalkCase& c, std::ostream* os) { *os << c.name; }

class SchemeWalk : public testing::TestWithParam<WalkCase> {};

TEST_P(SchemeWalk, Verdict) {
    const WalkCase& c = GetParam();
    FakeTree tree = TreeOf(c.tree);
    if (c.mutate) c.mutate(tree);
    EXPECT_EQ(Follows(tree, c.check), c.follows);
}

void Swap(FakeTree& tree, std::initializer_list<int> a, std::initializer_list<int> b) {
    std::swap(LayerAt(tree, a), LayerAt(tree, b));
}

const WalkCase kMaterialCases[] = {
    {"Exact", kMaterial, nullptr, kMaterial, true},
    {"NoLayers", kNoLayers, nullptr, kMaterial, false},
    {"EighthTopLevelLayer", kMaterial, [](FakeTree& t) { t.push_back(t.back()); }, kMaterial, false},
    {"SixTopLevelLayers", kMaterial, [](FakeTree& t) { t.pop_back(); }, kMaterial, false},
    {"GroupOneShort", kMaterial,
     [](FakeTree& t) {
         ListAt(t, {0, 9}).pop_back();
     },
     kMaterial, false},
    {"GroupOneOver", kMaterial,
     [](FakeTree& t) {
         ListAt(t, {0, 9}).push_back(ListAt(t, {0, 9}).back());
     },
     kMaterial, false},
    {"GroupEmpty", kMaterial,
     [](FakeTree& t) {
         ListAt(t, {0, 0}).clear();
     },
     kMaterial, false},
    {"GroundRoadBeforeUndergroundRail", kMaterial,
     [](FakeTree& t) {
         Swap(t, {2, 6}, {2, 7});
     },
     kMaterial, false},
    {"DeepestTitleDiffers", kMaterial,
     [](FakeTree& t) {
         ReplaceInTitle(LayerAt(t, {0, 9, 9}), "ひらがな", "漢字");
     },
     kMaterial, false},
    {"SublayersOfNonGroupsIgnored", kMaterial, [](FakeTree& t) { AddSublayersUnderNonGroups(t, materialLayerScheme); },
     kMaterial, true},
    {"AsciiLetters", kMaterial,
     [](FakeTree& t) {
         ReplaceInTitle(LayerAt(t, {2, 1, 1}), "ＪＲ", "JR");
     },
     kMaterial, false},
    {"AsciiBrackets", kMaterial,
     [](FakeTree& t) {
         ReplaceInTitle(LayerAt(t, {2, 1, 1}), "（", "(");
         ReplaceInTitle(LayerAt(t, {2, 1, 1}), "）", ")");
     },
     kMaterial, false},
    {"FullWidthDigit", kMaterial, [](FakeTree& t) { ReplaceInTitle(LayerAt(t, {6}), "4", "４"); }, kMaterial, false},
    {"FullWidthSlash", kMaterial,
     [](FakeTree& t) {
         ReplaceInTitle(LayerAt(t, {4, 1}), "/", "／");
     },
     kMaterial, false},
    {"TrailingBlank", kMaterial,
     [](FakeTree& t) {
         LayerAt(t, {0, 11}).title += ' ';
     },
     kMaterial, false},
    {"TitlePrefixOnly", kMaterial, [](FakeTree& t) { ReplaceInTitle(LayerAt(t, {0}), "・記号", ""); }, kMaterial,
     false},
    {"TitleLongerThanBuffer", kMaterial, [](FakeTree& t) { LayerAt(t, {1}).title += std::string(120, ' '); }, kMaterial,
     false},
    {"Tokyo23Tree", kTokyo23, nullptr, kMaterial, false},
};

const WalkCase kTokyo23Cases[] = {
    {"Exact", kTokyo23, nullptr, kTokyo23, true},
    {"NoLayers", kNoLayers, nullptr, kTokyo23, false},
    {"TenthTitledRoadNotes", kTokyo23, [](FakeTree& t) { t[tokyo23RoadNotesIndex].title = tokyo23RoadNotesTitle; },
     kTokyo23, false},
    {"TwoRoadLayersSwapped", kTokyo23, [](FakeTree& t) { Swap(t, {9}, {19}); }, kTokyo23, false},
    {"OverpassWithoutSublayer", kTokyo23, [](FakeTree& t) { ListAt(t, {11}).clear(); }, kTokyo23, false},
    {"OverpassWithTwoSublayers", kTokyo23, [](FakeTree& t) { ListAt(t, {11}).push_back(ListAt(t, {11}).back()); },
     kTokyo23, false},
    {"OverpassSublayerRetitled", kTokyo23,
     [](FakeTree& t) {
         LayerAt(t, {11, 0}).title = t[16].title;
     },
     kTokyo23, false},
    {"OutlineAndFillSecondSublayersExchanged", kTokyo23,
     [](FakeTree& t) {
         Swap(t, {17, 1}, {18, 1});
     },
     kTokyo23, false},
    {"ThirdLevelIgnored", kTokyo23,
     [](FakeTree& t) {
         ListAt(t, {0, 0}).push_back({"x", {}});
     },
     kTokyo23, true},
    {"ThirdLevelEverywhereIgnored", kTokyo23, [](FakeTree& t) { AddSublayersUnderNonGroups(t, tokyo23LayerScheme); },
     kTokyo23, true},
    {"FullWidthUnderscore", kTokyo23,
     [](FakeTree& t) {
         ReplaceInTitle(LayerAt(t, {8, 5}), "_", "＿");
     },
     kTokyo23, false},
    {"FullWidthSpace", kTokyo23,
     [](FakeTree& t) {
         ReplaceInTitle(LayerAt(t, {15, 0}), " ", "　");
     },
     kTokyo23, false},
    {"TwentySecondTopLevelLayer", kTokyo23,
     [](FakeTree& t) {
         t.push_back({"x", {}});
     },
     kTokyo23, false},
    {"TwentyTopLevelLayers", kTokyo23, [](FakeTree& t) { t.pop_back(); }, kTokyo23, false},
    {"TitleLongerThanBuffer", kTokyo23,
     [](FakeTree& t) {
         for (int i = 0; i < 40; ++i) LayerAt(t, {20, 0}).title += "区";
     },
     kTokyo23, false},
    {"MaterialTree", kMaterial, nullptr, kTokyo23, false},
};

auto CaseName = [](const auto& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(Material, SchemeWalk, testing::ValuesIn(kMaterialCases), CaseName);
INSTANTIATE_TEST_SUITE_P(Tokyo23, SchemeWalk, testing::ValuesIn(kTokyo23Cases), CaseName);

TEST(SchemeWalk, BuiltTokyo23TreePassesOnceRoadTitleIsBack) {
    FakeTree tree = TreeOf(kTokyo23);
    tree[tokyo23RoadNotesIndex].title = tokyo23RoadNotesTitle;
    EXPECT_FALSE(Follows(tree, kTokyo23));
    tree[tokyo23RoadNotesIndex].title = tokyo23LayerScheme[tokyo23RoadNotesIndex].title;
    EXPECT_TRUE(Follows(tree, kTokyo23));
}

TEST(SchemeWalk, ReadsOnlyTheLayersTheSchemeCovers) {
    for (SchemeRef scheme : {kMaterial, kTokyo23}) {
        FakeTree tree = TreeOf(scheme);
        AddSublayersUnderNonGroups(tree, scheme.entries);
        FakeLayerTreeReader reader(tree);
        EXPECT_TRUE(FollowsLayerScheme(reader, scheme.entries, scheme.count));
        EXPECT_EQ(reader.titleReads, scheme == kMaterial ? 90 : 160);
    }
}

// ---- Host faults ----

// Under "横断歩道橋" the one sublayer repeats its group's title, so a walk that
// kept the last title read after a failed read would let any sublayer pass.
TEST(SchemeWalkFaults, FailedTitleReadNeverMatches) {
    class FailingReader : public FakeLayerTreeReader {
    public:
        using FakeLayerTreeReader::FakeLayerTreeReader;
        const FakeLayer* failing = nullptr;
        bool ReadTitle(Layer layer, char* buffer, std::size_t size) override {
            if (&Of(layer) == failing) return false;
            return FakeLayerTreeReader::ReadTitle(layer, buffer, size);
        }
    };
    FakeTree tree = TreeOf(kTokyo23);
    LayerAt(tree, {11, 0}).title = "x";
    FailingReader reader(tree);
    reader.failing = &LayerAt(tree, {11, 0});
    EXPECT_FALSE(FollowsLayerScheme(reader, tokyo23LayerScheme, tokyo23LayerSchemeCount));
}

TEST(SchemeWalkFaults, UnterminatedTitleNeverMatchesNorOverruns) {
    class UnterminatedReader : public FakeLayerTreeReader {
    public:
        using FakeLayerTreeReader::FakeLayerTreeReader;
        bool ReadTitle(Layer layer, char* buffer, std::size_t size) override {
            std::memset(buffer, 'x', size);
            const std::string& title = Of(layer).title;
            title.copy(buffer, std::min(title.size(), size));
            return true;
        }
    };
    FakeTree tree = TreeOf(kMaterial);
    UnterminatedReader reader(tree);
    EXPECT_FALSE(FollowsLayerScheme(reader, materialLayerScheme, materialLayerSchemeCount));
}

TEST(SchemeWalkFaults, TopLevelListThatLoopsEnds) {
    class LoopingReader : public FakeLayerTreeReader {
    public:
        using FakeLayerTreeReader::FakeLayerTreeReader;
        const FakeLayer* last = nullptr;
        Layer NextLayer(Layer layer) override {
            return &Of(layer) == last ? FirstLayer() : FakeLayerTreeReader::NextLayer(layer);
        }
    };
    FakeTree tree = TreeOf(kMaterial);
    LoopingReader reader(tree);
    reader.last = &tree.back();
    EXPECT_FALSE(FollowsLayerScheme(reader, materialLayerScheme, materialLayerSchemeCount));
}

}  // namespace
