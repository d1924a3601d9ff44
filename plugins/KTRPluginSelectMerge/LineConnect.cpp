// Open lines whose ends meet on a tile seam become one path again.
#include <algorithm>
#include <bit>
#include <optional>
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
    uint32_t pathStyle = 0;  // into the joiner's PathStyles
    AIArtStyleHandle artStyle = nullptr;
    int16_t count = 0;
    bool alive = true;
    SeamPoint first;
    SeamPoint last;
    // The end buckets of first and last; an end off the seams, where no join
    // can happen, has the empty bucket.
    uint32_t firstBucket = 0;
    uint32_t lastBucket = 0;
};

class LineJoiner {
public:
    explicit LineJoiner(const SeamGrid& grid) : grid_(grid) {}

    void Collect(const std::vector<AIArtHandle>& arts);
    bool Empty() const { return lines_.empty(); }
    std::size_t Count() const { return lines_.size(); }
    // The bar steps once per line tried.
    void Run(MergeProgress& progress);

private:
    struct Partner {
        uint32_t id;
        LineJoinCase how;
    };

    void IndexEnds();
    std::optional<Partner> FindPartner(uint32_t id);
    bool Fits(const Line& line1, const Line& line2) const;
    bool Join(uint32_t id, const Partner& partner);
    void Reread(Line& line);
    void Rebucket(Line& line, const Line& before1, const Line& before2);

    const SeamGrid& grid_;
    detail::PathStyles styles_;
    std::vector<Line> lines_;
    // The lines with an end at each distinct end point on a seam, in
    // working-set order: bucket b holds ids_[start_[b] ... start_[b + 1]).
    // A line is only ever matched against lines listed after it, so head_[b]
    // moves past the entries before the one being processed, for good.
    std::vector<uint32_t> ids_;
    std::vector<uint32_t> start_;
    std::vector<uint32_t> head_;
    std::vector<AIPathSegment> tail_;  // the partner's segments being appended
};

void LineJoiner::Collect(const std::vector<AIArtHandle>& arts) {
    lines_.reserve(arts.size());
    for (AIArtHandle art : arts) {
        // A compound path answers path queries through its first member, which
        // is in the working set on its own: taking both would splice that
        // member into itself and then delete it.
        if (ArtType(art) != kPathArt) {
            continue;
        }
        if (IsClosed(art) || HasFill(art)) {
            continue;
        }
        const int16_t count = SegmentCount(art);
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
        line.pathStyle = styles_.Add(detail::ReadPathStyle(art));
        line.artStyle = detail::ReadArtStyle(art);
        lines_.push_back(line);
    }
    IndexEnds();
}

void LineJoiner::IndexEnds() {
    // Each distinct end point gets a bucket, numbered as first met, through a
    // small open-addressing table; sorting all ends instead would stream over
    // them again and again, which a large layer pays for in cache misses.
    auto keyOf = [](SeamPoint p) { return uint64_t(uint32_t(p.x)) << 32 | uint32_t(p.y); };
    constexpr uint32_t kNoBucket = UINT32_MAX;
    std::vector<uint32_t> slots(std::bit_ceil(std::max<std::size_t>(lines_.size() * 4, 16)), kNoBucket);
    const std::size_t mask = slots.size() - 1;
    std::vector<uint64_t> keys;  // of each bucket
    std::vector<uint32_t> counts;
    auto bucketOf = [&](SeamPoint p) {
        const uint64_t key = keyOf(p);
        std::size_t s = std::hash<SeamPoint>()(p) & mask;
        while (slots[s] != kNoBucket && keys[slots[s]] != key) {
            s = (s + 1) & mask;
        }
        if (slots[s] == kNoBucket) {
            slots[s] = uint32_t(keys.size());
            keys.push_back(key);
            counts.push_back(0);
        }
        ++counts[slots[s]];
        return slots[s];
    };
    for (Line& line : lines_) {
        line.firstBucket = OnSeam(grid_, line.first) ? bucketOf(line.first) : kNoBucket;
        line.lastBucket = line.last == line.first    ? line.firstBucket
                          : OnSeam(grid_, line.last) ? bucketOf(line.last)
                                                     : kNoBucket;
    }
    // Three or more line ends at one seam point are a junction that happens to
    // lie on a tile edge (a tripoint, a crossing), not a cut: none joins there,
    // whatever their styles. Joins elsewhere leave the count at a point as it
    // was, so counting once up front is enough.
    for (Line& line : lines_) {
        for (uint32_t* bucket : {&line.firstBucket, &line.lastBucket}) {
            if (*bucket != kNoBucket && counts[*bucket] > 2) {
                *bucket = kNoBucket;
            }
        }
    }
    for (uint32_t& count : counts) {
        count = count > 2 ? 0 : count;
    }
    // Buckets side by side, each in working-set order; a last, empty bucket
    // for an end off the seams or one that no line had at the start.
    const auto none = uint32_t(counts.size());
    for (Line& line : lines_) {
        line.firstBucket = std::min(line.firstBucket, none);
        line.lastBucket = std::min(line.lastBucket, none);
    }
    start_.assign(counts.size() + 2, 0);
    for (std::size_t b = 0; b < counts.size(); ++b) {
        start_[b + 1] = start_[b] + counts[b];
    }
    start_[counts.size() + 1] = start_[counts.size()];
    head_.assign(start_.begin(), start_.end() - 1);
    ids_.resize(start_.back());
    std::vector<uint32_t> fill(start_.begin(), start_.end() - 2);
    for (uint32_t id = 0; id < lines_.size(); ++id) {
        if (lines_[id].firstBucket != none) {
            ids_[fill[lines_[id].firstBucket]++] = id;
        }
        if (lines_[id].lastBucket != lines_[id].firstBucket && lines_[id].lastBucket != none) {
            ids_[fill[lines_[id].lastBucket]++] = id;
        }
    }
}

// After a failed join a line's ends are ends the two lines had before,
// perhaps swapped.
void LineJoiner::Rebucket(Line& line, const Line& before1, const Line& before2) {
    const uint32_t none = uint32_t(head_.size() - 1);
    auto bucketOf = [&](SeamPoint p) {
        for (const Line* b : {&before1, &before2}) {
            if (b->first == p) {
                return b->firstBucket;
            }
            if (b->last == p) {
                return b->lastBucket;
            }
        }
        return none;
    };
    line.firstBucket = bucketOf(line.first);
    line.lastBucket = bucketOf(line.last);
}

bool LineJoiner::Fits(const Line& line1, const Line& line2) const {
    return int(line1.count) + int(line2.count) <= kMaxJoinedSegments + 1 &&
           SamePathStyle(styles_[line1.pathStyle], styles_[line2.pathStyle]) &&
           detail::SameArtStyle(line1.artStyle, line2.artStyle);
}

std::optional<LineJoiner::Partner> LineJoiner::FindPartner(uint32_t id) {
    const Line& line1 = lines_[id];
    const uint32_t buckets[2] = {line1.firstBucket, line1.lastBucket};
    const int count = line1.firstBucket == line1.lastBucket ? 1 : 2;
    uint32_t at[2] = {0, 0};
    for (int b = 0; b < count; ++b) {
        uint32_t& head = head_[buckets[b]];
        while (head < start_[buckets[b] + 1] && (ids_[head] <= id || !lines_[ids_[head]].alive)) {
            ++head;
        }
        at[b] = head;
    }
    // Walk both buckets in working-set order; the first line that fits wins,
    // whichever of art1's ends it meets.
    for (;;) {
        uint32_t next = UINT32_MAX;
        for (int b = 0; b < count; ++b) {
            if (at[b] < start_[buckets[b] + 1]) {
                next = std::min(next, ids_[at[b]]);
            }
        }
        if (next == UINT32_MAX) {
            return std::nullopt;
        }
        for (int b = 0; b < count; ++b) {
            if (at[b] < start_[buckets[b] + 1] && ids_[at[b]] == next) {
                ++at[b];
            }
        }
        const Line& line2 = lines_[next];
        if (!line2.alive || !Fits(line1, line2)) {
            continue;
        }
        // An end's bucket is the empty one off the seams and at a junction.
        const uint32_t none = uint32_t(head_.size() - 1);
        const LineJoinCase how = SelectLineJoinCaseWhere(
            line1.first, line1.last, line2.first, line2.last,
            [&](SeamPoint p) { return (p == line1.first ? line1.firstBucket : line1.lastBucket) != none; });
        if (how != LineJoinCase::None) {
            return Partner{next, how};
        }
    }
}

void LineJoiner::Reread(Line& line) {
    line.count = SegmentCount(line.art);
    AIPathSegment segment{};
    if (line.count > 0 && detail::ReadSegment(line.art, 0, &segment)) {
        line.first = Anchor(segment);
    }
    if (line.count > 0 && detail::ReadSegment(line.art, int16_t(line.count - 1), &segment)) {
        line.last = Anchor(segment);
    }
}

bool LineJoiner::Join(uint32_t id, const Partner& partner) {
    Line& line1 = lines_[id];
    Line& line2 = lines_[partner.id];
    const Line before1 = line1;
    const Line before2 = line2;
    // The splice drops art2's first segment as the copy of art1's end, so both must run the right
    // way first; a line the host would not turn is turned back and the pair stays apart.
    const bool turned1 = !ReversesFirst(partner.how) || sAIPath->ReversePathSegments(line1.art) == kNoErr;
    const bool turned2 = turned1 && (!ReversesSecond(partner.how) || sAIPath->ReversePathSegments(line2.art) == kNoErr);
    if (!turned2) {
        if (turned1 && ReversesFirst(partner.how)) sAIPath->ReversePathSegments(line1.art);
        Reread(line1);
        Reread(line2);
        Rebucket(line1, before1, before2);
        Rebucket(line2, before2, before2);
        return false;
    }
    const int16_t count1 = line1.count;
    const int16_t count2 = line2.count;
    // art2's first segment duplicates art1's end; art1 keeps its own.
    tail_.resize(std::size_t(count2 - 1));
    bool read = sAIPath->GetPathSegments(line2.art, 1, int16_t(count2 - 1), tail_.data()) == kNoErr;
    for (int16_t k = 1; read && k < count2; ++k) {
        sAIPath->SetPathSegments(line1.art, int16_t(count1 + k - 1), 1, &tail_[std::size_t(k - 1)]);
    }
    // The partner is deleted only once all of its segments are in art1;
    // otherwise art1 is cut back and both pieces stay.
    const int16_t joined = SegmentCount(line1.art);
    if (!read || joined != count1 + count2 - 1) {
        // Cut back to what art1 had, whatever the count said: a count the host
        // cannot give reads as 0.
        if (read) {
            sAIPath->SetPathSegmentCount(line1.art, count1);
        }
        Reread(line1);
        Reread(line2);
        Rebucket(line1, before1, before2);
        Rebucket(line2, before2, before2);
        return false;
    }
    detail::DisposePiece(line2.art);
    line2.alive = false;
    // The joined line runs from art1's (reversed) start to art2's (reversed) end.
    line1.count = joined;
    line1.first = ReversesFirst(partner.how) ? before1.last : before1.first;
    line1.firstBucket = ReversesFirst(partner.how) ? before1.lastBucket : before1.firstBucket;
    line1.last = ReversesSecond(partner.how) ? before2.first : before2.last;
    line1.lastBucket = ReversesSecond(partner.how) ? before2.firstBucket : before2.lastBucket;
    return true;
}

void LineJoiner::Run(MergeProgress& progress) {
    uint32_t id = 0;
    while (id < lines_.size()) {
        if (!lines_[id].alive) {
            ++id;
            continue;
        }
        progress.SetPosition(int32_t(id + 1));
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

int LineConnect(AILayerHandle layer, const SeamGrid& grid, MergeProgress& progress) {
    LineJoiner joiner(grid);
    joiner.Collect(LayerArt(layer));
    if (!joiner.Empty()) {
        detail::ShowJoinProgress(progress, kLineCaption, layer, joiner.Count());
        joiner.Run(progress);
        progress.SetPosition(int32_t(joiner.Count()));
    }
    return 1;
}

}  // namespace seamjoin

int KTRPluginSelectMergePlugin::LineConnect(AIMenuMessage* /*message*/, AILayerHandle layer, float tileWidth,
                                            float tileHeight, int lastColumn, int lastRow, MergeProgress& progress) {
    return seamjoin::LineConnect(layer, SeamGrid(tileWidth, tileHeight, lastColumn, lastRow), progress);
}
