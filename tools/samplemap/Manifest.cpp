#include "Manifest.h"

#include <cstdio>

namespace samplemap {
namespace {

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Enough digits that the tile size reads back as the very float the merge uses.
std::string Number(double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", value);
    return buf;
}

std::string Counts(const ArtCounts& c) {
    return "\"objects\": " + std::to_string(c.objects) + ", \"paths\": " + std::to_string(c.paths) +
           ", \"anchors\": " + std::to_string(c.anchors) + ", \"lines\": " + std::to_string(c.lines) +
           ", \"faces\": " + std::to_string(c.faces) + ", \"rings\": " + std::to_string(c.rings) +
           ", \"labels\": " + std::to_string(c.labels);
}

std::string Layers(const SampleMap& map, const std::vector<MapObject>& objects, const char* indent) {
    std::string out = "[";
    bool first = true;
    for (size_t layer = 0; layer < map.layers.size(); ++layer) {
        const ArtCounts counts = CountLayer(objects, static_cast<int>(layer));
        if (counts.objects == 0) continue;
        out += first ? "\n" : ",\n";
        out += indent;
        out += "{\"layer\": " + Quoted(map.layers[layer].TitlePath()) + ", " + Counts(counts) + "}";
        first = false;
    }
    return out + "]";
}

}  // namespace

ArtCounts CountLayer(const std::vector<MapObject>& objects, int layer) {
    ArtCounts counts;
    for (const MapObject& object : objects) {
        if (object.layer == layer) counts += CountObject(object);
    }
    return counts;
}

std::string ManifestJson(const ManifestInput& input) {
    const MeshBlock& block = *input.block;
    const SampleMap& map = *input.map;
    std::string out = "{\n";
    out += "  \"kind\": " + Quoted(MeshKindName(block.kind)) + ",\n";
    out += "  \"scale\": " + std::to_string(block.scale) + ",\n";
    out += "  \"seed\": " + std::to_string(input.seed) + ",\n";
    out += "  \"density\": " + std::to_string(input.density) + ",\n";
    out += "  \"columns\": " + std::to_string(block.grid.columns) + ",\n";
    out += "  \"rows\": " + std::to_string(block.grid.rows) + ",\n";
    out += "  \"tileWidthPt\": " + Number(block.grid.tileWidth) + ",\n";
    out += "  \"tileHeightPt\": " + Number(block.grid.tileHeight) + ",\n";
    out += "  \"reference\": {\"name\": " + Quoted(kReferenceName) + ", " + Counts(CountObjects(map.objects)) +
           ",\n    \"layers\": " + Layers(map, map.objects, "      ") + "},\n";
    out += "  \"tiles\": [";
    for (size_t i = 0; i < block.tiles.size(); ++i) {
        const BlockTile& tile = block.tiles[i];
        const std::vector<MapObject>& objects = (*input.tiles)[i].objects;
        out += i == 0 ? "\n" : ",\n";
        out += "    {\"name\": " + Quoted(tile.name) + ", \"mesh\": " + std::to_string(tile.code.mesh) +
               ", \"area\": " + std::to_string(tile.code.area) + ", \"k\": " + std::to_string(tile.k) +
               ", \"j\": " + std::to_string(tile.j) + ", " + Counts(CountObjects(objects)) +
               ",\n      \"layers\": " + Layers(map, objects, "        ") + "}";
    }
    out += "\n  ]\n}\n";
    return out;
}

}  // namespace samplemap
