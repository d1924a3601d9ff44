// The host's own documents: each segment written once, in path data that reads back exactly; older
// documents open and round-trip exactly; viewers read the same anchors.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "ModelDump.h"
#include "OddDocuments.h"
#include "SvgFacts.h"
#include "svg/Svg.h"

namespace quiltor::host::testing {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::unique_ptr<Document> Read(const std::string& text, StyleTable& styles) {
    std::string error;
    AIErr code = kNoErr;
    std::unique_ptr<Document> document = ReadSvgText(text, styles, &error, &code);
    EXPECT_TRUE(document) << error;
    return document;
}

// Written, read back and written again: the same document, and the same text the second time.
void ExpectExactRoundTrip(const Document& original, StyleTable& styles) {
    const std::string text = WriteSvgText(original);
    std::unique_ptr<Document> read = Read(text, styles);
    ASSERT_TRUE(read);
    EXPECT_EQ(DumpDocument(*read), DumpDocument(original));
    EXPECT_EQ(WriteSvgText(*read), text);
}

// Documents the first format wrote (quiltor:segs beside the path data, every compound member as
// a child): version1-odd-values.svg is OddValuesDocument() as that writer (commit 90e3351) saved
// it, version1-sample-tile.svg a tile quiltor-samplemap drew then.
class OlderFormTest : public ::testing::TestWithParam<const char*> {};

TEST_P(OlderFormTest, OpensAndRoundTripsExactlyInTheNewForm) {
    StyleTable styles;
    const std::string old = ReadFile(std::string(HOST_MODEL_FIXTURES) + "/" + GetParam());
    ASSERT_NE(old.find("quiltor:version=\"1\""), std::string::npos);
    std::unique_ptr<Document> first = Read(old, styles);
    ASSERT_TRUE(first);
    const std::string lean = WriteSvgText(*first);
    EXPECT_EQ(lean.find("quiltor:segs"), std::string::npos);
    EXPECT_NE(lean.find("quiltor:version=\"2\""), std::string::npos);
    EXPECT_LT(lean.size(), old.size());
    std::unique_ptr<Document> second = Read(lean, styles);
    ASSERT_TRUE(second);
    EXPECT_EQ(DumpDocument(*second), DumpDocument(*first));
    EXPECT_EQ(WriteSvgText(*second), lean);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, OlderFormTest,
                         ::testing::Values("version1-odd-values.svg", "version1-sample-tile.svg"));

TEST(SvgLeanFormatTest, EveryHardCaseRoundTripsExactly) {
    StyleTable styles;
    ExpectExactRoundTrip(*OddValuesDocument(styles), styles);
}

TEST(SvgLeanFormatTest, RandomDocumentsRoundTripExactly) {
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        StyleTable styles;
        ExpectExactRoundTrip(*RandomDocument(styles, seed), styles);
        if (HasFatalFailure() || HasNonfatalFailure()) return;
    }
}

// The anchors of every path in paint order (bottom first), as a viewer should see them.
void PaintedAnchors(const Art* art, std::vector<AIRealPoint>& out) {
    if (art->type == kPathArt)
        for (const AIPathSegment& s : art->segments) out.push_back(s.p);
    for (const Art* a = art->lastChild; a; a = a->prev) PaintedAnchors(a, out);
}
void PaintedAnchors(const Layer* layer, std::vector<AIRealPoint>& out) {
    PaintedAnchors(layer->group, out);
    for (const Layer* sub = layer->lastChild; sub; sub = sub->prev) PaintedAnchors(sub, out);
}

// Read with pugixml and a plain number parser: every anchor of the document is drawn where it is
// (y down from the page's top), in paint order; anchors no number can show are left out.
TEST(SvgLeanFormatTest, ViewersReadEveryAnchorWhereItIs) {
    for (uint32_t seed = 1; seed <= 100; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        StyleTable styles;
        std::unique_ptr<Document> d = seed == 1 ? OddValuesDocument(styles) : RandomDocument(styles, seed);
        const double height = d->setup().height;
        std::vector<AIRealPoint> expected;
        for (const Layer* layer = d->lastLayer(); layer; layer = layer->prev) PaintedAnchors(layer, expected);

        const std::string text = WriteSvgText(*d);
        for (size_t at = text.find(" d=\""); at != std::string::npos; at = text.find(" d=\"", at + 1)) {
            const std::string data = text.substr(at + 4, text.find('"', at + 4) - at - 4);
            ASSERT_EQ(data.find_first_not_of("MLCZ0123456789.,-e+ "), std::string::npos) << data;
        }
        const std::filesystem::path file =
            std::filesystem::temp_directory_path() / ("quiltor-lean-" + std::to_string(::getpid()) + ".svg");
        std::ofstream(file, std::ios::binary) << text;
        const std::optional<testsupport::SvgFacts> facts = testsupport::ReadSvgFacts(file);
        std::filesystem::remove(file);
        ASSERT_TRUE(facts);
        std::vector<testsupport::SvgPoint> drawn;
        for (const auto& path : facts->paths) drawn.insert(drawn.end(), path.begin(), path.end());
        // Each anchor shows up after the one before it; extra points (a closing edge drawn out)
        // may lie between them.
        size_t at = 0;
        for (const AIRealPoint& p : expected) {
            const double y = height - p.v;
            if (!std::isfinite(p.h) || !std::isfinite(y) || std::fabs(p.h) > 1e30 || std::fabs(y) > 1e30) continue;
            const double toleranceX = 1e-6 * std::max(1.0, std::fabs(double(p.h)));
            const double toleranceY = 1e-6 * std::max({1.0, std::fabs(double(p.v)), height});
            while (at < drawn.size() &&
                   !(std::fabs(drawn[at].x - p.h) <= toleranceX && std::fabs(drawn[at].y - y) <= toleranceY))
                ++at;
            ASSERT_LT(at, drawn.size()) << "anchor " << p.h << "," << p.v << " not drawn";
            ++at;
        }
    }
}

// Each segment once: a path of straight segments is its path data and its appearance.
TEST(SvgLeanFormatTest, PlainPathsCarryNothingBesideTheirPathData) {
    StyleTable styles;
    NewDocumentOptions options;
    options.heightPt = 2383.937f;
    Document d(styles, options);
    Art* path = d.newArt(kPathArt, Place{d.firstLayer()->group, nullptr});
    path->segments = {{{2553.416f, -78.13356f}, {2553.416f, -78.13356f}, {2553.416f, -78.13356f}, 1},
                      {{2562.5198f, 0.5f}, {2562.5198f, 0.5f}, {2562.5198f, 0.5f}, 1},
                      {{10, 20}, {10, 20}, {10, 20}, 1}};
    path->closed = true;
    const std::string text = WriteSvgText(d);
    EXPECT_NE(
        text.find("<path quiltor:kind=\"path\" d=\"M 2553.416,2462.07057 L 2562.5198,2383.4370117 10,2363.937012 Z\" "
                  "class=\"a1\" />"),
        std::string::npos)
        << text;
}

// A 100 pt square host document of the format version with the body in its one layer.
std::string HostDocument(const std::string& version, const std::string& body) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:quiltor=\"urn:quiltor:host\" "
           "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" width=\"100pt\" height=\"100pt\" "
           "viewBox=\"0 0 100 100\" quiltor:version=\"" +
           version + "\"><g inkscape:groupmode=\"layer\">" + body + "</g></svg>";
}

// A compound path of the first format without member children used to read as an empty compound
// path, its path data dropped: its members are now the sub-paths a viewer sees.
TEST(SvgLeanFormatTest, ACompoundPathWithoutMembersKeepsItsPathData) {
    for (const char* version : {"1", "2"}) {
        SCOPED_TRACE(std::string("version ") + version);
        StyleTable styles;
        std::unique_ptr<Document> d =
            Read(HostDocument(version, "<path quiltor:kind=\"compound\" d=\"m 0,0 h 10 v 10 z M 2,2 L 4,2 L 4,4 Z\"/>"),
                 styles);
        ASSERT_TRUE(d);
        const Art* compound = d->firstLayer()->group->firstChild;
        ASSERT_TRUE(compound);
        ASSERT_EQ(compound->type, kCompoundPathArt);
        std::vector<std::vector<AIRealPoint>> members;
        for (const Art* m = compound->lastChild; m; m = m->prev) {
            EXPECT_TRUE(m->closed);
            EXPECT_EQ(m->style, compound->style);
            members.emplace_back();
            for (const AIPathSegment& s : m->segments) members.back().push_back(s.p);
        }
        ASSERT_EQ(members.size(), 2u);
        ASSERT_EQ(members[0].size(), 3u);
        EXPECT_EQ(members[0][1].h, 10);
        EXPECT_EQ(members[0][1].v, 100);
        ASSERT_EQ(members[1].size(), 3u);
        EXPECT_EQ(members[1][2].v, 96);
    }
}

// Path data an editor rewrote (relative commands) is read as it shows, whatever quiltor:exact said.
TEST(SvgLeanFormatTest, PathDataInAnotherFormReadsAsViewersShowIt) {
    StyleTable styles;
    std::unique_ptr<Document> d = Read(
        HostDocument("2", "<path quiltor:kind=\"path\" d=\"m 10,10 h 20\" quiltor:exact=\"0p=nan,nan\"/>"), styles);
    ASSERT_TRUE(d);
    const Art* path = d->firstLayer()->group->firstChild;
    ASSERT_TRUE(path);
    ASSERT_EQ(path->segments.size(), 2u);
    EXPECT_EQ(path->segments[1].p.h, 30);
    EXPECT_EQ(path->segments[1].p.v, 90);
}

// Numbers beyond the floats read as infinite, in the host's path data as in any other.
TEST(SvgLeanFormatTest, NumbersBeyondTheFloatsReadAsInfinite) {
    for (const char* kind : {"quiltor:kind=\"path\" ", ""}) {
        StyleTable styles;
        std::unique_ptr<Document> d = Read(
            HostDocument("2", std::string("<path ") + kind + "d=\"M 1e300,-1e300 L -3.41e38,3.4028234e38\"/>"), styles);
        ASSERT_TRUE(d);
        const Art* path = d->firstLayer()->group->firstChild;
        ASSERT_TRUE(path && path->segments.size() == 2) << kind;
        const float inf = std::numeric_limits<float>::infinity();
        EXPECT_EQ(path->segments[0].p.h, inf);
        EXPECT_EQ(path->segments[0].p.v, inf);
        EXPECT_EQ(path->segments[1].p.h, -inf);
        EXPECT_EQ(path->segments[1].p.v, -3.4028234e38f);
    }
}

}  // namespace
}  // namespace quiltor::host::testing
