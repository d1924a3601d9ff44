// Open lines whose ends meet on a tile seam become one path again.
#include <optional>
#include <unordered_map>
#include <vector>

#include "KTRPluginSelectMergePlugin.h"
#include "SeamJoin.h"
#include "SeamWork.h"
#include "Suites.h"

namespace seamjoin {

namespace {

using detail::Anchor;

// The joined line has count1 + count2 - 1 anchors, at most this many.
constexpr int kMaxJoinedSegments = 20000;

struct Line {
    AIArtHandle art = nullptr;
    AIPathStyle pathStyle{};
    AIArtStyleHandle artStyle = nullptr;
    int16_t count = 0;
    SeamPoint first;
    SeamPoint last;
    bool alive = true;
};

// Lines listed under an end point, in working-set order. A line is only ever
// matched against lines listed after it, so the entries before the one being
// processed are dropped from the front for good.
struct EndBucket {
    std::vector<uint32_t> ids;
    std::size_t head = 0;
};

class LineJoiner {
public:
    explicit LineJoiner(const SeamGrid& grid) : grid_(grid) {}

    void Collect(const std::vector<AIArtHandle>& arts);
    bool Empty() const { return lines_.empty(); }
    void Run();

private:
    struct Partner {
        uint32_t id;
        LineJoinCase how;
    };

    std::optional<Partner> FindPartner(uint32_t id);
    bool Fits(const Line& line1, const Line& line2) const;
    EndBucket* BucketAt(SeamPoint p);
    bool Join(uint32_t id, const Partner& partner);
    void Reread(Line& line);

    const SeamGrid& grid_;
    std::vector<Line> lines_;
    std::unordered_map<SeamPoint, EndBucket> ends_;
};

void LineJoiner::Collect(const std::vector<AIArtHandle>& arts)
{
    for (AIArtHandle art : arts) {
        // A compound path answers path queries through its first member, which
        // is in the working set on its own: taking both would splice that
        // member into itself and then delete it.
        if (detail::ArtType(art) != kPathArt) {
            continue;
        }
        if (detail::IsClosed(art) || detail::HasFill(art)) {
            continue;
        }
        const int16_t count = detail::SegmentCount(art);
        AIPathSegment first{};
        AIPathSegment last{};
        if (count < 1 || !detail::ReadSegment(art, 0, &first) || !detail::ReadSegment(art, int16_t(count - 1), &last)) {
            continue;
        }
        // Closed by a coinciding point: compared as the host holds them.
        if (first.p.h == last.p.h && first.p.v == last.p.v) {
            continue;
        }
        Line line;
        line.art = art;
        line.count = count;
        line.first = Anchor(first);
        line.last = Anchor(last);
        if (!OnSeamLine(grid_, line.first, line.last)) {
            continue;
        }
        line.pathStyle = detail::ReadPathStyle(art);
        line.artStyle = detail::ReadArtStyle(art);
        lines_.push_back(line);
    }
    lines_.shrink_to_fit();
    ends_.reserve(lines_.size() * 2);
    for (uint32_t id = 0; id < lines_.size(); ++id) {
        ends_[lines_[id].first].ids.push_back(id);
        if (lines_[id].last != lines_[id].first) {
            ends_[lines_[id].last].ids.push_back(id);
        }
    }
}

EndBucket* LineJoiner::BucketAt(SeamPoint p)
{
    auto it = ends_.find(p);
    return it == ends_.end() ? nullptr : &it->second;
}

bool LineJoiner::Fits(const Line& line1, const Line& line2) const
{
    return int(line1.count) + int(line2.count) <= kMaxJoinedSegments + 1 &&
           SamePathStyle(line1.pathStyle, line2.pathStyle) && detail::SameArtStyle(line1.artStyle, line2.artStyle);
}

std::optional<LineJoiner::Partner> LineJoiner::FindPartner(uint32_t id)
{
    const Line& line1 = lines_[id];
    EndBucket* buckets[2] = {BucketAt(line1.first), line1.last == line1.first ? nullptr : BucketAt(line1.last)};
    for (EndBucket* bucket : buckets) {
        if (bucket == nullptr) {
            continue;
        }
        while (bucket->head < bucket->ids.size() &&
               (bucket->ids[bucket->head] <= id || !lines_[bucket->ids[bucket->head]].alive)) {
            ++bucket->head;
        }
    }
    // Walk both buckets in working-set order; the first line that fits wins,
    // whichever of art1's ends it meets.
    std::size_t at[2] = {buckets[0] ? buckets[0]->head : 0, buckets[1] ? buckets[1]->head : 0};
    for (;;) {
        uint32_t next = UINT32_MAX;
        for (int b = 0; b < 2; ++b) {
            if (buckets[b] != nullptr && at[b] < buckets[b]->ids.size()) {
                next = std::min(next, buckets[b]->ids[at[b]]);
            }
        }
        if (next == UINT32_MAX) {
            return std::nullopt;
        }
        for (int b = 0; b < 2; ++b) {
            if (buckets[b] != nullptr && at[b] < buckets[b]->ids.size() && buckets[b]->ids[at[b]] == next) {
                ++at[b];
            }
        }
        const Line& line2 = lines_[next];
        if (!line2.alive || !Fits(line1, line2)) {
            continue;
        }
        const LineJoinCase how = SelectLineJoinCase(line1.first, line1.last, line2.first, line2.last);
        if (how != LineJoinCase::None) {
            return Partner{next, how};
        }
    }
}

void LineJoiner::Reread(Line& line)
{
    line.count = detail::SegmentCount(line.art);
    AIPathSegment segment{};
    if (line.count > 0 && detail::ReadSegment(line.art, 0, &segment)) {
        line.first = Anchor(segment);
    }
    if (line.count > 0 && detail::ReadSegment(line.art, int16_t(line.count - 1), &segment)) {
        line.last = Anchor(segment);
    }
}

bool LineJoiner::Join(uint32_t id, const Partner& partner)
{
    Line& line1 = lines_[id];
    Line& line2 = lines_[partner.id];
    if (ReversesFirst(partner.how)) {
        sAIPath->ReversePathSegments(line1.art);
    }
    if (ReversesSecond(partner.how)) {
        sAIPath->ReversePathSegments(line2.art);
    }
    const int16_t count1 = line1.count;
    const int16_t count2 = line2.count;
    // art2's first segment duplicates art1's end; art1 keeps its own.
    std::vector<AIPathSegment> tail(std::size_t(count2 - 1));
    bool read = sAIPath->GetPathSegments(line2.art, 1, int16_t(count2 - 1), tail.data()) == kNoErr;
    for (int16_t k = 1; read && k < count2; ++k) {
        sAIPath->SetPathSegments(line1.art, int16_t(count1 + k - 1), 1, &tail[std::size_t(k - 1)]);
    }
    // The partner is deleted only once all of its segments are in art1;
    // otherwise art1 is cut back and both pieces stay.
    const int16_t joined = detail::SegmentCount(line1.art);
    if (!read || joined != count1 + count2 - 1) {
        if (joined > count1) {
            sAIPath->SetPathSegmentCount(line1.art, count1);
        }
        Reread(line1);
        Reread(line2);
        return false;
    }
    sAIArt->DisposeArt(line2.art);
    line2.alive = false;
    Reread(line1);
    return true;
}

void LineJoiner::Run()
{
    uint32_t id = 0;
    while (id < lines_.size()) {
        if (!lines_[id].alive) {
            ++id;
            continue;
        }
        const std::optional<Partner> partner = FindPartner(id);
        // A joined line with an end still on a seam is tried again; one without
        // is finished. Either way a line without a partner is done, since it
        // only looks at the lines after it.
        if (partner && Join(id, *partner) && OnSeamLine(grid_, lines_[id].first, lines_[id].last)) {
            continue;
        }
        ++id;
    }
}

}  // namespace

int LineConnect(AILayerHandle layer, const SeamGrid& grid)
{
    LineJoiner joiner(grid);
    joiner.Collect(detail::LayerArt(layer));
    if (!joiner.Empty()) {
        joiner.Run();
    }
    return 1;
}

}  // namespace seamjoin

int KTRPluginSelectMergePlugin::LineConnect(AIMenuMessage* /*message*/, AILayerHandle layer, float tileWidth,
                                            float tileHeight, int lastColumn, int lastRow)
{
    return seamjoin::LineConnect(layer, SeamGrid(tileWidth, tileHeight, lastColumn, lastRow));
}
