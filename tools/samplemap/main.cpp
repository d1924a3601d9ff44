// quiltor-samplemap: writes a block of tile documents cut from one synthetic map.
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "Manifest.h"
#include "SampleMapRun.h"

namespace {

constexpr char kUsage[] =
    "usage: quiltor-samplemap [options] -o DIR\n"
    "Draws one continuous synthetic map, cuts it at the tile edges and writes every tile as a tile\n"
    "document named as Quiltor セレクトマージ expects, plus reference.svg (the uncut map) and\n"
    "manifest.json (per tile: k, j and the object and anchor counts).\n"
    "\n"
    "  --kind KIND      material (default), matqua, mat1st or tokyo23\n"
    "  --origin CODE    mesh code of the north-west tile (matqua: CODE_AREA, e.g. 533945_3)\n"
    "                   default 533945, 533945_3, 5339 or 53394500\n"
    "  --columns N      tiles from west to east (default 3)\n"
    "  --rows M         tiles from north to south (default 3; tokyo23 2)\n"
    "  --scale S        scale denominator (default 25000, 10000, 200000 or 2500)\n"
    "  --seed K         the same seed gives the same files (default 1)\n"
    "  --density D      multiplies every object count (default 1: a few per layer and tile;\n"
    "                   100: a few thousand objects per tile)\n"
    "  --style STYLE    scatter (default: objects strewn one by one) or network (as map data\n"
    "                   comes: boundary and road networks split at every junction, one feature\n"
    "                   per stretch, junctions inland and a few points off the seams, and areas\n"
    "                   sharing straight borders, some from seam to seam, some just off a seam)\n"
    "  --seam-junctions network: put some junctions of three or more lines right on a seam\n"
    "  -o, --output DIR folder for the files (made when missing)\n";

template <typename T>
bool ParseNumber(std::string_view text, T* value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

int Fail(const std::string& why) {
    std::fprintf(stderr, "quiltor-samplemap: %s\n%s", why.c_str(), kUsage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace samplemap;
    MeshKind kind = MeshKind::Material;
    std::string origin, columns, rows, scale, seed = "1", density = "1", out;
    MapStyle style = MapStyle::Scatter;
    bool seamJunctions = false;

    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--seam-junctions") {
            seamJunctions = true;
            continue;
        }
        if (i + 1 >= argc) return Fail("missing value after " + std::string(arg));
        const std::string value = argv[++i];
        if (arg == "--kind") {
            const auto parsed = ParseMeshKind(value);
            if (!parsed) return Fail("unknown kind " + value);
            kind = *parsed;
        } else if (arg == "--style") {
            if (value != "scatter" && value != "network") return Fail("unknown style " + value);
            style = value == "network" ? MapStyle::Network : MapStyle::Scatter;
        } else if (arg == "--origin") {
            origin = value;
        } else if (arg == "--columns") {
            columns = value;
        } else if (arg == "--rows") {
            rows = value;
        } else if (arg == "--scale") {
            scale = value;
        } else if (arg == "--seed") {
            seed = value;
        } else if (arg == "--density") {
            density = value;
        } else if (arg == "-o" || arg == "--output") {
            out = value;
        } else {
            return Fail("unknown option " + std::string(arg));
        }
    }
    if (out.empty()) return Fail("no output folder (-o DIR)");
    if (seamJunctions && style != MapStyle::Network) return Fail("--seam-junctions needs --style network");

    RunOptions options;
    options.outDir = out;
    options.style = style;
    options.seamJunctions = seamJunctions;
    options.block.kind = kind;
    options.block.origin = DefaultOrigin(kind);
    options.block.scale = DefaultScale(kind);
    options.block.columns = 3;
    options.block.rows = kind == MeshKind::Tokyo23 ? 2 : 3;
    if (!origin.empty()) {
        const auto code = ParseOrigin(kind, origin);
        if (!code) return Fail("not a " + std::string(MeshKindName(kind)) + " mesh code: " + origin);
        options.block.origin = *code;
    }
    if (!columns.empty() && !ParseNumber(columns, &options.block.columns)) return Fail("bad --columns " + columns);
    if (!rows.empty() && !ParseNumber(rows, &options.block.rows)) return Fail("bad --rows " + rows);
    if (!scale.empty() && !ParseNumber(scale, &options.block.scale)) return Fail("bad --scale " + scale);
    if (!ParseNumber(seed, &options.seed)) return Fail("bad --seed " + seed);
    if (!ParseNumber(density, &options.density)) return Fail("bad --density " + density);

    RunResult result;
    std::string error;
    if (!WriteSampleMap(options, &result, &error)) {
        std::fprintf(stderr, "quiltor-samplemap: %s\n", error.c_str());
        return 1;
    }
    std::printf("wrote %zu tiles, %s and %s to %s (%d objects)\n", result.files.size() - 2, kReferenceName,
                kManifestName, out.c_str(), result.objects);
    return 0;
}
