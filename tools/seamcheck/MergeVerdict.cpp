#include "MergeVerdict.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace seamcheck {

Tally& Tally::operator+=(const Tally& other) {
    cut += other.cut;
    exact += other.exact;
    baseline += other.baseline;
    fused += other.fused;
    lost += other.lost;
    return *this;
}

double Percent(size_t part, size_t whole) { return whole ? 100.0 * double(part) / double(whole) : 100.0; }

std::string Summary(Kind kind, const Tally& t) {
    char buf[200];
    std::string out = KindName(kind);
    std::snprintf(buf, sizeof buf, "s: %zu cut, %zu back exactly (%.1f%%)", t.cut, t.exact, Percent(t.exact, t.cut));
    out += buf;
    if (kind == Kind::Line) {
        std::snprintf(buf, sizeof buf, ", plain GIS line merge %zu (%.1f%%)", t.baseline, Percent(t.baseline, t.cut));
        out += buf;
    }
    std::snprintf(buf, sizeof buf, ", %zu fused, %zu lost", t.fused, t.lost);
    return out + buf;
}

LayerVerdict CompareLayer(LayerContent& want, LayerContent& got, const std::vector<Shape>& pieces, const Seams& seams,
                          bool keptCut) {
    LayerVerdict verdict;
    std::vector<bool> cut(want.shapes.size(), false);
    for (size_t k = 0; k < want.shapes.size(); ++k) {
        const bool crosses = CrossesSeam(want.shapes[k], seams);
        cut[k] = !keptCut && crosses;
        verdict.keptCutFaces += keptCut && crosses ? 1 : 0;
    }
    for (Shape& shape : want.shapes) {
        for (Ring& ring : shape.contours)
            verdict.uncutLeftovers += DropLeftovers(ring, shape.kind != Kind::Line, seams);
        verdict.wantArea += shape.area;
    }
    for (Shape& shape : got.shapes) {
        verdict.gotArea += shape.area;
        size_t dropped = 0;
        for (Ring& ring : shape.contours) dropped += DropLeftovers(ring, shape.kind != Kind::Line, seams);
        verdict.leftOnSeams += dropped;
        verdict.cutShapes += dropped > 0 ? 1 : 0;
    }

    std::vector<bool> matched(want.shapes.size(), false);
    std::vector<const Shape*> strays;
    for (const Shape& shape : got.shapes) {
        bool found = false;
        for (size_t k = 0; !found && k < want.shapes.size(); ++k) {
            if (!matched[k] && SameShape(shape, want.shapes[k])) found = matched[k] = true;
        }
        if (!found) strays.push_back(&shape);
    }

    // A hole that crosses a seam opens its face onto the seam twice. The face pieces are
    // spliced at one shared seam edge per step, and partners are looked for among the other
    // pieces only, so the second shared edge stays in the one outline as a slit run there
    // and back, and the hole becomes part of the outline. Such a face must hold exactly the
    // reference face's anchors plus anchors on seams, over the same area; its other holes
    // come back as they were.
    for (const Shape*& stray : strays) {
        if (stray->kind != Kind::Face || stray->contours.empty()) continue;
        for (size_t k = 0; k < want.shapes.size(); ++k) {
            const Shape& face = want.shapes[k];
            if (matched[k] || face.kind != Kind::Face || face.contours.size() <= stray->contours.size()) continue;
            if (std::abs(face.area - stray->area) > 1e-6 * face.area + 0.05) continue;
            const size_t extra = SlitFaceAnchors(face, *stray, seams);
            if (extra == kNotSlit) continue;
            matched[k] = true;
            verdict.leftOnSeams += extra;
            ++verdict.slitFaces;
            stray = nullptr;
            break;
        }
    }
    // In a layer kept as cut the faces stay as the tiles cut them, every piece with an edge along
    // a seam, the cut anchors on the seams.
    for (const Shape* stray : strays) {
        if (!stray) continue;
        if (keptCut && stray->kind == Kind::Face && HasSeamEdge(*stray, seams)) {
            ++verdict.keptPieces;
            for (const Ring& ring : stray->contours) {
                for (const Pt& p : ring) (seams.On(p) ? verdict.leftOnSeams : verdict.pieceAnchors) += 1;
            }
            continue;
        }
        verdict.strays.push_back(stray);
    }
    for (size_t k = 0; k < want.shapes.size(); ++k) {
        if (matched[k]) continue;
        if (keptCut && want.shapes[k].kind == Kind::Face) {
            ++verdict.keptFacesAway;
            for (const Ring& ring : want.shapes[k].contours) verdict.awayAnchors += ring.size();
            continue;
        }
        verdict.missing.push_back(&want.shapes[k]);
    }
    if (keptCut) return verdict;

    // Which feature each stray path holds the better part of: one holding two has fused them; a
    // feature no path holds is lost.
    std::vector<size_t> holders(want.shapes.size(), 0), fusing(want.shapes.size(), 0);
    for (const Shape* stray : verdict.strays) {
        std::vector<size_t> held;
        for (size_t k = 0; k < want.shapes.size(); ++k) {
            if (!matched[k] && want.shapes[k].kind == stray->kind && ShareAlong(want.shapes[k], *stray) > 0.5) {
                held.push_back(k);
            }
        }
        for (size_t k : held) {
            ++holders[k];
            fusing[k] += held.size() > 1 ? 1 : 0;
        }
    }
    std::vector<Shape> plain = GisLineMerge(pieces);
    for (Shape& shape : plain) DropLeftovers(shape.contours[0], false, seams);
    for (size_t k = 0; k < want.shapes.size(); ++k) {
        const Shape& feature = want.shapes[k];
        Tally& tally = verdict.tallies[static_cast<size_t>(feature.kind)];
        tally.fused += fusing[k] > 0 ? 1 : 0;
        tally.lost += !matched[k] && holders[k] == 0 ? 1 : 0;
        if (!cut[k]) continue;
        ++tally.cut;
        tally.exact += matched[k] ? 1 : 0;
        if (feature.kind == Kind::Line &&
            std::any_of(plain.begin(), plain.end(), [&](const Shape& p) { return SameShape(p, feature); })) {
            ++tally.baseline;
        }
    }
    return verdict;
}

}  // namespace seamcheck
