#include "MapDocument.h"

#include <map>
#include <stdexcept>

#include "core/HostStrings.h"
#include "model/Document.h"
#include "svg/Svg.h"

namespace samplemap {
namespace {

using quiltor::host::Art;
using quiltor::host::Document;
using quiltor::host::Layer;
using quiltor::host::Place;

std::u16string Utf16(const std::string& utf8) {
    auto text = quiltor::host::DecodeUtf8(utf8);
    if (!text) throw std::invalid_argument("not UTF-8: " + utf8);
    return *text;
}

AIColor Colour(bool painted, const Cmyk& c) {
    AIColor colour{};
    if (!painted) {
        colour.kind = kNoneColor;
        return colour;
    }
    colour.kind = kFourColor;
    colour.c.f = {c.c, c.m, c.y, c.k};
    return colour;
}

AIPathStyle PathStyleOf(const Style& s, int16_t colorModel) {
    AIPathStyle style = quiltor::host::DefaultPathStyle(colorModel);
    style.fillPaint = s.filled;
    style.fill.color = Colour(s.filled, s.fill);
    style.fill.overprint = false;
    style.strokePaint = s.stroked;
    style.stroke.color = Colour(s.stroked, s.stroke);
    style.stroke.overprint = false;
    if (s.stroked) style.stroke.width = s.strokeWidth;
    style.stroke.dash.length = 0;
    style.stroke.cap = 1;  // round, so joined roads show no notch
    style.stroke.join = 1;
    style.clip = false;
    style.lockClip = false;
    style.evenodd = s.evenOdd;
    return style;
}

using LayerIndex = std::map<std::vector<int32_t>, Layer*>;

void AddLayers(Document& document, Layer* parent, const LayerSchemeEntry* list, int32_t count,
               std::vector<int32_t>& path, LayerIndex& index) {
    for (int32_t i = 0; i < count; ++i) {
        Layer* layer = nullptr;
        if (parent) {
            layer = document.insertLayer(parent, kPlaceInsideOnBottom);
        } else if (i == 0) {
            layer = document.firstLayer();  // the document's own first layer takes the first title
        } else {
            layer = document.insertLayer(nullptr, kPlaceBelowAll);
        }
        if (!layer) throw std::runtime_error("the host refused a layer");
        document.setLayerTitle(layer, Utf16(list[i].title));
        path.push_back(i);
        index[path] = layer;
        if (list[i].group) AddLayers(document, layer, list[i].sublayers, list[i].count, path, index);
        path.pop_back();
    }
}

Art* AddPath(Document& document, const Place& place, const Contour& contour, bool closed) {
    Art* art = document.newArt(kPathArt, place);
    if (!art) throw std::runtime_error("the host refused a path");
    art->segments.reserve(contour.size());
    for (const Point& p : contour) {
        const AIRealPoint anchor{static_cast<AIReal>(p.h), static_cast<AIReal>(p.v)};
        art->segments.push_back(AIPathSegment{anchor, anchor, anchor, 1});
    }
    art->closed = closed;
    return art;
}

void AddObject(Document& document, const Place& place, const MapObject& object, const AIPathStyle& style) {
    Art* art = nullptr;
    switch (object.kind) {
    case ArtKind::Line:
    case ArtKind::Ring: art = AddPath(document, place, object.contours.at(0), object.kind == ArtKind::Ring); break;
    case ArtKind::Face:
        if (object.contours.size() == 1) {
            art = AddPath(document, place, object.contours[0], true);
            break;
        }
        art = document.newArt(kCompoundPathArt, place);
        if (!art) throw std::runtime_error("the host refused a compound path");
        for (const Contour& contour : object.contours) AddPath(document, Place{art, nullptr}, contour, true);
        break;
    case ArtKind::Label:
        art = document.newArt(kTextFrameArt, place);
        if (!art) throw std::runtime_error("the host refused a text frame");
        art->text = Utf16(object.text);
        art->position = {static_cast<AIReal>(object.anchor.h), static_cast<AIReal>(object.anchor.v)};
        art->fontSize = object.fontSize;
        break;
    }
    document.setPathStyle(art, style);
}

}  // namespace

std::unique_ptr<Document> BuildMapDocument(quiltor::host::StyleTable& styles, const SampleMap& map,
                                           const std::vector<MapObject>& objects, const PageFrame& page,
                                           const std::string& title) {
    quiltor::host::NewDocumentOptions options;
    options.widthPt = static_cast<AIReal>(page.width);
    options.heightPt = static_cast<AIReal>(page.height);
    options.colorModel = kDocCMYKColor;
    options.title = title;
    auto document = std::make_unique<Document>(styles, options);
    document->setArtboard({static_cast<AIReal>(page.artboard.left), static_cast<AIReal>(page.artboard.top),
                           static_cast<AIReal>(page.artboard.right), static_cast<AIReal>(page.artboard.bottom)});

    LayerIndex index;
    std::vector<int32_t> path;
    AddLayers(*document, nullptr, map.scheme, map.schemeCount, path, index);
    document->setCurrentLayer(document->firstLayer());

    std::vector<AIPathStyle> pathStyles;
    for (const Style& style : map.styles) pathStyles.push_back(PathStyleOf(style, kDocCMYKColor));
    for (const MapObject& object : objects) {
        const auto layer = index.find(map.layers.at(static_cast<size_t>(object.layer)).indices);
        if (layer == index.end()) throw std::invalid_argument("an object on a layer outside the scheme");
        AddObject(*document, Place{layer->second->group, nullptr}, object,
                  pathStyles.at(static_cast<size_t>(object.style)));
    }
    document->markOpened();
    return document;
}

bool WriteMapDocument(const SampleMap& map, const std::vector<MapObject>& objects, const PageFrame& page,
                      const std::string& title, const std::string& path, std::string* error) {
    quiltor::host::StyleTable styles;
    try {
        const auto document = BuildMapDocument(styles, map, objects, page, title);
        return quiltor::host::WriteSvgFile(*document, path, error);
    } catch (const std::exception& e) {
        if (error) *error = e.what();
        return false;
    }
}

}  // namespace samplemap
