#include "MeshBlock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace samplemap {
namespace {

struct BlockCase {
    const char* story;
    MeshKind kind;
    const char* origin;
    int32_t columns;
    int32_t rows;
    int32_t scale;
    std::vector<std::string> names;  // northern row first, west to east
};

const BlockCase kBlocks[] = {
    {"secondary squares inside one primary",
     MeshKind::Material,
     "533945",
     3,
     3,
     25000,
     {"533945_025000.ai", "533946_025000.ai", "533947_025000.ai", "533935_025000.ai", "533936_025000.ai",
      "533937_025000.ai", "533925_025000.ai", "533926_025000.ai", "533927_025000.ai"}},
    {"secondary squares across a primary corner",
     MeshKind::Material,
     "533907",
     2,
     2,
     25000,
     {"533907_025000.ai", "534000_025000.ai", "523977_025000.ai", "524070_025000.ai"}},
    {"quarters of one secondary square",
     MeshKind::MatQua,
     "533945_3",
     2,
     2,
     10000,
     {"533945_3_010000.ai", "533945_4_010000.ai", "533945_1_010000.ai", "533945_2_010000.ai"}},
    {"quarters across secondary squares",
     MeshKind::MatQua,
     "533945_2",
     2,
     2,
     10000,
     {"533945_2_010000.ai", "533946_1_010000.ai", "533935_4_010000.ai", "533936_3_010000.ai"}},
    {"primary squares",
     MeshKind::Mat1st,
     "5339",
     2,
     2,
     200000,
     {"5339_200000.ai", "5340_200000.ai", "5239_200000.ai", "5240_200000.ai"}},
    {"Tokyo-23 pieces across a secondary row",
     MeshKind::Tokyo23,
     "53394500",
     3,
     2,
     2500,
     {"53394500_02500.ai", "53394501_02500.ai", "53394502_02500.ai", "53393570_02500.ai", "53393571_02500.ai",
      "53393572_02500.ai"}},
    {"Tokyo-23 pieces across a primary column",
     MeshKind::Tokyo23,
     "53394777",
     2,
     1,
     2500,
     {"53394777_02500.ai", "53404070_02500.ai"}},
};

TEST(MeshBlock, NamesTheTilesOfTheBlockInRowOrder) {
    for (const BlockCase& c : kBlocks) {
        SCOPED_TRACE(c.story);
        const auto origin = ParseOrigin(c.kind, c.origin);
        ASSERT_TRUE(origin.has_value());
        std::string error;
        const auto block = MakeMeshBlock({c.kind, *origin, c.columns, c.rows, c.scale}, &error);
        ASSERT_TRUE(block.has_value()) << error;
        std::vector<std::string> names;
        for (const BlockTile& tile : block->tiles) names.push_back(tile.name);
        EXPECT_EQ(names, c.names);
    }
}

// The plug-in places a tile by its own reading of the name; that must land where the tool cut it.
TEST(MeshBlock, ThePlugInsOffsetsOfTheNamesAreTheCutOffsets) {
    for (const BlockCase& c : kBlocks) {
        SCOPED_TRACE(c.story);
        const auto block = MakeMeshBlock({c.kind, *ParseOrigin(c.kind, c.origin), c.columns, c.rows, c.scale}, nullptr);
        ASSERT_TRUE(block.has_value());
        std::vector<MeshEntry> entries;
        for (const BlockTile& tile : block->tiles) {
            const auto entry = ParseTileFileName(tile.name);
            ASSERT_TRUE(entry.has_value()) << tile.name;
            EXPECT_EQ(entry->scale, c.scale);
            entries.push_back(*entry);
        }
        const MeshBox box = MeshBounds(c.kind, entries);
        EXPECT_EQ(box.columns, c.columns);
        EXPECT_EQ(box.rows, c.rows);
        for (size_t i = 0; i < entries.size(); ++i) {
            const MeshOffset offset = MeshTileOffset(c.kind, MeshGridCode(c.kind, entries[i]), box);
            EXPECT_EQ(offset.k, block->tiles[i].k) << block->tiles[i].name;
            EXPECT_EQ(offset.j, block->tiles[i].j) << block->tiles[i].name;
        }
    }
}

TEST(MeshBlock, TileSizeIsThePlugInsFloatSize) {
    const auto block = MakeMeshBlock({MeshKind::Tokyo23, {53394500, 0}, 3, 2, 2500}, nullptr);
    ASSERT_TRUE(block.has_value());
    const MeshSize size = MeshTileSize(MeshKind::Tokyo23, 2500);
    EXPECT_EQ(block->grid.tileWidth, static_cast<double>(size.widthPt));
    EXPECT_EQ(block->grid.tileHeight, static_cast<double>(size.heightPt));
    EXPECT_EQ(block->grid.columns, 3);
    EXPECT_EQ(block->grid.rows, 2);
}

TEST(MeshBlock, EveryGridSquareComesBackFromItsRowAndColumn) {
    for (MeshKind kind : {MeshKind::Material, MeshKind::MatQua, MeshKind::Mat1st, MeshKind::Tokyo23}) {
        for (int32_t row : {0, 1, 7, 8, 15, 16, 63, 64, 427, 1000}) {
            for (int32_t column : {0, 1, 7, 8, 15, 16, 63, 64, 319, 320, 2559, 2560}) {
                const auto code = TileCodeAt(kind, row, column);
                if (!code) continue;
                const int32_t grid = kind == MeshKind::MatQua ? MeshQuarterCode(code->mesh, code->area) : code->mesh;
                EXPECT_EQ(MeshGridRow(kind, grid), row) << MeshKindName(kind) << " " << code->mesh;
                EXPECT_EQ(MeshGridColumn(kind, grid), column) << MeshKindName(kind) << " " << code->mesh;
            }
        }
    }
}

TEST(MeshBlock, SquaresOutsideTheTwoDigitPrimaryCodesDoNotExist) {
    EXPECT_FALSE(TileCodeAt(MeshKind::Mat1st, -1, 0).has_value());
    EXPECT_FALSE(TileCodeAt(MeshKind::Mat1st, 0, 100).has_value());
    EXPECT_FALSE(TileCodeAt(MeshKind::Material, 800, 0).has_value());
    EXPECT_FALSE(TileCodeAt(MeshKind::Tokyo23, 0, 6400).has_value());
    EXPECT_TRUE(TileCodeAt(MeshKind::Tokyo23, 6399, 6399).has_value());
}

TEST(MeshBlock, OriginsAreReadAsTheKindWritesThem) {
    struct Case {
        MeshKind kind;
        const char* text;
        std::optional<TileCode> code;
    };
    const Case cases[] = {
        {MeshKind::Material, "533945", TileCode{533945, 0}},
        {MeshKind::Material, "533985", std::nullopt},  // no secondary row 8
        {MeshKind::Material, "533949", std::nullopt},  // no secondary column 9
        {MeshKind::Material, "53394", std::nullopt},
        {MeshKind::Material, "5339450", std::nullopt},
        {MeshKind::Material, "53394A", std::nullopt},
        {MeshKind::Material, "", std::nullopt},
        {MeshKind::MatQua, "533945", TileCode{533945, 3}},
        {MeshKind::MatQua, "533945_2", TileCode{533945, 2}},
        {MeshKind::MatQua, "533945_5", std::nullopt},
        {MeshKind::MatQua, "533945_0", std::nullopt},
        {MeshKind::MatQua, "533945_", std::nullopt},
        {MeshKind::MatQua, "533945_22", std::nullopt},
        {MeshKind::Mat1st, "5339", TileCode{5339, 0}},
        {MeshKind::Mat1st, "0000", TileCode{0, 0}},
        {MeshKind::Mat1st, "533945", std::nullopt},
        {MeshKind::Tokyo23, "53394500", TileCode{53394500, 0}},
        {MeshKind::Tokyo23, "53394580", std::nullopt},  // no piece row 8
        {MeshKind::Tokyo23, "53398500", std::nullopt},  // no secondary row 8
        {MeshKind::Tokyo23, "-5339450", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseOrigin(c.kind, c.text), c.code) << MeshKindName(c.kind) << " " << c.text;
    }
}

TEST(MeshBlock, RefusesBlocksItCannotMake) {
    struct Case {
        const char* story;
        BlockOptions options;
    };
    const Case cases[] = {
        {"no columns", {MeshKind::Material, {533945, 0}, 0, 3, 25000}},
        {"too many rows", {MeshKind::Material, {533945, 0}, 3, kMaxBlockSide + 1, 25000}},
        {"scale 0", {MeshKind::Material, {533945, 0}, 3, 3, 0}},
        {"scale beyond six digits", {MeshKind::Material, {533945, 0}, 3, 3, 1000000}},
        {"scale beyond the Tokyo-23 five digits", {MeshKind::Tokyo23, {53394500, 0}, 3, 2, 100000}},
        {"east of the last primary column", {MeshKind::Mat1st, {5399, 0}, 2, 1, 200000}},
        {"south of the first primary row", {MeshKind::Mat1st, {39, 0}, 1, 2, 200000}},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(MakeMeshBlock(c.options, &error).has_value()) << c.story;
        EXPECT_FALSE(error.empty()) << c.story;
    }
}

TEST(MeshBlock, KindNamesRoundTrip) {
    for (MeshKind kind : {MeshKind::Material, MeshKind::MatQua, MeshKind::Mat1st, MeshKind::Tokyo23}) {
        EXPECT_EQ(ParseMeshKind(MeshKindName(kind)), kind);
        std::string error;
        EXPECT_TRUE(MakeMeshBlock({kind, DefaultOrigin(kind), 3, 3, DefaultScale(kind)}, &error).has_value())
            << MeshKindName(kind) << ": " << error;
    }
    EXPECT_FALSE(ParseMeshKind("Material").has_value());
    EXPECT_FALSE(ParseMeshKind("").has_value());
}

}  // namespace
}  // namespace samplemap
