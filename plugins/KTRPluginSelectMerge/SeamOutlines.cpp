#include "SeamOutlines.h"

#include <algorithm>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "SeamJoin.h"
#include "SeamWork.h"
#include "Suites.h"
#include "core/SeamEdgeIndex.h"

namespace seamjoin::detail {

namespace {

// count1 + count2 at most: the merged outline keeps at most 20000 anchors
// once the two doubled ones are gone, inside the host's 16-bit counts.
constexpr int kMaxSpliceSegments = 20002;

// Calls use(a, b) for each edge of the closed outline that lies along a seam.
template <class Use>
void ForEachSeamEdge(const SeamGrid& grid, std::span<const SeamPoint> outline, Use use) {
    const std::size_t count = outline.size();
    for (std::size_t k = 0; k < count; ++k) {
        const SeamPoint a = outline[k];
        const SeamPoint b = outline[(k + 1) % count];
        if (OnSeamEdge(grid, a, b)) {
            use(a, b);
        }
    }
}

struct Piece {
    AIArtHandle art = nullptr;
    AIArtStyleHandle artStyle = nullptr;
    uint32_t pathStyle = 0;  // into the merger's PathStyles, rings only
    uint32_t first = 0;      // the outline: the merger's points [first, first + count)
    uint32_t count = 0;
    uint32_t absorber = 0;  // the piece merged into, itself while alive
    bool alive = true;
};

enum class Along {
    Forward,   // the partner runs a -> b at `at`
    Backward,  // the partner runs b -> a, arriving at a in anchor `at`
    Reverse,   // the partner runs b -> a and is to be reversed first
};

struct Match {
    uint32_t partner = 0;
    Along along = Along::Forward;
    std::size_t at = 0;
};

// The first edge of a ring running a -> b or b -> a, whichever comes first.
std::optional<Match> FirstSharedEdge(std::span<const SeamPoint> outline, SeamPoint a, SeamPoint b) {
    const std::size_t count = outline.size();
    for (std::size_t m = 0; m < count; ++m) {
        const SeamPoint s = outline[m];
        const SeamPoint e = outline[(m + 1) % count];
        if (s == a && e == b) {
            return Match{0, Along::Forward, m};
        }
        if (s == b && e == a) {
            return Match{0, Along::Reverse, m};
        }
    }
    return std::nullopt;
}

class OutlineMerger {
public:
    OutlineMerger(const SeamGrid& grid, const OutlineRules& rules) : grid_(grid), rules_(rules) {}

    void Collect(const std::vector<AIArtHandle>& arts);
    bool Empty() const { return pieces_.empty(); }
    std::size_t Count() const { return pieces_.size(); }
    // The bar steps once per piece tried.
    void Run(MergeProgress& progress);

private:
    std::optional<Match> MatchOn(std::span<const SeamPoint> outline, SeamPoint a, SeamPoint b) const;
    // Valid until the next SetOutline.
    std::span<const SeamPoint> OutlineOf(uint32_t id) const {
        return {points_.data() + pieces_[id].first, pieces_[id].count};
    }
    // `outline` must not be a view of the merger's own points.
    void SetOutline(uint32_t id, const std::vector<SeamPoint>& outline);
    std::optional<Match> FindPartner(uint32_t id, SeamPoint a, SeamPoint b);
    bool Merge(uint32_t id, std::size_t n, SeamPoint a, SeamPoint b, const Match& match);
    uint32_t Holder(uint32_t id);
    // Lists the piece under those edges of its outline that no entry may
    // hold: all of them after a failed merge (the host may have left
    // anything), the zero-length ones after a merge.
    enum class Fresh { ZeroLengthEdges, AllEdges };
    void Relist(uint32_t id, Fresh fresh);
    void Reread(uint32_t id);

    const SeamGrid& grid_;
    const OutlineRules& rules_;
    PathStyles styles_;
    std::vector<Piece> pieces_;
    // Every outline side by side, so that a large layer does not cost an
    // allocation per piece and merge. A grown outline moves to the end.
    std::vector<SeamPoint> points_;
    // Reused from merge to merge.
    std::vector<AIPathSegment> segments_;
    std::vector<SeamPoint> outline_;
    std::vector<SeamPoint> spliced_;
    // Pieces listed under the seam edges of their first outlines. A merged
    // outline has no edge that neither piece had, but for zero-length ones
    // (RemoveDoubledPoints stopping at three anchors), so a piece merged away
    // is still found through its entries: Holder() leads to the piece that
    // has its outline now. Entries go stale when an outline loses the edge;
    // they are checked against the outline and dropped when met.
    SeamEdgeIndex edges_;
};

void OutlineMerger::Collect(const std::vector<AIArtHandle>& arts) {
    pieces_.reserve(arts.size());
    for (AIArtHandle art : arts) {
        // Compound paths stay out: faces by rule, and rings because a compound
        // path answers through its first member, which takes part on its own.
        if (ArtType(art) != kPathArt || !IsClosed(art) || HasFill(art) != rules_.filled) {
            continue;
        }
        ReadSegments(art, segments_);
        const auto first = uint32_t(points_.size());
        AppendOutline(segments_, points_);
        if (!HasSeamEdge(grid_, std::span<const SeamPoint>(points_).subspan(first))) {
            points_.resize(first);
            continue;
        }
        Piece piece;
        piece.art = art;
        piece.first = first;
        piece.count = uint32_t(points_.size() - first);
        piece.artStyle = ReadArtStyle(art);
        if (rules_.comparePathStyles) {
            piece.pathStyle = styles_.Add(ReadPathStyle(art));
        }
        pieces_.push_back(std::move(piece));
    }
    // Merged outlines go to the end; room for them now saves copying all.
    points_.reserve(points_.size() * 3);
    std::vector<SeamEdgeIndex::Entry> entries;
    entries.reserve(pieces_.size() * 2);
    for (uint32_t id = 0; id < pieces_.size(); ++id) {
        ForEachSeamEdge(grid_, OutlineOf(id), [&](SeamPoint a, SeamPoint b) { entries.emplace_back(KeyOf(a, b), id); });
        pieces_[id].absorber = id;
    }
    edges_ = SeamEdgeIndex(entries);
}

void OutlineMerger::SetOutline(uint32_t id, const std::vector<SeamPoint>& outline) {
    Piece& piece = pieces_[id];
    if (outline.size() > piece.count) {
        piece.first = uint32_t(points_.size());
        points_.insert(points_.end(), outline.begin(), outline.end());
    } else {
        std::copy(outline.begin(), outline.end(), points_.begin() + piece.first);
    }
    piece.count = uint32_t(outline.size());
}

uint32_t OutlineMerger::Holder(uint32_t id) {
    uint32_t holder = id;
    while (pieces_[holder].absorber != holder) {
        holder = pieces_[holder].absorber;
    }
    while (pieces_[id].absorber != holder) {
        id = std::exchange(pieces_[id].absorber, holder);
    }
    return holder;
}

std::optional<Match> OutlineMerger::MatchOn(std::span<const SeamPoint> outline, SeamPoint a, SeamPoint b) const {
    if (rules_.reversePartner) {
        return FirstSharedEdge(outline, a, b);
    }
    if (const auto m = FindForwardEdge(outline, a, b)) {
        return Match{0, Along::Forward, *m};
    }
    if (const auto t = FindBackwardAnchor(outline, a, b)) {
        return Match{0, Along::Backward, *t};
    }
    return std::nullopt;
}

std::optional<Match> OutlineMerger::FindPartner(uint32_t id, SeamPoint a, SeamPoint b) {
    const Piece& piece1 = pieces_[id];
    std::optional<Match> best;
    // Any other member may be the partner, before or after art1: the one
    // first in working-set order wins.
    edges_.Visit(KeyOf(a, b), [&](uint32_t entry) {
        const uint32_t q = Holder(entry);
        if (q == id || (best && q >= best->partner)) {
            return true;
        }
        const Piece& piece2 = pieces_[q];
        std::optional<Match> match = MatchOn(OutlineOf(q), a, b);
        if (!match) {
            return false;
        }
        if (int(piece1.count) + int(piece2.count) > kMaxSpliceSegments) {
            return true;
        }
        if (rules_.comparePathStyles && !SamePathStyle(styles_[piece1.pathStyle], styles_[piece2.pathStyle])) {
            return true;
        }
        if (!SameArtStyle(piece1.artStyle, piece2.artStyle)) {
            return true;
        }
        match->partner = q;
        best = match;
        return true;
    });
    return best;
}

void OutlineMerger::Reread(uint32_t id) {
    ReadSegments(pieces_[id].art, segments_);
    outline_.clear();
    AppendOutline(segments_, outline_);
    SetOutline(id, outline_);
    Relist(id, Fresh::AllEdges);
}

void OutlineMerger::Relist(uint32_t id, Fresh fresh) {
    ForEachSeamEdge(grid_, OutlineOf(id), [&](SeamPoint a, SeamPoint b) {
        if (fresh == Fresh::AllEdges || a == b) {
            edges_.Add(KeyOf(a, b), id);
        }
    });
}

// Moves the other members of art2's compound path (its holes) into art1's,
// making one around art1 when it has none.
void CarryHoles(AIArtHandle art1, AIArtHandle art2) {
    AIArtHandle parent2 = nullptr;
    sAIArt->GetArtParent(art2, &parent2);
    if (parent2 == nullptr || ArtType(parent2) != kCompoundPathArt) {
        return;
    }
    for (AIArtHandle child : Members(parent2)) {
        AIBoolean equal = false;
        sAIArt->ArtsHaveEqualPaths(art2, child, &equal);
        if (!equal) {
            sAIArt->ReorderArt(child, kPlaceAbove, parent2);
            AIArtHandle parent1 = nullptr;
            sAIArt->GetArtParent(art1, &parent1);
            if (parent1 != nullptr && ArtType(parent1) == kCompoundPathArt) {
                sAIArt->ReorderArt(child, kPlaceInsideOnBottom, parent1);
            } else {
                AIArtHandle compound = nullptr;
                sAIArt->NewArt(kCompoundPathArt, kPlaceAbove, art1, &compound);
                if (compound != nullptr) {
                    sAIArt->ReorderArt(art1, kPlaceInsideOnBottom, compound);
                    sAIArt->ReorderArt(child, kPlaceInsideOnBottom, compound);
                }
            }
        }
    }
}

bool OutlineMerger::Merge(uint32_t id, std::size_t n, SeamPoint a, SeamPoint b, const Match& found) {
    const uint32_t partner = found.partner;
    auto readPartner = [&] {
        ReadSegments(pieces_[partner].art, segments_);
        outline_.clear();
        AppendOutline(segments_, outline_);
    };
    readPartner();
    std::optional<Match> match = MatchOn(outline_, a, b);
    if (match && match->along == Along::Reverse) {
        sAIPath->ReversePathSegments(pieces_[partner].art);
        readPartner();
        // Only the forward run counts now: a ring that has the edge both ways
        // would otherwise be reversed back and forth for ever.
        const auto m = FindForwardEdge(outline_, a, b);
        match = m ? std::optional<Match>(Match{partner, Along::Forward, *m}) : std::nullopt;
    }
    if (!match) {
        SetOutline(partner, outline_);
        return false;
    }
    const AIArtHandle art1 = pieces_[id].art;
    const AIArtHandle art2 = pieces_[partner].art;
    const std::size_t count1 = pieces_[id].count;
    const std::size_t count2 = segments_.size();
    const std::vector<std::size_t> order =
        match->along == Along::Forward ? ForwardSpliceOrder(count2, match->at) : BackwardSpliceOrder(count2, match->at);
    std::size_t inserted = 0;
    for (std::size_t k : order) {
        if (sAIPath->InsertPathSegments(art1, int16_t(n), 1, &segments_[k]) == kNoErr) ++inserted;
    }
    // The partner goes only once all of its segments are in art1; otherwise
    // whatever was inserted is taken out again and both pieces stay. What was
    // inserted is counted here: a count the host cannot give is no guide.
    const std::size_t merged = std::size_t(SegmentCount(art1));
    if (inserted != count2 || merged != count1 + count2) {
        if (inserted > 0) {
            sAIPath->DeletePathSegments(art1, int16_t(n + 1), int16_t(inserted));
        }
        SetOutline(partner, outline_);
        Reread(id);
        return false;
    }
    if (rules_.carryHoles) {
        CarryHoles(art1, art2);
    }
    DisposePiece(art2);
    pieces_[partner].alive = false;
    pieces_[partner].count = 0;
    pieces_[partner].absorber = id;
    // art1's outline is known without asking the host again; the count tells
    // whether the host did all that was asked.
    SpliceAfter(OutlineOf(id), n, outline_, order, spliced_);
    if (RemoveDoubledPoints(art1, spliced_) && std::size_t(SegmentCount(art1)) == spliced_.size()) {
        SetOutline(id, spliced_);
        Relist(id, Fresh::ZeroLengthEdges);
    } else {
        Reread(id);
    }
    return true;
}

void OutlineMerger::Run(MergeProgress& progress) {
    uint32_t id = 0;
    while (id < pieces_.size()) {
        if (!pieces_[id].alive) {
            ++id;
            continue;
        }
        progress.SetPosition(int32_t(id + 1));
        bool merged = false;
        bool partnerBefore = false;
        const std::size_t count1 = pieces_[id].count;
        for (std::size_t n = 0; n < count1; ++n) {
            const SeamPoint a = OutlineOf(id)[n];
            const SeamPoint b = OutlineOf(id)[(n + 1) % count1];
            if (!OnSeamEdge(grid_, a, b)) {
                continue;
            }
            if (const std::optional<Match> match = FindPartner(id, a, b)) {
                partnerBefore = match->partner < id;
                merged = Merge(id, n, a, b, *match);
                break;
            }
        }
        // After a merge art1 is tried again, unless its partner was listed
        // before it: then the next member has moved into art1's place.
        if (merged && !partnerBefore) {
            continue;
        }
        ++id;
    }
}

}  // namespace

int MergeOutlines(AILayerHandle layer, const SeamGrid& grid, const OutlineRules& rules, MergeProgress& progress) {
    OutlineMerger merger(grid, rules);
    merger.Collect(LayerArt(layer));
    if (!merger.Empty()) {
        ShowJoinProgress(progress, rules.caption, layer, merger.Count());
        merger.Run(progress);
        progress.SetPosition(int32_t(merger.Count()));
    }
    return 1;
}

}  // namespace seamjoin::detail
