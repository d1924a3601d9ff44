// Seam joins on layouts read from the bytes: pieces on a lattice whose lines fall on the seams of
// a 2 x 2 block. The indexed joins must leave every layer exactly as the plain pairwise loops do,
// after each step.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "PlainSeamLoops.h"
#include "SeamDoc.h"
#include "SeamJoin.h"
#include "SeamLayouts.h"

namespace {

using namespace seamtest;

// Reads the bytes as a layout: per item a kind, a style, a point count and the points.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool More() const { return at_ < size_; }
    uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }
    // On the lattice of quarter tiles, seams included, and a little beyond.
    AIRealPoint Point() {
        const uint8_t b = Next();
        return {float((b & 0x0F) % 11) * 25.0f - 25.0f, -(float((b >> 4) % 11) * 25.0f - 25.0f)};
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

Layout Read(const uint8_t* data, size_t size) {
    Reader in(data, size);
    Layout layout;
    layout.lastColumn = 1;
    layout.lastRow = 1;
    constexpr int kStyles[] = {kLine, kLineWide, kLineEvenOdd, kLineEffect, kFace, kFaceGray, kFaceStroked, kRing, kRingWide};
    while (in.More() && layout.items.size() < 40) {
        const uint8_t head = in.Next();
        Item item;
        const int members = head % 4 == 1 ? 2 : 1;
        item.kind = head % 4 == 1 ? Item::Kind::Compound : head % 4 == 2 ? Item::Kind::Group : Item::Kind::Path;
        for (int m = 0; m < members; ++m) {
            const int style = kStyles[(head >> 2) % std::size(kStyles)];
            const bool closed = style >= kFace;
            std::vector<AIRealPoint> points;
            const int count = 2 + in.Next() % 6;
            for (int k = 0; k < count; ++k) points.push_back(in.Point());
            item.shapes.push_back(Polyline(points, closed, style));
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
    const auto indexed = Steps(host, layout, seamjoin::LineConnect, seamjoin::CompoundShape, seamjoin::CompoundPolyline);
    const auto plain = Steps(host, layout, plainseam::LineConnect, plainseam::CompoundShape, plainseam::CompoundPolyline);
    if (indexed != plain) std::abort();
    return 0;
}
