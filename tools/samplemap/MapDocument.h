// Turns map objects into a document of the substitute host and writes it with the host's own
// SVG writer, so the tiles are exactly what the host reads back.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "MapModel.h"

namespace quiltor::host {
class Document;
class StyleTable;
}  // namespace quiltor::host

namespace samplemap {

// The page a document shows: its size in points and where its artboard lies in its coordinates.
struct PageFrame {
    double width = 0;
    double height = 0;
    Rect artboard;
};

// A document titled title carrying the map's whole scheme tree (every layer, in order, as a tile
// of that scheme has them) and the objects on their layers, the first object of a layer topmost.
// Faces with holes become compound paths, the outer outline first; anchors are corner points
// without handles. The document comes back unmodified, with nothing to undo.
std::unique_ptr<quiltor::host::Document> BuildMapDocument(quiltor::host::StyleTable& styles, const SampleMap& map,
                                                          const std::vector<MapObject>& objects, const PageFrame& page,
                                                          const std::string& title);

// Builds the document and writes it to path. On failure returns false and fills *error.
bool WriteMapDocument(const SampleMap& map, const std::vector<MapObject>& objects, const PageFrame& page,
                      const std::string& title, const std::string& path, std::string* error);

}  // namespace samplemap
