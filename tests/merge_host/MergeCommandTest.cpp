// "quiltor-host merge" end to end on a 3 x 2 block of secondary-mesh tiles at 1/25000.
#include <cstdio>
#include <fstream>

#include "MergeRunFixture.h"
#include "svg/Svg.h"

namespace mergehost {
namespace {

namespace fs = std::filesystem;
using namespace quiltor::host;

constexpr char kDone[] = "MESSAGE: 作業が完了しました。";

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Path bounds only: a label's box is an estimate and may overhang its tile.
bool PathBounds(const Document& document, AIRealRect* bounds) {
    bool any = false;
    for (const Layer* layer = document.firstLayer(); layer; layer = NextLayerInPreorder(layer)) {
        for (const Art* a = layer->group->firstChild; a; a = NextInPreorder(a, layer->group)) {
            if (a->type != kPathArt || a->segments.empty()) continue;
            AIRealRect r;
            ArtBounds(a, &r);
            if (!any) *bounds = r;
            bounds->left = std::min(bounds->left, r.left);
            bounds->right = std::max(bounds->right, r.right);
            bounds->bottom = std::min(bounds->bottom, r.bottom);
            bounds->top = std::max(bounds->top, r.top);
            any = true;
        }
    }
    return any;
}

class MergeCommandTest : public MergeRunTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(DrawTiles(MeshKind::Material, 3, 2)); }

    // The rectangle the tile at (k, j) covers in the merged map, with its artboard's corner.
    AIRealRect Cell(int k, int j, const AIRealRect& artboard) const {
        const double w = static_cast<float>(block().grid.tileWidth);
        const double h = static_cast<float>(block().grid.tileHeight);
        return AIRealRect{
            static_cast<AIReal>(k * w + artboard.left), static_cast<AIReal>((j + 1) * h + artboard.bottom),
            static_cast<AIReal>((k + 1) * w + artboard.left), static_cast<AIReal>(j * h + artboard.bottom)};
    }
};

TEST_F(MergeCommandTest, EveryTileAtItsGridOffsetAndNothingLost) {
    const fs::path out = OutPath("merged.svg");
    const ProgramRun run = Merge({"-o", out.string(), "--page", "A0-landscape", "--no-line-join", "--no-face-join"});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_TRUE(Has(run.out, "FOLDER: Quiltor セレクトマージ - フォルダ選択 -> " + fs::absolute(tileDir()).string()))
        << run.out;
    EXPECT_TRUE(Has(run.out, kDone)) << run.out;
    EXPECT_FALSE(Has(run.out, "ERROR")) << run.out;

    auto merged = Read(out);
    ASSERT_TRUE(merged);
    auto first = Read(TilePath(0));
    EXPECT_EQ(LayerLines(*merged), LayerLines(*first));

    ArtTally in, outTally;
    const Signatures expected = ExpectedAll({}, &in);
    EXPECT_TRUE(SameSignatures(expected, Actual(*merged, &outTally)));
    EXPECT_EQ(outTally.objects, in.objects);
    EXPECT_EQ(outTally.anchors, in.anchors);
    EXPECT_GT(in.objects, 6u);

    for (size_t i = 0; i < block().tiles.size(); ++i) {
        const auto& tile = block().tiles[i];
        auto document = Read(TilePath(i));
        AIRealRect art;
        ASSERT_TRUE(PathBounds(*document, &art)) << tile.name;
        const AIRealRect cell = Cell(tile.k, tile.j, document->artboard());
        const AIRealRect local = Cell(0, 0, document->artboard());
        // Moved by the cell's offset, the tile's art lies in its cell.
        const float dh = cell.left - local.left;
        const float dv = cell.bottom - local.bottom;
        EXPECT_GE(art.left + dh, cell.left - 0.01f) << tile.name;
        EXPECT_LE(art.right + dh, cell.right + 0.01f) << tile.name;
        EXPECT_GE(art.bottom + dv, cell.bottom - 0.01f) << tile.name;
        EXPECT_LE(art.top + dv, cell.top + 0.01f) << tile.name;
        // Each tile reaches across most of its cell, so a tile put one cell off would show.
        EXPECT_GT(art.right - art.left, 0.5f * (cell.right - cell.left)) << tile.name;
    }
    AIRealRect all;
    ASSERT_TRUE(PathBounds(*merged, &all));
    const AIRealRect nw = Cell(0, 0, first->artboard());
    const AIRealRect se = Cell(2, -1, first->artboard());
    EXPECT_GE(all.left, nw.left - 0.01f);
    EXPECT_LE(all.top, nw.top + 0.01f);
    EXPECT_LE(all.right, se.right + 0.01f);
    EXPECT_GE(all.bottom, se.bottom - 0.01f);
}

TEST_F(MergeCommandTest, DefaultRunJoinsSeamsKeepsLabelsAndDrawsAPreview) {
    const fs::path out = OutPath("merged.svg");
    const fs::path png = OutPath("merged.png");
    const ProgramRun run = Merge({"-o", out.string(), "--preview", png.string(), "--preview-size", "400"});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    // A4 is smaller than the merged map: the question is asked and answered yes.
    EXPECT_TRUE(Has(run.out, "QUESTION: アートボードよりも大きいですが合成しますか？")) << run.out;
    EXPECT_TRUE(Has(run.out, "-> yes")) << run.out;
    EXPECT_TRUE(Has(run.out, kDone)) << run.out;
    EXPECT_TRUE(Has(run.err, out.string()));
    EXPECT_TRUE(Has(run.err, png.string()));

    auto merged = Read(out);
    ASSERT_TRUE(merged);
    ArtTally in, outTally;
    const Signatures expected = ExpectedAll({}, &in);
    const Signatures actual = Actual(*merged, &outTally);
    EXPECT_TRUE(SameSignatures(Labels(expected), Labels(actual)));
    EXPECT_LT(outTally.objects, in.objects) << "pieces cut at the seams are joined";
    EXPECT_LE(outTally.anchors, in.anchors);

    std::ifstream image(png, std::ios::binary);
    unsigned char header[24] = {};
    ASSERT_TRUE(image.read(reinterpret_cast<char*>(header), sizeof header));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(header + 1), 3), "PNG");
    auto big = [&](int at) { return header[at] << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3]; };
    const int width = big(16), height = big(20);
    EXPECT_EQ(std::max(width, height), 400);
    // Three tiles across, two down: the preview shows the whole block, not the page.
    const double tileRatio = block().grid.tileWidth / block().grid.tileHeight;
    EXPECT_NEAR(static_cast<double>(width) / height, 1.5 * tileRatio, 0.05);
}

TEST_F(MergeCommandTest, ChosenTilesArePlacedInTheirOwnBox) {
    const auto& tiles = block().tiles;
    ASSERT_EQ(tiles[1].k, 1);
    ASSERT_EQ(tiles[5].k, 2);
    ASSERT_EQ(tiles[5].j, -1);
    const fs::path out = OutPath("two.svg");
    const std::string stem = tiles[5].name.substr(0, tiles[5].name.size() - 3);
    const ProgramRun run = Merge({"-o", out.string(), "--page", "A0-landscape", "--tiles", tiles[1].name + "," + stem,
                                  "--no-line-join", "--no-face-join"});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_TRUE(Has(run.out, "MESSAGE: 合成後のサイズは下記になります。\\n904.000×740.000[mm]")) << run.out;

    auto merged = Read(out);
    ASSERT_TRUE(merged);
    Signatures expected = Expected(1, 0, 0);
    const Signatures second = Expected(5, 1, -1);
    expected.insert(second.begin(), second.end());
    EXPECT_TRUE(SameSignatures(expected, Actual(*merged)));
}

TEST_F(MergeCommandTest, ATileWithAnotherTreeIsSkippedByName) {
    // The tile opened first (byte order of names) is the southern row's western one.
    ASSERT_EQ(block().tiles[3].name, "533935_025000.ai");
    auto odd = Read(TilePath(1));
    ASSERT_TRUE(odd);
    odd->setLayerTitle(odd->insertLayer(nullptr, kPlaceBelowAll), u"余分なレイヤー");
    std::string error;
    ASSERT_TRUE(WriteSvgFile(*odd, TilePath(1).string(), &error)) << error;

    const fs::path out = OutPath("merged.svg");
    const ProgramRun run = Merge({"-o", out.string(), "--page", "A0-landscape", "--no-line-join", "--no-face-join"});
    // A run that passed a tile over used to exit 0 like a whole merge.
    ASSERT_EQ(run.status, 3) << run.err << run.out;
    EXPECT_TRUE(Has(run.err, "Not merged: " + block().tiles[1].name + "\n")) << run.err;
    EXPECT_TRUE(Has(run.out, "ERROR: レイヤー構成が異なるため読み飛ばします。\\n" + block().tiles[1].name)) << run.out;
    EXPECT_TRUE(Has(run.out, kDone));
    auto merged = Read(out);
    ASSERT_TRUE(merged);
    EXPECT_TRUE(SameSignatures(ExpectedAll({1}), Actual(*merged)));
}

TEST_F(MergeCommandTest, ATileThatDoesNotOpenIsPassedOver) {
    std::ofstream(TilePath(2), std::ios::trunc) << "not a drawing";
    const fs::path out = OutPath("merged.svg");
    const ProgramRun run = Merge({"-o", out.string(), "--page", "A0-landscape", "--no-line-join", "--no-face-join"});
    // Passed over, named in the alert and on standard error, and the exit status says so.
    ASSERT_EQ(run.status, 3) << run.err << run.out;
    EXPECT_TRUE(Has(run.out, "ERROR: ファイルを開けないため読み飛ばします。\\n" + TilePath(2).filename().string()))
        << run.out;
    EXPECT_TRUE(Has(run.err, "Not merged: " + block().tiles[2].name + "\n")) << run.err;
    EXPECT_TRUE(Has(run.out, kDone));
    auto merged = Read(out);
    ASSERT_TRUE(merged);
    EXPECT_TRUE(SameSignatures(ExpectedAll({2}), Actual(*merged)));
}

TEST_F(MergeCommandTest, NothingIsSavedWhenNoChosenTileWasMerged) {
    std::ofstream(TilePath(2), std::ios::trunc) << "not a drawing";
    const fs::path out = OutPath("merged.svg");
    const ProgramRun run = Merge({"-o", out.string(), "--tiles", block().tiles[2].name});
    EXPECT_EQ(run.status, 1) << run.err << run.out;
    EXPECT_TRUE(Has(run.err, "Not merged: " + block().tiles[2].name)) << run.err;
    EXPECT_TRUE(Has(run.err, "no tile was merged")) << run.err;
    EXPECT_FALSE(fs::exists(out));
}

// Tiles of several kinds or scales: "add all" took the first group and left the others out in
// silence, and the run exited 0.
TEST_F(MergeCommandTest, TilesOfSeveralKindsOrScalesAreRefusedBeforeTheRun) {
    fs::copy_file(TilePath(0), tileDir() / "533945_010000.ai");
    fs::copy_file(TilePath(0), tileDir() / "5339_200000.ai");
    const fs::path out = OutPath("merged.svg");
    struct Case {
        const char* name;
        std::vector<std::string> tiles;
        const char* lead;
    };
    const Case cases[] = {
        {"whole folder", {}, "the folder holds tiles of several mesh kinds or scales"},
        {"chosen", {"--tiles", block().tiles[0].name + ",533945_010000"}, "the chosen tiles are of several"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"-o", out.string()};
        args.insert(args.end(), c.tiles.begin(), c.tiles.end());
        const ProgramRun run = Merge(args);
        EXPECT_EQ(run.status, 1) << c.name << "\n" << run.err;
        EXPECT_TRUE(Has(run.err, c.lead)) << c.name << "\n" << run.err;
        EXPECT_TRUE(Has(run.err, "of 第二次地域区画 at 1/10000, e.g. 533945_010000.ai")) << c.name << "\n" << run.err;
        EXPECT_TRUE(Has(run.err, "of 第二次地域区画 at 1/25000, e.g. ")) << c.name << "\n" << run.err;
        EXPECT_TRUE(Has(run.err, "--tiles")) << c.name << "\n" << run.err;
        EXPECT_FALSE(Has(run.out, "FOLDER")) << c.name << "\n" << run.out;
        EXPECT_FALSE(fs::exists(out)) << c.name;
    }
    const ProgramRun all = Merge({"-o", out.string()});
    EXPECT_TRUE(Has(all.err, "6 tiles of 第二次地域区画 at 1/25000")) << all.err;
    EXPECT_TRUE(Has(all.err, "1 tile of 第一次地域区画 at 1/200000, e.g. 5339_200000.ai\n")) << all.err;
}

// On a terminal one line follows the run: every tile as it is placed, then the layers being
// joined, rubbed out before each line of the transcript and at the end. Nothing of it otherwise.
TEST_F(MergeCommandTest, AProgressLineOnATerminalOnly) {
    const fs::path out = OutPath("merged.svg");
    const std::vector<std::string> args = {QUILTOR_HOST_PROGRAM, "merge",  tileDir().string(), "-o",
                                           out.string(),         "--page", "A0-landscape"};
    testsupport::ChildOptions onTerminal;
    onTerminal.terminal = true;
    const ProgramRun shown = testsupport::RunChild(args, onTerminal);
    ASSERT_EQ(shown.status, 0) << shown.out;
    size_t at = 0;
    for (size_t i = 1; i <= 6; ++i) {
        at = shown.out.find("placing tile " + std::to_string(i) + " of 6: ", at);
        ASSERT_NE(at, std::string::npos) << i << shown.out;
    }
    EXPECT_NE(shown.out.find("joining seams, layer 1 of ", at), std::string::npos) << shown.out;
    // Whatever the line held is blanked out before the completion message starts its line.
    const size_t done = shown.out.find(kDone);
    ASSERT_NE(done, std::string::npos);
    const size_t lastShown = shown.out.find('\r', shown.out.rfind("joining seams", done));
    EXPECT_EQ(shown.out.substr(lastShown, done - lastShown).find_first_not_of("\r "), std::string::npos)
        << shown.out.substr(lastShown, done - lastShown);

    std::vector<std::string> quiet = args;
    quiet.push_back("--quiet");
    const ProgramRun silenced = testsupport::RunChild(quiet, onTerminal);
    EXPECT_EQ(silenced.status, 0);
    EXPECT_FALSE(Has(silenced.out, "placing tile")) << silenced.out;

    const ProgramRun piped = Merge({"-o", out.string(), "--page", "A0-landscape"});
    EXPECT_EQ(piped.status, 0);
    EXPECT_FALSE(Has(piped.err, "placing tile") || Has(piped.err, "joining")) << piped.err;
}

TEST_F(MergeCommandTest, TimesOfEachStepOnRequest) {
    const fs::path out = OutPath("merged.svg");
    const ProgramRun plain = Merge({"-o", out.string(), "--page", "A0-landscape"});
    EXPECT_FALSE(Has(plain.err, "Times:")) << plain.err;

    const ProgramRun timed = Merge({"-o", out.string(), "--page", "A0-landscape", "--times"});
    ASSERT_EQ(timed.status, 0) << timed.err;
    double reading = -1, placing = -1, joining = -1, writing = -1, total = -1;
    unsigned long mib = 0;
    const size_t at = timed.err.find("Times: ");
    ASSERT_NE(at, std::string::npos) << timed.err;
    ASSERT_EQ(
        std::sscanf(timed.err.c_str() + at,
                    "Times: reading tiles %lf s, placing %lf s, joining seams %lf s, writing %lf s, in all %lf s; "
                    "peak memory %lu MiB",
                    &reading, &placing, &joining, &writing, &total, &mib),
        6)
        << timed.err.substr(at);
    for (double step : {reading, placing, joining, writing}) EXPECT_GE(step, 0);
    EXPECT_GT(reading, 0) << "six tiles were read";
    EXPECT_GT(joining, 0) << "the seams were joined";
    EXPECT_NEAR(reading + placing + joining + writing, total, 0.003);
    EXPECT_GT(mib, 0u);
}

TEST_F(MergeCommandTest, RunsWithStandardInputClosed) {
    // As from a scheduler that starts jobs without standard input: the answers still reach the run.
    const fs::path out = OutPath("merged.svg");
    const ProgramRun run =
        RunHost({"merge", tileDir().string(), "-o", out.string(), "--no-line-join", "--no-face-join"}, true);
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    auto merged = Read(out);
    ASSERT_TRUE(merged);
    EXPECT_TRUE(SameSignatures(ExpectedAll(), Actual(*merged)));
}

TEST_F(MergeCommandTest, Refusals) {
    const fs::path empty = OutPath("empty");
    fs::create_directories(empty);
    const fs::path out = OutPath("merged.svg");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* err;  // part of standard error
        const char* out;  // part of the transcript
    };
    const Case cases[] = {
        {"no such folder", {"merge", OutPath("none").string(), "-o", out.string()}, 1, "no folder", ""},
        {"output folder missing",
         {"merge", tileDir().string(), "-o", OutPath("none/m.svg").string()},
         1,
         "no folder",
         ""},
        {"output is a folder", {"merge", tileDir().string(), "-o", empty.string()}, 1, "is a folder", ""},
        {"preview folder missing",
         {"merge", tileDir().string(), "-o", out.string(), "--preview", OutPath("none/m.png").string()},
         1,
         "no folder",
         ""},
        {"unknown tile",
         {"merge", tileDir().string(), "-o", out.string(), "--tiles", "533999_025000"},
         1,
         "533945_025000.ai",
         ""},
        {"bad option", {"merge", tileDir().string(), "-o", out.string(), "--page", "Z9"}, 2, "Z9", ""},
        {"no tiles",
         {"merge", empty.string(), "-o", out.string()},
         1,
         "stopped",
         "ERROR: Quiltor セレクトマージに対応した Adobe Illustrator Artwork が見つかりませんでした。"},
        {"size declined", {"merge", tileDir().string(), "-o", out.string(), "--no"}, 1, "stopped", "-> no"},
    };
    for (const Case& c : cases) {
        fs::remove(out);
        const ProgramRun run = RunHost(c.args);
        EXPECT_EQ(run.status, c.status) << c.name << "\n" << run.err;
        EXPECT_TRUE(Has(run.err, c.err)) << c.name << "\n" << run.err;
        EXPECT_TRUE(Has(run.out, c.out)) << c.name << "\n" << run.out;
        EXPECT_FALSE(Has(run.out, kDone)) << c.name;
        EXPECT_FALSE(fs::exists(out)) << c.name;
    }
}

}  // namespace
}  // namespace mergehost
