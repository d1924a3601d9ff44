#include "SeamOutlines.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

#include "SeamJoin.h"
#include "SeamWork.h"
#include "Suites.h"

namespace seamjoin::detail {

namespace {

// count1 + count2 at most: the merged outline keeps at most 20000 anchors
// once the two doubled ones are gone, inside the host's 16-bit counts.
constexpr int kMaxSpliceSegments = 20002;

// A seam edge without its direction.
struct EdgeKey {
    SeamPoint low;
    SeamPoint high;
    friend bool operator==(const EdgeKey&, const EdgeKey&) = default;
};

EdgeKey KeyOf(SeamPoint a, SeamPoint b)
{
    const bool aFirst = a.x < b.x || (a.x == b.x && a.y <= b.y);
    return aFirst ? EdgeKey{a, b} : EdgeKey{b, a};
}

struct EdgeKeyHash {
    std::size_t operator()(const EdgeKey& key) const noexcept
    {
        const std::size_t h = std::hash<SeamPoint>()(key.low);
        return h ^ (std::hash<SeamPoint>()(key.high) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
    }
};

struct Piece {
    AIArtHandle art = nullptr;
    AIArtStyleHandle artStyle = nullptr;
    uint32_t pathStyle = 0;  // into the merger's PathStyles, rings only
    std::vector<SeamPoint> outline;
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
std::optional<Match> FirstSharedEdge(const std::vector<SeamPoint>& outline, SeamPoint a, SeamPoint b)
{
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
    void Run();

private:
    std::optional<Match> MatchOn(const std::vector<SeamPoint>& outline, SeamPoint a, SeamPoint b) const;
    std::optional<Match> FindPartner(uint32_t id, SeamPoint a, SeamPoint b);
    bool Merge(uint32_t id, std::size_t n, SeamPoint a, SeamPoint b, const Match& match);
    void Index(uint32_t id, bool fresh);
    void Reread(uint32_t id);

    const SeamGrid& grid_;
    const OutlineRules& rules_;
    PathStyles styles_;
    std::vector<Piece> pieces_;
    // Pieces listed under each seam edge of their outlines. Entries go stale
    // when an outline changes; they are checked against the outline and
    // dropped when met.
    std::unordered_map<EdgeKey, std::vector<uint32_t>, EdgeKeyHash> edges_;
};

void OutlineMerger::Collect(const std::vector<AIArtHandle>& arts)
{
    pieces_.reserve(arts.size());
    for (AIArtHandle art : arts) {
        // Compound paths stay out: faces by rule, and rings because a compound
        // path answers through its first member, which takes part on its own.
        if (ArtType(art) != kPathArt || !IsClosed(art) || HasFill(art) != rules_.filled) {
            continue;
        }
        std::vector<SeamPoint> outline = Outline(ReadSegments(art));
        if (!HasSeamEdge(grid_, outline)) {
            continue;
        }
        Piece piece;
        piece.art = art;
        piece.outline = std::move(outline);
        piece.artStyle = ReadArtStyle(art);
        if (rules_.comparePathStyles) {
            piece.pathStyle = styles_.Add(ReadPathStyle(art));
        }
        pieces_.push_back(std::move(piece));
    }
    edges_.reserve(pieces_.size() * 2);
    for (uint32_t id = 0; id < pieces_.size(); ++id) {
        Index(id, true);
    }
}

void OutlineMerger::Index(uint32_t id, bool fresh)
{
    const std::vector<SeamPoint>& outline = pieces_[id].outline;
    const std::size_t count = outline.size();
    for (std::size_t k = 0; k < count; ++k) {
        const SeamPoint a = outline[k];
        const SeamPoint b = outline[(k + 1) % count];
        if (!OnSeamEdgeSplice(grid_, a, b)) {
            continue;
        }
        std::vector<uint32_t>& ids = edges_[KeyOf(a, b)];
        // While the index is built, a piece's entries are the last ones made.
        const bool listed = fresh ? (!ids.empty() && ids.back() == id)
                                  : std::find(ids.begin(), ids.end(), id) != ids.end();
        if (!listed) {
            ids.push_back(id);
        }
    }
}

std::optional<Match> OutlineMerger::MatchOn(const std::vector<SeamPoint>& outline, SeamPoint a, SeamPoint b) const
{
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

std::optional<Match> OutlineMerger::FindPartner(uint32_t id, SeamPoint a, SeamPoint b)
{
    const auto it = edges_.find(KeyOf(a, b));
    if (it == edges_.end()) {
        return std::nullopt;
    }
    std::vector<uint32_t>& ids = it->second;
    const Piece& piece1 = pieces_[id];
    std::optional<Match> best;
    // Any other member may be the partner, before or after art1: the one
    // first in working-set order wins.
    for (std::size_t k = 0; k < ids.size();) {
        const uint32_t q = ids[k];
        const Piece& piece2 = pieces_[q];
        if (q == id || (best && q >= best->partner)) {
            ++k;
            continue;
        }
        std::optional<Match> match = piece2.alive ? MatchOn(piece2.outline, a, b) : std::nullopt;
        if (!match) {
            ids[k] = ids.back();
            ids.pop_back();
            continue;
        }
        ++k;
        if (int(piece1.outline.size()) + int(piece2.outline.size()) > kMaxSpliceSegments) {
            continue;
        }
        if (rules_.comparePathStyles && !SamePathStyle(styles_[piece1.pathStyle], styles_[piece2.pathStyle])) {
            continue;
        }
        if (!SameArtStyle(piece1.artStyle, piece2.artStyle)) {
            continue;
        }
        match->partner = q;
        best = match;
    }
    return best;
}

void OutlineMerger::Reread(uint32_t id)
{
    pieces_[id].outline = Outline(ReadSegments(pieces_[id].art));
    Index(id, false);
}

// Moves the other members of art2's compound path (its holes) into art1's,
// making one around art1 when it has none.
void CarryHoles(AIArtHandle art1, AIArtHandle art2)
{
    AIArtHandle parent2 = nullptr;
    sAIArt->GetArtParent(art2, &parent2);
    if (parent2 == nullptr || ArtType(parent2) != kCompoundPathArt) {
        return;
    }
    AIArtHandle child = nullptr;
    sAIArt->GetArtFirstChild(parent2, &child);
    while (child != nullptr) {
        AIArtHandle next = nullptr;
        sAIArt->GetArtSibling(child, &next);
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
        child = next;
    }
}

bool OutlineMerger::Merge(uint32_t id, std::size_t n, SeamPoint a, SeamPoint b, const Match& found)
{
    Piece& piece1 = pieces_[id];
    Piece& piece2 = pieces_[found.partner];
    std::vector<AIPathSegment> segments2 = ReadSegments(piece2.art);
    std::vector<SeamPoint> outline2 = Outline(segments2);
    std::optional<Match> match = MatchOn(outline2, a, b);
    if (match && match->along == Along::Reverse) {
        sAIPath->ReversePathSegments(piece2.art);
        segments2 = ReadSegments(piece2.art);
        outline2 = Outline(segments2);
        // Only the forward run counts now: a ring that has the edge both ways
        // would otherwise be reversed back and forth for ever.
        const auto m = FindForwardEdge(outline2, a, b);
        match = m ? std::optional<Match>(Match{found.partner, Along::Forward, *m}) : std::nullopt;
    }
    if (!match) {
        piece2.outline = std::move(outline2);
        return false;
    }
    const std::size_t count1 = piece1.outline.size();
    const std::size_t count2 = segments2.size();
    const std::vector<std::size_t> order = match->along == Along::Forward ? ForwardSpliceOrder(count2, match->at)
                                                                         : BackwardSpliceOrder(count2, match->at);
    for (std::size_t k : order) {
        sAIPath->InsertPathSegments(piece1.art, int16_t(n), 1, &segments2[k]);
    }
    // The partner goes only once all of its segments are in art1; otherwise
    // whatever was inserted is taken out again and both pieces stay.
    const std::size_t merged = std::size_t(SegmentCount(piece1.art));
    if (merged != count1 + count2) {
        if (merged > count1) {
            sAIPath->DeletePathSegments(piece1.art, int16_t(n + 1), int16_t(merged - count1));
        }
        piece2.outline = std::move(outline2);
        Reread(id);
        return false;
    }
    if (rules_.carryHoles) {
        CarryHoles(piece1.art, piece2.art);
    }
    sAIArt->DisposeArt(piece2.art);
    piece2.alive = false;
    piece2.outline = {};
    RemoveDoubledPoints(piece1.art);
    Reread(id);
    return true;
}

void OutlineMerger::Run()
{
    uint32_t id = 0;
    while (id < pieces_.size()) {
        if (!pieces_[id].alive) {
            ++id;
            continue;
        }
        bool merged = false;
        bool partnerBefore = false;
        const std::size_t count1 = pieces_[id].outline.size();
        for (std::size_t n = 0; n < count1; ++n) {
            const SeamPoint a = pieces_[id].outline[n];
            const SeamPoint b = pieces_[id].outline[(n + 1) % count1];
            if (!OnSeamEdgeSplice(grid_, a, b)) {
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

int MergeOutlines(AILayerHandle layer, const SeamGrid& grid, const OutlineRules& rules)
{
    OutlineMerger merger(grid, rules);
    merger.Collect(LayerArt(layer));
    if (!merger.Empty()) {
        merger.Run();
    }
    return 1;
}

}  // namespace seamjoin::detail
