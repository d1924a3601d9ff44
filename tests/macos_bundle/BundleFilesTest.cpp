// What the macOS bundles would carry besides the code, as the build writes it here: Info.plist
// and the property list by which the host finds each plug-in and its entry point.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace {

const std::string kBundles = std::string(QUILTOR_BINARY_DIR) + "/macos/";

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Long(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}

// A four-character code stored as one little-endian 32-bit value reads reversed.
std::string Code(const std::string& b, size_t at) { return {b[at + 3], b[at + 2], b[at + 1], b[at]}; }

struct Property {
    std::string vendor, key, value;
};

// The list read by its layout alone; a fault in it fails the test instead of reading beyond.
std::vector<Property> ReadPropertyList(const std::string& b) {
    std::vector<Property> properties;
    if (b.size() < 10 || b[0] != 1 || b[1] != 0 || Long(b, 2) != 0) return properties;
    const uint32_t count = Long(b, 6);
    size_t at = 10;
    for (uint32_t i = 0; i < count; ++i) {
        if (at + 16 > b.size()) return {};
        const uint32_t length = Long(b, at + 12);
        if (Long(b, at + 8) != 0 || length % 4 != 0 || at + 16 + length > b.size()) return {};
        properties.push_back({Code(b, at), Code(b, at + 4), b.substr(at + 16, length)});
        at += 16 + length;
    }
    if (at != b.size()) return {};
    return properties;
}

std::string Padded(std::string text) {
    text.push_back('\0');
    while (text.size() % 4 != 0) text.push_back('\0');
    return text;
}

struct BundleCase {
    const char* bundle;
    const char* pluginName;
};

class BundleFilesTest : public ::testing::TestWithParam<BundleCase> {};

TEST_P(BundleFilesTest, InfoPlistNamesTheExecutable) {
    pugi::xml_document plist;
    const std::string path = kBundles + GetParam().bundle + ".aip/Contents/Info.plist";
    ASSERT_TRUE(plist.load_file(path.c_str())) << path;
    std::map<std::string, std::string> entries;
    const pugi::xml_node dict = plist.child("plist").child("dict");
    for (pugi::xml_node key = dict.child("key"); key; key = key.next_sibling("key"))
        entries[key.text().get()] = key.next_sibling().text().get();
    EXPECT_EQ(entries["CFBundleExecutable"], GetParam().bundle);
    EXPECT_EQ(entries["CFBundlePackageType"], "BNDL");
    EXPECT_EQ(entries["CFBundleIdentifier"].rfind("ai.plateo.quiltware.", 0), 0u);
    EXPECT_FALSE(entries["CFBundleVersion"].empty());
    for (const auto& [key, value] : entries) EXPECT_EQ(value.find('@'), std::string::npos) << key;
}

TEST_P(BundleFilesTest, PropertyListHoldsTheFourProperties) {
    const std::string path = kBundles + GetParam().bundle + ".aip/Contents/Resources/pipl/plugin.pipl";
    const std::vector<Property> list = ReadPropertyList(Read(path));
    ASSERT_EQ(list.size(), 4u) << path;
    for (const Property& p : list) EXPECT_EQ(p.vendor, "ADBE");
    EXPECT_EQ(list[0].key, "kind");
    EXPECT_EQ(list[0].value, std::string("AEPS"));  // 'SPEA' as one little-endian value
    EXPECT_EQ(list[1].key, "ivrs");
    EXPECT_EQ(list[1].value, std::string("\2\0\0\0", 4));
    EXPECT_EQ(list[2].key, "mi64");
    EXPECT_EQ(list[2].value, Padded("PluginMain"));
    EXPECT_EQ(list[3].key, "pinm");
    EXPECT_EQ(list[3].value, Padded(GetParam().pluginName));
}

INSTANTIATE_TEST_SUITE_P(
    Plugins, BundleFilesTest,
    ::testing::Values(BundleCase{"KTRQuiltorSelectMerge", "Orvela Plateo.ai Quiltware Quiltor セレクトマージ"},
                      BundleCase{"KTRQuiltorAdjust", "Orvela Plateo.ai Quiltware Quiltor アジャスト"}),
    [](const auto& info) { return std::string(info.param.bundle); });

}  // namespace
