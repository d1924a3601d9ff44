// Seam joins on layouts read from the bytes: lines and rectangles on a lattice whose lines fall on
// the seams of a 2 x 2 block. The indexed joins must leave every layer exactly as the plain
// pairwise loops do, after each step.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ByteReader.h"
#include "PlainSeamLoops.h"
#include "SeamDoc.h"
#include "SeamJoin.h"
#include "SeamLayouts.h"

namespace {

using namespace seamtest;

// On the lattice of quarter tiles, seams included, and a little beyond.
AIRealPoint Point(ByteReader& in) {
    const uint8_t b = in.Next();
    return {float((b & 0x0F) % 11) * 25.0f - 25.0f, -(float((b >> 4) % 11) * 25.0f - 25.0f)};
}

// Lines are any polyline; faces and rings are rectangles, a compound one with a hole inside it:
// the outlines the pairwise rules were written for (a self-crossing outline has no one answer).
Layout Read(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    Layout layout;
    layout.lastColumn = 1;
    layout.lastRow = 1;
    constexpr int kLines[] = {kLine, kLineWide, kLineEvenOdd, kLineEffect};
    constexpr int kAreas[] = {kFace, kFaceGray, kFaceStroked, kRing, kRingWide};
    while (in.More() && layout.items.size() < 40) {
        const uint8_t head = in.Next();
        Item item;
        if (head % 2 == 0) {
            std::vector<AIRealPoint> points;
            const int count = 2 + in.Next() % 6;
            for (int k = 0; k < count; ++k) points.push_back(Point(in));
            item.shapes.push_back(Polyline(points, false, kLines[(head >> 1) % std::size(kLines)]));
            item.kind = head % 4 == 2 ? Item::Kind::Group : Item::Kind::Path;
        } else {
            const AIRealPoint a = Point(in);
            const AIRealPoint b = Point(in);
            const float left = std::min(a.h, b.h), right = std::max(a.h, b.h);
            const float bottom = std::min(a.v, b.v), top = std::max(a.v, b.v);
            if (right - left < 50 || top - bottom < 50) continue;
            const int style = kAreas[(head >> 1) % std::size(kAreas)];
            auto rect = [](float l, float b, float r, float t) {
                return std::vector<AIRealPoint>{{l, b}, {l, t}, {r, t}, {r, b}};
            };
            item.shapes.push_back(Polyline(rect(left, bottom, right, top), true, style));
            if (head % 4 == 3) {
                item.kind = Item::Kind::Compound;
                item.shapes.push_back(Polyline(rect(left + 10, bottom + 10, right - 10, top - 10), true, style));
            }
        }
        layout.items.push_back(item);
    }
    return layout;
}

using JoinFn = int (*)(AILayerHandle, const SeamGrid&);

std::vector<std::string> Steps(SeamHost& host, const Layout& layout, JoinFn lines, JoinFn faces, JoinFn rings) {
    const AILayerHandle layer = host.NewDocument();
    Build(layer, layout);
    std::vector<std::string> dumps;
    for (JoinFn step : {lines, faces, rings}) {
        step(layer, layout.Grid());
        dumps.push_back(Dump(layer));
    }
    host.CloseDocument();
    return dumps;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SeamHost host;
    if (!host.ok()) std::abort();
    const Layout layout = Read(data, size);
    const auto indexed =
        Steps(host, layout, seamjoin::LineConnect, seamjoin::CompoundShape, seamjoin::CompoundPolyline);
    const auto plain =
        Steps(host, layout, plainseam::LineConnect, plainseam::CompoundShape, plainseam::CompoundPolyline);
    if (indexed != plain) {
        for (size_t step = 0; step < indexed.size(); ++step) {
            if (indexed[step] == plain[step]) continue;
            std::fprintf(stderr, "step %zu differs\n-- indexed\n%s\n-- plain\n%s\n", step, indexed[step].c_str(),
                         plain[step].c_str());
            break;
        }
        std::abort();
    }
    return 0;
}
