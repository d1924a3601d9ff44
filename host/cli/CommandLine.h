// Reading the command line: page sizes, the run command's arguments and which plug-ins to load.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quiltor::cli {

inline constexpr double kPointsPerMillimetre = 72.0 / 25.4;
// The largest page the host makes, as Illustrator's canvas (227 inches).
inline constexpr double kLargestPagePoints = 227.0 * 72.0;

struct PageSize {
    double widthPt = 0;
    double heightPt = 0;
};

// "210mm", "595.28" or "595.28pt": a positive length in points; nullopt for anything else.
std::optional<double> ParseLength(std::string_view text);
// "A4", "a3-landscape", "B4" (JIS B), ...; nullopt for an unknown name.
std::optional<PageSize> ParsePaperName(std::string_view name);
// The names ParsePaperName knows, for help texts.
std::string PaperNames();

struct RunOptions {
    std::string item;
    std::optional<PageSize> newPage;
    std::optional<std::string> openFile;
    std::optional<std::string> saveFile;
    bool help = false;
};
// Parses what follows "run"; on failure returns nullopt and fills *error with a one-line reason.
std::optional<RunOptions> ParseRunArguments(const std::vector<std::string>& args, std::string* error);

struct GlobalOptions {
    std::vector<std::string> plugins;        // --plugin FILE, in order
    std::vector<std::string> missingSuites;  // --without-suite NAME: refused as if the host lacked it
    bool help = false;
};
// Takes the options valid before any command (--plugin FILE, --plugin=FILE, --without-suite NAME,
// -h/--help) out of args,
// wherever they stand; args keeps the command and its own arguments. nullopt and *error on a bad option.
std::optional<GlobalOptions> TakeGlobalOptions(std::vector<std::string>& args, std::string* error);

// The plug-in files to load: the chosen ones, else the two of the build in $QUILTOR_PLUGIN_DIR
// (when set and not empty), else in defaultDir.
std::vector<std::string> PluginFiles(const GlobalOptions& options, const char* envDir, const std::string& defaultDir);
extern const char* const kBuiltPluginFiles[2];

}  // namespace quiltor::cli
