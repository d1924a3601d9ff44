// The joins report through the caption and bar they are given: the caption names the layer, the
// bar runs over the candidates, steps within them and ends at their count.
#include <string>
#include <vector>

#include "IAIUnicodeString.h"
#include "MergeProgress.h"
#include "SeamOpsFixture.h"

namespace seamtest {
namespace {

struct RecordingProgress : MergeProgress {
    void SetCaption(const char* text) override { captions.push_back(text); }
    void SetRange(int32_t value) override { last.push_back(value); }
    void SetPosition(int32_t position) override { positions.push_back(position); }
    std::vector<std::string> captions;
    std::vector<int32_t> last;
    std::vector<int32_t> positions;
};

const SeamGrid kGrid(Pt(100), Pt(100), 1, 0);

using Join = int (*)(AILayerHandle, const SeamGrid&, MergeProgress&);

class ProgressTest : public SeamOps {
protected:
    void Title(const char* utf8) {
        ASSERT_EQ(sAILayer->SetLayerTitle(layer_, ai::UnicodeString(utf8, kAIUTF8CharacterEncoding).get()), kNoErr);
    }
};

TEST_F(ProgressTest, EachJoinShowsItsCaptionAndStepsOverItsCandidates) {
    struct Case {
        const char* what;
        Join join;
        const char* caption;
        bool lines;
        int style;
    };
    const Case cases[] = {
        {"lines", seamjoin::LineConnect, "『道路』\nレイヤのメッシュ間で隣接する線を合成中...", true, kLine},
        {"faces", seamjoin::CompoundShape, "『道路』\nレイヤのメッシュ間で隣接する面を合成中...", false, kFace},
        {"rings", seamjoin::CompoundPolyline, "『道路』\nレイヤのメッシュ間で隣接する閉じた線を合成中...", false,
         kRing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fresh();
        Title("道路");
        // Two pieces cut at the seam x = 100 mm, and one far from it that is no candidate.
        if (c.lines) {
            Line({Mm(50, 50), Mm(100, 50)});
            Line({Mm(100, 50), Mm(150, 50)});
            Line({Mm(20, 20), Mm(30, 30)});
        } else {
            Add(Rect(50, 20, 100, 60), true, c.style);
            Add(Rect(100, 20, 150, 60), true, c.style);
            Add(Rect(20, 70, 40, 90), true, c.style);
        }
        RecordingProgress progress;
        EXPECT_EQ(c.join(layer_, kGrid, progress), 1);
        EXPECT_EQ(paths().size(), 2u);
        EXPECT_EQ(progress.captions, std::vector<std::string>{c.caption});
        EXPECT_EQ(progress.last, std::vector<int32_t>{1});
        ASSERT_FALSE(progress.positions.empty());
        EXPECT_EQ(progress.positions.front(), 1);
        EXPECT_EQ(progress.positions.back(), 2);
        for (int32_t p : progress.positions) EXPECT_TRUE(p >= 1 && p <= 2) << p;
    }
}

TEST_F(ProgressTest, NothingToJoinShowsNothing) {
    Title("道路");
    Line({Mm(20, 20), Mm(30, 30)});
    Add(Rect(20, 70, 40, 90), true, kFace);
    for (Join join : {Join(seamjoin::LineConnect), Join(seamjoin::CompoundShape), Join(seamjoin::CompoundPolyline)}) {
        RecordingProgress progress;
        join(layer_, kGrid, progress);
        EXPECT_TRUE(progress.captions.empty());
        EXPECT_TRUE(progress.last.empty());
        EXPECT_TRUE(progress.positions.empty());
    }
}

// A title longer than its 101-byte buffer is cut at a whole character in the caption.
TEST_F(ProgressTest, CaptionTakesTheTitleThroughItsBuffer) {
    std::string title;
    for (int i = 0; i < 40; ++i) title += "道";  // 120 bytes
    Title(title.c_str());
    Line({Mm(50, 50), Mm(100, 50)});
    Line({Mm(100, 50), Mm(150, 50)});
    RecordingProgress progress;
    seamjoin::LineConnect(layer_, kGrid, progress);
    ASSERT_EQ(progress.captions.size(), 1u);
    EXPECT_EQ(progress.captions[0], "『" + title.substr(0, 99) + "』\nレイヤのメッシュ間で隣接する線を合成中...");
}

}  // namespace
}  // namespace seamtest
