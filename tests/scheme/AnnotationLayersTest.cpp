#include "core/AnnotationLayers.h"
#include "core/LayerScheme.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

void Preorder(const LayerSchemeEntry& entry, std::vector<std::string>& out) {
    out.push_back(entry.title);
    for (int32_t i = 0; entry.group && i < entry.count; ++i) Preorder(entry.sublayers[i], out);
}

// The annotation layers are the "注記・記号" branch of the standard tree; the
// two tables are kept apart only because the plug-ins share no code.
TEST(AnnotationLayers, NamesAreTheAnnotationBranchOfTheStandardTree) {
    std::vector<std::string> branch;
    Preorder(materialLayerScheme[0], branch);
    const std::vector<std::string> names(std::begin(plateoStringLayerNames), std::end(plateoStringLayerNames));
    EXPECT_EQ(names, branch);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
}

TEST(AnnotationLayers, EveryNameIsRecognised) {
    for (const char* name : plateoStringLayerNames) EXPECT_TRUE(IsPlateoStringLayerTitle(name)) << name;
}

struct TitleCase {
    const char* name;
    std::string title;
};
void PrintTo(const TitleCase& c, std::ostream* os) { *os << c.name; }

class NotAnnotation : public testing::TestWithParam<TitleCase> {};

TEST_P(NotAnnotation, Rejected) {
    EXPECT_FALSE(IsPlateoStringLayerTitle(GetParam().title.c_str())) << GetParam().title;
}

INSTANTIATE_TEST_SUITE_P(Titles, NotAnnotation,
                         testing::Values(TitleCase{"TrailingBlank", "その他 "}, TitleCase{"TrailingDigit", "その他1"},
                                         TitleCase{"TrailingFullWidthDigit", "その他１"},
                                         TitleCase{"LeadingBlank", " その他"}, TitleCase{"Prefix", "その"},
                                         TitleCase{"HalfWidthMotorway", "IC・JC・SA・PA"},
                                         TitleCase{"MotorwayTrailingFullWidthSpace", "ＩＣ・ＪＣ・ＳＡ・ＰＡ　"},
                                         TitleCase{"FullWidthSlash", "教育／大学・短大・その他"},
                                         TitleCase{"AsciiBrackets", "駅名(漢字)"},
                                         TitleCase{"OtherLayer", "自然（水系）"}, TitleCase{"Empty", ""},
                                         TitleCase{"LongerThanBuffer", "その他" + std::string(100, ' ')}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AnnotationLayers, NullTitleIsRejected) { EXPECT_FALSE(IsPlateoStringLayerTitle(nullptr)); }

}  // namespace
