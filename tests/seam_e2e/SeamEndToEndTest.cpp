// Sample maps cut into tiles and merged back through quiltor-host: every line, face and ring the
// tile edges cut must come back as one path with the uncut reference's geometry, apart from the
// anchors the cuts left on the seams, and nothing may go missing on the way. No path may hold
// two features, and no fewer cut lines may come back than a plain GIS line merge of the tiles
// gets back; the shares of both are printed per sample.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/HostStrings.h"
#include "model/ArtStyle.h"
#include "model/Document.h"
#include "svg/Svg.h"
#include "../support/ShellCommand.h"

using testsupport::ShellQuote;
using testsupport::RunQuiet;

namespace seame2e {
namespace {

namespace fs = std::filesystem;
using quiltor::host::Art;
using quiltor::host::Document;
using quiltor::host::Layer;

// Hundredths of a millimetre, rounded half away from zero as the joins round.
int64_t Hundredths(double pt) {
    const double v = pt * 25.4 / 72 * 100;
    return v < 0 ? -static_cast<int64_t>(-v + 0.5) : static_cast<int64_t>(v + 0.5);
}

struct Pt {
    int64_t h = 0;
    int64_t v = 0;
};
using Ring = std::vector<Pt>;

// Reads are float points; the same point reached as reference and as tile offset plus local
// coordinate may fall on either side of a hundredth.
bool Near(const Pt& a, const Pt& b) { return std::llabs(a.h - b.h) <= 1 && std::llabs(a.v - b.v) <= 1; }

enum class Kind { Line, Face, Ring };
const char* KindName(Kind kind) { return kind == Kind::Line ? "line" : kind == Kind::Face ? "face" : "ring"; }

struct Shape {
    Kind kind = Kind::Line;
    const void* style = nullptr;  // one appearance, one handle, over every file read with one table
    std::vector<Ring> contours;  // as read, then with the seam anchors taken out
    double area = 0;             // faces: outer minus holes, in square points
};

struct LayerContent {
    std::string title;
    std::vector<Shape> shapes;
    size_t objects = 0;
    size_t labels = 0;
    size_t anchors = 0;  // as read
};

double Area(const std::vector<AIPathSegment>& segments) {
    double twice = 0;
    for (size_t i = 0, j = segments.size() - 1; i < segments.size(); j = i++) {
        twice += double(segments[j].p.h) * segments[i].p.v - double(segments[i].p.h) * segments[j].p.v;
    }
    return std::abs(twice) / 2;
}

Ring RingOf(const Art* path, float offsetH, float offsetV) {
    Ring ring;
    for (const AIPathSegment& s : path->segments) {
        ring.push_back({Hundredths(static_cast<float>(s.p.h + offsetH)), Hundredths(static_cast<float>(s.p.v + offsetV))});
    }
    return ring;
}

// Reads every layer of a document; anchors are moved by (offsetH, offsetV) as the merge moves a
// tile's art: float coordinates plus the float offset.
std::vector<LayerContent> ReadLayers(const fs::path& file, quiltor::host::StyleTable& styles, float offsetH = 0,
                                     float offsetV = 0) {
    std::string error;
    AIErr code = kNoErr;
    const auto document = quiltor::host::ReadSvgFile(file.string(), styles, &error, &code);
    EXPECT_NE(document, nullptr) << file << ": " << error;
    std::vector<LayerContent> layers;
    if (!document) return layers;
    for (const Layer* layer = document->firstLayer(); layer; layer = quiltor::host::NextLayerInPreorder(layer)) {
        LayerContent content;
        for (const Layer* l = layer; l; l = l->parent) content.title = quiltor::host::EncodeUtf8(l->title) + "/" + content.title;
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

// The inner seams of the block in hundredths: x of the vertical ones, y of the horizontal ones.
// The northern row covers [0, tileHeight], the rows below it go down from y = 0.
struct Seams {
    std::vector<int64_t> x, y;
    bool On(const Pt& p) const {
        const auto near = [](const std::vector<int64_t>& at, int64_t q) {
            return std::any_of(at.begin(), at.end(), [q](int64_t s) { return std::llabs(s - q) <= 1; });
        };
        return near(x, p.h) || near(y, p.v);
    }
};

// An anchor on a seam lying on the straight way between its neighbours is what a cut leaves.
bool Leftover(const Pt& before, const Pt& p, const Pt& after, const Seams& seams) {
    if (!seams.On(p)) return false;
    const double dx = double(after.h - before.h), dy = double(after.v - before.v);
    const double length = std::hypot(dx, dy);
    if (length == 0) return false;
    const double off = std::abs(dx * double(p.v - before.v) - dy * double(p.h - before.h)) / length;
    const double along = dx * double(p.h - before.h) + dy * double(p.v - before.v);
    return off <= 1.5 && along > 0 && along < length * length;
}

// Takes the seam leftovers out of a contour; returns how many went.
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

// Same anchors in order, open paths either way round, closed ones from any start too.
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

// Two neighbouring anchors on the same seam line.
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

constexpr size_t kNotSlit = static_cast<size_t>(-1);

// How many anchors beyond the face's own a slit outline holds, or kNotSlit when it holds
// anything but the face's anchors and anchors on seams, or misses one of the face's anchors.
size_t SlitAnchors(const Shape& face, const Ring& outline, const Seams& seams) {
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

// The same for a merged face whose holes that stayed clear of the seams are its other contours:
// they must be holes of the reference face, and the one contour left the slit outline of the rest.
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

// Whether an edge of the shape runs from one side of a seam line to the other, so the tiles cut it.
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

bool OnSegment(double h, double v, const Pt& a, const Pt& b) {
    const double dx = double(b.h - a.h), dy = double(b.v - a.v);
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((h - a.h) * dx + (v - a.v) * dy) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(a.h + t * dx - h, a.v + t * dy - v) <= 1.5;
}

// The share of a feature's length that the path runs along: the middles of the feature's edges
// found on the path's edges, weighted by their length.
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

// A plain GIS line merge of the tile pieces, with no notion of seams: wherever exactly two line
// ends of one style meet, the two lines become one.
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

// Per kind of feature: how many the tiles cut, how many came back as exactly themselves, as
// many after a plain GIS line merge of the tiles (lines only), how many were fused with another
// feature into one path, and how many did not come back at all.
struct Tally {
    size_t cut = 0;
    size_t exact = 0;
    size_t baseline = 0;
    size_t fused = 0;
    size_t lost = 0;
};

double Percent(size_t part, size_t whole) { return whole ? 100.0 * double(part) / double(whole) : 100.0; }

struct TilePlace {
    std::string name;
    int k = 0;
    int j = 0;
};

std::vector<TilePlace> ReadTilePlaces(const std::string& manifest) {
    std::vector<TilePlace> places;
    const std::regex pattern(R"re(\{"name": "([^"]+)", "mesh": [0-9]+, "area": [0-9]+, "k": (-?[0-9]+), "j": (-?[0-9]+))re");
    for (auto it = std::sregex_iterator(manifest.begin(), manifest.end(), pattern); it != std::sregex_iterator(); ++it) {
        places.push_back({(*it)[1].str(), std::stoi((*it)[2].str()), std::stoi((*it)[3].str())});
    }
    return places;
}

double ReadNumber(const std::string& text, const std::string& key) {
    std::smatch match;
    const std::regex pattern("\"" + key + "\": ([-0-9.eE+]+)");
    if (!std::regex_search(text, match, pattern)) return std::nan("");
    return std::stod(match[1].str());
}

struct Sample {
    const char* name;
    const char* kind;
    int seed;
    const char* options = "";  // further options of the sample-map tool
};

void PrintTo(const Sample& sample, std::ostream* out) { *out << sample.name; }

class SeamEndToEndTest : public ::testing::TestWithParam<Sample> {};

TEST_P(SeamEndToEndTest, MergedTilesGiveBackTheUncutMap) {
    const Sample& sample = GetParam();
    const fs::path dir = fs::temp_directory_path() /
                         ("quiltor-seam-e2e-" + std::string(sample.name) + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string host = "QUILTOR_PLUGIN_DIR=" + ShellQuote(std::string(QUILTOR_BINARY_DIR) + "/plugins") + " " +
                             ShellQuote(QUILTOR_HOST_PROGRAM);
    ASSERT_EQ(RunQuiet(ShellQuote(QUILTOR_SAMPLEMAP_PROGRAM) + " --kind " + sample.kind + " --seed " +
                    std::to_string(sample.seed) + " " + sample.options + " -o " + ShellQuote((dir / "tiles").string())),
              0);
    // The reference and manifest share the folder with the tiles; the merge takes only tiles.
    ASSERT_EQ(RunQuiet(host + " merge " + ShellQuote((dir / "tiles").string()) + " -o " + ShellQuote((dir / "merged.svg").string()) +
                    " --page A0-landscape"),
              0);

    std::ifstream manifestFile(dir / "tiles" / "manifest.json");
    const std::string manifest((std::istreambuf_iterator<char>(manifestFile)), std::istreambuf_iterator<char>());
    const double tileWidth = ReadNumber(manifest, "tileWidthPt"), tileHeight = ReadNumber(manifest, "tileHeightPt");
    const int columns = static_cast<int>(ReadNumber(manifest, "columns"));
    const int rows = static_cast<int>(ReadNumber(manifest, "rows"));
    ASSERT_GT(tileWidth, 0);
    ASSERT_GT(tileHeight, 0);
    Seams seams;
    const float width = static_cast<float>(tileWidth), height = static_cast<float>(tileHeight);
    for (int k = 1; k < columns; ++k) seams.x.push_back(Hundredths(k * static_cast<double>(width)));
    for (int k = 0; k + 1 < rows; ++k) seams.y.push_back(Hundredths(-k * static_cast<double>(height)));

    quiltor::host::StyleTable styles;
    std::vector<LayerContent> reference = ReadLayers(dir / "tiles" / "reference.svg", styles);
    std::vector<LayerContent> merged = ReadLayers(dir / "merged.svg", styles);
    ASSERT_EQ(merged.size(), reference.size());
    // The tiles at their places in the merge, for the plain merge to work on.
    std::vector<std::vector<Shape>> pieces(reference.size());
    const std::vector<TilePlace> places = ReadTilePlaces(manifest);
    ASSERT_EQ(places.size(), static_cast<size_t>(columns) * rows);
    for (const TilePlace& place : places) {
        std::vector<LayerContent> tile = ReadLayers(dir / "tiles" / place.name, styles, static_cast<float>(place.k) * width,
                                                    static_cast<float>(place.j) * height);
        ASSERT_EQ(tile.size(), reference.size()) << place.name;
        for (size_t l = 0; l < tile.size(); ++l) {
            pieces[l].insert(pieces[l].end(), tile[l].shapes.begin(), tile[l].shapes.end());
        }
    }
    std::array<Tally, 3> tallies;

    size_t referenceAnchors = 0, mergedAnchors = 0, leftOnSeams = 0, cutShapes = 0;
    size_t slitFaces = 0, cutPieces = 0, keptCutFaces = 0;
    for (size_t l = 0; l < reference.size(); ++l) {
        LayerContent& want = reference[l];
        LayerContent& got = merged[l];
        SCOPED_TRACE(want.title);
        ASSERT_EQ(got.title, want.title);
        EXPECT_EQ(got.labels, want.labels);
        referenceAnchors += want.anchors;
        mergedAnchors += got.anchors;

        const bool keptCut = std::string(sample.kind) == "tokyo23" && EndsWith(want.title, "/背景道路/");
        std::vector<bool> cut(want.shapes.size(), false);
        for (size_t k = 0; k < want.shapes.size(); ++k) {
            const bool crosses = CrossesSeam(want.shapes[k], seams);
            cut[k] = !keptCut && crosses;
            keptCutFaces += keptCut && crosses ? 1 : 0;
        }
        for (Shape& shape : want.shapes) {
            // An uncut anchor never lies on a seam between straight neighbours by chance here.
            for (Ring& ring : shape.contours) EXPECT_EQ(DropLeftovers(ring, shape.kind != Kind::Line, seams), 0u);
        }
        double wantArea = 0, gotArea = 0;
        for (const Shape& shape : want.shapes) wantArea += shape.area;
        for (Shape& shape : got.shapes) {
            gotArea += shape.area;
            size_t dropped = 0;
            for (Ring& ring : shape.contours) dropped += DropLeftovers(ring, shape.kind != Kind::Line, seams);
            leftOnSeams += dropped;
            cutShapes += dropped > 0 ? 1 : 0;
        }
        EXPECT_NEAR(gotArea, wantArea, 1e-6 * wantArea + 0.5);

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
                leftOnSeams += extra;
                ++slitFaces;
                stray = nullptr;
                break;
            }
        }
        // In a Tokyo-23 merge the faces of "背景道路" are never joined: they stay as the tiles
        // cut them, every piece with an edge along a seam, the cut anchors on the seams.
        size_t pieceAnchors = 0, cutAnchors = 0, layerPieces = 0, layerCutFaces = 0;
        for (const Shape* stray : strays) {
            if (!stray) continue;
            if (keptCut && stray->kind == Kind::Face && HasSeamEdge(*stray, seams)) {
                ++cutPieces;
                ++layerPieces;
                for (const Ring& ring : stray->contours) {
                    for (const Pt& p : ring) (seams.On(p) ? leftOnSeams : pieceAnchors) += 1;
                }
                continue;
            }
            ADD_FAILURE() << "merged " << Describe(*stray) << " is no reference path";
        }
        for (size_t k = 0; k < want.shapes.size(); ++k) {
            if (matched[k]) continue;
            if (keptCut && want.shapes[k].kind == Kind::Face) {
                ++layerCutFaces;
                for (const Ring& ring : want.shapes[k].contours) cutAnchors += ring.size();
                continue;
            }
            ADD_FAILURE() << "reference " << Describe(want.shapes[k]) << " did not come back";
        }
        EXPECT_EQ(pieceAnchors, cutAnchors);
        EXPECT_EQ(layerPieces > layerCutFaces, layerCutFaces > 0);
        EXPECT_EQ(got.objects, want.objects + layerPieces - layerCutFaces);

        // Which feature each stray path holds the better part of: one holding two has fused
        // them; a feature no path holds is lost.
        std::vector<size_t> holders(want.shapes.size(), 0), fusing(want.shapes.size(), 0);
        for (const Shape* stray : strays) {
            if (!stray || keptCut) continue;
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
        std::vector<Shape> plain = GisLineMerge(pieces[l]);
        for (Shape& shape : plain) DropLeftovers(shape.contours[0], false, seams);
        for (size_t k = 0; k < want.shapes.size(); ++k) {
            if (keptCut) continue;
            const Shape& feature = want.shapes[k];
            Tally& tally = tallies[static_cast<size_t>(feature.kind)];
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
    }
    for (Kind kind : {Kind::Line, Kind::Face, Kind::Ring}) {
        const Tally& t = tallies[static_cast<size_t>(kind)];
        SCOPED_TRACE(KindName(kind));
        std::printf("%s %ss: %zu cut, %zu back exactly (%.1f%%)", sample.name, KindName(kind), t.cut, t.exact,
                    Percent(t.exact, t.cut));
        if (kind == Kind::Line) std::printf(", plain GIS line merge %zu (%.1f%%)", t.baseline, Percent(t.baseline, t.cut));
        std::printf(", %zu fused, %zu lost\n", t.fused, t.lost);
        EXPECT_EQ(t.exact, t.cut);
        EXPECT_EQ(t.fused, 0u);
        EXPECT_EQ(t.lost, 0u);
        EXPECT_GE(t.exact, t.baseline);
    }
    if (std::string(sample.options).find("network") != std::string::npos) {
        // The sample must hold what tells the two apart: junctions where a plain merge fuses.
        EXPECT_LT(tallies[0].baseline, tallies[0].cut);
        EXPECT_GT(tallies[1].cut, 0u);
        EXPECT_GT(tallies[2].cut, 0u);
    }
    EXPECT_EQ(mergedAnchors, referenceAnchors + leftOnSeams);
    // The sample must really have been cut, or there was nothing to join.
    EXPECT_GT(cutShapes, 0u);
    RecordProperty("slit_faces", static_cast<int>(slitFaces));
    EXPECT_EQ(cutPieces > 0, keptCutFaces > 0);
    if (std::string(sample.kind) == "tokyo23" && std::string(sample.options).empty()) {
        EXPECT_GT(keptCutFaces, 0u);
    }
    if (!HasFailure()) fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Samples, SeamEndToEndTest,
                         ::testing::Values(Sample{"material1", "material", 1}, Sample{"material2", "material", 2},
                                           Sample{"material7", "material", 7}, Sample{"material19", "material", 19},
                                           Sample{"tokyo23", "tokyo23", 1}, Sample{"tokyo23seed7", "tokyo23", 7},
                                           Sample{"network1", "material", 1, "--style network"},
                                           Sample{"network2", "material", 2, "--style network"},
                                           Sample{"network3", "material", 3, "--style network"},
                                           Sample{"tokyo23network", "tokyo23", 1, "--style network"}),
                         [](const ::testing::TestParamInfo<Sample>& info) { return std::string(info.param.name); });

// Junctions of three or four lines right on a seam: the pieces meeting there look like the two
// halves of a cut line, and the join glues two of the lines into one path, where a plain GIS
// line merge leaves all of them apart. Left open; run it with --gtest_also_run_disabled_tests.
INSTANTIATE_TEST_SUITE_P(DISABLED_JunctionsOnSeams, SeamEndToEndTest,
                         ::testing::Values(Sample{"network1", "material", 1, "--style network --seam-junctions"},
                                           Sample{"tokyo23network", "tokyo23", 1, "--style network --seam-junctions"}),
                         [](const ::testing::TestParamInfo<Sample>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace seame2e
