// Folder scan and selection table of the select-merge plug-in.
//
// The tables are module-level state, one set per loaded plug-in, used by one
// run at a time on the host's main thread. The kind tables hold every tile
// the scan found, one table per mesh kind; the two display tables are rebuilt
// from them after every change and hold, row for row, what the dialog's
// folder list and selected list show. Arrays grow by one element per row with
// realloc; a null array always goes with a count of 0.
//
// Host-free: standard library only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "MeshGrid.h"

class SelectionDialog;
struct SelectionAlerts;

// Kind tables, filled by ScanTileFolder in the bytewise order of the file
// names. Select flags are true while the tile stands in the selected list.
extern int32_t nMatQuaCount;
extern int32_t* nMatQuaMesh;
extern int32_t* nMatQuaScale;
extern int32_t* nMatQuaArea;
extern bool* bMatQuaSelect;

extern int32_t nMaterialCount;
extern int32_t* nMaterialMesh;
extern int32_t* nMaterialScale;
extern bool* bMaterialSelect;

extern int32_t nMat1stCount;
extern int32_t* nMat1stMesh;
extern int32_t* nMat1stScale;
extern bool* bMat1stSelect;

extern int32_t nTokyo23Count;
extern int32_t* nTokyo23Mesh;
extern int32_t* nTokyo23Scale;
extern bool* bTokyo23Select;

// Display tables. Area is 0 for kinds other than MatQua; the name length
// (18, 16, 14, 17) is the kind tag.
extern int32_t nFolderCount;
extern int32_t* nFolderMesh;
extern int32_t* nFolderScale;
extern int32_t* nFolderArea;
extern bool* bFolderSelect;
extern int32_t* nFolderNameLen;

extern int32_t nSelectCount;
extern int32_t* nSelectMesh;
extern int32_t* nSelectScale;
extern int32_t* nSelectArea;
extern bool* bSelectSelect;
extern int32_t* nSelectNameLen;

// Selection: the number of selected tiles, their kind (all false while none
// is selected, exactly one true otherwise) and their scale (0 while none).
extern int32_t nSelectAICount;
extern bool bSelectMatQua;
extern bool bSelectMaterial;
extern bool bSelectMat1st;
extern bool bSelectTokyo23;
extern int32_t nSelScale;

// Check boxes of the dialog: join lines, compound faces and closed lines.
extern bool bFlgCheckBox1;
extern bool bFlgCheckBox2;

// The dialog SetTableDialog fills; null fills the tables only. Not owned.
extern SelectionDialog* dlgController;

// Start of a run: frees every table, zeroes the counts and the selection and
// ticks both check boxes.
void ResetMeshState();

// After Cancel in the dialog: frees every table and forgets the selection,
// scale included, so that the next folder is offered whole. The check boxes
// keep their state.
void ResetMeshSelection();

enum class ScanResult {
    Done,         // the kind tables hold the tiles found (maybe none)
    CannotOpen,   // the folder could not be read; the tables are empty
    OutOfMemory,  // the tables are freed
};

// Fills the kind tables from the tile documents in folder (a zero-terminated
// path). Entries are taken by ParseTileFileName and listed in the bytewise
// order of their names; a tile whose name differs from an earlier one only in
// the case of the extension is dropped. Replaces whatever the tables held.
ScanResult ScanTileFolder(const char* folder);

// Clears both dialog lists and display tables, refills them from the kind
// tables (only the selected kind and scale once a tile is selected) and sets
// the status. On exhausted memory frees everything (free_mesh) and returns
// false.
bool SetTableDialog();

// Moves folder row index into the selection (selected row index back), then
// rebuilds: the result of SetTableDialog. An index outside the display table
// changes nothing and returns true.
bool PushAddButton(int32_t index);
bool PushDelButton(int32_t index);

enum class SelectionChange {
    Changed,      // the rows moved and the lists were rebuilt
    Refused,      // nothing changed (an alert said why, or a row was out of range)
    OutOfMemory,  // the rebuild ran out of memory; the tables are freed
};

// Several chosen rows at once. Add checks the whole set before it changes
// anything: none chosen, or rows of different kinds or scales, are refused
// with their error alert. Delete with none chosen shows a message alert.
// Any row outside its display table refuses the set without an alert.
SelectionChange PushAddRows(std::span<const int32_t> rows, SelectionAlerts& alerts);
SelectionChange PushDelRows(std::span<const int32_t> rows, SelectionAlerts& alerts);
// The same for rows known by their text (the Windows dialog): each name is parsed again as a tile
// name and its tile looked up in the kind tables by mesh, scale and area. A text that is no tile
// name, or names a tile the tables lack, refuses the set without an alert.
SelectionChange PushAddNames(std::span<const std::string> names, SelectionAlerts& alerts);
SelectionChange PushDelNames(std::span<const std::string> names, SelectionAlerts& alerts);

// nSelectAICount: non-zero when OK may close the dialog.
int32_t InqSelectMesh();

// The kind of the selection, nullopt while nothing is selected.
std::optional<MeshKind> SelectedMeshKind();

// The rows of the selected display table.
std::vector<MeshEntry> SelectedMeshEntries();

// Frees the display arrays (free_mesh_table) and also the kind arrays
// (free_mesh); the arrays become null and their counts 0. The selection
// flags are left alone.
void free_mesh_table();
void free_mesh();

// The folder buffer of a run: at most 259 bytes and the terminating zero.
inline constexpr size_t kTileFolderSize = 260;
using TileFolder = std::array<char, kTileFolderSize>;

// Copies folder into out. A folder longer than 259 bytes, or holding a zero
// byte, is refused instead of cut (a cut path opens the wrong files): out is
// left empty and false returned.
bool CopyTileFolder(std::string_view folder, TileFolder& out);

// Error alert for a folder that CopyTileFolder refused.
inline constexpr char kMsgFolderTooLong[] =
    "フォルダのパスが長すぎます（259 バイトまで）。もっと短いパスのフォルダを選択して下さい。";

// Allocation used to grow the tables: realloc, unless a test installs its own
// to make growth fail. It must behave like realloc (the tables are freed with
// free). Null restores realloc.
using MeshReallocFunc = void* (*)(void* block, size_t size);
void SetMeshRealloc(MeshReallocFunc func);
