#include "core/MeshGrid.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

struct Parsed {
    bool ok = false;
    int32_t mesh = -7;
    int32_t scale = -7;
    int32_t area = -7;
};

Parsed ParseAs(MeshKind kind, const char* name) {
    Parsed p;
    switch (kind) {
    case MeshKind::MatQua: p.ok = CheckFileNameMatQua(name, &p.mesh, &p.scale, &p.area); break;
    case MeshKind::Material: p.ok = CheckFileNameMaterial(name, &p.mesh, &p.scale); break;
    case MeshKind::Mat1st: p.ok = CheckFileNameMat1st(name, &p.mesh, &p.scale); break;
    case MeshKind::Tokyo23: p.ok = CheckFileNameTokyo23(name, &p.mesh, &p.scale); break;
    }
    return p;
}

// A copy in a buffer of exactly the name's size, so that a read past the
// terminating zero shows up under AddressSanitizer.
std::unique_ptr<char[]> ExactCopy(std::string_view s) {
    auto buf = std::make_unique<char[]>(s.size() + 1);
    std::memcpy(buf.get(), s.data(), s.size());
    buf[s.size()] = '\0';
    return buf;
}

struct GoodName {
    const char* name;
    MeshKind kind;
    int32_t mesh;
    int32_t scale;
    int32_t area;
};

const GoodName kGoodNames[] = {
    {"5339_025000.ai", MeshKind::Mat1st, 5339, 25000, 0},
    {"533945_010000.ai", MeshKind::Material, 533945, 10000, 0},
    {"533945_2_010000.ai", MeshKind::MatQua, 533945, 10000, 2},
    {"53394511_02500.ai", MeshKind::Tokyo23, 53394511, 2500, 0},
    {"533945_1_010000.ai", MeshKind::MatQua, 533945, 10000, 1},
    {"533945_4_010000.AI", MeshKind::MatQua, 533945, 10000, 4},
    {"0001_000001.ai", MeshKind::Mat1st, 1, 1, 0},
    {"000000_000500.Ai", MeshKind::Material, 0, 500, 0},
    {"999977_3_999999.ai", MeshKind::MatQua, 999977, 999999, 3},
    {"9999_999999.ai", MeshKind::Mat1st, 9999, 999999, 0},
    {"99997777_99999.aI", MeshKind::Tokyo23, 99997777, 99999, 0},
};

TEST(TileName, ParsesEveryKind) {
    for (const GoodName& g : kGoodNames) {
        SCOPED_TRACE(g.name);
        const Parsed p = ParseAs(g.kind, g.name);
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(p.mesh, g.mesh);
        EXPECT_EQ(p.scale, g.scale);
        if (g.kind == MeshKind::MatQua) {
            EXPECT_EQ(p.area, g.area);
        }

        const auto entry = ParseTileFileName(g.name);
        ASSERT_TRUE(entry.has_value());
        EXPECT_EQ(entry->mesh, g.mesh);
        EXPECT_EQ(entry->scale, g.scale);
        EXPECT_EQ(entry->area, g.area);
        EXPECT_FALSE(entry->select);
        EXPECT_EQ(entry->nameLen, MeshNameLength(g.kind));
        EXPECT_EQ(MeshKindFromNameLength(entry->nameLen), g.kind);
    }
}

struct BadName {
    MeshKind kind;
    const char* name;
};

const BadName kBadNames[] = {
    {MeshKind::MatQua, "533945_5_010000.ai"},                                            // area above 4
    {MeshKind::MatQua, "533945_0_010000.ai"},                                            // area 0
    {MeshKind::MatQua, "533945_a_010000.ai"}, {MeshKind::MatQua, "533945_1-010000.ai"},  // second underscore missing
    {MeshKind::MatQua, "533945-1_010000.ai"}, {MeshKind::MatQua, "53394X_1_010000.ai"},
    {MeshKind::MatQua, "533945_1_01000X.ai"}, {MeshKind::MatQua, "533945_2_000000.ai"},  // all-zero scale
    {MeshKind::Material, "53394A_010000.ai"}, {MeshKind::Material, "533945-010000.ai"},
    {MeshKind::Material, "533945_01 000.ai"}, {MeshKind::Material, "533945_-10000.ai"},
    {MeshKind::Material, "533945_000000.ai"},  // all-zero scale
    {MeshKind::Material, "5339_025000.ai"},    // a primary name
    {MeshKind::Mat1st, "5339-025000.ai"},     {MeshKind::Mat1st, "53A9_025000.ai"},
    {MeshKind::Mat1st, "5339_02500/.ai"},     {MeshKind::Mat1st, "5339_000000.ai"},  // all-zero scale
    {MeshKind::Mat1st, "533945_010000.ai"},                                          // a secondary name
    {MeshKind::Tokyo23, "53394511-02500.ai"}, {MeshKind::Tokyo23, "5339451__02500.ai"},
    {MeshKind::Tokyo23, "533945_1_01000.ai"},                                            // a 5x-mesh look-alike
    {MeshKind::Tokyo23, "53394511_0:500.ai"}, {MeshKind::Tokyo23, "53394511_00000.ai"},  // all-zero scale
};

TEST(TileName, RejectsMalformedNamesAndLeavesOutputs) {
    for (const BadName& b : kBadNames) {
        SCOPED_TRACE(b.name);
        const Parsed p = ParseAs(b.kind, b.name);
        EXPECT_FALSE(p.ok);
        EXPECT_EQ(p.mesh, -7);
        EXPECT_EQ(p.scale, -7);
        EXPECT_EQ(p.area, -7);
        const auto byLength = MeshKindFromNameLength(static_cast<int>(std::strlen(b.name)));
        if (byLength == b.kind) {
            EXPECT_FALSE(ParseTileFileName(b.name).has_value());
        }
    }
}

// A name with 8 or 9 as a row or column digit of an 8 x 8 cut used to be
// listed and placed on a neighbouring square, on top of the tile there. Every
// mesh digit of every kind is tried with each value; only C and D of AABBCD
// and E F G H of AABBEFGH are held to 0-7.
TEST(TileName, CutDigitsAboveSevenAreNoTile) {
    struct Base {
        MeshKind kind;
        const char* name;
        std::string_view limited;  // per mesh digit: 'x' for 0-7, '.' for 0-9
    };
    const Base bases[] = {
        {MeshKind::Mat1st, "5339_025000.ai", "...."},
        {MeshKind::Material, "533945_025000.ai", "....xx"},
        {MeshKind::MatQua, "533945_2_025000.ai", "....xx"},
        {MeshKind::Tokyo23, "53394511_02500.ai", "....xxxx"},
    };
    for (const Base& base : bases) {
        for (size_t at = 0; at < base.limited.size(); ++at) {
            for (char digit = '0'; digit <= '9'; ++digit) {
                std::string name = base.name;
                name[at] = digit;
                SCOPED_TRACE(name);
                const bool valid = base.limited[at] == '.' || digit <= '7';
                EXPECT_EQ(ParseAs(base.kind, name.c_str()).ok, valid);
                EXPECT_EQ(ParseTileFileName(name).has_value(), valid);
            }
        }
    }
}

// Scale 0 would read as "no scale chosen" in the selection and divide by zero.
TEST(TileName, AllZeroScaleIsRejectedButOtherZerosAreNot) {
    EXPECT_FALSE(ParseTileFileName("533945_000000.ai").has_value());
    EXPECT_FALSE(ParseTileFileName("53394511_00000.ai").has_value());
    const auto one = ParseTileFileName("533945_000001.ai");
    ASSERT_TRUE(one.has_value());
    EXPECT_EQ(one->scale, 1);
}

// The parsers are called by length, but must stay inside short strings: every
// prefix shorter than the digit fields is rejected, and the extension is not
// part of what they look at.
TEST(TileName, PrefixesNeverReadPastTheEnd) {
    for (const GoodName& g : kGoodNames) {
        const std::string_view full(g.name);
        const size_t fieldsEnd = full.size() - 3;
        for (size_t n = 0; n <= full.size(); ++n) {
            SCOPED_TRACE(std::string(full.substr(0, n)));
            const auto copy = ExactCopy(full.substr(0, n));
            const Parsed p = ParseAs(g.kind, copy.get());
            EXPECT_EQ(p.ok, n >= fieldsEnd);
            if (p.ok) {
                EXPECT_EQ(p.mesh, g.mesh);
            }
        }
    }
}

TEST(TileName, NullArgumentsAreRejected) {
    int32_t mesh = 0, scale = 0, area = 0;
    EXPECT_FALSE(CheckFileNameMatQua(nullptr, &mesh, &scale, &area));
    EXPECT_FALSE(CheckFileNameMatQua("533945_2_010000.ai", &mesh, &scale, nullptr));
    EXPECT_FALSE(CheckFileNameMaterial(nullptr, &mesh, &scale));
    EXPECT_FALSE(CheckFileNameMaterial("533945_010000.ai", nullptr, &scale));
    EXPECT_FALSE(CheckFileNameMat1st("5339_025000.ai", &mesh, nullptr));
    EXPECT_FALSE(CheckFileNameTokyo23(nullptr, &mesh, &scale));
}

struct ScanName {
    const char* name;
    int32_t nameLen;  // 0: not a tile
};

const ScanName kScanNames[] = {
    {"533945_025000.ai", 16},
    {"533945_025000.AI", 16},
    {"533945_025000.Ai", 16},
    {"533945_025000.aI", 16},
    {"533945_025000.ps", 0},
    {"533945_025000xai", 0},
    {"533945_025000.ai ", 0},
    {"533945_025000.aii", 0},
    {"533945_025000.ai.bak", 0},
    {"README.txt", 0},
    {"", 0},
    {".ai", 0},
    {"ai", 0},
    {"5339_25000.ai", 0},        // 13 characters
    {"533945_0250000.ai", 0},    // Tokyo23 length, not its layout
    {"533945_25000.ai", 0},      // 15 characters
    {"533945_1_0100000.ai", 0},  // 19 characters
    {"53394511_02500.ai", 17},
    {"5339_025000.ai", 14},
    {"533945_2_010000.ai", 18},
};

TEST(TileName, ScanClassifiesByExtensionAndLength) {
    for (const ScanName& s : kScanNames) {
        SCOPED_TRACE(s.name);
        const auto entry = ParseTileFileName(s.name);
        EXPECT_EQ(entry.has_value(), s.nameLen != 0);
        if (entry) {
            EXPECT_EQ(entry->nameLen, s.nameLen);
        }
    }
}

TEST(TileName, ScanTakesViewsThatAreNotZeroTerminated) {
    const std::string buffer = "533945_025000.aiXYZ";
    const auto entry = ParseTileFileName(std::string_view(buffer).substr(0, 16));
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->mesh, 533945);
    EXPECT_EQ(entry->scale, 25000);
    EXPECT_FALSE(ParseTileFileName(std::string(2000, '1') + ".ai").has_value());
}

TEST(TileName, KindFromNameLength) {
    EXPECT_EQ(MeshKindFromNameLength(18), MeshKind::MatQua);
    EXPECT_EQ(MeshKindFromNameLength(16), MeshKind::Material);
    EXPECT_EQ(MeshKindFromNameLength(14), MeshKind::Mat1st);
    EXPECT_EQ(MeshKindFromNameLength(17), MeshKind::Tokyo23);
    for (int len : {-1, 0, 3, 13, 15, 19, 255}) {
        EXPECT_EQ(MeshKindFromNameLength(len), std::nullopt) << len;
    }
}

struct Formatted {
    MeshKind kind;
    int32_t mesh;
    int32_t area;
    int32_t scale;
    const char* name;
};

const Formatted kFormatted[] = {
    {MeshKind::MatQua, 533945, 2, 10000, "533945_2_010000.ai"},
    {MeshKind::Material, 533945, 0, 10000, "533945_010000.ai"},
    {MeshKind::Mat1st, 5339, 0, 25000, "5339_025000.ai"},
    {MeshKind::Tokyo23, 53394511, 0, 2500, "53394511_02500.ai"},
    {MeshKind::Mat1st, 1, 0, 500, "0001_000500.ai"},
    {MeshKind::Tokyo23, 123, 0, 1, "00000123_00001.ai"},
};

TEST(TileName, FormatsAndParsesBack) {
    for (const Formatted& f : kFormatted) {
        SCOPED_TRACE(f.name);
        const std::string name = FormatTileFileName(f.kind, f.mesh, f.area, f.scale);
        EXPECT_EQ(name, f.name);
        EXPECT_EQ(static_cast<int32_t>(name.size()), MeshNameLength(f.kind));
#ifdef _WIN32
        const std::string separator = "\\";
#else
        const std::string separator = "/";
#endif
        EXPECT_EQ(FormatTilePath("/Volumes/地図/tiles", f.kind, f.mesh, f.area, f.scale),
                  "/Volumes/地図/tiles" + separator + f.name);

        const auto entry = ParseTileFileName(name);
        ASSERT_TRUE(entry.has_value());
        EXPECT_EQ(entry->mesh, f.mesh);
        EXPECT_EQ(entry->area, f.area);
        EXPECT_EQ(entry->scale, f.scale);
    }
}

TEST(TileName, StatusTexts) {
    EXPECT_EQ(MeshStatusText(MeshKind::MatQua, 10000), "五倍地域メッシュ(縮尺 1/10000)を選択中");
    EXPECT_EQ(MeshStatusText(MeshKind::Material, 25000), "第二次地域区画(縮尺 1/25000)を選択中");
    EXPECT_EQ(MeshStatusText(MeshKind::Mat1st, 200000), "第一次地域区画(縮尺 1/200000)を選択中");
    EXPECT_EQ(MeshStatusText(MeshKind::Tokyo23, 2500), "KTR64分割メッシュ(縮尺 1/2500)を選択中");
    EXPECT_STREQ(MeshStatusFormat(MeshKind::Material), "第二次地域区画(縮尺 1/%d)を選択中");
    EXPECT_STREQ(kMeshStatusNone, "未選択");
}

}  // namespace
