#include "PlainSeamLoops.h"

#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "SeamJoin.h"
#include "Suites.h"

namespace plainseam {

namespace {

// Units and seam tests (below) of their own, written down as the rules read,
// so that a fault in the plug-in's faster versions shows as a difference.
int32_t Hundredths(double pt) {
    const double v = pt * 25.4 / 72.0 * 100.0;
    return int32_t(v < 0 ? -std::trunc(-v + 0.5) : std::trunc(v + 0.5));
}

SeamPoint SeamOf(const AIPathSegment& s) { return {Hundredths(s.p.h), Hundredths(s.p.v)}; }

int32_t Count(AIArtSet set) {
    int32_t count = 0;
    sAIArtSet->CountArtSet(set, &count);
    return count;
}

AIArtHandle Member(AIArtSet set, int32_t index) {
    AIArtHandle art = nullptr;
    if (sAIArtSet->IndexArtSet(set, index, &art) != kNoErr) {
        return nullptr;
    }
    return art;
}

int16_t Type(AIArtHandle art) {
    int16_t type = kUnknownArt;
    sAIArt->GetArtType(art, &type);
    return type;
}

bool Closed(AIArtHandle art) {
    AIBoolean closed = false;
    sAIPath->GetPathClosed(art, &closed);
    return closed != 0;
}

bool Filled(AIArtHandle art) {
    AIBoolean filled = false;
    sAIArt->ArtHasFill(art, &filled);
    return filled != 0;
}

int16_t Segments(AIArtHandle art) {
    int16_t count = 0;
    sAIPath->GetPathSegmentCount(art, &count);
    return count;
}

std::vector<AIPathSegment> All(AIArtHandle art) {
    std::vector<AIPathSegment> segments(std::size_t(Segments(art)));
    if (!segments.empty()) {
        sAIPath->GetPathSegments(art, 0, int16_t(segments.size()), segments.data());
    }
    return segments;
}

AIPathSegment One(AIArtHandle art, int16_t index) {
    AIPathSegment segment{};
    sAIPath->GetPathSegments(art, index, 1, &segment);
    return segment;
}

AIPathStyle PathStyle(AIArtHandle art) {
    AIPathStyle style{};
    sAIPathStyle->GetPathStyle(art, &style);
    return style;
}

AIArtStyleHandle ArtStyle(AIArtHandle art) {
    AIArtStyleHandle style = nullptr;
    sAIArtStyle->GetArtStyle(art, &style);
    return style;
}

bool SameArtStyles(AIArtHandle a, AIArtHandle b) {
    AIBoolean same = false;
    sAIArtStyle->CompareArtStyles(ArtStyle(a), ArtStyle(b), &same);
    return same != 0;
}

bool HasCandidateEdge(const SeamGrid& grid, const std::vector<AIPathSegment>& s) {
    for (std::size_t k = 0; k < s.size(); ++k) {
        if (AlongSeam(grid, SeamOf(s[k]), SeamOf(s[(k + 1) % s.size()]))) {
            return true;
        }
    }
    return false;
}

// Deletes a piece now part of another path, and the compound path it leaves
// without members.
void Delete(AIArtHandle art) {
    AIArtHandle parent = nullptr;
    sAIArt->GetArtParent(art, &parent);
    sAIArt->DisposeArt(art);
    if (parent != nullptr && Type(parent) == kCompoundPathArt) {
        AIArtHandle member = nullptr;
        sAIArt->GetArtFirstChild(parent, &member);
        if (member == nullptr) {
            sAIArt->DisposeArt(parent);
        }
    }
}

// Inserts all of art2's segments, one at a time and each directly after
// anchor n of art1, walking art2 round from `start` in steps of `step`.
void InsertRound(AIArtHandle art1, int16_t n, const std::vector<AIPathSegment>& s2, int start, int step) {
    const int count2 = int(s2.size());
    for (int i = 0; i < count2; ++i) {
        const int k = ((start + step * i) % count2 + count2) % count2;
        sAIPath->InsertPathSegments(art1, n, 1, &s2[std::size_t(k)]);
    }
}

// The holes of art2 (the other members of its compound path) leave it one by
// one, in their order, for the bottom of art1's compound path, made around
// art1 when art1 is in none.
void CarryHoles(AIArtHandle art1, AIArtHandle art2) {
    AIArtHandle parent2 = nullptr;
    sAIArt->GetArtParent(art2, &parent2);
    if (parent2 == nullptr || Type(parent2) != kCompoundPathArt) {
        return;
    }
    std::vector<AIArtHandle> holes;
    AIArtHandle member = nullptr;
    for (sAIArt->GetArtFirstChild(parent2, &member); member != nullptr; sAIArt->GetArtSibling(member, &member)) {
        AIBoolean same = false;
        sAIArt->ArtsHaveEqualPaths(art2, member, &same);
        if (!same) {
            holes.push_back(member);
        }
    }
    for (AIArtHandle hole : holes) {
        sAIArt->ReorderArt(hole, kPlaceAbove, parent2);
        AIArtHandle target = nullptr;
        sAIArt->GetArtParent(art1, &target);
        if (target == nullptr || Type(target) != kCompoundPathArt) {
            target = nullptr;
            sAIArt->NewArt(kCompoundPathArt, kPlaceAbove, art1, &target);
            sAIArt->ReorderArt(art1, kPlaceInsideOnBottom, target);
        }
        sAIArt->ReorderArt(hole, kPlaceInsideOnBottom, target);
    }
}

// Outlines: filled faces, or unfilled rings.
int Outlines(AILayerHandle layer, const SeamGrid& grid, bool rings) {
    AIArtSet set = nullptr;
    sAIArtSet->NewArtSet(&set);
    sAIArtSet->LayerArtSet(layer, set);
    if (Count(set) == 0) {
        sAIArtSet->DisposeArtSet(&set);
        return 1;
    }
    for (int32_t i = 0; i < Count(set);) {
        AIArtHandle art = Member(set, i);
        if (art == nullptr) {
            ++i;
            continue;
        }
        const bool keep =
            Type(art) == kPathArt && Closed(art) && Filled(art) != rings && HasCandidateEdge(grid, All(art));
        if (keep) {
            ++i;
        } else {
            sAIArtSet->RemoveArtFromArtSet(set, art);
        }
    }
    if (Count(set) == 0) {
        sAIArtSet->DisposeArtSet(&set);
        return 1;
    }
    for (int32_t i = 0; i < Count(set);) {
        AIArtHandle art1 = Member(set, i);
        if (art1 == nullptr) {
            ++i;
            continue;
        }
        const AIPathStyle style1 = PathStyle(art1);
        const int16_t count1 = Segments(art1);
        const std::vector<AIPathSegment> segs1 = All(art1);
        bool merged = false;
        bool stop = false;
        for (int16_t n = 0; n < count1 && !merged && !stop; ++n) {
            const SeamPoint a = SeamOf(segs1[std::size_t(n)]);
            const SeamPoint b = SeamOf(segs1[std::size_t((n + 1) % count1)]);
            if (!AlongSeam(grid, a, b)) {
                continue;
            }
            for (int32_t j = 0; j < Count(set); ++j) {
                AIArtHandle art2 = Member(set, j);
                if (j == i || art2 == nullptr) {
                    continue;
                }
                bool reversed = false;
                // Where the walk round art2 starts, and which way it goes.
                bool found = false;
                int start = 0;
                int step = 1;
                for (;;) {
                    if (rings && !seamjoin::SamePathStyle(style1, PathStyle(art2))) {
                        break;
                    }
                    if (!SameArtStyles(art1, art2)) {
                        break;
                    }
                    const int16_t count2 = Segments(art2);
                    if (count1 + count2 > 20002) {
                        break;
                    }
                    const std::vector<AIPathSegment> s2 = All(art2);
                    auto at = [&](int k) { return SeamOf(s2[std::size_t(k)]); };
                    if (rings) {
                        bool again = false;
                        for (int m = 0; m < count2; ++m) {
                            const SeamPoint s = at(m);
                            const SeamPoint e = at((m + 1) % count2);
                            if (s.x != e.x && s.y != e.y) {
                                continue;
                            }
                            if (s == a && e == b) {
                                found = true;
                                start = m + 1;
                                break;
                            }
                            // Reversed once, only the forward run counts.
                            if (s == b && e == a && !reversed) {
                                sAIPath->ReversePathSegments(art2);
                                reversed = true;
                                again = true;
                                break;
                            }
                        }
                        if (again) {
                            continue;
                        }
                    } else {
                        for (int m = 0; m < count2 && !found; ++m) {
                            if (at(m) == a && at((m + 1) % count2) == b) {
                                found = true;
                                start = m + 1;
                            }
                        }
                        for (int t = count2 - 1; t >= 0 && !found; --t) {
                            if (at(t) == a && at(t == 0 ? count2 - 1 : t - 1) == b) {
                                found = true;
                                start = t - 1;
                                step = -1;
                            }
                        }
                    }
                    if (!found) {
                        break;
                    }
                    InsertRound(art1, n, s2, start, step);
                    if (Segments(art1) != count1 + count2) {
                        stop = true;
                        break;
                    }
                    if (!rings) {
                        CarryHoles(art1, art2);
                    }
                    sAIArtSet->RemoveArtFromArtSet(set, art2);
                    Delete(art2);
                    merged = true;
                    break;
                }
                if (merged || stop) {
                    break;
                }
            }
        }
        if (merged) {
            RemoveDoubledPoints(art1);
        } else {
            ++i;
        }
    }
    sAIArtSet->DisposeArtSet(&set);
    return 1;
}

}  // namespace

bool OnVerticalSeam(const SeamGrid& grid, int32_t x) {
    for (int k = 0; k <= grid.LastColumn(); ++k) {
        if (x == grid.X(k) || x == -grid.X(k) || (grid.Nx() != 0 && x % grid.Nx() == 0)) {
            return true;
        }
    }
    return false;
}

bool OnHorizontalSeam(const SeamGrid& grid, int32_t y) {
    for (int k = 0; k <= grid.LastRow(); ++k) {
        if (y == grid.Y(k) || y == -grid.Y(k) || (grid.Ny() != 0 && y % grid.Ny() == 0)) {
            return true;
        }
    }
    return false;
}

bool OnAnySeam(const SeamGrid& grid, SeamPoint p) { return OnVerticalSeam(grid, p.x) || OnHorizontalSeam(grid, p.y); }

bool AlongSeam(const SeamGrid& grid, SeamPoint a, SeamPoint b) {
    return (a.x == b.x && OnVerticalSeam(grid, a.x)) || (a.y == b.y && OnHorizontalSeam(grid, a.y));
}

void RemoveDoubledPoints(AIArtHandle path) {
    int s = 0;
    for (;;) {
        const std::vector<AIPathSegment> segs = All(path);
        const int len = int(segs.size());
        if (len <= 3) {
            return;
        }
        int found = -1;
        for (int h = s; h < len && found < 0; ++h) {
            const SeamPoint here = SeamOf(segs[std::size_t(h)]);
            const SeamPoint pred = SeamOf(segs[std::size_t(h == 0 ? len - 1 : h - 1)]);
            const SeamPoint next = SeamOf(segs[std::size_t(h == len - 1 ? 0 : h + 1)]);
            if (here == next || pred == next) {
                found = h;
            }
        }
        if (found < 0) {
            return;
        }
        sAIPath->DeletePathSegments(path, int16_t(found), 1);
        s = found == 0 ? 0 : found - 1;
    }
}

int LineConnect(AILayerHandle layer, const SeamGrid& grid) {
    AIArtSet set = nullptr;
    sAIArtSet->NewArtSet(&set);
    sAIArtSet->LayerArtSet(layer, set);
    if (Count(set) == 0) {
        sAIArtSet->DisposeArtSet(&set);
        return 1;
    }
    for (int32_t i = 0; i < Count(set);) {
        AIArtHandle art = Member(set, i);
        if (art == nullptr) {
            ++i;
            continue;
        }
        bool drop = Type(art) != kPathArt || Closed(art) || Filled(art);
        if (!drop) {
            const int16_t count = Segments(art);
            const AIPathSegment first = One(art, 0);
            const AIPathSegment last = One(art, int16_t(count - 1));
            drop = count < 1 || (first.p.h == last.p.h && first.p.v == last.p.v) ||
                   !(OnAnySeam(grid, SeamOf(first)) || OnAnySeam(grid, SeamOf(last)));
        }
        if (drop) {
            sAIArtSet->RemoveArtFromArtSet(set, art);
        } else {
            ++i;
        }
    }
    if (Count(set) == 0) {
        sAIArtSet->DisposeArtSet(&set);
        return 1;
    }
    // Where three or more of these lines end at one point, the lines meet at a
    // junction there and none of them joins at it.
    std::map<std::pair<int32_t, int32_t>, int> ends;
    for (int32_t i = 0; i < Count(set); ++i) {
        AIArtHandle art = Member(set, i);
        if (art == nullptr) {
            continue;
        }
        const int16_t count = Segments(art);
        for (const SeamPoint end : {SeamOf(One(art, 0)), SeamOf(One(art, int16_t(count - 1)))}) {
            ++ends[{end.x, end.y}];
        }
    }
    auto joinsAt = [&](SeamPoint p) { return OnAnySeam(grid, p) && ends[{p.x, p.y}] == 2; };
    for (int32_t i = 0; i < Count(set);) {
        AIArtHandle art1 = Member(set, i);
        if (art1 == nullptr) {
            ++i;
            continue;
        }
        const AIPathStyle style1 = PathStyle(art1);
        const int16_t count1 = Segments(art1);
        const SeamPoint f1 = SeamOf(One(art1, 0));
        const SeamPoint l1 = SeamOf(One(art1, int16_t(count1 - 1)));
        bool joined = false;
        for (int32_t j = i + 1; j < Count(set); ++j) {
            AIArtHandle art2 = Member(set, j);
            if (art2 == nullptr) {
                continue;
            }
            if (!seamjoin::SamePathStyle(style1, PathStyle(art2)) || !SameArtStyles(art1, art2)) {
                continue;
            }
            const int16_t count2 = Segments(art2);
            if (count1 + count2 > 20001) {
                continue;
            }
            const SeamPoint f2 = SeamOf(One(art2, 0));
            const SeamPoint l2 = SeamOf(One(art2, int16_t(count2 - 1)));
            bool reverse1 = false;
            bool reverse2 = false;
            // Only a meeting point on a seam, where just these two end, counts.
            if (l1 == f2 && joinsAt(l1)) {
            } else if (f1 == l2 && joinsAt(f1)) {
                reverse1 = reverse2 = true;
            } else if (l1 == l2 && joinsAt(l1)) {
                reverse2 = true;
            } else if (f1 == f2 && joinsAt(f1)) {
                reverse1 = true;
            } else {
                continue;
            }
            if (reverse1) {
                sAIPath->ReversePathSegments(art1);
            }
            if (reverse2) {
                sAIPath->ReversePathSegments(art2);
            }
            for (int16_t k = 1; k < count2; ++k) {
                const AIPathSegment segment = One(art2, k);
                sAIPath->SetPathSegments(art1, int16_t(count1 + k - 1), 1, &segment);
            }
            if (Segments(art1) == count1 + count2 - 1) {
                sAIArtSet->RemoveArtFromArtSet(set, art2);
                Delete(art2);
                joined = true;
            }
            break;
        }
        if (!joined) {
            ++i;
            continue;
        }
        const int16_t count = Segments(art1);
        if (!OnAnySeam(grid, SeamOf(One(art1, 0))) && !OnAnySeam(grid, SeamOf(One(art1, int16_t(count - 1))))) {
            sAIArtSet->RemoveArtFromArtSet(set, art1);
        }
    }
    sAIArtSet->DisposeArtSet(&set);
    return 1;
}

int CompoundShape(AILayerHandle layer, const SeamGrid& grid) { return Outlines(layer, grid, false); }

int CompoundPolyline(AILayerHandle layer, const SeamGrid& grid) { return Outlines(layer, grid, true); }

}  // namespace plainseam
