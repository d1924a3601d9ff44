#include "MapModel.h"

#include <cmath>
#include <stdexcept>

namespace samplemap {

std::string LayerRef::TitlePath() const {
    std::string path;
    for (const std::string& title : titles) {
        if (!path.empty()) path += '/';
        path += title;
    }
    return path;
}

Rect TileGrid::Bounds() const { return {0, (1 - rows) * tileHeight, columns * tileWidth, tileHeight}; }

Rect TileGrid::TileBounds(int32_t k, int32_t j) const {
    return {k * tileWidth, j * tileHeight, (k + 1) * tileWidth, (j + 1) * tileHeight};
}

ArtCounts& ArtCounts::operator+=(const ArtCounts& other) {
    objects += other.objects;
    paths += other.paths;
    anchors += other.anchors;
    lines += other.lines;
    faces += other.faces;
    rings += other.rings;
    labels += other.labels;
    return *this;
}

ArtCounts CountObject(const MapObject& object) {
    ArtCounts counts;
    counts.objects = 1;
    switch (object.kind) {
    case ArtKind::Line: counts.lines = 1; break;
    case ArtKind::Face: counts.faces = 1; break;
    case ArtKind::Ring: counts.rings = 1; break;
    case ArtKind::Label: counts.labels = 1; return counts;
    }
    for (const Contour& contour : object.contours) {
        counts.paths += 1;
        counts.anchors += static_cast<int32_t>(contour.size());
    }
    return counts;
}

ArtCounts CountObjects(const std::vector<MapObject>& objects) {
    ArtCounts total;
    for (const MapObject& object : objects) total += CountObject(object);
    return total;
}

double SignedArea(const Contour& contour) {
    double twice = 0;
    const size_t n = contour.size();
    for (size_t i = 0; i < n; ++i) {
        const Point& a = contour[i];
        const Point& b = contour[(i + 1) % n];
        twice += a.h * b.v - b.h * a.v;
    }
    return twice / 2;
}

double PolylineLength(const Contour& contour) {
    double length = 0;
    for (size_t i = 1; i < contour.size(); ++i) {
        length += std::hypot(contour[i].h - contour[i - 1].h, contour[i].v - contour[i - 1].v);
    }
    return length;
}

double FaceArea(const MapObject& face) {
    double area = 0;
    for (size_t i = 0; i < face.contours.size(); ++i) {
        const double a = std::abs(SignedArea(face.contours[i]));
        area += i == 0 ? a : -a;
    }
    return area;
}

LayerRef LayerAt(const LayerSchemeEntry* scheme, int32_t count, std::vector<int32_t> indices) {
    LayerRef ref;
    const LayerSchemeEntry* list = scheme;
    int32_t listCount = count;
    for (int32_t index : indices) {
        if (list == nullptr || index < 0 || index >= listCount) {
            ref.titles.clear();
            break;
        }
        ref.titles.emplace_back(list[index].title);
        listCount = list[index].count;
        list = list[index].sublayers;
    }
    ref.indices = std::move(indices);
    return ref;
}

LayerRef FindLayer(const LayerSchemeEntry* scheme, int32_t count, const std::vector<std::string>& titles,
                   int occurrence) {
    std::vector<int32_t> indices;
    const LayerSchemeEntry* list = scheme;
    int32_t listCount = count;
    int wanted = occurrence;
    for (const std::string& title : titles) {
        int32_t found = -1;
        for (int32_t i = 0; list != nullptr && i < listCount; ++i) {
            if (title == list[i].title && --wanted == 0) {
                found = i;
                break;
            }
        }
        if (found < 0) throw std::invalid_argument("no layer " + title + " in the scheme");
        indices.push_back(found);
        listCount = list[found].count;
        list = list[found].sublayers;
        wanted = 1;
    }
    return LayerAt(scheme, count, std::move(indices));
}

}  // namespace samplemap
