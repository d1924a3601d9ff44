// The steps of a merge run, in the order KTRPluginSelectMergeMain runs them:
// the target checks (MergeRunTarget), the folder and tile choice with the size
// confirmation (MergeRunChoice), the placement of every chosen tile
// (MergeRunPlacement), the seam joins (MergeRunSeams), and the finish with the
// first tile's layer options (MergeRunTarget).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "AIHost.h"
#include "MergeProgress.h"
#include "core/MeshGrid.h"
#include "core/SelectionTable.h"

class KTRPluginSelectMergePlugin;

namespace mergerun {

inline constexpr char kMsgUnexpectedError[] = "予期しないエラーが発生しました。";

template <class... Args>
std::string Format(std::size_t bufferSize, const char* format, Args... args) {
    std::vector<char> buffer(bufferSize);
    std::snprintf(buffer.data(), buffer.size(), format, args...);
    return buffer.data();
}

// The target document.

// The front document as File > New leaves it: one layer, empty, editable,
// visible. A sublayer is refused too: the target's tree must become exactly
// the first tile's, layer for layer.
bool IsFreshTarget();

// Gives the target the first tile's layer options (and the Tokyo-23
// touches), forgets the snapshot and the undo history, and says the run is done.
// The progress shown so far goes just before the completion message.
void Finish(bool firstIsTokyo23, std::unique_ptr<MergeProgress> progress = nullptr);

// The folder and tile choice.

// The page, in thousandths of a point for the exact fit test and in
// millimetres for the messages.
struct Page {
    int32_t width1000 = 0;
    int32_t height1000 = 0;
    double widthMm = 0;
    double heightMm = 0;
    double limitWidthMm = 0;
    double limitHeightMm = 0;
};

Page PageOf(const AIDocumentSetup& setup);

enum class FolderChoice { Chosen, Again, End };

// Steps of the folder chooser; on End the run is over (the alert is shown).
FolderChoice ChooseTileFolder(TileFolder& folder);

bool NoTileFound();

// What the user confirmed: the kind, the grid box and the merged size.
struct Selection {
    MeshKind kind = MeshKind::Material;
    MeshBox box;
};

enum class SelectionOutcome {
    Accepted,  // tiles chosen and the size confirmed
    Empty,     // the dialog was closed with nothing chosen
    Back,      // cancelled: choose the folder again
    End,       // the run is over
};

// The dialog and the size confirmation, until the user settles.
SelectionOutcome SelectTiles(const Page& page, Selection& selection);

// The placement.

void SwitchOnPasteRemembersLayers();

struct Placement {
    bool firstIsTokyo23 = false;
    bool firstIsMaterial = false;
    bool tileSizeKnown = false;  // false when no row was gone through
    float tileWidth = 0;
    float tileHeight = 0;
};

// Opens every chosen tile and copies its art into the target; the bar steps once per row.
Placement PlaceTiles(KTRPluginSelectMergePlugin& plugin, AIDocumentHandle target, const TileFolder& folder,
                     const Selection& selection, MergeProgress& progress);

// The seam joins, on every layer without sublayers of the current document.
void JoinSeams(KTRPluginSelectMergePlugin& plugin, AIMenuMessage* message, const Placement& placement,
               const Selection& selection, MergeProgress& progress);

}  // namespace mergerun
