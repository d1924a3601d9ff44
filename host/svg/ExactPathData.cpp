#include "svg/ExactPathData.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/TextParsing.h"
#include "model/Art.h"
#include "svg/SvgFormat.h"
#include "svg/SvgGeometry.h"

namespace quiltor::host::svg {

namespace {

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool SameBits(const AIRealPoint& a, const AIRealPoint& b) { return SameBits(a.h, b.h) && SameBits(a.v, b.v); }

std::optional<double> Number(std::string_view text) {
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The decimal exponent of a finite non-zero value, give or take one; integer arithmetic only, so
// that every platform starts its digit search at the same place.
int DecimalExponent(double value) {
    int binary = 0;
    std::frexp(value, &binary);
    return (binary * 78913) >> 18;  // binary * log10(2)
}

struct Text {
    char buffer[40];
    size_t size;
    std::string_view view() const { return {buffer, size}; }
};

// The shortest text that reads back as the value, or with `format...` as std::to_chars takes it.
template <class Real, class... Format>
Text Print(Real value, Format... format) {
    Text t;
    const auto result = std::to_chars(t.buffer, t.buffer + sizeof t.buffer, value, format...);
    t.size = static_cast<size_t>(result.ptr - t.buffer);
    return t;
}

bool Straight(const AIPathSegment& from, const AIPathSegment& to) {
    return from.out.h == from.p.h && from.out.v == from.p.v && to.in.h == to.p.h && to.in.v == to.p.v;
}

bool SameAnchor(const AIRealPoint& a, const AIRealPoint& b) { return a.h == b.h && a.v == b.v; }

void AppendEntry(std::string& exact, size_t index, char field, const AIRealPoint* value) {
    if (!exact.empty()) exact += ' ';
    exact += std::to_string(index);
    exact += field;
    if (!value) return;
    exact += '=';
    exact += FormatReal(value->h);
    exact += ',';
    exact += FormatReal(value->v);
}

// Path data as the writer gives it, token by token.
class Tokens {
public:
    explicit Tokens(std::string_view text) : s_(text) {}

    void skip() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == ',' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r'))
            ++i_;
    }
    bool atEnd() {
        skip();
        return i_ >= s_.size();
    }
    // The command letter here, or 0 where a number follows.
    char command() {
        skip();
        const char c = i_ < s_.size() ? s_[i_] : 0;
        if (c == 'M' || c == 'L' || c == 'C' || c == 'Z') {
            ++i_;
            return c;
        }
        return 0;
    }
    std::optional<double> number() {
        skip();
        size_t j = i_;
        while (j < s_.size() && s_[j] != ' ' && s_[j] != ',' && s_[j] != '\t' && s_[j] != '\n' && s_[j] != '\r' &&
               !(s_[j] >= 'A' && s_[j] <= 'Z' && s_[j] != 'E'))
            ++j;
        std::string_view piece = s_.substr(i_, j - i_);
        if (!piece.empty() && piece.front() == '+') piece.remove_prefix(1);
        auto value = Number(piece);
        if (value) i_ = j;
        return value;
    }

private:
    std::string_view s_;
    size_t i_ = 0;
};

}  // namespace

float PageAxes::appendH(std::string& out, float h) const {
    if (!std::isfinite(h)) {
        out += '0';
        return 0;
    }
    const Text shortest = Print(h);
    auto back = Number(shortest.view());
    if (back && SameBits(this->h(*back), h)) {
        out += shortest.view();
        return h;
    }
    // Read through a double, the float's shortest text can round the other way; the double's
    // shortest text is the value itself.
    out += Print(static_cast<double>(h)).view();
    return h;
}

float PageAxes::appendV(std::string& out, float v) const {
    const double y = height_ - static_cast<double>(v);
    if (!std::isfinite(y) || !SameBits(this->v(y), v)) {
        // Not finite, or lost in the flip (-0, or far smaller than the page): a viewer still gets
        // the number nearest to it.
        const Text near = Print(NearestReal(y));
        if (auto back = Number(near.view())) {
            out += near.view();
            return this->v(*back);
        }
        out += '0';
        return this->v(0);
    }
    if (y == 0) {
        out += '0';
        return v;
    }
    // About the digits of a float, and as many more as the page's height puts in front of them;
    // fewer are tried first where the value allows.
    const int more = v == 0 ? 0 : DecimalExponent(std::fabs(y)) - DecimalExponent(std::fabs(static_cast<double>(v)));
    for (int precision = std::clamp(5 + more, 1, 16); precision < 17; ++precision) {
        const Text t = Print(y, std::chars_format::general, precision);
        auto back = Number(t.view());
        if (back && SameBits(this->v(*back), v)) {
            out += t.view();
            return v;
        }
    }
    out += Print(y).view();
    return v;
}

// A command letter only where the command changes: numbers that follow repeat the last one.
void ExactPathWriter::command(std::string& d, char c) {
    if (!d.empty()) d += ' ';
    if (c == last_) return;
    d += c;
    if (c != 'Z') d += ' ';
    last_ = c;
}

void ExactPathWriter::point(std::string& d, const AIRealPoint& p, AIRealPoint& seen) {
    seen.h = axes_.appendH(d, p.h);
    d += ',';
    seen.v = axes_.appendV(d, p.v);
}

void ExactPathWriter::append(const std::vector<AIPathSegment>& s, bool closed, size_t first, std::string& d,
                             std::string& exact) {
    const size_t n = s.size();
    if (n == 0) return;
    // What the reader will get: each handle the path data does not draw sits on its anchor.
    seen_.resize(n);
    last_ = 0;
    command(d, 'M');
    point(d, s[0].p, seen_[0].p);
    seen_[0].in = seen_[0].out = seen_[0].p;
    AIRealPoint closingEnd;
    auto edge = [&](size_t from, size_t to) {
        AIRealPoint& end = to == 0 ? closingEnd : seen_[to].p;
        if (Straight(s[from], s[to])) {
            command(d, 'L');
            point(d, s[to].p, end);
            if (to != 0) seen_[to].in = seen_[to].out = end;
            return;
        }
        command(d, 'C');
        point(d, s[from].out, seen_[from].out);
        d += ' ';
        point(d, s[to].in, seen_[to].in);
        d += ' ';
        point(d, s[to].p, end);
        if (to != 0) seen_[to].out = end;
    };
    for (size_t i = 1; i < n; ++i) edge(i - 1, i);
    if (closed) {
        if (!Straight(s[n - 1], s[0])) {
            edge(n - 1, 0);
        } else if (n > 1 && SameAnchor(seen_[n - 1].p, seen_[0].p)) {
            // A last anchor on the first one would read as the closing edge: so the straight
            // closing edge is drawn out.
            command(d, 'L');
            point(d, s[0].p, closingEnd);
        }
        command(d, 'Z');
    }
    for (size_t i = 0; i < n; ++i) {
        const AIPathSegment& seen = seen_[i];
        if (!SameBits(seen.p, s[i].p)) AppendEntry(exact, first + i, 'p', &s[i].p);
        if (!SameBits(seen.in, s[i].in)) AppendEntry(exact, first + i, 'i', &s[i].in);
        if (!SameBits(seen.out, s[i].out)) AppendEntry(exact, first + i, 'o', &s[i].out);
        if ((s[i].corner != 0) == SmoothAnchor(s[i])) AppendEntry(exact, first + i, 'c', nullptr);
    }
}

std::optional<std::vector<ExactPath>> ReadExactPathData(std::string_view d, const PageAxes& axes) {
    Tokens in(d);
    std::vector<ExactPath> paths;
    char current = 0;
    bool open = false;
    auto point = [&]() -> std::optional<AIRealPoint> {
        auto x = in.number();
        if (!x) return std::nullopt;
        auto y = in.number();
        if (!y) return std::nullopt;
        return AIRealPoint{axes.h(*x), axes.v(*y)};
    };
    while (!in.atEnd()) {
        if (const char c = in.command()) current = c;
        if (current == 'M') {
            auto p = point();
            if (!p) return std::nullopt;
            paths.push_back(ExactPath{});
            paths.back().segments.push_back(AIPathSegment{*p, *p, *p, 0});
            open = true;
            current = 'L';
            continue;
        }
        if (!open) return std::nullopt;  // drawing on after Z: not the writer's form
        std::vector<AIPathSegment>& segs = paths.back().segments;
        if (current == 'Z') {
            // A last edge that ends on the first anchor is the closing edge; a curve has already
            // put its first handle on the anchor it leaves.
            if (segs.size() > 1 && SameAnchor(segs.back().p, segs.front().p)) {
                segs.front().in = segs.back().in;
                segs.pop_back();
            }
            paths.back().closed = true;
            open = false;
            current = 0;
            continue;
        }
        if (current == 'L') {
            auto p = point();
            if (!p) return std::nullopt;
            segs.push_back(AIPathSegment{*p, *p, *p, 0});
        } else if (current == 'C') {
            auto c1 = point();
            auto c2 = c1 ? point() : std::nullopt;
            auto p = c2 ? point() : std::nullopt;
            if (!p) return std::nullopt;
            segs.back().out = *c1;
            segs.push_back(AIPathSegment{*p, *c2, *p, 0});
        } else {
            return std::nullopt;
        }
        // One more than a path may hold: the closing edge.
        if (segs.size() > kMaxPathSegments + 1) return std::nullopt;
    }
    return paths;
}

bool FinishExactPaths(std::string_view exact, const std::vector<ExactPath*>& paths) {
    std::vector<AIPathSegment*> all;
    for (ExactPath* path : paths) {
        for (AIPathSegment& s : path->segments) all.push_back(&s);
    }
    std::vector<AIPathSegment*> turned;
    for (std::string_view entry : Split(exact, " \t\r\n")) {
        size_t i = 0;
        while (i < entry.size() && entry[i] >= '0' && entry[i] <= '9') ++i;
        auto index = ParseInt(entry.substr(0, i));
        if (i == 0 || i == entry.size() || !index || *index < 0 || static_cast<size_t>(*index) >= all.size())
            return false;
        AIPathSegment& s = *all[static_cast<size_t>(*index)];
        const char field = entry[i];
        if (field == 'c') {
            if (i + 1 != entry.size()) return false;
            turned.push_back(&s);
            continue;
        }
        if (i + 1 >= entry.size() || entry[i + 1] != '=') return false;
        const std::string_view value = entry.substr(i + 2);
        const size_t comma = value.find(',');
        if (comma == std::string_view::npos) return false;
        auto h = ParseReal(value.substr(0, comma));
        auto v = ParseReal(value.substr(comma + 1));
        if (!h || !v) return false;
        AIRealPoint* target = field == 'p' ? &s.p : field == 'i' ? &s.in : field == 'o' ? &s.out : nullptr;
        if (!target) return false;
        *target = AIRealPoint{*h, *v};
    }
    for (AIPathSegment* s : all) s->corner = !SmoothAnchor(*s);
    for (AIPathSegment* s : turned) s->corner = !s->corner;
    return true;
}

}  // namespace quiltor::host::svg
