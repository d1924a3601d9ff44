// The merge command's arguments, the tile rows the select-merge dialog will list for a folder, and
// the script of answers that drives the run.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"

namespace quiltor::cli {

struct MergeOptions {
    std::string folder;
    std::string output;
    PageSize page;                   // A4 portrait unless --page says otherwise
    std::vector<std::string> tiles;  // empty: every tile the dialog lists
    bool joinLines = true;           // the dialog's two check boxes
    bool joinFaces = true;
    bool answerYes = true;  // to "larger than the page, merge anyway?"
    std::optional<std::string> preview;
    int previewPixels = 1600;  // the longer side of the preview
    bool showDialog = false;   // the dialog's screens on standard error
    bool quiet = false;        // no progress line on a terminal
    bool times = false;        // how long each step took, on standard error
    bool help = false;
};

// Parses what follows "merge"; on failure returns nullopt and fills *error with a one-line reason.
std::optional<MergeOptions> ParseMergeArguments(const std::vector<std::string>& args, std::string* error);

// The names the select-merge dialog lists in its folder list for the file names of a folder, in
// the folder's enumeration order: five-fold mesh tiles first, then secondary, primary and
// Tokyo-23 tiles, each name as the dialog writes it ("533945_025000.ai" for "533945_025000.AI").
std::vector<std::string> DialogRows(const std::vector<std::string>& fileNames);

// The 1-based rows of the wanted tiles ("533945_025000" or "533945_025000.ai"). On a name the
// rows lack returns nullopt and fills *error.
std::optional<std::vector<int>> RowsOfTiles(const std::vector<std::string>& rows, const std::vector<std::string>& tiles,
                                            std::string* error);

// The tiles of one mesh kind and one scale, which the dialog lets one choose together.
struct TileGroup {
    std::string kind;  // the mesh's own name, as the dialog's status line gives it
    int scale = 0;     // the denominator
    std::vector<std::string> names;
};

// The rows grouped by kind and scale, in the order the rows first name each group.
std::vector<TileGroup> TileGroups(const std::vector<std::string>& rows);

// The tile named by an alert that a tile was passed over (its layer tree differs, or it could not
// be opened); nullopt for any other alert.
std::optional<std::string> SkippedTileOfAlert(const std::string& text);

// The lines the run reads from standard input: the folder, the text dialog's commands, the answer
// to the size question. rows empty: "add all". Without a text dialog (the Windows plug-in shows a
// window of its own) the commands are left out.
std::string MergeScript(const std::string& folder, const std::vector<int>& rows, const MergeOptions& options,
                        bool textDialog = true);

}  // namespace quiltor::cli
