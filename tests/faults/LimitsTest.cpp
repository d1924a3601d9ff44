// Inputs at and just past every limit a tile document, a tile folder or a run can reach: at the
// limit the input is taken whole; past it, it is refused with a reason or handled with nothing
// cut short, never overflowed. Texts that only the system itself puts through a fixed buffer
// have no "past": there the longest the system can make must come out whole.
//
// Whole runs go through the quiltor-host program; what they left is read with pugixml alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "SvgFacts.h"
#include "TempDir.h"
#include "core/MeshGrid.h"
#include "core/SelectionTable.h"
#include "model/ArtStyle.h"
#include "model/Document.h"
#include "svg/Svg.h"

namespace {

namespace fs = std::filesystem;

// What one attempt gave: empty when it was what the limit promises, else what went wrong.
using Verdict = std::string;

// ---------------------------------------------------------------- documents and folders

// A document whose one path sits inside `depth` nested groups, the outermost a layer.
std::string NestedGroups(int depth) {
    std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10">)";
    for (int i = 0; i < depth; ++i) svg += "<g>";
    svg += R"(<path d="M0 0 L1 1"/>)";
    for (int i = 0; i < depth; ++i) svg += "</g>";
    return svg + "</svg>";
}

// A document with one path of `points` points.
std::string LongPath(int points) {
    std::string d = "M0 0";
    for (int i = 1; i < points; ++i) d += " L" + std::to_string(i % 97) + " " + std::to_string(i / 97);
    return R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10"><path d=")" + d + R"("/></svg>)";
}

// Empty when the reader takes the document; else its reason, which must not be empty.
std::optional<std::string> Refusal(const std::string& text) {
    quiltor::host::StyleTable styles;
    std::string error;
    AIErr code = kNoErr;
    if (quiltor::host::ReadSvgText(text, styles, &error, &code)) return std::nullopt;
    return error.empty() ? std::string("refused without a reason") : error;
}

Verdict Taken(const std::string& text) {
    const auto why = Refusal(text);
    return why ? "refused: " + *why : "";
}

Verdict RefusedWithAReason(const std::string& text) { return Refusal(text) ? "" : "taken"; }

Verdict FolderKept(size_t bytes) {
    TileFolder buffer;
    const std::string folder = "/" + std::string(bytes - 1, 'd');
    if (!CopyTileFolder(folder, buffer)) return "refused";
    return std::string(buffer.data()) == folder ? "" : "cut";
}

Verdict FolderRefused(size_t bytes) {
    TileFolder buffer;
    return CopyTileFolder("/" + std::string(bytes - 1, 'd'), buffer) ? "kept" : "";
}

// A folder of that many secondary-mesh tiles: every one is listed.
Verdict AllTilesListed(int tiles) {
    testsupport::TempDir folder("quiltor-limits");
    for (int i = 0; i < tiles; ++i) {
        const int mesh = 100000 + (i / 64) * 100 + (i % 64) / 8 * 10 + i % 8;
        std::ofstream(folder / FormatTileFileName(MeshKind::Material, mesh, 0, 25000)) << "x";
    }
    ResetMeshState();
    const bool scanned = ScanTileFolder(folder.path().c_str()) == ScanResult::Done;
    const int listed = nMaterialCount;
    free_mesh();
    if (!scanned) return "scan failed";
    return listed == tiles ? "" : std::to_string(listed) + " listed";
}

// ---------------------------------------------------------------- whole runs of the program

const MeshSize kTile = MeshTileSize(MeshKind::Material, 25000);

std::string Number(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

// One layer of a hand-written tile: its depth in the tree, title and the SVG of its art.
struct TileLayer {
    int depth = 0;
    std::string title;
    std::string art;
};

std::string TileText(const std::vector<TileLayer>& layers, const std::string& page = "") {
    const std::string w = Number(kTile.widthPt), h = Number(kTile.heightPt);
    std::string svg =
        R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape" xmlns:quiltor="urn:quiltor:host" quiltor:version="1" )";
    svg += page.empty() ? "width=\"" + w + "pt\" height=\"" + h + "pt\" viewBox=\"0 0 " + w + " " + h + "\">" : page;
    int open = 0;
    for (const TileLayer& layer : layers) {
        for (; open > layer.depth; --open) svg += "</g>";
        svg += "<g inkscape:groupmode=\"layer\" inkscape:label=\"" + layer.title + "\">" + layer.art;
        ++open;
    }
    for (; open > 0; --open) svg += "</g>";
    return svg + "</svg>";
}

// An open line through the points, SVG axes.
std::string Line(const std::vector<testsupport::SvgPoint>& points) {
    std::string d;
    for (const testsupport::SvgPoint& p : points) d += (d.empty() ? "M " : " L ") + Number(p.x) + "," + Number(p.y);
    return R"(<path fill="none" stroke="#000000" stroke-width="1" d=")" + d + R"("/>)";
}

// `count` anchors zigzagging from x0 to x1 at height y, ending exactly on both.
std::vector<testsupport::SvgPoint> Zigzag(int count, double x0, double x1, double y) {
    std::vector<testsupport::SvgPoint> points;
    for (int i = 0; i < count; ++i) {
        const bool end = i == 0 || i == count - 1;
        points.push_back({x0 + (x1 - x0) * i / (count - 1), end ? y : y + (i % 2 ? 3 : -3)});
    }
    return points;
}

class Run {
public:
    Run() : dir_("quiltor-limits-run") { fs::create_directories(tiles()); }
    fs::path tiles() const { return dir_ / "tiles"; }
    fs::path out() const { return dir_ / "out.svg"; }
    void Tile(const std::string& name, const std::string& text) const { std::ofstream(tiles() / name) << text; }

    testsupport::ChildRun Host(std::vector<std::string> args) const {
        args.insert(args.begin(), QUILTOR_HOST_PROGRAM);
        return testsupport::RunChild(args);
    }
    testsupport::ChildRun Merge() const {
        return Host({"merge", tiles().string(), "-o", out().string(), "--page", "A0-landscape"});
    }
    std::optional<testsupport::SvgFacts> Result() const { return testsupport::ReadSvgFacts(out()); }

private:
    testsupport::TempDir dir_;
};

// Layers nested one in the other, the deepest holding a line: `levels` levels with the line.
std::vector<TileLayer> Chain(int levels) {
    std::vector<TileLayer> layers;
    for (int i = 0; i + 1 < levels; ++i) layers.push_back({i, "層" + std::to_string(i), ""});
    layers.back().art = Line({{10, 10}, {20, 20}});
    return layers;
}

// Two tiles of `levels` nested layers each: merged with the tree whole.
Verdict DeepTreeMerged(int levels) {
    Run run;
    run.Tile("533945_025000.ai", TileText(Chain(levels)));
    run.Tile("533946_025000.ai", TileText(Chain(levels)));
    const auto result = run.Merge();
    if (result.status != 0) return "exit " + std::to_string(result.status) + ": " + result.err;
    const auto merged = run.Result();
    if (!merged) return "no merged map";
    int deepest = -1;
    for (const testsupport::SvgLayer& layer : merged->layers) deepest = std::max(deepest, layer.depth);
    return deepest + 2 == levels ? "" : "levels of layers merged: " + std::to_string(deepest + 1);
}

Verdict DeepTreeRefused(int levels) {
    Run run;
    run.Tile("533945_025000.ai", TileText(Chain(levels)));
    run.Tile("533946_025000.ai", TileText(Chain(levels)));
    const auto result = run.Merge();
    if (result.status != 1) return "exit " + std::to_string(result.status);
    return result.err.find("nested too deeply") != std::string::npos ? "" : "no reason given: " + result.err;
}

// A road cut at the seam between two tiles, `anchors` anchors in all once joined.
std::vector<size_t> JoinRoad(int anchors) {
    const int west = anchors / 2, east = anchors + 1 - west;
    const double y = kTile.heightPt / 2, w = kTile.widthPt;
    Run run;
    run.Tile("533945_025000.ai", TileText({{0, "道路", Line(Zigzag(west, w - 300, w, y))}}));
    run.Tile("533946_025000.ai", TileText({{0, "道路", Line(Zigzag(east, 0, 300, y))}}));
    if (run.Merge().status != 0) return {};
    const auto merged = run.Result();
    std::vector<size_t> counts;
    if (!merged) return counts;
    for (const auto& path : merged->paths) counts.push_back(path.size());
    return counts;
}

Verdict Joined(int anchors) {
    const auto counts = JoinRoad(anchors);
    return counts == std::vector<size_t>{size_t(anchors)} ? "" : "not one line of them all";
}

Verdict LeftApartWhole(int anchors) {
    auto counts = JoinRoad(anchors);
    std::sort(counts.begin(), counts.end());
    const size_t west = size_t(anchors / 2), east = size_t(anchors + 1 - anchors / 2);
    return counts == std::vector<size_t>{west, east} ? "" : "not the two lines as they were";
}

// A layer title of exactly `bytes` bytes, three-byte characters as far as they go.
std::string TitleOf(int bytes) {
    std::string title;
    while (int(title.size()) + 3 <= bytes) title += "界";
    while (int(title.size()) < bytes) title += "x";
    return title;
}

Verdict TitleWhole(int bytes) {
    const std::string title = TitleOf(bytes);
    Run run;
    run.Tile("533945_025000.ai", TileText({{0, title, Line({{10, 10}, {20, 20}})}, {0, "枠", ""}}));
    run.Tile("533946_025000.ai", TileText({{0, title, Line({{10, 10}, {20, 20}})}, {0, "枠", ""}}));
    if (run.Merge().status != 0) return "not merged";
    const auto merged = run.Result();
    if (!merged || merged->layers.empty()) return "no layers";
    return merged->layers.front().title == title ? "" : "title became " + merged->layers.front().title;
}

// The longest tile name (a five-fold mesh tile) in the message that passes a tile over.
Verdict SkipMessageWhole(int) {
    Run run;
    run.Tile("533945_3_025000.ai", TileText({{0, "道路", ""}}));
    run.Tile("533945_4_025000.ai", TileText({{0, "鉄道", ""}}));
    const auto result = run.Merge();
    const std::string expected = "ERROR: レイヤー構成が異なるため読み飛ばします。\\n533945_4_025000.ai\n";
    return result.out.find(expected) != std::string::npos ? "" : "not in the transcript: " + result.out;
}

// The widest merge a folder can name: primary squares at the far corners of the grid, at 1/1.
Verdict SizeMessageWhole(int) {
    Run run;
    run.Tile("0000_000001.ai", TileText({{0, "道路", ""}}));
    run.Tile("9999_000001.ai", TileText({{0, "道路", ""}}));
    const auto result = run.Merge();
    static const std::regex whole(
        "MESSAGE: 描画範囲を超える範囲の合成は出来ません。\\\\n[0-9]+\\.[0-9]{3}×[0-9]+\\.[0-9]{3}\\[mm\\]\n");
    return std::regex_search(result.out, whole) ? "" : "not whole: " + result.out;
}

// The longest refusal of the adjust run, through its alert buffer: the range is a compound path
// (one without members, as the layer may hold only the one object).
Verdict AdjustAlertWhole(int) {
    Run run;
    const std::string outline = R"(<path quiltor:kind="compound" quiltor:attr="selected" fill="none" stroke="#000"/>)";
    // SVG paints later layers above earlier ones: the range's layer comes last.
    run.Tile("map.svg", TileText({{0, "道路", Line({{10, 10}, {20, 20}})}, {0, "範囲", outline}}));
    const auto result = run.Host({"run", "Quiltor アジャスト", "--open", (run.tiles() / "map.svg").string()});
    const std::string expected =
        "ERROR: 地図範囲の調整に使用するオブジェクトは複合パスやグループ化されていないパスアートを選択して下さい。\n";
    return result.out.find(expected) != std::string::npos ? "" : "not in the transcript: " + result.out;
}

TEST(Limits, HeldAtTheLimitAndRefusedOrHandledPastIt) {
    struct Case {
        const char* limit;
        int at;
        std::function<Verdict(int)> atLimit;
        std::function<Verdict(int)> pastLimit;  // null: nothing can go past it
    };
    const Case cases[] = {
        // The layer, the groups inside it and the path: levels of nesting.
        {"levels nested in a tile document", 200, [](int n) { return Taken(NestedGroups(n - 1)); },
         [](int n) { return RefusedWithAReason(NestedGroups(n - 1)); }},
        {"levels of layers in merged tiles", 200, DeepTreeMerged, DeepTreeRefused},
        {"points of one path in a tile document", 32767, [](int n) { return Taken(LongPath(n)); },
         [](int n) { return RefusedWithAReason(LongPath(n)); }},
        {"anchors of a line joined across a seam", 20000, Joined, LeftApartWhole},
        {"bytes of a layer title (its 101-byte buffer)", 100, TitleWhole, TitleWhole},
        {"bytes of the tile folder's path", 259, [](int n) { return FolderKept(size_t(n)); },
         [](int n) { return FolderRefused(size_t(n)); }},
        {"tiles in one folder", 4000, AllTilesListed, nullptr},
        {"the longest tile name in a 1024-byte skip message", 18, SkipMessageWhole, nullptr},
        {"the widest merged size in a 512-byte size message", 0, SizeMessageWhole, nullptr},
        {"the longest adjust refusal in a 260-byte alert", 0, AdjustAlertWhole, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        EXPECT_EQ(c.atLimit(c.at), "") << "at " << c.at;
        if (c.pastLimit) {
            EXPECT_EQ(c.pastLimit(c.at + 1), "") << "at " << c.at + 1;
        }
    }
}

}  // namespace
