#include "cli/MergeOptions.h"

#include <algorithm>
#include <charconv>

namespace quiltor::cli {

namespace {

enum class Kind { MatQua, Material, Mat1st, Tokyo23 };  // the order the dialog lists them in

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool AllZeros(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == '0'; });
}

// The kind of a tile file name, by its length and fields; nullopt for anything else.
std::optional<Kind> KindOfTileName(std::string_view name) {
    if (name.size() < 4) return std::nullopt;
    const std::string_view ext = name.substr(name.size() - 3);
    if (ext[0] != '.' || (ext[1] != 'a' && ext[1] != 'A') || (ext[2] != 'i' && ext[2] != 'I')) return std::nullopt;
    auto fields = [&](size_t meshDigits, bool area, size_t scaleDigits) {
        size_t at = meshDigits;
        if (!AllDigits(name.substr(0, meshDigits)) || name[at] != '_') return false;
        ++at;
        if (area) {
            if (name[at] < '1' || name[at] > '4' || name[at + 1] != '_') return false;
            at += 2;
        }
        const std::string_view scale = name.substr(at, scaleDigits);
        return AllDigits(scale) && !AllZeros(scale);
    };
    switch (name.size()) {
    case 18: return fields(6, true, 6) ? std::optional(Kind::MatQua) : std::nullopt;
    case 16: return fields(6, false, 6) ? std::optional(Kind::Material) : std::nullopt;
    case 14: return fields(4, false, 6) ? std::optional(Kind::Mat1st) : std::nullopt;
    case 17: return fields(8, false, 5) ? std::optional(Kind::Tokyo23) : std::nullopt;
    default: return std::nullopt;
    }
}

// The mesh's own name and where the scale stands in a name of that kind.
struct KindNaming {
    const char* name;
    size_t scaleAt;
    size_t scaleDigits;
};

KindNaming Naming(Kind kind) {
    switch (kind) {
    case Kind::MatQua: return {"五倍地域メッシュ", 9, 6};
    case Kind::Material: return {"第二次地域区画", 7, 6};
    case Kind::Mat1st: return {"第一次地域区画", 5, 6};
    case Kind::Tokyo23: return {"KTR64分割メッシュ", 9, 5};
    }
    return {"", 0, 0};
}

std::string DialogName(std::string_view fileName) {
    return std::string(fileName.substr(0, fileName.size() - 2)) + "ai";
}

bool ParseCount(std::string_view text, int* value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

std::vector<std::string> DialogRows(const std::vector<std::string>& fileNames) {
    // The dialog lists the names in byte order within each kind, one row for names that differ
    // only in the case of the extension.
    std::vector<std::string> sorted = fileNames;
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::string> rows;
    for (Kind kind : {Kind::MatQua, Kind::Material, Kind::Mat1st, Kind::Tokyo23}) {
        for (const std::string& name : sorted) {
            if (KindOfTileName(name) != kind) continue;
            std::string row = DialogName(name);
            if (std::find(rows.begin(), rows.end(), row) == rows.end()) rows.push_back(std::move(row));
        }
    }
    return rows;
}

std::optional<std::vector<int>> RowsOfTiles(const std::vector<std::string>& rows, const std::vector<std::string>& tiles,
                                            std::string* error) {
    std::vector<int> found;
    for (const std::string& tile : tiles) {
        std::string wanted = tile;
        if (!KindOfTileName(wanted)) wanted += ".ai";
        if (KindOfTileName(wanted)) wanted = DialogName(wanted);
        auto it = std::find(rows.begin(), rows.end(), wanted);
        if (it == rows.end()) {
            if (error) *error = "no tile " + tile + " in the folder";
            return std::nullopt;
        }
        const int row = static_cast<int>(it - rows.begin()) + 1;
        if (std::find(found.begin(), found.end(), row) == found.end()) found.push_back(row);
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<TileGroup> TileGroups(const std::vector<std::string>& rows) {
    std::vector<TileGroup> groups;
    for (const std::string& row : rows) {
        const std::optional<Kind> kind = KindOfTileName(row);
        if (!kind) continue;
        const KindNaming naming = Naming(*kind);
        int scale = 0;
        if (!ParseCount(std::string_view(row).substr(naming.scaleAt, naming.scaleDigits), &scale)) continue;
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const TileGroup& g) { return g.kind == naming.name && g.scale == scale; });
        if (group == groups.end()) group = groups.insert(groups.end(), TileGroup{naming.name, scale, {}});
        group->names.push_back(row);
    }
    return groups;
}

std::optional<std::string> SkippedTileOfAlert(const std::string& text) {
    for (std::string_view lead : {"レイヤー構成が異なるため読み飛ばします。\n",
                                  "ファイルを開けないため読み飛ばします。\n", "配置に失敗したため読み飛ばします。\n"}) {
        if (text.size() > lead.size() && text.compare(0, lead.size(), lead) == 0) return text.substr(lead.size());
    }
    return std::nullopt;
}

std::string MergeScript(const std::string& folder, const std::vector<int>& rows, const MergeOptions& options,
                        bool textDialog) {
    std::string script = folder + "\n";
    if (!textDialog) return script + (options.answerYes ? "yes\n" : "no\n");
    if (rows.empty()) {
        script += "add all\n";
    } else {
        script += "add";
        for (int row : rows) script += " " + std::to_string(row);
        script += "\n";
    }
    // Both boxes start ticked; each command flips one.
    if (!options.joinLines) script += "line\n";
    if (!options.joinFaces) script += "face\n";
    script += "ok\n";
    script += options.answerYes ? "yes\n" : "no\n";
    return script;
}

std::optional<MergeOptions> ParseMergeArguments(const std::vector<std::string>& args, std::string* error) {
    MergeOptions options;
    options.page = *ParsePaperName("A4");
    auto fail = [&](std::string why) -> std::optional<MergeOptions> {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    bool haveFolder = false;
    bool haveAnswer = false;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto next = [&]() -> const std::string* { return i + 1 < args.size() ? &args[++i] : nullptr; };
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            if (haveFolder) return fail("one folder at a time (\"" + options.folder + "\" and \"" + arg + "\")");
            options.folder = arg;
            haveFolder = true;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "-o" || arg == "--output") {
            const std::string* file = next();
            if (!file || file->empty()) return fail(arg + " needs a file to write the merged map to");
            options.output = *file;
        } else if (arg == "--page") {
            const std::string* first = next();
            if (!first) return fail("--page needs a paper name (A4, A1-landscape, ...) or a width and a height");
            if (auto paper = ParsePaperName(*first)) {
                options.page = *paper;
                continue;
            }
            auto width = ParseLength(*first);
            if (!width) return fail("--page: \"" + *first + "\" is neither a paper name nor a length like 841mm");
            const std::string* second = next();
            if (!second) return fail("--page " + *first + ": the height is missing");
            auto height = ParseLength(*second);
            if (!height) return fail("--page: \"" + *second + "\" is not a length like 594mm");
            options.page = PageSize{*width, *height};
        } else if (arg == "--tiles") {
            const std::string* list = next();
            if (!list) return fail("--tiles needs tile names, separated by commas");
            size_t start = 0;
            while (start <= list->size()) {
                size_t comma = list->find(',', start);
                if (comma == std::string::npos) comma = list->size();
                std::string name = list->substr(start, comma - start);
                if (!name.empty()) options.tiles.push_back(std::move(name));
                start = comma + 1;
            }
            if (options.tiles.empty()) return fail("--tiles needs tile names, separated by commas");
        } else if (arg == "--no-line-join") {
            options.joinLines = false;
        } else if (arg == "--no-face-join") {
            options.joinFaces = false;
        } else if (arg == "--yes" || arg == "--no") {
            if (haveAnswer && options.answerYes != (arg == "--yes")) return fail("give --yes or --no, not both");
            options.answerYes = arg == "--yes";
            haveAnswer = true;
        } else if (arg == "--preview") {
            const std::string* file = next();
            if (!file || file->empty()) return fail("--preview needs a PNG file to write");
            options.preview = *file;
        } else if (arg == "--preview-size") {
            const std::string* pixels = next();
            if (!pixels || !ParseCount(*pixels, &options.previewPixels) || options.previewPixels < 16 ||
                options.previewPixels > 20000)
                return fail("--preview-size needs a number of pixels from 16 to 20000");
        } else if (arg == "--show-dialog") {
            options.showDialog = true;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--times") {
            options.times = true;
        } else {
            return fail("unknown option " + arg);
        }
    }
    if (options.help) return options;
    if (!haveFolder || options.folder.empty()) return fail("which folder of tiles?");
    if (options.output.empty()) return fail("where to? (-o OUT.svg)");
    if (options.page.widthPt > kLargestPagePoints || options.page.heightPt > kLargestPagePoints)
        return fail("--page: a page is at most 227 inches (5765.8mm) each way");
    if (options.preview && *options.preview == options.output)
        return fail("the preview and the merged map would be the same file");
    return options;
}

}  // namespace quiltor::cli
