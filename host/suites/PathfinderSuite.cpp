// Area booleans for the pathfinder suite. Geometry goes to Clipper in integer units, so straight
// edges and the points where they meet stay exact; curves are flattened only to take part in a
// boolean, and a contour that comes out of the boolean unchanged gets its own segments back,
// curves and all.
#include "suites/PathfinderSuite.h"

#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <cmath>
#include <map>
#include <new>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/Guard.h"
#include "core/SuiteRegistry.h"
#include "model/Art.h"
#include "model/ArtStyle.h"
#include "model/Document.h"
#include "model/Workspace.h"
#include "suites/SuiteContext.h"

namespace quiltor::host {
namespace {

using ClipperLib::cInt;
using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;
using ClipperLib::PolyNode;
using ClipperLib::PolyTree;

// 2^16 units per point: a float coordinate of 128 pt or more converts exactly, and the frame of the
// adjust run (±16383 pt) stays inside Clipper's fast integer range.
constexpr double kUnitsPerPoint = 65536.0;
// Coordinates beyond this are refused rather than risk overflow inside Clipper.
constexpr double kMaxCoordinate = 1.0e7;
// How far a flattened curve may stray from the curve, in points.
constexpr double kFlatness = 0.005;
constexpr int kMaxCurveSteps = 4096;

cInt ToUnits(double v) { return static_cast<cInt>(std::llround(v * kUnitsPerPoint)); }
AIReal ToPoints(cInt v) { return static_cast<AIReal>(static_cast<double>(v) / kUnitsPerPoint); }

bool Usable(const AIRealPoint& p) {
    return std::isfinite(p.h) && std::isfinite(p.v) && std::fabs(p.h) <= kMaxCoordinate &&
           std::fabs(p.v) <= kMaxCoordinate;
}

bool UsableGeometry(const Art* root) {
    for (const Art* a = root; a; a = NextInPreorder(a, root)) {
        for (const AIPathSegment& s : a->segments) {
            if (!Usable(s.p) || !Usable(s.in) || !Usable(s.out)) return false;
        }
    }
    return true;
}

bool SamePoint(const AIRealPoint& a, const AIRealPoint& b) { return a.h == b.h && a.v == b.v; }

bool IsStraight(const AIPathSegment& from, const AIPathSegment& to) {
    return SamePoint(from.out, from.p) && SamePoint(to.in, to.p);
}

// The points strictly between the two anchors of a cubic curve, evenly spaced in t. The step
// count bounds the distance to the curve by kFlatness (from the second differences of the
// control polygon).
void AppendCurve(const AIPathSegment& a, const AIPathSegment& b, Path& out) {
    const double x0 = a.p.h, y0 = a.p.v, x1 = a.out.h, y1 = a.out.v;
    const double x2 = b.in.h, y2 = b.in.v, x3 = b.p.h, y3 = b.p.v;
    const double d1 = std::hypot(x0 - 2 * x1 + x2, y0 - 2 * y1 + y2);
    const double d2 = std::hypot(x1 - 2 * x2 + x3, y1 - 2 * y2 + y3);
    const double steps = std::ceil(std::sqrt(0.75 * std::max(d1, d2) / kFlatness));
    const int n = static_cast<int>(std::clamp(steps, 1.0, static_cast<double>(kMaxCurveSteps)));
    for (int i = 1; i < n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double u = 1 - t;
        const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
        out.push_back(
            IntPoint(ToUnits(w0 * x0 + w1 * x1 + w2 * x2 + w3 * x3), ToUnits(w0 * y0 + w1 * y1 + w2 * y2 + w3 * y3)));
    }
}

// The ring a path encloses. An open path encloses what its straight closing edge would.
Path Flatten(const Art* path) {
    Path ring;
    const auto& s = path->segments;
    const size_t n = s.size();
    for (size_t i = 0; i < n; ++i) {
        ring.push_back(IntPoint(ToUnits(s[i].p.h), ToUnits(s[i].p.v)));
        const size_t j = i + 1 < n ? i + 1 : 0;
        if (j == 0 && !path->closed) break;
        if (n > 1 && !IsStraight(s[i], s[j])) AppendCurve(s[i], s[j], ring);
    }
    Path clean;
    for (const IntPoint& p : ring) {
        if (clean.empty() || !(clean.back() == p)) clean.push_back(p);
    }
    while (clean.size() > 1 && clean.front() == clean.back()) clean.pop_back();
    return clean;
}

// ---------------------------------------------------------------- contours that come out unchanged

using RingKey = std::vector<std::pair<cInt, cInt>>;

// The same key for a ring whatever its first point and direction.
RingKey KeyOf(const Path& ring) {
    RingKey key;
    if (ring.empty()) return key;
    size_t start = 0;
    for (size_t i = 1; i < ring.size(); ++i) {
        if (ring[i].X < ring[start].X || (ring[i].X == ring[start].X && ring[i].Y < ring[start].Y)) start = i;
    }
    const bool forward = ClipperLib::Orientation(ring);
    const size_t n = ring.size();
    key.reserve(n);
    for (size_t k = 0; k < n; ++k) {
        const size_t i = forward ? (start + k) % n : (start + n - k) % n;
        key.emplace_back(ring[i].X, ring[i].Y);
    }
    return key;
}

struct SourceContour {
    const Art* path;
    bool positive;  // orientation of its flattened ring
};

// Input contours by the shape of their flattened rings.
class Sources {
public:
    void add(const Art* path, const Path& ring) {
        if (ring.size() < 3) return;
        byKey_.emplace(KeyOf(ring), SourceContour{path, ClipperLib::Orientation(ring)});
    }
    const SourceContour* find(const Path& ring) const {
        auto found = byKey_.find(KeyOf(ring));
        return found == byKey_.end() ? nullptr : &found->second;
    }

private:
    std::map<RingKey, SourceContour> byKey_;
};

std::vector<AIPathSegment> Reversed(std::vector<AIPathSegment> segments) {
    std::reverse(segments.begin(), segments.end());
    for (AIPathSegment& s : segments) std::swap(s.in, s.out);
    return segments;
}

// b lies on the straight way from a to c: dropping it changes nothing.
bool Redundant(const IntPoint& a, const IntPoint& b, const IntPoint& c) {
    const __int128 cross =
        static_cast<__int128>(b.X - a.X) * (c.Y - b.Y) - static_cast<__int128>(b.Y - a.Y) * (c.X - b.X);
    if (cross != 0) return false;
    const __int128 dot =
        static_cast<__int128>(b.X - a.X) * (c.X - b.X) + static_cast<__int128>(b.Y - a.Y) * (c.Y - b.Y);
    return dot > 0;
}

Path WithoutRedundantPoints(Path ring) {
    bool removed = true;
    while (removed && ring.size() > 3) {
        removed = false;
        for (size_t i = 0; i < ring.size() && ring.size() > 3; ++i) {
            const size_t n = ring.size();
            if (Redundant(ring[(i + n - 1) % n], ring[i], ring[(i + 1) % n])) {
                ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(i));
                removed = true;
                --i;
            }
        }
    }
    return ring;
}

std::vector<AIPathSegment> SegmentsOf(const Path& ring, const Sources& sources, bool removeRedundant) {
    if (const SourceContour* source = sources.find(ring)) {
        const bool positive = ClipperLib::Orientation(ring);
        return positive == source->positive ? source->path->segments : Reversed(source->path->segments);
    }
    const Path points = removeRedundant ? WithoutRedundantPoints(ring) : ring;
    std::vector<AIPathSegment> segments;
    segments.reserve(points.size());
    for (const IntPoint& p : points) {
        const AIRealPoint anchor{ToPoints(p.X), ToPoints(p.Y)};
        segments.push_back(AIPathSegment{anchor, anchor, anchor, 1});
    }
    return segments;
}

// ---------------------------------------------------------------- areas

ClipperLib::PolyFillType FillRule(const Art* art) {
    return art->style && art->style->pathStyle().evenodd ? ClipperLib::pftEvenOdd : ClipperLib::pftNonZero;
}

Paths Normalized(const Paths& rings, ClipperLib::PolyFillType rule) {
    ClipperLib::Clipper clipper;
    clipper.PreserveCollinear(true);
    clipper.AddPaths(rings, ClipperLib::ptSubject, true);
    Paths out;
    clipper.Execute(ClipperLib::ctUnion, out, rule, rule);
    return out;
}

// What the art covers, as rings that agree under the non-zero rule. Paths and compound paths
// follow their own fill rule; a group covers what its members cover.
Paths AreaOf(const Art* art, Sources& sources) {
    Paths rings;
    if (art->type == kPathArt || art->type == kCompoundPathArt) {
        auto take = [&](const Art* path) {
            Path ring = Flatten(path);
            sources.add(path, ring);
            if (ring.size() >= 3) rings.push_back(std::move(ring));
        };
        if (art->type == kPathArt) take(art);
        for (const Art* member = art->type == kCompoundPathArt ? art->firstChild : nullptr; member;
             member = member->next) {
            if (member->type == kPathArt) take(member);
        }
        return Normalized(rings, FillRule(art));
    }
    for (const Art* member = art->firstChild; member; member = member->next) {
        Paths area = AreaOf(member, sources);
        rings.insert(rings.end(), area.begin(), area.end());
    }
    return Normalized(rings, ClipperLib::pftNonZero);
}

// An outer ring with its holes; the islands inside the holes are pieces of their own.
struct Piece {
    std::vector<std::vector<AIPathSegment>> contours;  // outer first
};

void CollectPieces(const PolyNode& node, const Sources& sources, bool removeRedundant, std::vector<Piece>& out) {
    for (const PolyNode* child : node.Childs) {
        if (child->IsHole()) {
            CollectPieces(*child, sources, removeRedundant, out);
            continue;
        }
        Piece piece;
        piece.contours.push_back(SegmentsOf(child->Contour, sources, removeRedundant));
        for (const PolyNode* hole : child->Childs) {
            piece.contours.push_back(SegmentsOf(hole->Contour, sources, removeRedundant));
        }
        out.push_back(std::move(piece));
        for (const PolyNode* hole : child->Childs) CollectPieces(*hole, sources, removeRedundant, out);
    }
}

// ---------------------------------------------------------------- the document

Document* CurrentDocument() { return RunningHost() ? RunningHost()->workspace.currentDocument() : nullptr; }

bool Inside(const Art* art, const Art* container) {
    for (const Art* a = art->parent; a; a = a->parent) {
        if (a == container) return true;
    }
    return false;
}

bool TakesPart(const Art* art) {
    if (art->type == kPathArt || art->type == kCompoundPathArt) return true;
    if (art->type != kGroupArt) return false;
    for (const Art* member = art->firstChild; member; member = member->next) {
        if (!TakesPart(member)) return false;
    }
    return true;
}

// Where the art stands in the paint order, frontmost smallest: the layer's place among layers,
// its own art before its sublayers, then the art's place inside the layer.
std::vector<int64_t> PaintKey(const Art* art) {
    std::vector<int64_t> artPart;
    const Art* top = art;
    for (; top->parent; top = top->parent) {
        int64_t index = 0;
        for (const Art* a = top->prev; a; a = a->prev) ++index;
        artPart.push_back(index);
    }
    std::vector<int64_t> layerPart;
    for (const Layer* layer = top->ownerLayer; layer; layer = layer->parent) {
        int64_t index = 0;
        for (const Layer* l = layer->prev; l; l = l->prev) ++index;
        layerPart.push_back(index + 1);
    }
    std::vector<int64_t> key(layerPart.rbegin(), layerPart.rend());
    key.push_back(0);
    key.insert(key.end(), artPart.rbegin(), artPart.rend());
    return key;
}

ArtStyle* PieceStyle(const Art* front) {
    for (const Art* a = front; a; a = NextInPreorder(a, front)) {
        if (a->type == kPathArt || a->type == kCompoundPathArt) return a->style;
    }
    return front->style;
}

// Fills arts with the live art the data names, or answers why not.
AIErr Resolve(const AIPathfinderData* data, Document* document, std::vector<Art*>& arts) {
    if (!document) return kNoDocumentErr;
    if (!data || !data->fSelectedArt || data->fSelectedArtCount < 1) return kBadParameterErr;
    std::unordered_set<const Art*> seen;
    for (int32_t i = 0; i < data->fSelectedArtCount; ++i) {
        Art* art = document->findArt(data->fSelectedArt[i]);
        if (!art || !art->parent || !seen.insert(art).second) return kBadParameterErr;
        if (!UsableGeometry(art)) return kBadParameterErr;
        arts.push_back(art);
    }
    for (const Art* a : arts) {
        for (const Art* b : arts) {
            if (a != b && Inside(a, b)) return kBadParameterErr;
        }
    }
    return kNoErr;
}

Art* NewPath(Document& document, const Place& place, std::vector<AIPathSegment> segments) {
    Art* path = document.newArt(kPathArt, place);
    if (!path) return nullptr;
    path->segments = std::move(segments);
    path->closed = true;
    return path;
}

AIErr DoExcludeEffect(AIPathfinderData* data) {
    return Guarded([&]() -> AIErr {
        Document* document = CurrentDocument();
        std::vector<Art*> arts;
        if (AIErr error = Resolve(data, document, arts)) return error;
        for (const Art* art : arts) {
            if (art->type != kCompoundPathArt) return kBadParameterErr;
        }
        std::vector<std::vector<Piece>> results;
        std::vector<Sources> sources(arts.size());
        for (size_t i = 0; i < arts.size(); ++i) {
            Paths rings;
            for (const Art* member = arts[i]->firstChild; member; member = member->next) {
                Path ring = Flatten(member);
                sources[i].add(member, ring);
                if (ring.size() >= 3) rings.push_back(std::move(ring));
            }
            ClipperLib::Clipper clipper;
            clipper.PreserveCollinear(true);
            clipper.AddPaths(rings, ClipperLib::ptSubject, true);
            PolyTree tree;
            clipper.Execute(ClipperLib::ctUnion, tree, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
            std::vector<Piece> pieces;
            CollectPieces(tree, sources[i], data->fOptions.removeRedundantPoints != 0, pieces);
            if (pieces.empty()) return kEmptyResultErr;
            results.push_back(std::move(pieces));
        }
        // Nothing changes until every result is known.
        for (size_t i = 0; i < arts.size(); ++i) {
            Art* compound = arts[i];
            ArtStyle* style = compound->style;
            std::vector<Art*> old;
            for (Art* member = compound->firstChild; member; member = member->next) old.push_back(member);
            for (Art* member : old) document->disposeArt(member);
            for (Piece& piece : results[i]) {
                for (auto& contour : piece.contours) NewPath(*document, Place{compound, nullptr}, std::move(contour));
            }
            document->setArtStyle(compound, style);
        }
        return kNoErr;
    });
}

AIErr DoBackMinusFrontEffect(AIPathfinderData* data) {
    return Guarded([&]() -> AIErr {
        Document* document = CurrentDocument();
        std::vector<Art*> arts;
        if (AIErr error = Resolve(data, document, arts)) return error;
        if (arts.size() < 2) return kBadParameterErr;
        for (const Art* art : arts) {
            if (!TakesPart(art)) return kBadParameterErr;
        }
        std::vector<std::pair<std::vector<int64_t>, Art*>> order;
        for (Art* art : arts) order.emplace_back(PaintKey(art), art);
        std::sort(order.begin(), order.end());
        Art* front = order.front().second;
        if (front->parent->type == kCompoundPathArt) return kBadParameterErr;

        Sources sources;
        const Paths frontArea = AreaOf(front, sources);
        Paths behind;
        for (size_t i = 1; i < order.size(); ++i) {
            Paths area = AreaOf(order[i].second, sources);
            behind.insert(behind.end(), area.begin(), area.end());
        }
        ClipperLib::Clipper clipper;
        clipper.PreserveCollinear(true);
        clipper.AddPaths(frontArea, ClipperLib::ptSubject, true);
        clipper.AddPaths(behind, ClipperLib::ptClip, true);
        PolyTree tree;
        clipper.Execute(ClipperLib::ctDifference, tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
        std::vector<Piece> pieces;
        CollectPieces(tree, sources, data->fOptions.removeRedundantPoints != 0, pieces);

        ArtStyle* style = PieceStyle(front);
        const Place place{front->parent, front};
        for (Piece& piece : pieces) {
            if (piece.contours.size() == 1) {
                if (Art* path = NewPath(*document, place, std::move(piece.contours.front())))
                    document->setArtStyle(path, style);
                continue;
            }
            Art* compound = document->newArt(kCompoundPathArt, place);
            if (!compound) continue;
            for (auto& contour : piece.contours) NewPath(*document, Place{compound, nullptr}, std::move(contour));
            document->setArtStyle(compound, style);
        }
        for (Art* art : arts) document->disposeArt(art);
        return pieces.empty() ? kEmptyResultErr : kNoErr;
    });
}

const AIPathfinderSuite kPathfinder = {DoExcludeEffect, DoBackMinusFrontEffect};

}  // namespace

void RegisterPathfinderSuite(SuiteRegistry& registry) {
    registry.add(kAIPathfinderSuite, kAIPathfinderSuiteVersion, kPathfinder);
}

}  // namespace quiltor::host
