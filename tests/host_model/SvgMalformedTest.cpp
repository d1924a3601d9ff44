// Files that are not readable documents make the open fail with a reason; nothing crashes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "model/ArtStyle.h"
#include "model/Document.h"
#include "svg/Svg.h"

namespace quiltor::host::testing {
namespace {

struct BadText {
    const char* name;
    std::string text;
};

std::string Nested(int depth) {
    std::string text = "<svg xmlns=\"http://www.w3.org/2000/svg\"><g>";
    for (int i = 0; i < depth; ++i) text += "<g>";
    text += "<path d=\"M0 0 L1 1\"/>";
    for (int i = 0; i < depth; ++i) text += "</g>";
    return text + "</g></svg>";
}

const std::string kHost =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:quiltor=\"urn:quiltor:host\" "
    "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" quiltor:version=\"1\" ";

const std::string kLean =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:quiltor=\"urn:quiltor:host\" "
    "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" quiltor:version=\"2\"><g "
    "inkscape:groupmode=\"layer\">";

void PrintTo(const BadText& bad, std::ostream* out) { *out << bad.name; }

class SvgMalformedTest : public ::testing::TestWithParam<BadText> {};

TEST_P(SvgMalformedTest, ReadingFailsWithABadFormat) {
    StyleTable styles;
    std::string error;
    AIErr code = kNoErr;
    std::unique_ptr<Document> document = ReadSvgText(GetParam().text, styles, &error, &code);
    EXPECT_FALSE(document);
    EXPECT_EQ(code, kBadFileFormatErr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos) << "one line: " << error;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SvgMalformedTest,
    ::testing::Values(
        BadText{"empty", ""}, BadText{"plain words", "this is not a drawing"},
        BadText{"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0", 11)},
        BadText{"truncated", "<svg xmlns=\"http://www.w3.org/2000/svg\"><g><path d=\"M0 0"},
        BadText{"unclosed group", "<svg xmlns=\"http://www.w3.org/2000/svg\"><g></svg>"},
        BadText{"html", "<html><body><svg/></body></html>"}, BadText{"other namespace", "<svg xmlns=\"urn:not-svg\"/>"},
        BadText{"too deep", Nested(400)}, BadText{"newer version", kHost.substr(0, kHost.size() - 3) + "3\"/>"},
        BadText{"bad version", kHost.substr(0, kHost.size() - 3) + "x\"/>"},
        BadText{"exact beyond the path",
                kLean + "<path quiltor:kind=\"path\" d=\"M 1,2\" quiltor:exact=\"1p=0,0\"/></g></svg>"},
        BadText{"exact without a value",
                kLean + "<path quiltor:kind=\"path\" d=\"M 1,2\" quiltor:exact=\"0p\"/></g></svg>"},
        BadText{"exact of no field",
                kLean + "<path quiltor:kind=\"path\" d=\"M 1,2\" quiltor:exact=\"0q=1,2\"/></g></svg>"},
        BadText{"exact not a number",
                kLean + "<path quiltor:kind=\"path\" d=\"M 1,2\" quiltor:exact=\"0p=1,x\"/></g></svg>"},
        BadText{
            "member beyond the sub-paths",
            kLean + "<path quiltor:kind=\"compound\" d=\"M 1,2\"><quiltor:member quiltor:at=\"1\"/></path></g></svg>"},
        BadText{"two members in one place",
                kLean + "<path quiltor:kind=\"compound\" d=\"M 1,2 M 3,4\"><quiltor:member "
                        "quiltor:at=\"0\"/><quiltor:member quiltor:at=\"0\"/></path></g></svg>"},
        BadText{"text without its place", kLean + "<text quiltor:kind=\"text\" font-size=\"9\">a</text></g></svg>"},
        BadText{"bad segments", kHost + "><g inkscape:groupmode=\"layer\"><path quiltor:segs=\"1,2,3\"/></g></svg>"},
        BadText{"bad style", kHost + "><g inkscape:groupmode=\"layer\"><path quiltor:segs=\"\" "
                                     "quiltor:style=\"fill=cmyk:1,2\"/></g></svg>"},
        BadText{"unknown appearance", kHost + "><g inkscape:groupmode=\"layer\"><path quiltor:segs=\"\" "
                                              "quiltor:appearance=\"a9\"/></g></svg>"},
        BadText{"bad options", kHost + "><g inkscape:groupmode=\"layer\" quiltor:options=\"visible=yes\"/></svg>"},
        BadText{"bad setup", kHost + "quiltor:setup=\"width=wide\"/>"},
        BadText{"bad UTF-8 title", "<svg xmlns=\"http://www.w3.org/2000/svg\"><g id=\"\xff\xfe\"/></svg>"},
        BadText{"too many points",
                [] {
                    std::string d = "M0 0";
                    for (int i = 0; i < 33000; ++i) d += " L" + std::to_string(i) + " 1";
                    return "<svg xmlns=\"http://www.w3.org/2000/svg\"><path d=\"" + d + "\"/></svg>";
                }()}),
    [](const ::testing::TestParamInfo<BadText>& info) {
        std::string name;
        for (char c : std::string(info.param.name)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

// A file cut off anywhere (a copy that stopped half way) is refused as a whole, never half read.
TEST(SvgTruncationTest, EveryCutOfAHostFileIsRefused) {
    StyleTable styles;
    Document original(styles, NewDocumentOptions{});
    Layer* layer = original.insertLayer(original.firstLayer(), kPlaceInsideOnTop);
    layer->title = u"道路";
    Art* path = original.newArt(kPathArt, Place{layer->group, nullptr});
    path->segments = {AIPathSegment{{1, 2}, {1, 2}, {3, 4}, 0}, AIPathSegment{{5, 6}, {5, 6}, {5, 6}, 1}};
    Art* text = original.newArt(kTextFrameArt, Place{layer->group, nullptr});
    text->text = u"注記";
    const std::string full = WriteSvgText(original);
    const size_t end = full.rfind("</svg>");
    ASSERT_NE(end, std::string::npos);
    ASSERT_GT(end, 1000u);
    for (size_t cut = 0; cut < end; cut += 3) {
        std::string error;
        AIErr code = kNoErr;
        EXPECT_FALSE(ReadSvgText(full.substr(0, cut), styles, &error, &code)) << "cut at " << cut;
        EXPECT_EQ(code, kBadFileFormatErr) << "cut at " << cut;
    }
}

TEST(SvgFileTest, MissingFilesAndFoldersAreNotFound) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("quiltor_svg_missing_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    StyleTable styles;
    for (const fs::path& path : {folder / "absent.ai", folder}) {
        std::string error;
        AIErr code = kNoErr;
        EXPECT_FALSE(ReadSvgFile(path.string(), styles, &error, &code));
        EXPECT_EQ(code, kFileNotFoundErr) << path;
        EXPECT_FALSE(error.empty());
    }
    fs::remove_all(folder);
}

TEST(SvgFileTest, WritingToAMissingFolderFails) {
    StyleTable styles;
    Document document(styles, NewDocumentOptions{});
    std::string error;
    EXPECT_FALSE(WriteSvgFile(document, "/nonexistent-quiltor-folder/tile.ai", &error));
    EXPECT_NE(error.find("/nonexistent-quiltor-folder/tile.ai"), std::string::npos) << error;
}

}  // namespace
}  // namespace quiltor::host::testing
