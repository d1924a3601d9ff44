// What the preview draws: the whole of the map and, after an adjust, the outline dashed over it,
// inside the picture even where it reaches beyond the map.
#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "SvgFacts.h"
#include "cli/Preview.h"
#include "model/ArtStyle.h"
#include "model/Document.h"
#include "svg/Svg.h"

namespace mergehost {
namespace {

using namespace quiltor;

constexpr char kMap[] = R"(<svg xmlns="http://www.w3.org/2000/svg" width="200pt" height="100pt" viewBox="0 0 200 100">
  <g><path d="M 10,10 L 190,90" stroke="#000" fill="none"/></g></svg>)";

AIPathSegment Corner(AIReal h, AIReal v) { return AIPathSegment{{h, v}, {h, v}, {h, v}, true}; }

std::vector<double> ViewBox(const pugi::xml_document& svg) {
    std::istringstream in(svg.child("svg").attribute("viewBox").value());
    std::vector<double> box(4);
    for (double& v : box) in >> v;
    return box;
}

TEST(Preview, TheOutlineIsDrawnDashedOverTheMapAndInsideThePicture) {
    host::StyleTable styles;
    std::string error;
    AIErr code = kNoErr;
    const auto map = host::ReadSvgText(kMap, styles, &error, &code);
    ASSERT_TRUE(map) << error;

    cli::PreviewOptions plain;
    pugi::xml_document without;
    ASSERT_TRUE(without.load_string(cli::PreviewSvg(*map, plain).c_str()));
    EXPECT_FALSE(without.select_node("//*[@stroke-dasharray]"));

    cli::PreviewOptions options;
    // Host axes (y upward); the last corner lies beyond the map and the page.
    options.outline = {Corner(20, 80), Corner(150, 80), Corner(150, 20), Corner(260, -40)};
    pugi::xml_document with;
    ASSERT_TRUE(with.load_string(cli::PreviewSvg(*map, options).c_str()));
    const pugi::xml_node last = with.child("svg").last_child();
    ASSERT_TRUE(last.attribute("stroke-dasharray")) << "the outline is not on top";
    EXPECT_STREQ(last.attribute("fill").value(), "none");
    const std::vector<testsupport::SvgPoint> drawn = testsupport::PathDataAnchors(last.attribute("d").value());
    // Viewer axes: y downward from the page top (100 pt); back to the first corner at the end.
    const std::vector<std::pair<double, double>> expected = {{20, 20}, {150, 20}, {150, 80}, {260, 140}, {20, 20}};
    ASSERT_EQ(drawn.size(), expected.size());
    for (size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_DOUBLE_EQ(drawn[i].x, expected[i].first) << i;
        EXPECT_DOUBLE_EQ(drawn[i].y, expected[i].second) << i;
    }
    const std::vector<double> box = ViewBox(with);
    EXPECT_LT(box[0], 10);
    EXPECT_LT(box[1], 10);
    EXPECT_GT(box[0] + box[2], 260);
    EXPECT_GT(box[1] + box[3], 140);
}

}  // namespace
}  // namespace mergehost
