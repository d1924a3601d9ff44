#include "svg/SvgGeometry.h"

#include <charconv>
#include <cmath>
#include <numbers>

namespace quiltor::host::svg {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Numbers in the SVG grammar: "1-2" is two numbers, ".5.5" too, and commas are optional.
class Scanner {
public:
    explicit Scanner(std::string_view text) : s_(text) {}

    void skipSeparators() {
        while (i_ < s_.size() && (IsSpace(s_[i_]) || s_[i_] == ',')) ++i_;
    }
    bool atEnd() {
        skipSeparators();
        return i_ >= s_.size();
    }
    char peek() {
        skipSeparators();
        return i_ < s_.size() ? s_[i_] : '\0';
    }
    void advance() { ++i_; }
    bool startsNumber() {
        const char c = peek();
        return IsDigit(c) || c == '.' || c == '-' || c == '+';
    }

    std::optional<double> number() {
        skipSeparators();
        size_t j = i_;
        if (j < s_.size() && (s_[j] == '+' || s_[j] == '-')) ++j;
        const size_t mantissa = j;
        while (j < s_.size() && IsDigit(s_[j])) ++j;
        if (j < s_.size() && s_[j] == '.') {
            ++j;
            while (j < s_.size() && IsDigit(s_[j])) ++j;
        }
        if (j == mantissa || (j == mantissa + 1 && s_[mantissa] == '.')) return std::nullopt;
        if (j < s_.size() && (s_[j] == 'e' || s_[j] == 'E')) {
            size_t k = j + 1;
            if (k < s_.size() && (s_[k] == '+' || s_[k] == '-')) ++k;
            if (k < s_.size() && IsDigit(s_[k])) {
                while (k < s_.size() && IsDigit(s_[k])) ++k;
                j = k;
            }
        }
        size_t from = i_;
        if (s_[from] == '+') ++from;
        double value = 0;
        auto result = std::from_chars(s_.data() + from, s_.data() + j, value);
        if (result.ec != std::errc() || result.ptr != s_.data() + j) return std::nullopt;
        i_ = j;
        return value;
    }

    // Arc flags are single characters and may run into what follows ("a1 1 0 00 1 1").
    std::optional<bool> flag() {
        skipSeparators();
        if (i_ < s_.size() && (s_[i_] == '0' || s_[i_] == '1')) return s_[i_++] == '1';
        return std::nullopt;
    }

    size_t position() const { return i_; }

private:
    std::string_view s_;
    size_t i_ = 0;
};

class PathBuilder {
public:
    std::vector<Subpath> take() {
        finish();
        return std::move(paths_);
    }

    void moveTo(Point2 p) {
        finish();
        paths_.push_back(Subpath{});
        paths_.back().segments.push_back(Segment2{p, p, p});
        current_ = start_ = p;
        open_ = true;
    }
    void lineTo(Point2 p) {
        ensureOpen();
        paths_.back().segments.push_back(Segment2{p, p, p});
        current_ = p;
    }
    void curveTo(Point2 c1, Point2 c2, Point2 p) {
        ensureOpen();
        paths_.back().segments.back().out = c1;
        paths_.back().segments.push_back(Segment2{p, c2, p});
        current_ = p;
    }
    void close() {
        if (!open_) return;
        Subpath& path = paths_.back();
        path.closed = true;
        if (path.segments.size() > 1 && path.segments.back().p == path.segments.front().p) {
            path.segments.front().in = path.segments.back().in;
            path.segments.pop_back();
        }
        current_ = start_;
        open_ = false;
    }
    void arcTo(double rx, double ry, double degrees, bool large, bool sweep, Point2 p);
    Point2 current() const { return current_; }

private:
    // Drawing after a close starts a new subpath at the closed one's start.
    void ensureOpen() {
        if (!open_) moveTo(current_);
    }
    // A subpath that draws nothing (a lone move) is dropped.
    void finish() {
        if (paths_.empty()) return;
        const Subpath& last = paths_.back();
        const bool nothing =
            last.segments.empty() || (last.segments.size() == 1 && last.segments[0].in == last.segments[0].p &&
                                      last.segments[0].out == last.segments[0].p);
        if (nothing) paths_.pop_back();
    }

    std::vector<Subpath> paths_;
    Point2 current_, start_;
    bool open_ = false;
};

// Endpoint arcs as cubic curves of at most a quarter turn each.
void PathBuilder::arcTo(double rx, double ry, double degrees, bool large, bool sweep, Point2 p) {
    const Point2 p0 = current_;
    if (p0 == p) return;
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (rx == 0 || ry == 0) {
        lineTo(p);
        return;
    }
    const double phi = degrees * std::numbers::pi / 180.0;
    const double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
    const double dx2 = (p0.x - p.x) / 2, dy2 = (p0.y - p.y) / 2;
    const double x1 = cosPhi * dx2 + sinPhi * dy2;
    const double y1 = -sinPhi * dx2 + cosPhi * dy2;
    const double lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double coef = den > 0 ? std::sqrt(std::max(0.0, num / den)) : 0;
    if (large == sweep) coef = -coef;
    const double cx1 = coef * rx * y1 / ry;
    const double cy1 = -coef * ry * x1 / rx;
    const double cx = cosPhi * cx1 - sinPhi * cy1 + (p0.x + p.x) / 2;
    const double cy = sinPhi * cx1 + cosPhi * cy1 + (p0.y + p.y) / 2;
    auto angle = [](double ux, double uy, double vx, double vy) {
        return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
    };
    const double theta1 = angle(1, 0, (x1 - cx1) / rx, (y1 - cy1) / ry);
    double delta = angle((x1 - cx1) / rx, (y1 - cy1) / ry, (-x1 - cx1) / rx, (-y1 - cy1) / ry);
    if (!sweep && delta > 0) delta -= 2 * std::numbers::pi;
    if (sweep && delta < 0) delta += 2 * std::numbers::pi;
    if (!std::isfinite(delta)) {
        lineTo(p);
        return;
    }
    const int pieces = std::max(1, static_cast<int>(std::ceil(std::fabs(delta) / (std::numbers::pi / 2) - 1e-9)));
    const double step = delta / pieces;
    const double t = 4.0 / 3.0 * std::tan(step / 4);
    auto at = [&](double a) {
        return Point2{cx + rx * std::cos(a) * cosPhi - ry * std::sin(a) * sinPhi,
                      cy + rx * std::cos(a) * sinPhi + ry * std::sin(a) * cosPhi};
    };
    auto tangent = [&](double a) {
        return Point2{-rx * std::sin(a) * cosPhi - ry * std::cos(a) * sinPhi,
                      -rx * std::sin(a) * sinPhi + ry * std::cos(a) * cosPhi};
    };
    for (int k = 0; k < pieces; ++k) {
        const double a1 = theta1 + k * step, a2 = a1 + step;
        const Point2 e1 = at(a1), d1 = tangent(a1), d2 = tangent(a2);
        const Point2 e2 = k == pieces - 1 ? p : at(a2);
        curveTo(Point2{e1.x + t * d1.x, e1.y + t * d1.y}, Point2{e2.x - t * d2.x, e2.y - t * d2.y}, e2);
    }
}

}  // namespace

Affine Affine::operator*(const Affine& m) const {
    return Affine{a * m.a + c * m.b, b * m.a + d * m.b,     a * m.c + c * m.d,
                  b * m.c + d * m.d, a * m.e + c * m.f + e, b * m.e + d * m.f + f};
}

double Affine::scale() const { return std::sqrt(std::fabs(a * d - b * c)); }

std::vector<Subpath> ParsePathData(std::string_view d) {
    Scanner in(d);
    PathBuilder path;
    char command = 0;
    Point2 lastCubic, lastQuad;  // reflected by S and T
    char previous = 0;
    while (!in.atEnd()) {
        const char c = in.peek();
        if (IsAlpha(c)) {
            command = c;
            in.advance();
        } else if (!command || command == 'Z' || command == 'z' || !in.startsNumber()) {
            break;
        }
        if (previous == 0 && command != 'M' && command != 'm') break;  // path data starts with a move
        const bool relative = command >= 'a' && command <= 'z';
        const Point2 origin = relative ? path.current() : Point2{};
        auto point = [&]() -> std::optional<Point2> {
            auto x = in.number();
            if (!x) return std::nullopt;
            auto y = in.number();
            if (!y) return std::nullopt;
            return Point2{origin.x + *x, origin.y + *y};
        };
        const Point2 here = path.current();
        bool ok = true;
        switch (command) {
        case 'M':
        case 'm':
            if (auto p = point()) {
                path.moveTo(*p);
                command = relative ? 'l' : 'L';  // further pairs draw lines
            } else {
                ok = false;
            }
            break;
        case 'Z':
        case 'z': path.close(); break;
        case 'L':
        case 'l':
            if (auto p = point())
                path.lineTo(*p);
            else
                ok = false;
            break;
        case 'H':
        case 'h':
            if (auto x = in.number())
                path.lineTo(Point2{origin.x + *x, here.y});
            else
                ok = false;
            break;
        case 'V':
        case 'v':
            if (auto y = in.number())
                path.lineTo(Point2{here.x, origin.y + *y});
            else
                ok = false;
            break;
        case 'C':
        case 'c': {
            auto c1 = point();
            auto c2 = c1 ? point() : std::nullopt;
            auto p = c2 ? point() : std::nullopt;
            if (!p) {
                ok = false;
                break;
            }
            path.curveTo(*c1, *c2, *p);
            lastCubic = *c2;
            break;
        }
        case 'S':
        case 's': {
            auto c2 = point();
            auto p = c2 ? point() : std::nullopt;
            if (!p) {
                ok = false;
                break;
            }
            const bool follows = previous == 'C' || previous == 'c' || previous == 'S' || previous == 's';
            const Point2 c1 = follows ? Point2{2 * here.x - lastCubic.x, 2 * here.y - lastCubic.y} : here;
            path.curveTo(c1, *c2, *p);
            lastCubic = *c2;
            break;
        }
        case 'Q':
        case 'q':
        case 'T':
        case 't': {
            const bool smooth = command == 'T' || command == 't';
            std::optional<Point2> q;
            if (smooth) {
                const bool follows = previous == 'Q' || previous == 'q' || previous == 'T' || previous == 't';
                q = follows ? Point2{2 * here.x - lastQuad.x, 2 * here.y - lastQuad.y} : here;
            } else {
                q = point();
            }
            auto p = q ? point() : std::nullopt;
            if (!p) {
                ok = false;
                break;
            }
            const Point2 c1{here.x + 2.0 / 3.0 * (q->x - here.x), here.y + 2.0 / 3.0 * (q->y - here.y)};
            const Point2 c2{p->x + 2.0 / 3.0 * (q->x - p->x), p->y + 2.0 / 3.0 * (q->y - p->y)};
            path.curveTo(c1, c2, *p);
            lastQuad = *q;
            break;
        }
        case 'A':
        case 'a': {
            auto rx = in.number();
            auto ry = rx ? in.number() : std::nullopt;
            auto rotation = ry ? in.number() : std::nullopt;
            auto large = rotation ? in.flag() : std::nullopt;
            auto sweep = large ? in.flag() : std::nullopt;
            auto p = sweep ? point() : std::nullopt;
            if (!p) {
                ok = false;
                break;
            }
            path.arcTo(*rx, *ry, *rotation, *large, *sweep, *p);
            break;
        }
        default: ok = false; break;
        }
        if (!ok) break;
        previous = command;
    }
    return path.take();
}

std::optional<Affine> ParseTransform(std::string_view text) {
    Affine result;
    size_t i = 0;
    auto skip = [&]() {
        while (i < text.size() && (IsSpace(text[i]) || text[i] == ',')) ++i;
    };
    skip();
    while (i < text.size()) {
        const size_t nameStart = i;
        while (i < text.size() && IsAlpha(text[i])) ++i;
        const std::string_view name = text.substr(nameStart, i - nameStart);
        while (i < text.size() && IsSpace(text[i])) ++i;
        if (name.empty() || i >= text.size() || text[i] != '(') return std::nullopt;
        const size_t close = text.find(')', i);
        if (close == std::string_view::npos) return std::nullopt;
        const std::vector<double> v = ParseNumberList(text.substr(i + 1, close - i - 1));
        i = close + 1;
        Affine m;
        const double pi = std::numbers::pi;
        if (name == "matrix" && v.size() == 6) {
            m = Affine{v[0], v[1], v[2], v[3], v[4], v[5]};
        } else if (name == "translate" && (v.size() == 1 || v.size() == 2)) {
            m.e = v[0];
            m.f = v.size() == 2 ? v[1] : 0;
        } else if (name == "scale" && (v.size() == 1 || v.size() == 2)) {
            m.a = v[0];
            m.d = v.size() == 2 ? v[1] : v[0];
        } else if (name == "rotate" && (v.size() == 1 || v.size() == 3)) {
            const double r = v[0] * pi / 180.0;
            const Affine turn{std::cos(r), std::sin(r), -std::sin(r), std::cos(r), 0, 0};
            if (v.size() == 3) {
                m = Affine{1, 0, 0, 1, v[1], v[2]} * turn * Affine{1, 0, 0, 1, -v[1], -v[2]};
            } else {
                m = turn;
            }
        } else if (name == "skewX" && v.size() == 1) {
            m.c = std::tan(v[0] * pi / 180.0);
        } else if (name == "skewY" && v.size() == 1) {
            m.b = std::tan(v[0] * pi / 180.0);
        } else {
            return std::nullopt;
        }
        result = result * m;
        skip();
    }
    return result;
}

std::vector<double> ParseNumberList(std::string_view text) {
    Scanner in(text);
    std::vector<double> values;
    while (!in.atEnd()) {
        auto v = in.number();
        if (!v) break;
        values.push_back(*v);
    }
    return values;
}

Subpath RectPath(double x, double y, double width, double height) {
    Subpath path;
    path.closed = true;
    for (Point2 p : {Point2{x, y}, Point2{x + width, y}, Point2{x + width, y + height}, Point2{x, y + height}})
        path.segments.push_back(Segment2{p, p, p});
    return path;
}

Subpath EllipsePath(double cx, double cy, double rx, double ry) {
    constexpr double k = 0.5522847498307936;  // 4/3 (sqrt 2 - 1): a quarter circle as one cubic
    Subpath path;
    path.closed = true;
    const double kx = k * rx, ky = k * ry;
    path.segments.push_back(Segment2{{cx + rx, cy}, {cx + rx, cy - ky}, {cx + rx, cy + ky}});
    path.segments.push_back(Segment2{{cx, cy + ry}, {cx + kx, cy + ry}, {cx - kx, cy + ry}});
    path.segments.push_back(Segment2{{cx - rx, cy}, {cx - rx, cy + ky}, {cx - rx, cy - ky}});
    path.segments.push_back(Segment2{{cx, cy - ry}, {cx - kx, cy - ry}, {cx + kx, cy - ry}});
    return path;
}

Subpath PolyPath(const std::vector<double>& coordinates, bool closed) {
    Subpath path;
    path.closed = closed;
    for (size_t i = 0; i + 1 < coordinates.size(); i += 2) {
        const Point2 p{coordinates[i], coordinates[i + 1]};
        path.segments.push_back(Segment2{p, p, p});
    }
    return path;
}

bool SmoothAnchor(const AIPathSegment& s) {
    const double ix = double(s.in.h) - s.p.h, iy = double(s.in.v) - s.p.v;
    const double ox = double(s.out.h) - s.p.h, oy = double(s.out.v) - s.p.v;
    const double li = ix * ix + iy * iy, lo = ox * ox + oy * oy;
    const double cross = ix * oy - iy * ox;
    // In line within a thousandth of the two lengths, and pointing away from each other.
    return li > 0 && lo > 0 && cross * cross <= 1e-6 * li * lo && ix * ox + iy * oy < 0;
}

std::vector<AIPathSegment> ToHostSegments(const Subpath& path, const Affine& toDocument) {
    auto host = [&](Point2 p) {
        const Point2 q = toDocument.apply(p);
        return AIRealPoint{NearestReal(q.x), NearestReal(q.y)};
    };
    std::vector<AIPathSegment> out;
    out.reserve(path.segments.size());
    for (const Segment2& s : path.segments) {
        AIPathSegment h{};
        h.p = host(s.p);
        h.in = host(s.in);
        h.out = host(s.out);
        h.corner = !SmoothAnchor(h);
        out.push_back(h);
    }
    return out;
}

}  // namespace quiltor::host::svg
