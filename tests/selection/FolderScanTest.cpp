#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstring>
#include <string>
#include <vector>

#include "SelectionSupport.h"

namespace selection_test {
namespace {

struct Row {
    MeshKind kind;
    int32_t mesh;
    int32_t scale;
    int32_t area;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& r, std::ostream* os) { *os << FormatTileFileName(r.kind, r.mesh, r.area, r.scale); }

// The kind tables, kind by kind, as rows.
std::vector<Row> KindRows() {
    std::vector<Row> rows;
    for (int32_t i = 0; i < nMatQuaCount; ++i)
        rows.push_back({MeshKind::MatQua, nMatQuaMesh[i], nMatQuaScale[i], nMatQuaArea[i]});
    for (int32_t i = 0; i < nMaterialCount; ++i)
        rows.push_back({MeshKind::Material, nMaterialMesh[i], nMaterialScale[i], 0});
    for (int32_t i = 0; i < nMat1stCount; ++i) rows.push_back({MeshKind::Mat1st, nMat1stMesh[i], nMat1stScale[i], 0});
    for (int32_t i = 0; i < nTokyo23Count; ++i)
        rows.push_back({MeshKind::Tokyo23, nTokyo23Mesh[i], nTokyo23Scale[i], 0});
    return rows;
}

struct ScanCase {
    const char* what;
    std::vector<const char*> files;
    std::vector<Row> rows;
};

const ScanCase kScanCases[] = {
    {"empty folder", {}, {}},
    {"nothing matching", {"README.txt", "notes.ai", "533945_025000.pdf"}, {}},
    {"README skipped, one secondary and one primary tile",
     {"5339_025000.ai", "533945_025000.ai", "README.txt"},
     {{MeshKind::Material, 533945, 25000, 0}, {MeshKind::Mat1st, 5339, 25000, 0}}},
    {"other extensions of a secondary-name length",
     {"533945_025000.ps", "533945_025000xai", "533945_025000.ai.bak"},
     {}},
    {"upper-case extension", {"533945_025000.AI"}, {{MeshKind::Material, 533945, 25000, 0}}},
    {"mixed-case extension", {"533945_025000.Ai"}, {{MeshKind::Material, 533945, 25000, 0}}},
    {"names differing only in the case of the extension give one row",
     {"533945_025000.ai", "533945_025000.AI", "533945_025000.aI", "533945_2_010000.Ai", "533945_2_010000.ai"},
     {{MeshKind::MatQua, 533945, 10000, 2}, {MeshKind::Material, 533945, 25000, 0}}},
    {"names that do not parse",
     {"533945_5_010000.ai", "533945_0_010000.ai", "53394A_010000.ai", "533945-010000.ai", "533945_000000.ai", ".ai",
      "5339_02500.ai"},
     {}},
    {"rows in name order, not creation order",
     {"533947_025000.ai", "533945_025000.ai", "533946_010000.ai", "533945_4_025000.ai", "533945_1_025000.ai"},
     {{MeshKind::MatQua, 533945, 25000, 1},
      {MeshKind::MatQua, 533945, 25000, 4},
      {MeshKind::Material, 533945, 25000, 0},
      {MeshKind::Material, 533946, 10000, 0},
      {MeshKind::Material, 533947, 25000, 0}}},
    {"every kind",
     {"53394511_02500.ai", "5339_025000.ai", "533945_010000.ai", "533945_3_010000.ai"},
     {{MeshKind::MatQua, 533945, 10000, 3},
      {MeshKind::Material, 533945, 10000, 0},
      {MeshKind::Mat1st, 5339, 25000, 0},
      {MeshKind::Tokyo23, 53394511, 2500, 0}}},
};

using FolderScanTest = SelectionTest;

TEST_F(FolderScanTest, TakesTileNamesOnly) {
    for (const ScanCase& c : kScanCases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        for (const char* f : c.files) folder.Add(std::string(f));
        EXPECT_EQ(ScanTileFolder(folder.Str().c_str()), ScanResult::Done);
        EXPECT_EQ(KindRows(), c.rows);
        for (int32_t i = 0; i < nMaterialCount; ++i) EXPECT_FALSE(bMaterialSelect[i]);
        free_mesh();
    }
}

TEST_F(FolderScanTest, FolderWithJapaneseNameAndSpaces) {
    TempFolder folder("地図 データ/東京 23区 （2024）");
    folder.Add({"533945_025000.ai", "53394511_02500.ai"});
    ASSERT_EQ(ScanTileFolder(folder.Str().c_str()), ScanResult::Done);
    EXPECT_EQ(KindRows(),
              (std::vector<Row>{{MeshKind::Material, 533945, 25000, 0}, {MeshKind::Tokyo23, 53394511, 2500, 0}}));
}

TEST_F(FolderScanTest, FolderThatCannotBeOpenedLeavesTablesEmpty) {
    TempFolder folder;
    folder.Add("533945_025000.ai");
    const std::string missing = folder.Str() + "/no such folder";
    const std::string file = folder.Str() + "/533945_025000.ai";
    for (const std::string& path : {missing, file, std::string()}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ScanTileFolder(path.c_str()), ScanResult::CannotOpen);
        EXPECT_TRUE(TablesFreed());
    }
    EXPECT_EQ(ScanTileFolder(nullptr), ScanResult::CannotOpen);
}

TEST_F(FolderScanTest, UnreadableFolder) {
#ifdef _WIN32
    GTEST_SKIP() << "folder permissions are POSIX's";
#else
    if (geteuid() == 0) GTEST_SKIP() << "root reads any folder";
    TempFolder folder;
    folder.Add("533945_025000.ai");
    ASSERT_EQ(chmod(folder.Str().c_str(), 0), 0);
    EXPECT_EQ(ScanTileFolder(folder.Str().c_str()), ScanResult::CannotOpen);
    EXPECT_TRUE(TablesFreed());
#endif
}

TEST_F(FolderScanTest, ScanReplacesTheTablesOfAnEarlierFolder) {
    TempFolder first;
    first.Add({"533945_025000.ai", "5339_025000.ai"});
    TempFolder second;
    second.Add("533946_010000.ai");
    ASSERT_EQ(ScanTileFolder(first.Str().c_str()), ScanResult::Done);
    ASSERT_EQ(ScanTileFolder(second.Str().c_str()), ScanResult::Done);
    EXPECT_EQ(KindRows(), (std::vector<Row>{{MeshKind::Material, 533946, 10000, 0}}));
}

// Every array grows once per row, so each call of the allocator is a point
// where the scan can run out; at every one of them all tables must go.
TEST_F(FolderScanTest, OutOfMemoryAtEveryGrowthFreesEverything) {
    TempFolder folder;
    AddMixedTiles(folder);

    ReallocProbe::Arm(0);
    ASSERT_EQ(ScanTileFolder(folder.Str().c_str()), ScanResult::Done);
    const int growths = ReallocProbe::calls;
    EXPECT_EQ(growths, 3 * 4 + 3 * 3 + 2 * 3 + 3 * 3);  // MatQua keeps four arrays, the others three
    free_mesh();

    for (int n = 1; n <= growths; ++n) {
        SCOPED_TRACE(n);
        ReallocProbe::Arm(n);
        EXPECT_EQ(ScanTileFolder(folder.Str().c_str()), ScanResult::OutOfMemory);
        EXPECT_TRUE(TablesFreed());
    }
}

// A path is kept in a 260-byte buffer. Cutting a longer one silently would
// scan, and later open tiles from, some other folder; it must be refused.
TEST(TileFolderBuffer, KeepsUpTo259BytesAndRefusesLonger) {
    const std::string kana = "あ";  // three bytes in UTF-8, two in Shift-JIS
    const std::string a258 = std::string(258 - kana.size(), 'a');
    struct Case {
        std::string folder;
        bool kept;
    };
    const Case cases[] = {
        {"/", true},
        {"/地図 データ/東京", true},
        {"/" + std::string(258, 'a'), true},
        {"/" + std::string(259, 'a'), false},
        {"/" + std::string(1000, 'a'), false},
        {"/" + a258 + kana, true},    // 259 bytes
        {"/a" + a258 + kana, false},  // the last character would be cut
        {std::string("/tmp\0/etc", 9), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder.size());
        TileFolder buffer;
        buffer.fill('#');
        EXPECT_EQ(CopyTileFolder(c.folder, buffer), c.kept);
        if (c.kept) {
            EXPECT_EQ(std::string(buffer.data()), c.folder);
        } else {
            EXPECT_EQ(buffer[0], '\0');
        }
    }
}

TEST_F(FolderScanTest, FolderOfExactly259BytesIsScanned) {
    TempFolder base;
    std::string path = base.Str();
    ASSERT_LT(path.size(), 150u);
    while (259 - path.size() > 101) path += "/" + std::string(90, 'd');
    path += "/" + std::string(259 - path.size() - 1, 'e');
    ASSERT_EQ(path.size(), 259u);
    std::filesystem::create_directories(path);
    std::ofstream(path + "/533945_025000.ai") << "x";

    TileFolder buffer;
    ASSERT_TRUE(CopyTileFolder(path, buffer));
    ASSERT_EQ(ScanTileFolder(buffer.data()), ScanResult::Done);
    EXPECT_EQ(nMaterialCount, 1);

    EXPECT_FALSE(CopyTileFolder(path + "e", buffer));
    EXPECT_EQ(buffer[0], '\0');
}

}  // namespace
}  // namespace selection_test
