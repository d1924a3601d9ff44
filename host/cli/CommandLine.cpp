#include "cli/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace quiltor::cli {

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

bool EndsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

struct Paper {
    const char* name;
    double widthMm, heightMm;  // portrait
};

// ISO A and JIS B sizes.
constexpr Paper kPapers[] = {
    {"a0", 841, 1189}, {"a1", 594, 841}, {"a2", 420, 594}, {"a3", 297, 420}, {"a4", 210, 297}, {"a5", 148, 210},
    {"b1", 728, 1030}, {"b2", 515, 728}, {"b3", 364, 515}, {"b4", 257, 364}, {"b5", 182, 257},
};

}  // namespace

#ifdef _WIN32
const char* const kBuiltPluginFiles[2] = {"KTRQuiltorSelectMerge.aip", "KTRQuiltorAdjust.aip"};
#else
const char* const kBuiltPluginFiles[2] = {"KTRQuiltorSelectMerge.so", "KTRQuiltorAdjust.so"};
#endif

std::optional<double> ParseLength(std::string_view text) {
    double scale = 1.0;
    std::string lower = Lower(text);
    std::string_view number = lower;
    if (EndsWith(number, "mm")) {
        scale = kPointsPerMillimetre;
        number.remove_suffix(2);
    } else if (EndsWith(number, "pt")) {
        number.remove_suffix(2);
    }
    if (number.empty() || number.front() == '+' || number.front() == '-') return std::nullopt;
    double value = 0;
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc() || end != number.data() + number.size()) return std::nullopt;
    value *= scale;
    if (!std::isfinite(value) || value <= 0) return std::nullopt;
    return value;
}

std::optional<PageSize> ParsePaperName(std::string_view name) {
    std::string lower = Lower(name);
    std::string_view base = lower;
    bool landscape = false;
    if (EndsWith(base, "-landscape")) {
        landscape = true;
        base.remove_suffix(std::string_view("-landscape").size());
    } else if (EndsWith(base, "-portrait")) {
        base.remove_suffix(std::string_view("-portrait").size());
    }
    for (const Paper& paper : kPapers) {
        if (base != paper.name) continue;
        PageSize size{paper.widthMm * kPointsPerMillimetre, paper.heightMm * kPointsPerMillimetre};
        if (landscape) std::swap(size.widthPt, size.heightPt);
        return size;
    }
    return std::nullopt;
}

std::string PaperNames() {
    std::string out;
    for (const Paper& paper : kPapers) {
        if (!out.empty()) out += ", ";
        out += char(std::toupper(static_cast<unsigned char>(paper.name[0])));
        out += paper.name + 1;
    }
    return out;
}

std::optional<RunOptions> ParseRunArguments(const std::vector<std::string>& args, std::string* error) {
    RunOptions options;
    auto fail = [&](std::string why) -> std::optional<RunOptions> {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    bool haveItem = false;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto next = [&]() -> const std::string* { return i + 1 < args.size() ? &args[++i] : nullptr; };
        if (!optionsEnded && (arg == "-h" || arg == "--help")) {
            options.help = true;
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--new") {
            if (options.newPage || options.openFile) return fail("give one --new or --open, not more");
            const std::string* first = next();
            if (!first) return fail("--new needs a paper name (A4, A3-landscape, ...) or a width and a height");
            if (auto paper = ParsePaperName(*first)) {
                options.newPage = paper;
                continue;
            }
            const std::string* second = next();
            auto width = ParseLength(*first);
            if (!width)
                return fail("--new: \"" + *first + "\" is neither a paper name nor a length like 210mm or 595pt");
            if (!second) return fail("--new " + *first + ": the height is missing");
            auto height = ParseLength(*second);
            if (!height) return fail("--new: \"" + *second + "\" is not a length like 297mm or 842pt");
            options.newPage = PageSize{*width, *height};
        } else if (!optionsEnded && arg == "--open") {
            if (options.newPage || options.openFile) return fail("give one --new or --open, not more");
            const std::string* file = next();
            if (!file) return fail("--open needs a file");
            options.openFile = *file;
        } else if (!optionsEnded && arg == "--save") {
            if (options.saveFile) return fail("give --save once");
            const std::string* file = next();
            if (!file) return fail("--save needs a file");
            options.saveFile = *file;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return fail("unknown option " + arg);
        } else {
            if (haveItem) return fail("one menu item at a time (\"" + options.item + "\" and \"" + arg + "\")");
            options.item = arg;
            haveItem = true;
        }
    }
    if (options.help) return options;
    if (!haveItem || options.item.empty()) return fail("which menu item? (see quiltor-host menus)");
    if (options.newPage &&
        (options.newPage->widthPt > kLargestPagePoints || options.newPage->heightPt > kLargestPagePoints))
        return fail("--new: a page is at most 227 inches (5765.8mm) each way");
    return options;
}

std::optional<GlobalOptions> TakeGlobalOptions(std::vector<std::string>& args, std::string* error) {
    GlobalOptions options;
    std::vector<std::string> rest;
    bool inCommand = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            // Everything after belongs to the command as it stands.
            rest.insert(rest.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
            break;
        }
        if (arg == "--plugin") {
            if (i + 1 >= args.size()) {
                if (error) *error = "--plugin needs a file";
                return std::nullopt;
            }
            options.plugins.push_back(args[++i]);
        } else if (arg == "--without-suite") {
            if (i + 1 >= args.size()) {
                if (error) *error = "--without-suite needs a suite name";
                return std::nullopt;
            }
            options.missingSuites.push_back(args[++i]);
        } else if (arg.rfind("--plugin=", 0) == 0) {
            options.plugins.push_back(arg.substr(9));
        } else if (!inCommand && (arg == "-h" || arg == "--help")) {
            options.help = true;
        } else {
            if (arg.empty() || arg[0] != '-') inCommand = true;
            rest.push_back(arg);
        }
    }
    args = std::move(rest);
    return options;
}

std::vector<std::string> PluginFiles(const GlobalOptions& options, const char* envDir, const std::string& defaultDir) {
    if (!options.plugins.empty()) return options.plugins;
    std::string dir = envDir && *envDir ? envDir : defaultDir;
    std::vector<std::string> files;
    for (const char* file : kBuiltPluginFiles) files.push_back(dir + "/" + file);
    return files;
}

}  // namespace quiltor::cli
