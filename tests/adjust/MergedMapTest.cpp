// Merged sample maps cut with random outlines, through the programs a person would use:
// quiltor-samplemap draws the tiles, quiltor-host merges them and cuts the merged map.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>

#include "../support/ShellCommand.h"
#include "../support/TempDir.h"
#include "AdjustHost.h"
#include "core/AnnotationLayers.h"
#include "core/HostStrings.h"
#include "model/ArtStyle.h"
#include "model/Document.h"
#include "svg/Svg.h"

using testsupport::RunQuiet;
using testsupport::ShellQuote;

namespace adjusttest {
namespace {

namespace fs = std::filesystem;
using quiltor::host::Art;
using quiltor::host::Document;
using quiltor::host::Layer;

// What an art object is, whatever document it sits in: its layer's titles and its paint.
std::string KeyOf(const Layer* layer, const Art* art) {
    std::string key;
    for (const Layer* l = layer; l; l = l->parent) key = quiltor::host::EncodeUtf8(l->title) + "/" + key;
    const AIPathStyle& style = art->style->pathStyle();
    double rgb[3] = {0, 0, 0};
    const bool filled = style.fillPaint && quiltor::host::ColorToRgb(style.fill.color, rgb);
    std::ostringstream paint;
    paint << key << (filled ? " fill " : " none ") << rgb[0] << ',' << rgb[1] << ',' << rgb[2];
    return paint.str();
}

std::vector<Contour> ContoursOf(const Art* art) {
    std::vector<Contour> contours;
    if (art->type == kPathArt) contours.push_back(Anchors(art));
    for (const Art* m = art->firstChild; m; m = m->next) contours.push_back(Anchors(m));
    return contours;
}

bool Straight(const Art* art) {
    for (const Art* a = art; a; a = quiltor::host::NextInPreorder(a, art)) {
        for (const AIPathSegment& s : a->segments) {
            if (s.in.h != s.p.h || s.in.v != s.p.v || s.out.h != s.p.h || s.out.v != s.p.v) return false;
        }
    }
    return true;
}

template <typename Visit>
void ForEachObject(const Document& document, Visit visit) {
    for (const Layer* layer = document.firstLayer(); layer; layer = quiltor::host::NextLayerInPreorder(layer)) {
        for (const Art* art = layer->group->firstChild; art; art = art->next) visit(layer, art);
    }
}

bool Annotation(const Layer* layer) {
    return IsPlateoStringLayerTitle(quiltor::host::EncodeUtf8(layer->title).c_str());
}

class MergedMapTest : public ::testing::TestWithParam<int> {};

TEST_P(MergedMapTest, KeepsExactlyWhatReachesTheOutline) {
    const std::string bin = QUILTOR_BINARY_DIR;
    const std::string samplemap = bin + "/tools/samplemap/quiltor-samplemap";
    ASSERT_TRUE(fs::exists(samplemap)) << "no quiltor-samplemap in this build";
    const testsupport::TempDir temp("quiltor-adjust-merged-" + std::to_string(GetParam()));
    const fs::path& dir = temp.path();
    const std::string host =
        "QUILTOR_PLUGIN_DIR=" + ShellQuote(bin + "/plugins") + " " + ShellQuote(bin + "/host/quiltor-host");
    ASSERT_EQ(RunQuiet(ShellQuote(samplemap) + " --seed " + std::to_string(GetParam()) + " --density 4 -o " +
                       ShellQuote((dir / "tiles").string())),
              0);
    ASSERT_EQ(RunQuiet(host + " merge " + ShellQuote((dir / "tiles").string()) + " -o " +
                       ShellQuote((dir / "merged.svg").string()) + " --page A0-landscape"),
              0);

    quiltor::host::StyleTable styles;
    std::string error;
    AIErr code = kNoErr;
    auto merged = quiltor::host::ReadSvgFile((dir / "merged.svg").string(), styles, &error, &code);
    ASSERT_NE(merged, nullptr) << error;
    AIRealRect extent{};
    bool any = false;
    ForEachObject(*merged, [&](const Layer*, const Art* art) {
        const AIRealRect b = BoundsOf(art);
        if (!any) extent = b;
        any = true;
        extent.left = std::min(extent.left, b.left);
        extent.right = std::max(extent.right, b.right);
        extent.bottom = std::min(extent.bottom, b.bottom);
        extent.top = std::max(extent.top, b.top);
    });
    ASSERT_TRUE(any);

    // A star in the middle of the map, in points (y up) and in the file's user units (y down).
    std::mt19937 rng(static_cast<unsigned>(GetParam()));
    const double cx = (extent.left + extent.right) / 2, cy = (extent.bottom + extent.top) / 2;
    const double reach = std::min(extent.right - extent.left, extent.top - extent.bottom) / 2;
    const int corners = std::uniform_int_distribution<int>(5, 11)(rng);
    std::uniform_real_distribution<double> radius(0.3 * reach, 0.8 * reach);
    Contour outline;
    std::string cornersArg;
    const double pageHeight = merged->setup().height;
    for (int i = 0; i < corners; ++i) {
        const double a = i * 2 * M_PI / corners, r = radius(rng);
        const AIReal h = static_cast<AIReal>(std::round(cx + r * std::cos(a)));
        const AIReal v = static_cast<AIReal>(std::round(cy + r * std::sin(a)));
        outline.push_back({h, v});
        std::ostringstream corner;
        corner.precision(12);
        corner << h << ',' << pageHeight - v << ' ';
        cornersArg += corner.str();
    }
    ASSERT_EQ(RunQuiet(host + " adjust " + ShellQuote((dir / "merged.svg").string()) + " -o " +
                       ShellQuote((dir / "adjusted.svg").string()) + " --outline " + ShellQuote(cornersArg)),
              0);
    auto adjusted = quiltor::host::ReadSvgFile((dir / "adjusted.svg").string(), styles, &error, &code);
    ASSERT_NE(adjusted, nullptr) << error;

    const AIRealRect box = BoundsOf(outline);
    std::map<std::string, double> wantArea, gotArea;
    std::multiset<std::string> wantKept, gotKept;  // objects kept whole, by key and anchors
    auto anchorsKey = [](const std::string& key, const Art* art) {
        std::ostringstream text;
        text << key;
        for (const Contour& c : ContoursOf(art))
            for (const AIRealPoint& p : c) text << ' ' << p.h << ',' << p.v;
        if (art->type == kTextFrameArt) text << ' ' << quiltor::host::EncodeUtf8(art->text) << art->position.h;
        return text.str();
    };
    ForEachObject(*merged, [&](const Layer* layer, const Art* art) {
        const std::string key = KeyOf(layer, art);
        const bool face = !Annotation(layer) && art->style->pathStyle().fillPaint &&
                          (art->type == kCompoundPathArt || (art->type == kPathArt && art->closed));
        if (face && Straight(art)) {
            wantArea[key] += AreaInside(ContoursOf(art), outline);
            return;
        }
        // Whole objects wholly inside the outline come through as they were.
        const AIRealRect b = BoundsOf(art);
        const Contour corners{{b.left, b.bottom}, {b.right, b.bottom}, {b.right, b.top}, {b.left, b.top}};
        bool inside = true;
        for (const AIRealPoint& p : corners) inside = inside && Inside(outline, p);
        // Labels stay exactly when their box reaches into the outline.
        if (art->type == kTextFrameArt) {
            if (AreaInside({corners}, outline) > 1e-6) wantKept.insert(anchorsKey(key, art));
        } else if (inside && !face) {
            wantKept.insert(anchorsKey(key, art));
        }
    });
    ForEachObject(*adjusted, [&](const Layer* layer, const Art* art) {
        const AIRealRect b = BoundsOf(art);
        EXPECT_FALSE(b.left > box.right || b.right < box.left || b.bottom > box.top || b.top < box.bottom)
            << KeyOf(layer, art);
        const std::string key = KeyOf(layer, art);
        if (!Annotation(layer) && art->style->pathStyle().fillPaint &&
            (art->type == kCompoundPathArt || (art->type == kPathArt && art->closed)) && Straight(art)) {
            gotArea[key] += Area(art);
            // Cut edges run along the outline through single-precision points: a sliver of up to
            // a few hundred-thousandths of a point either side of each.
            double perimeter = 0;
            for (const Contour& c : ContoursOf(art)) {
                for (size_t i = 0; i < c.size(); ++i) {
                    const AIRealPoint& p = c[i];
                    const AIRealPoint& q = c[(i + 1) % c.size()];
                    perimeter += std::hypot(double(q.h) - p.h, double(q.v) - p.v);
                }
            }
            EXPECT_LT(AreaOutside(art, outline), 1e-2 + 1e-4 * perimeter) << key;
        }
        if (art->type == kTextFrameArt) {
            const Contour corners{{b.left, b.bottom}, {b.right, b.bottom}, {b.right, b.top}, {b.left, b.top}};
            EXPECT_GT(AreaInside({corners}, outline), 0) << key;
        }
        gotKept.insert(anchorsKey(key, art));
    });
    // The outline must have something to cut and something to keep.
    EXPECT_GE(wantArea.size(), 3u);
    EXPECT_GE(wantKept.size(), 3u);
    for (const auto& [key, area] : wantArea) EXPECT_NEAR(gotArea[key], area, 1e-6 * area + 1e-2) << key;
    for (const std::string& kept : wantKept) EXPECT_EQ(gotKept.count(kept), wantKept.count(kept)) << kept;
}

INSTANTIATE_TEST_SUITE_P(Adjust, MergedMapTest, ::testing::Values(1, 2, 3));

}  // namespace
}  // namespace adjusttest
