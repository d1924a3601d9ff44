#include "MapGenerator.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "MapDrawing.h"
#include "NetworkMap.h"

namespace samplemap {
namespace {

constexpr double kPi = std::numbers::pi;

enum class Shape {
    LongLine,   // across the whole map
    ShortLine,  // a street, a tile or less
    Block,      // a turned rectangle
    Blob,       // a lake or park, possibly with islands
    BigRing,    // a district boundary
    Label,
};

struct Feature {
    ArtKind kind;
    std::vector<std::string> layer;
    int occurrence;  // of the top-level title, for the Tokyo-23 tree's two "道路"
    std::vector<Style> styles;
    Shape shape;
    double perTile;  // objects per tile at density 1
    double minSize;  // tile fractions: half-sides of blocks, radii of blobs and rings, steps of lines
    double maxSize;
    double holeChance;  // faces: courtyards of blocks, islands of blobs
    double seamChance;  // blocks and blobs placed over a seam, so that the cut has work
    const std::vector<const char*>* names = nullptr;
};

Style Text() { return Fill({0, 0, 0, 1}); }

const std::vector<const char*> kTownNames = {"本町", "栄町", "緑町",   "旭町", "中央",   "東町", "西町",
                                             "南町", "北町", "桜台",   "若葉", "青葉台", "松原", "竹ノ内",
                                             "梅田", "新田", "大手町", "港町", "浜町",   "山手"};
const std::vector<const char*> kStationNames = {"中央駅", "本町駅", "港駅",   "東口駅", "西台駅",
                                                "北野駅", "南原駅", "桜台駅", "若葉駅"};
const std::vector<const char*> kRiverNames = {"境川", "白川", "黒川", "大川", "小川", "神田川", "緑川"};
const std::vector<const char*> kStreetNames = {"中央通り",   "桜通り",   "本町通り", "港通り",
                                               "けやき通り", "駅前通り", "大手通り"};

// Each entry: kind, layer, occurrence of its top-level title; styles; shape, objects per tile,
// size range, hole and seam chances, names.
std::vector<Feature> MaterialLegend() {
    const Cmyk black{0, 0, 0, 1};
    return {
        {ArtKind::Line,
         {"交通", "道路（地上）", "国道・主要地方道・一般県道（地上）"},
         1,
         {Stroke(4.0f, {0, 0.45f, 0.9f, 0}), Stroke(2.8f, {0, 0.3f, 0.8f, 0})},
         Shape::LongLine,
         0.35,
         0.10,
         0.14,
         0,
         0},
        {ArtKind::Line,
         {"交通", "道路（地上）", "その他道路（地上）"},
         1,
         {Stroke(1.2f, {0, 0, 0, 0.45f}), Stroke(1.8f, {0, 0, 0, 0.6f})},
         Shape::ShortLine,
         3.0,
         0.06,
         0.12,
         0,
         0},
        {ArtKind::Line,
         {"交通", "鉄道（地上）", "ＪＲ（地上）"},
         1,
         {Stroke(2.0f, black)},
         Shape::LongLine,
         0.2,
         0.10,
         0.14,
         0,
         0},
        {ArtKind::Line,
         {"交通", "鉄道（地上）", "私鉄・第３セクター（地上）"},
         1,
         {Stroke(1.4f, {0, 0, 0, 0.85f}), Stroke(1.0f, {0, 0, 0, 0.85f})},
         Shape::LongLine,
         0.2,
         0.10,
         0.14,
         0,
         0},
        {ArtKind::Face,
         {"施設・地形・水系", "施設/建物"},
         1,
         {Fill({0, 0.08f, 0.2f, 0.25f}, 0.25f, {0, 0, 0, 0.6f})},
         Shape::Block,
         6.0,
         0.015,
         0.045,
         0.25,
         0.25},
        {ArtKind::Face,
         {"施設・地形・水系", "地形・水系"},
         1,
         {Fill({0.35f, 0.05f, 0, 0})},
         Shape::Blob,
         0.6,
         0.12,
         0.35,
         0.6,
         0.5},
        {ArtKind::Face,
         {"施設・地形・水系", "公園・ゴルフ場"},
         1,
         {Fill({0.25f, 0, 0.4f, 0})},
         Shape::Blob,
         0.5,
         0.06,
         0.15,
         0.2,
         0.3},
        {ArtKind::Ring, {"行政界"}, 1, {Stroke(1.0f, {0, 1, 0, 0})}, Shape::BigRing, 0.3, 0.3, 0.6, 0, 0},
        {ArtKind::Ring,
         {"施設・地形・水系", "施設/敷地"},
         1,
         {Stroke(0.5f, {0, 0, 0, 0.7f})},
         Shape::Block,
         2.0,
         0.03,
         0.07,
         0,
         0.25},
        {ArtKind::Label, {"注記・記号", "町・大字名"}, 1, {Text()}, Shape::Label, 2.0, 9, 12, 0, 0, &kTownNames},
        {ArtKind::Label,
         {"注記・記号", "交通関連", "駅名（漢字）"},
         1,
         {Text()},
         Shape::Label,
         1.0,
         7,
         9,
         0,
         0,
         &kStationNames},
        {ArtKind::Label,
         {"注記・記号", "自然", "河川名・滝"},
         1,
         {Fill({0.8f, 0.3f, 0, 0})},
         Shape::Label,
         0.6,
         7,
         10,
         0,
         0,
         &kRiverNames},
    };
}

// Road names go to the first "道路", roads to the second.
std::vector<Feature> Tokyo23Legend() {
    const Cmyk black{0, 0, 0, 1};
    return {
        {ArtKind::Line,
         {"道路", "国道"},
         2,
         {Stroke(5.0f, {0, 0.35f, 0.85f, 0})},
         Shape::LongLine,
         0.3,
         0.10,
         0.14,
         0,
         0},
        {ArtKind::Line,
         {"道路", "主要地方道"},
         2,
         {Stroke(3.5f, {0, 0.2f, 0.7f, 0})},
         Shape::LongLine,
         0.3,
         0.10,
         0.14,
         0,
         0},
        {ArtKind::Line,
         {"道路", "その他主要道"},
         2,
         {Stroke(2.2f, {0, 0, 0, 0.25f}), Stroke(1.4f, {0, 0, 0, 0.4f})},
         Shape::ShortLine,
         3.0,
         0.06,
         0.12,
         0,
         0},
        {ArtKind::Line,
         {"鉄道路線", "路線"},
         1,
         {Stroke(2.5f, black), Stroke(1.5f, {0, 0, 0, 0.8f})},
         Shape::LongLine,
         0.3,
         0.10,
         0.14,
         0,
         0},
        {ArtKind::Face,
         {"建物", "工場・銀行・ビル"},
         1,
         {Fill({0, 0.1f, 0.15f, 0.2f}, 0.25f, {0, 0, 0, 0.6f})},
         Shape::Block,
         6.0,
         0.015,
         0.045,
         0.25,
         0.25},
        {ArtKind::Face,
         {"施設・水系（塗り）", "水系"},
         1,
         {Fill({0.35f, 0.05f, 0, 0})},
         Shape::Blob,
         0.6,
         0.12,
         0.35,
         0.6,
         0.5},
        {ArtKind::Face, {"街区", "街区"}, 1, {Fill({0, 0, 0.05f, 0.08f})}, Shape::Block, 3.0, 0.04, 0.09, 0.1, 0.25},
        {ArtKind::Face, {"道路", "背景道路"}, 2, {Fill({0, 0, 0, 0.05f})}, Shape::Block, 1.0, 0.03, 0.08, 0, 0.3},
        {ArtKind::Ring,
         {"行政界線", "市区町村界"},
         1,
         {Stroke(1.0f, {0, 1, 0, 0})},
         Shape::BigRing,
         0.3,
         0.3,
         0.6,
         0,
         0},
        {ArtKind::Ring,
         {"街区縁", "街区縁"},
         1,
         {Stroke(0.5f, {0, 0, 0, 0.7f})},
         Shape::Block,
         2.0,
         0.03,
         0.07,
         0,
         0.25},
        {ArtKind::Label, {"道路", "通り名"}, 1, {Text()}, Shape::Label, 2.0, 8, 11, 0, 0, &kStreetNames},
        {ArtKind::Label, {"地名", "大字名"}, 1, {Text()}, Shape::Label, 1.5, 9, 12, 0, 0, &kTownNames},
        {ArtKind::Label, {"路線", "駅名_ＪＲ"}, 1, {Text()}, Shape::Label, 0.6, 7, 9, 0, 0, &kStationNames},
    };
}

size_t CodePoints(const std::string& utf8) {
    size_t n = 0;
    for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
    return n;
}

class Painter {
public:
    explicit Painter(const MapOptions& options)
        : grid_(options.grid),
          random_(options.seed),
          bounds_(grid_.Bounds()),
          unit_(std::min(grid_.tileWidth, grid_.tileHeight)),
          margin_(0.02 * unit_) {}

    void Draw(const Feature& feature, int layer, int firstStyle, int32_t density, std::vector<MapObject>& out) {
        const double tiles = static_cast<double>(grid_.columns) * grid_.rows;
        const int count = std::max(1, static_cast<int>(std::lround(feature.perTile * tiles * density)));
        for (int i = 0; i < count; ++i) {
            MapObject object;
            object.kind = feature.kind;
            object.layer = layer;
            object.style = firstStyle + random_.Below(static_cast<int>(feature.styles.size()));
            switch (feature.shape) {
            case Shape::LongLine: object.contours = {LongLine(feature)}; break;
            case Shape::ShortLine: object.contours = {ShortLine(feature)}; break;
            case Shape::Block: object.contours = Block(feature); break;
            case Shape::Blob: object.contours = Blob(feature); break;
            case Shape::BigRing: object.contours = {BigRing(feature)}; break;
            case Shape::Label: PlaceLabel(feature, object); break;
            }
            if (feature.kind != ArtKind::Label) {
                for (Contour& contour : object.contours) Settle(contour, grid_);
            }
            out.push_back(std::move(object));
        }
    }

private:
    bool Inside(const Point& p) const {
        return p.h >= bounds_.left + margin_ && p.h <= bounds_.right - margin_ && p.v >= bounds_.bottom + margin_ &&
               p.v <= bounds_.top - margin_;
    }

    Point Step(const Point& p, double heading, double length) const {
        return {p.h + length * std::cos(heading), p.v + length * std::sin(heading)};
    }

    // A wandering line from the west or north edge across the map, stopping before it leaves.
    Contour LongLine(const Feature& f) {
        const bool eastward = random_.Chance(0.5);
        const double inner = 2 * margin_;
        Point p = eastward ? Point{bounds_.left + inner, random_.Uniform(bounds_.bottom + inner, bounds_.top - inner)}
                           : Point{random_.Uniform(bounds_.left + inner, bounds_.right - inner), bounds_.top - inner};
        const double main = eastward ? 0 : -kPi / 2;
        double heading = main + random_.Uniform(-0.4, 0.4);
        Contour line{p};
        for (int step = 0; step < 1000; ++step) {
            heading += random_.Uniform(-0.25, 0.25) + 0.3 * (main - heading);
            const Point next = Step(p, heading, unit_ * random_.Uniform(f.minSize, f.maxSize));
            if (!Inside(next)) break;
            line.push_back(next);
            p = next;
        }
        if (line.size() < 2) line.push_back(Step(p, main, margin_ / 2));
        return line;
    }

    Contour ShortLine(const Feature& f) {
        Point p = RandomPoint(0);
        double heading = random_.Uniform(0, 2 * kPi);
        Contour line{p};
        const int steps = 3 + random_.Below(6);
        for (int step = 0; step < steps; ++step) {
            heading += random_.Uniform(-0.5, 0.5);
            Point next = Step(p, heading, unit_ * random_.Uniform(f.minSize, f.maxSize));
            if (!Inside(next)) {
                heading += kPi;
                next = Step(p, heading, unit_ * f.minSize);
                if (!Inside(next)) break;
            }
            line.push_back(next);
            p = next;
        }
        if (line.size() < 2) line.push_back(Step(p, heading, margin_ / 2));
        return line;
    }

    // A point at least room away from the map's outer edge (plus the margin); with seamChance it
    // lies on an inner seam, and for blobs now and then on a corner where four tiles meet.
    Point Centre(const Feature& f, double room, bool corners) {
        Point p = RandomPoint(room);
        if (!random_.Chance(f.seamChance)) return p;
        const bool vertical = grid_.columns > 1 && (grid_.rows == 1 || random_.Chance(0.5));
        const bool corner = corners && grid_.columns > 1 && grid_.rows > 1 && random_.Chance(0.4);
        if (vertical || corner) p.h = (1 + random_.Below(grid_.columns - 1)) * grid_.tileWidth;
        if ((!vertical || corner) && grid_.rows > 1) p.v = -random_.Below(grid_.rows - 1) * grid_.tileHeight;
        return p;
    }

    Point RandomPoint(double room) {
        const double inset = margin_ + room;
        const double h = bounds_.right - bounds_.left > 2 * inset
                             ? random_.Uniform(bounds_.left + inset, bounds_.right - inset)
                             : (bounds_.left + bounds_.right) / 2;
        const double v = bounds_.top - bounds_.bottom > 2 * inset
                             ? random_.Uniform(bounds_.bottom + inset, bounds_.top - inset)
                             : (bounds_.bottom + bounds_.top) / 2;
        return {h, v};
    }

    static Contour TurnedRect(Point c, double a, double b, double turn) {
        const double cs = std::cos(turn), sn = std::sin(turn);
        Contour rect;
        for (auto [x, y] : {std::pair{-a, -b}, std::pair{a, -b}, std::pair{a, b}, std::pair{-a, b}}) {
            rect.push_back({c.h + x * cs - y * sn, c.v + x * sn + y * cs});
        }
        return rect;
    }

    std::vector<Contour> Block(const Feature& f) {
        const double a = unit_ * random_.Uniform(f.minSize, f.maxSize);
        const double b = unit_ * random_.Uniform(f.minSize, f.maxSize);
        const Point c = Centre(f, std::hypot(a, b), false);
        const double turn = random_.Uniform(0, kPi / 2);
        std::vector<Contour> contours{TurnedRect(c, a, b, turn)};
        if (random_.Chance(f.holeChance)) {
            Contour court = TurnedRect(c, 0.4 * a, 0.4 * b, turn);
            std::reverse(court.begin(), court.end());
            contours.push_back(std::move(court));
        }
        return contours;
    }

    // Star-shaped about c, so simple; every anchor at least `inner` of r from c and at most r.
    Contour Star(Point c, double r, double inner, int anchors) {
        Contour star;
        const double step = 2 * kPi / anchors;
        const double start = random_.Uniform(0, step);
        for (int i = 0; i < anchors; ++i) {
            const double angle = start + i * step + random_.Uniform(-0.3, 0.3) * step;
            star.push_back(Step(c, angle, r * random_.Uniform(inner, 1.0)));
        }
        return star;
    }

    double FittingRadius(double r) const {
        const double room = std::min(bounds_.right - bounds_.left, bounds_.top - bounds_.bottom) / 2 - 2 * margin_;
        return std::max(margin_, std::min(r, room));
    }

    // Outer anchors lie at least 0.65 r out and at most 0.4 of the step apart in angle, so the
    // outline keeps out of the disc of 0.55 r; islands stay within 0.4 r and apart.
    std::vector<Contour> Blob(const Feature& f) {
        const double r = FittingRadius(unit_ * random_.Uniform(f.minSize, f.maxSize));
        const Point c = Centre(f, r, true);
        std::vector<Contour> contours{Star(c, r, 0.65, 10 + random_.Below(9))};
        if (random_.Chance(f.holeChance)) {
            const int islands = 1 + random_.Below(2);
            const double turn = random_.Uniform(0, 2 * kPi);
            for (int i = 0; i < islands; ++i) {
                const Point ic = islands == 1 ? c : Step(c, turn + i * kPi, 0.2 * r);
                Contour island = Star(ic, 0.15 * r, 0.6, 6 + random_.Below(4));
                std::reverse(island.begin(), island.end());
                contours.push_back(std::move(island));
            }
        }
        return contours;
    }

    Contour BigRing(const Feature& f) {
        const double r = FittingRadius(unit_ * random_.Uniform(f.minSize, f.maxSize));
        return Star(RandomPoint(r), r, 0.75, 16 + random_.Below(13));
    }

    // Point text inside one tile, a margin from its edges. Width and height are reckoned
    // generously (a full em per character, a fifth of an em below the baseline).
    void PlaceLabel(const Feature& f, MapObject& object) {
        const auto& names = *f.names;
        object.text = names[random_.Below(static_cast<int>(names.size()))];
        const double chars = static_cast<double>(CodePoints(object.text));
        const double fit = std::min((grid_.tileWidth - 2 * margin_) / chars, (grid_.tileHeight - 2 * margin_) / 1.2);
        const double size = std::min(std::round(2 * random_.Uniform(f.minSize, f.maxSize)) / 2, std::floor(fit));
        object.fontSize = static_cast<float>(std::max(1.0, size));
        const double width = chars * object.fontSize;
        const double ascent = object.fontSize;
        const double descent = 0.2 * object.fontSize;
        const int32_t k = random_.Below(grid_.columns);
        const int32_t j = -random_.Below(grid_.rows);
        const Rect tile = grid_.TileBounds(k, j);
        const double left = tile.left + margin_, bottom = tile.bottom + margin_ + descent;
        const double h = Quantize(random_.Uniform(left, std::max(left, tile.right - margin_ - width)));
        const double v = Quantize(random_.Uniform(bottom, std::max(bottom, tile.top - margin_ - ascent)));
        object.anchor = {h, v};
        object.labelBounds = {h, v - descent, h + width, v + ascent};
    }

    const TileGrid& grid_;
    Random random_;
    Rect bounds_;
    double unit_;
    double margin_;
};

}  // namespace

SampleMap DrawSampleMap(const MapOptions& options) {
    if (options.style == MapStyle::Network) return DrawNetworkMap(options);
    SampleMap map;
    map.kind = options.kind;
    const bool tokyo = options.kind == MeshKind::Tokyo23;
    map.scheme = tokyo ? tokyo23LayerScheme : materialLayerScheme;
    map.schemeCount = tokyo ? tokyo23LayerSchemeCount : materialLayerSchemeCount;

    Painter painter(options);
    const int32_t density = std::max<int32_t>(1, options.density);
    for (const Feature& feature : tokyo ? Tokyo23Legend() : MaterialLegend()) {
        const int layer = static_cast<int>(map.layers.size());
        map.layers.push_back(FindLayer(map.scheme, map.schemeCount, feature.layer, feature.occurrence));
        const int firstStyle = static_cast<int>(map.styles.size());
        map.styles.insert(map.styles.end(), feature.styles.begin(), feature.styles.end());
        painter.Draw(feature, layer, firstStyle, density, map.objects);
    }
    return map;
}

}  // namespace samplemap
