#include "MergeShapes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>
#include <tuple>

#include "core/HostStrings.h"
#include "model/ArtStyle.h"
#include "model/Document.h"
#include "svg/Svg.h"

namespace seamcheck {

using quiltor::host::Art;
using quiltor::host::Layer;

int64_t Hundredths(double pt) {
    const double v = pt * 25.4 / 72 * 100;
    return v < 0 ? -static_cast<int64_t>(-v + 0.5) : static_cast<int64_t>(v + 0.5);
}

bool Near(const Pt& a, const Pt& b) { return std::llabs(a.h - b.h) <= 1 && std::llabs(a.v - b.v) <= 1; }

const char* KindName(Kind kind) { return kind == Kind::Line ? "line" : kind == Kind::Face ? "face" : "ring"; }

static double Area(const std::vector<AIPathSegment>& segments) {
    double twice = 0;
    for (size_t i = 0, j = segments.size() - 1; i < segments.size(); j = i++) {
        twice += double(segments[j].p.h) * segments[i].p.v - double(segments[i].p.h) * segments[j].p.v;
    }
    return std::abs(twice) / 2;
}

static Ring RingOf(const Art* path, float offsetH, float offsetV) {
    Ring ring;
    for (const AIPathSegment& s : path->segments) {
        ring.push_back(
            {Hundredths(static_cast<float>(s.p.h + offsetH)), Hundredths(static_cast<float>(s.p.v + offsetV))});
    }
    return ring;
}

std::vector<LayerContent> ReadLayers(const std::string& file, quiltor::host::StyleTable& styles, float offsetH,
                                     float offsetV, std::string* error) {
    std::string why;
    AIErr code = kNoErr;
    const auto document = quiltor::host::ReadSvgFile(file, styles, &why, &code);
    std::vector<LayerContent> layers;
    if (!document) {
        if (error) *error = file + ": " + why;
        return layers;
    }
    for (const Layer* layer = document->firstLayer(); layer; layer = quiltor::host::NextLayerInPreorder(layer)) {
        LayerContent content;
        for (const Layer* l = layer; l; l = l->parent)
            content.title = quiltor::host::EncodeUtf8(l->title) + "/" + content.title;
        for (const Art* art = layer->group->firstChild; art; art = art->next) {
            ++content.objects;
            if (art->type == kTextFrameArt) {
                ++content.labels;
                continue;
            }
            Shape shape;
            std::vector<const Art*> paths;
            if (art->type == kPathArt) paths.push_back(art);
            for (const Art* m = art->firstChild; m; m = m->next) paths.push_back(m);
            const bool filled = art->style->pathStyle().fillPaint;
            shape.kind = filled ? Kind::Face : paths.size() == 1 && !paths[0]->closed ? Kind::Line : Kind::Ring;
            shape.style = art->style;
            for (size_t i = 0; i < paths.size(); ++i) {
                content.anchors += paths[i]->segments.size();
                shape.contours.push_back(RingOf(paths[i], offsetH, offsetV));
                if (filled) shape.area += (i == 0 ? 1 : -1) * Area(paths[i]->segments);
            }
            content.shapes.push_back(std::move(shape));
        }
        layers.push_back(std::move(content));
    }
    return layers;
}

// An anchor on a seam lying on the straight way between its neighbours is what a cut leaves.
bool Seams::On(const Pt& p) const {
    const auto near = [](const std::vector<int64_t>& at, int64_t q) {
        return std::any_of(at.begin(), at.end(), [q](int64_t s) { return std::llabs(s - q) <= 1; });
    };
    return near(x, p.h) || near(y, p.v);
}

Seams SeamsOf(float tileWidth, float tileHeight, int columns, int rows) {
    Seams seams;
    for (int k = 1; k < columns; ++k) seams.x.push_back(Hundredths(k * static_cast<double>(tileWidth)));
    for (int k = 0; k + 1 < rows; ++k) seams.y.push_back(Hundredths(-k * static_cast<double>(tileHeight)));
    return seams;
}

static bool Leftover(const Pt& before, const Pt& p, const Pt& after, const Seams& seams) {
    if (!seams.On(p)) return false;
    const double dx = double(after.h - before.h), dy = double(after.v - before.v);
    const double length = std::hypot(dx, dy);
    if (length == 0) return false;
    const double off = std::abs(dx * double(p.v - before.v) - dy * double(p.h - before.h)) / length;
    const double along = dx * double(p.h - before.h) + dy * double(p.v - before.v);
    return off <= 1.5 && along > 0 && along < length * length;
}

size_t DropLeftovers(Ring& ring, bool closed, const Seams& seams) {
    size_t dropped = 0;
    for (bool again = true; again;) {
        again = false;
        const size_t n = ring.size();
        if (n < (closed ? 4u : 3u)) break;
        for (size_t i = closed ? 0 : 1; i < (closed ? n : n - 1); ++i) {
            const Pt& before = ring[(i + n - 1) % n];
            const Pt& after = ring[(i + 1) % n];
            if (Leftover(before, ring[i], after, seams)) {
                ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(i));
                ++dropped;
                again = true;
                break;
            }
        }
    }
    return dropped;
}

bool SameRing(const Ring& a, const Ring& b, bool closed) {
    const size_t n = a.size();
    if (n != b.size()) return false;
    if (n == 0) return true;
    for (int reversed = 0; reversed < 2; ++reversed) {
        for (size_t start = 0; start < (closed ? n : 1); ++start) {
            bool same = true;
            for (size_t i = 0; same && i < n; ++i) {
                const size_t k = reversed ? (start + n - i) % n : (start + i) % n;
                same = Near(a[i], b[closed ? k : (reversed ? n - 1 - i : i)]);
            }
            if (same) return true;
        }
    }
    return false;
}

bool SameShape(const Shape& a, const Shape& b) {
    if (a.kind != b.kind || a.contours.size() != b.contours.size()) return false;
    std::vector<bool> used(b.contours.size(), false);
    for (const Ring& ring : a.contours) {
        bool found = false;
        for (size_t k = 0; !found && k < b.contours.size(); ++k) {
            if (!used[k] && SameRing(ring, b.contours[k], a.kind != Kind::Line)) found = used[k] = true;
        }
        if (!found) return false;
    }
    return true;
}

// Enough anchors to find the path in the files.
constexpr size_t kShown = 6;
std::string Describe(const Shape& shape) {
    std::ostringstream out;
    out << KindName(shape.kind) << " of " << shape.contours.size() << " contour(s):";
    for (const Ring& ring : shape.contours) {
        out << " [" << ring.size() << " anchors";
        for (size_t i = 0; i < ring.size() && i < kShown; ++i) out << " (" << ring[i].h << ',' << ring[i].v << ')';
        out << (ring.size() > kShown ? " ...]" : "]");
    }
    return out.str();
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool HasSeamEdge(const Shape& shape, const Seams& seams) {
    for (const Ring& ring : shape.contours) {
        for (size_t i = 0; i < ring.size(); ++i) {
            const Pt& a = ring[i];
            const Pt& b = ring[(i + 1) % ring.size()];
            for (int64_t x : seams.x) {
                if (std::llabs(a.h - x) <= 1 && std::llabs(b.h - x) <= 1) return true;
            }
            for (int64_t y : seams.y) {
                if (std::llabs(a.v - y) <= 1 && std::llabs(b.v - y) <= 1) return true;
            }
        }
    }
    return false;
}

// How many anchors beyond the face's own a slit outline holds, or kNotSlit when it holds
// anything but the face's anchors and anchors on seams, or misses one of the face's anchors.
static size_t SlitAnchors(const Shape& face, const Ring& outline, const Seams& seams) {
    size_t own = 0;
    for (const Ring& ring : face.contours) {
        for (const Pt& p : ring) {
            if (std::none_of(outline.begin(), outline.end(), [&](const Pt& q) { return Near(p, q); })) return kNotSlit;
            ++own;
        }
    }
    for (const Pt& q : outline) {
        bool known = false;
        for (const Ring& ring : face.contours) {
            known = known || std::any_of(ring.begin(), ring.end(), [&](const Pt& p) { return Near(p, q); });
        }
        if (!known && !seams.On(q)) return kNotSlit;
    }
    return outline.size() >= own ? outline.size() - own : kNotSlit;
}

size_t SlitFaceAnchors(const Shape& face, const Shape& merged, const Seams& seams) {
    Shape rest = face;
    const Ring* slit = nullptr;
    for (const Ring& ring : merged.contours) {
        auto same = std::find_if(rest.contours.begin(), rest.contours.end(),
                                 [&](const Ring& hole) { return SameRing(ring, hole, true); });
        if (same != rest.contours.end()) {
            rest.contours.erase(same);
        } else if (slit) {
            return kNotSlit;
        } else {
            slit = &ring;
        }
    }
    return slit ? SlitAnchors(rest, *slit, seams) : kNotSlit;
}

bool CrossesSeam(const Shape& shape, const Seams& seams) {
    for (const Ring& ring : shape.contours) {
        const size_t n = ring.size();
        const size_t edges = shape.kind == Kind::Line ? n - 1 : n;
        for (size_t i = 0; n > 0 && i < edges; ++i) {
            const Pt& a = ring[i];
            const Pt& b = ring[(i + 1) % n];
            for (int64_t x : seams.x) {
                if ((a.h - x) * (b.h - x) < 0) return true;
            }
            for (int64_t y : seams.y) {
                if ((a.v - y) * (b.v - y) < 0) return true;
            }
        }
    }
    return false;
}

static bool OnSegment(double h, double v, const Pt& a, const Pt& b) {
    const double dx = double(b.h - a.h), dy = double(b.v - a.v);
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((h - a.h) * dx + (v - a.v) * dy) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(a.h + t * dx - h, a.v + t * dy - v) <= 1.5;
}

double ShareAlong(const Shape& feature, const Shape& path) {
    double total = 0, along = 0;
    for (const Ring& ring : feature.contours) {
        const size_t n = ring.size();
        for (size_t i = 0; i + (feature.kind == Kind::Line ? 1 : 0) < n; ++i) {
            const Pt& a = ring[i];
            const Pt& b = ring[(i + 1) % n];
            const double length = std::hypot(double(b.h - a.h), double(b.v - a.v));
            const double h = (a.h + b.h) / 2.0, v = (a.v + b.v) / 2.0;
            total += length;
            bool on = false;
            for (const Ring& other : path.contours) {
                const size_t m = other.size();
                for (size_t k = 0; !on && k + (path.kind == Kind::Line ? 1 : 0) < m; ++k) {
                    on = OnSegment(h, v, other[k], other[(k + 1) % m]);
                }
            }
            along += on ? length : 0;
        }
    }
    return total > 0 ? along / total : 0;
}

std::vector<Shape> GisLineMerge(const std::vector<Shape>& pieces) {
    struct End {
        size_t line;
        bool last;
    };
    std::vector<const Shape*> lines;
    for (const Shape& shape : pieces) {
        if (shape.kind == Kind::Line && shape.contours.size() == 1 && shape.contours[0].size() >= 2) {
            lines.push_back(&shape);
        }
    }
    std::map<std::tuple<int64_t, int64_t, const void*>, std::vector<End>> ends;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Ring& ring = lines[i]->contours[0];
        ends[{ring.front().h, ring.front().v, lines[i]->style}].push_back({i, false});
        ends[{ring.back().h, ring.back().v, lines[i]->style}].push_back({i, true});
    }
    std::vector<std::array<std::optional<End>, 2>> link(lines.size());
    for (const auto& [where, at] : ends) {
        if (at.size() == 2 && at[0].line != at[1].line) {
            link[at[0].line][at[0].last] = at[1];
            link[at[1].line][at[1].last] = at[0];
        }
    }
    std::vector<bool> used(lines.size(), false);
    std::vector<Shape> merged;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (used[i]) continue;
        // Back to the free end of the chain (or round a loop to i again), then forward from there.
        size_t line = i;
        bool enter = false;
        for (size_t steps = 0; steps < lines.size(); ++steps) {
            const std::optional<End>& next = link[line][enter];
            if (!next || next->line == i) break;
            line = next->line;
            enter = !next->last;
        }
        Shape chain;
        chain.kind = Kind::Line;
        chain.style = lines[line]->style;
        Ring joined;
        for (;;) {
            used[line] = true;
            Ring ring = lines[line]->contours[0];
            if (enter) std::reverse(ring.begin(), ring.end());
            joined.insert(joined.end(), ring.begin() + (joined.empty() ? 0 : 1), ring.end());
            const std::optional<End>& next = link[line][!enter];
            if (!next || used[next->line]) break;
            line = next->line;
            enter = next->last;
        }
        chain.contours.push_back(std::move(joined));
        merged.push_back(std::move(chain));
    }
    return merged;
}

}  // namespace seamcheck
