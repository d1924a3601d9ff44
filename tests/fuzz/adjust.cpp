// Adjust on maps and ranges read from the bytes: faces (some with a hole), lines and labels
// scattered over a square, and a star-shaped range. Inside the range nothing may be lost; outside
// it no filled area may be left.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <vector>

#include "AdjustHost.h"
#include "ByteReader.h"

namespace {

using namespace adjusttest;

// 0 to 1000 in quarter points, which keep every coordinate exact in single precision.
AIReal Coord(ByteReader& in) {
    const int high = in.Next();
    const int low = in.Next();
    return AIReal(((high << 8) | low) % 4001) / 4;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    // The range first: a star around the middle, its corners in angle order, so it is simple.
    Contour outline;
    const int corners = 3 + in.Next() % 8;
    for (int i = 0; i < corners; ++i) {
        const double angle = (i + 0.25 + (in.Next() % 50) / 100.0) * 2 * M_PI / corners;
        const double radius = 60 + in.Next() % 400;
        outline.push_back({AIReal(std::round((500 + radius * std::cos(angle)) * 4) / 4),
                           AIReal(std::round((500 + radius * std::sin(angle)) * 4) / 4)});
    }
    AdjustHost h;
    const AILayerHandle blocks = h.AddLayer("街区");
    const AILayerHandle roads = h.AddLayer("道路");
    const AILayerHandle labels = h.AddLayer("町・大字名");
    struct Face {
        std::vector<Contour> contours;
        const void* style;
    };
    std::vector<Face> faces;
    std::vector<std::pair<AIArtHandle, Contour>> lines;
    std::vector<std::pair<AIArtHandle, AIRealRect>> texts;
    while (in.More() && faces.size() + lines.size() + texts.size() < 30) {
        const uint8_t kind = in.Next() % 3;
        const AIReal left = Coord(in), bottom = Coord(in);
        const AIReal right = left + 4 + Coord(in) / 4, top = bottom + 4 + Coord(in) / 4;
        if (kind == 0) {
            std::vector<Contour> contours = {Rect(left, bottom, right, top)};
            if (in.Next() % 2) contours.push_back(Rect(left + 1, bottom + 1, right - 1, top - 1));
            const Cmyk colour{AIReal(faces.size()) / 32, 0.5f, 0.25f, 0};
            faces.push_back({contours, h.document().findArt(h.AddFace(blocks, contours, colour))->style});
        } else if (kind == 1) {
            const Contour points = {{left, bottom}, {right, top}, {right, bottom}};
            lines.push_back({h.AddLine(roads, points), points});
        } else {
            const AIArtHandle text = h.AddText(labels, u"町名", {left, bottom}, 12);
            texts.push_back({text, BoundsOf(h.document().findArt(text))});
        }
    }
    h.AddClipLayer(outline);
    h.Run();

    for (const auto& [art, points] : lines) {
        bool inside = true;
        for (const AIRealPoint& p : points) inside &= Inside(outline, p);
        if (inside && (!h.Alive(art) || Points(h.document().findArt(art)) != Points(points))) std::abort();
    }
    std::map<const void*, double> areaByStyle;
    for (const quiltor::host::Art* piece : h.Objects(blocks)) {
        if (AreaOutside(piece, outline) > 1e-2) std::abort();
        areaByStyle[piece->style] += Area(piece);
    }
    for (const Face& face : faces) {
        const double want = AreaInside(face.contours, outline);
        if (std::fabs(areaByStyle[face.style] - want) > 1e-6 * want + 1e-2) std::abort();
    }
    for (const auto& [art, b] : texts) {
        const bool reaches = AreaInside({Rect(b.left, b.bottom, b.right, b.top)}, outline) > 0;
        if (reaches && !h.Alive(art)) std::abort();
    }
    return 0;
}
