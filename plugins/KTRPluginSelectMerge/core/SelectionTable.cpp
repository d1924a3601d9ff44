#include "SelectionTable.h"

#ifdef _WIN32
#include "WindowsText.h"
#else
#include <dirent.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <set>
#include <string>
#include <tuple>

#include "SelectionDialog.h"

int32_t nMatQuaCount = 0;
int32_t* nMatQuaMesh = nullptr;
int32_t* nMatQuaScale = nullptr;
int32_t* nMatQuaArea = nullptr;
bool* bMatQuaSelect = nullptr;

int32_t nMaterialCount = 0;
int32_t* nMaterialMesh = nullptr;
int32_t* nMaterialScale = nullptr;
bool* bMaterialSelect = nullptr;

int32_t nMat1stCount = 0;
int32_t* nMat1stMesh = nullptr;
int32_t* nMat1stScale = nullptr;
bool* bMat1stSelect = nullptr;

int32_t nTokyo23Count = 0;
int32_t* nTokyo23Mesh = nullptr;
int32_t* nTokyo23Scale = nullptr;
bool* bTokyo23Select = nullptr;

int32_t nFolderCount = 0;
int32_t* nFolderMesh = nullptr;
int32_t* nFolderScale = nullptr;
int32_t* nFolderArea = nullptr;
bool* bFolderSelect = nullptr;
int32_t* nFolderNameLen = nullptr;

int32_t nSelectCount = 0;
int32_t* nSelectMesh = nullptr;
int32_t* nSelectScale = nullptr;
int32_t* nSelectArea = nullptr;
bool* bSelectSelect = nullptr;
int32_t* nSelectNameLen = nullptr;

int32_t nSelectAICount = 0;
bool bSelectMatQua = false;
bool bSelectMaterial = false;
bool bSelectMat1st = false;
bool bSelectTokyo23 = false;
int32_t nSelScale = 0;

bool bFlgCheckBox1 = true;
bool bFlgCheckBox2 = true;

SelectionDialog* dlgController = nullptr;

namespace {

MeshReallocFunc meshRealloc = nullptr;

void* DefaultRealloc(void* block, size_t size) { return std::realloc(block, size); }

// One more element at the end of array, which holds count elements. On
// failure array is left as it was (still owned, freed with the tables).
template <class T>
bool Grow(T*& array, int32_t count) {
    const MeshReallocFunc grow = meshRealloc != nullptr ? meshRealloc : DefaultRealloc;
    void* block = grow(array, sizeof(T) * (static_cast<size_t>(count) + 1));
    if (block == nullptr) return false;
    array = static_cast<T*>(block);
    return true;
}

template <class T>
void Release(T*& array) {
    std::free(array);
    array = nullptr;
}

constexpr MeshKind kKindOrder[] = {MeshKind::MatQua, MeshKind::Material, MeshKind::Mat1st, MeshKind::Tokyo23};

struct KindTable {
    int32_t& count;
    int32_t*& mesh;
    int32_t*& scale;
    int32_t** area;  // MatQua only
    bool*& select;
    bool& flag;
};

KindTable Table(MeshKind kind) {
    switch (kind) {
    case MeshKind::MatQua: return {nMatQuaCount, nMatQuaMesh, nMatQuaScale, &nMatQuaArea, bMatQuaSelect, bSelectMatQua};
    case MeshKind::Material:
        return {nMaterialCount, nMaterialMesh, nMaterialScale, nullptr, bMaterialSelect, bSelectMaterial};
    case MeshKind::Mat1st: return {nMat1stCount, nMat1stMesh, nMat1stScale, nullptr, bMat1stSelect, bSelectMat1st};
    case MeshKind::Tokyo23:
        return {nTokyo23Count, nTokyo23Mesh, nTokyo23Scale, nullptr, bTokyo23Select, bSelectTokyo23};
    }
    return {nMaterialCount, nMaterialMesh, nMaterialScale, nullptr, bMaterialSelect, bSelectMaterial};
}

struct DisplayTable {
    int32_t& count;
    int32_t*& mesh;
    int32_t*& scale;
    int32_t*& area;
    bool*& select;
    int32_t*& nameLen;
};

DisplayTable FolderTable() {
    return {nFolderCount, nFolderMesh, nFolderScale, nFolderArea, bFolderSelect, nFolderNameLen};
}

DisplayTable SelectTable() {
    return {nSelectCount, nSelectMesh, nSelectScale, nSelectArea, bSelectSelect, nSelectNameLen};
}

bool AppendKindRow(const KindTable& t, const MeshEntry& e) {
    if (!Grow(t.mesh, t.count) || !Grow(t.scale, t.count) || !Grow(t.select, t.count)) return false;
    if (t.area != nullptr && !Grow(*t.area, t.count)) return false;
    t.mesh[t.count] = e.mesh;
    t.scale[t.count] = e.scale;
    t.select[t.count] = false;
    if (t.area != nullptr) (*t.area)[t.count] = e.area;
    ++t.count;
    return true;
}

bool AppendDisplayRow(const DisplayTable& d, const MeshEntry& e) {
    if (!Grow(d.mesh, d.count) || !Grow(d.scale, d.count) || !Grow(d.area, d.count) || !Grow(d.select, d.count) ||
        !Grow(d.nameLen, d.count)) {
        return false;
    }
    d.mesh[d.count] = e.mesh;
    d.scale[d.count] = e.scale;
    d.area[d.count] = e.area;
    d.select[d.count] = e.select;
    d.nameLen[d.count] = e.nameLen;
    ++d.count;
    return true;
}

void ReleaseDisplay(const DisplayTable& d) {
    Release(d.mesh);
    Release(d.scale);
    Release(d.area);
    Release(d.select);
    Release(d.nameLen);
    d.count = 0;
}

void ReleaseKind(const KindTable& t) {
    Release(t.mesh);
    Release(t.scale);
    if (t.area != nullptr) Release(*t.area);
    Release(t.select);
    t.count = 0;
}

// A tile as the add and delete steps look it up in its kind table.
struct TileKey {
    MeshKind kind;
    int32_t mesh;
    int32_t scale;
    int32_t area;
};

bool InRange(const DisplayTable& d, int32_t row) { return d.mesh != nullptr && row >= 0 && row < d.count; }

// A non-zero area is always MatQua; otherwise the name length tells the kind.
TileKey KeyOf(const DisplayTable& d, int32_t row) {
    const MeshKind kind =
        d.area[row] != 0 ? MeshKind::MatQua : MeshKindFromNameLength(d.nameLen[row]).value_or(MeshKind::Material);
    return {kind, d.mesh[row], d.scale[row], d.area[row]};
}

// The first kind-table row of key, -1 when the table lacks it.
int32_t KindRowOf(const TileKey& key) {
    const KindTable t = Table(key.kind);
    for (int32_t i = 0; i < t.count; ++i) {
        if (t.mesh[i] != key.mesh || t.scale[i] != key.scale) continue;
        if (t.area != nullptr && (*t.area)[i] != key.area) continue;
        return i;
    }
    return -1;
}

// Sets the select flag of the first kind-table row of key; true when the flag
// changed, so that the count follows the flags.
bool SetSelectFlag(const TileKey& key, bool select) {
    const int32_t row = KindRowOf(key);
    if (row < 0) return false;
    const KindTable t = Table(key.kind);
    if (t.select[row] == select) return false;
    t.select[row] = select;
    return true;
}

void ClearKindFlags() { bSelectMatQua = bSelectMaterial = bSelectMat1st = bSelectTokyo23 = false; }

void SelectTile(const TileKey& key) {
    nSelScale = key.scale;
    ClearKindFlags();
    Table(key.kind).flag = true;
    if (SetSelectFlag(key, true)) ++nSelectAICount;
}

void UnselectTile(const TileKey& key) {
    if (SetSelectFlag(key, false)) --nSelectAICount;
    if (nSelectAICount <= 0) {
        nSelectAICount = 0;
        ClearKindFlags();
        nSelScale = 0;
    }
}

bool Rebuild() {
    free_mesh_table();
    return SetTableDialog();
}

bool FillTables() {
    if (dlgController != nullptr) {
        dlgController->ClearFolderList();
        dlgController->ClearSelectList();
    }
    nFolderCount = 0;
    nSelectCount = 0;

    const std::optional<MeshKind> selected = SelectedMeshKind();
    for (MeshKind kind : kKindOrder) {
        if (selected && *selected != kind) continue;
        const KindTable t = Table(kind);
        for (int32_t i = 0; i < t.count; ++i) {
            if (nSelScale != 0 && t.scale[i] != nSelScale) continue;
            MeshEntry e;
            e.mesh = t.mesh[i];
            e.scale = t.scale[i];
            e.area = t.area != nullptr ? (*t.area)[i] : 0;
            e.select = t.select[i];
            e.nameLen = MeshNameLength(kind);
            if (!AppendDisplayRow(e.select ? SelectTable() : FolderTable(), e)) return false;
            if (dlgController != nullptr) {
                const std::string name = FormatTileFileName(kind, e.mesh, e.area, e.scale);
                if (e.select) {
                    dlgController->AppendSelectRow(name);
                } else {
                    dlgController->AppendFolderRow(name);
                }
            }
        }
    }
    if (dlgController != nullptr) {
        dlgController->SetStatus(selected ? MeshStatusText(*selected, nSelScale) : kMeshStatusNone);
    }
    return true;
}

struct FoundTile {
    std::string name;
    MeshEntry entry;
};

void TakeTileName(const char* name, std::vector<FoundTile>& found) {
    if (const auto entry = ParseTileFileName(name)) found.push_back({name, *entry});
}

#ifdef _WIN32
// Every tile name among the entries that match "<folder>\\*.ai"; false when the folder cannot be
// read. A name that Shift-JIS cannot hold is no tile name anyway.
bool ReadTileNames(const char* folder, std::vector<FoundTile>& found) {
    // A search in a file finds nothing, which would pass for an empty folder.
    const DWORD attributes = GetFileAttributesW(WideFromLiteral(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return false;
    char pattern[kTileFolderSize + 8];
    std::snprintf(pattern, sizeof pattern, "%s\\*.ai", folder);
    const std::wstring wide = WideFromLiteral(pattern);
    if (wide.empty()) return false;
    WIN32_FIND_DATAW data;
    const HANDLE search = FindFirstFileW(wide.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    std::unique_ptr<void, decltype(&FindClose)> closer(search, &FindClose);
    do {
        char name[MAX_PATH * 2];
        BOOL lossy = FALSE;
        const int n = WideCharToMultiByte(kShiftJisCodePage, 0, data.cFileName, -1, name, sizeof name, nullptr, &lossy);
        if (n > 0 && !lossy) TakeTileName(name, found);
    } while (FindNextFileW(search, &data));
    return GetLastError() == ERROR_NO_MORE_FILES;
}
#else
struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

// Every tile name among the entries of folder; false when it cannot be read.
bool ReadTileNames(const char* folder, std::vector<FoundTile>& found) {
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder));
    if (!dir) return false;
    for (;;) {
        errno = 0;
        const dirent* d = readdir(dir.get());
        if (d == nullptr) return errno == 0;
        TakeTileName(d->d_name, found);
    }
}
#endif

}  // namespace

void SetMeshRealloc(MeshReallocFunc func) { meshRealloc = func; }

void free_mesh_table() {
    ReleaseDisplay(FolderTable());
    ReleaseDisplay(SelectTable());
}

void free_mesh() {
    free_mesh_table();
    for (MeshKind kind : kKindOrder) ReleaseKind(Table(kind));
}

void ResetMeshSelection() {
    free_mesh();
    nSelectAICount = 0;
    ClearKindFlags();
    nSelScale = 0;
}

void ResetMeshState() {
    ResetMeshSelection();
    bFlgCheckBox1 = true;
    bFlgCheckBox2 = true;
}

ScanResult ScanTileFolder(const char* folder) {
    free_mesh();
    if (folder == nullptr) return ScanResult::CannotOpen;
    try {
        std::vector<FoundTile> found;
        if (!ReadTileNames(folder, found)) return ScanResult::CannotOpen;

        // Enumeration order is the file system's; runs must be reproducible,
        // since the first tile opened becomes the layer reference.
        std::sort(found.begin(), found.end(), [](const FoundTile& a, const FoundTile& b) { return a.name < b.name; });

        // "x.ai" and "x.AI" would give two rows that no lookup can tell apart.
        std::set<std::tuple<int32_t, int32_t, int32_t, int32_t>> seen;
        for (const FoundTile& f : found) {
            const MeshKind kind = *MeshKindFromNameLength(f.entry.nameLen);
            const auto key = std::make_tuple(f.entry.nameLen, f.entry.mesh, f.entry.area, f.entry.scale);
            if (!seen.insert(key).second) continue;
            if (!AppendKindRow(Table(kind), f.entry)) {
                free_mesh();
                return ScanResult::OutOfMemory;
            }
        }
    } catch (const std::bad_alloc&) {
        free_mesh();
        return ScanResult::OutOfMemory;
    }
    return ScanResult::Done;
}

bool SetTableDialog() {
    bool filled = false;
    try {
        filled = FillTables();
    } catch (const std::bad_alloc&) {
        filled = false;
    }
    if (!filled) {
        // The lists must not offer rows the tables no longer hold.
        free_mesh();
        if (dlgController != nullptr) {
            dlgController->ClearFolderList();
            dlgController->ClearSelectList();
        }
    }
    return filled;
}

bool PushAddButton(int32_t index) {
    const DisplayTable folder = FolderTable();
    if (!InRange(folder, index)) return true;
    SelectTile(KeyOf(folder, index));
    return Rebuild();
}

bool PushDelButton(int32_t index) {
    const DisplayTable select = SelectTable();
    if (!InRange(select, index)) return true;
    UnselectTile(KeyOf(select, index));
    return Rebuild();
}

namespace {

SelectionChange AddKeys(const std::vector<TileKey>& keys, SelectionAlerts& alerts) {
    // The whole set is checked before anything moves.
    const TileKey& first = keys.front();
    for (const TileKey& key : keys) {
        if (key.kind != first.kind) {
            alerts.ErrorAlert(kMsgMixedMeshKind);
            return SelectionChange::Refused;
        }
        if (key.scale != first.scale) {
            alerts.ErrorAlert(kMsgMixedScale);
            return SelectionChange::Refused;
        }
    }
    for (const TileKey& key : keys) SelectTile(key);
    return Rebuild() ? SelectionChange::Changed : SelectionChange::OutOfMemory;
}

SelectionChange DelKeys(const std::vector<TileKey>& keys) {
    for (const TileKey& key : keys) UnselectTile(key);
    return Rebuild() ? SelectionChange::Changed : SelectionChange::OutOfMemory;
}

void AlertDelNoneChosen(SelectionAlerts& alerts) {
#ifdef _WIN32
    alerts.ErrorAlert(kMsgDelNoneChosen);
#else
    alerts.MessageAlert(kMsgDelNoneChosen);
#endif
}

// Keys of the rows of a display table; nullopt when a row is outside it.
std::optional<std::vector<TileKey>> KeysOfRows(const DisplayTable& table, std::span<const int32_t> rows) {
    std::vector<TileKey> keys;
    for (int32_t row : rows) {
        if (!InRange(table, row)) return std::nullopt;
        keys.push_back(KeyOf(table, row));
    }
    return keys;
}

// Keys of rows known by their text, parsed again as tile names; nullopt when one is no tile name.
std::optional<std::vector<TileKey>> KeysOfNames(std::span<const std::string> names) {
    std::vector<TileKey> keys;
    for (const std::string& name : names) {
        const auto entry = ParseTileFileName(name);
        if (!entry) return std::nullopt;
        const TileKey key{*MeshKindFromNameLength(entry->nameLen), entry->mesh, entry->scale, entry->area};
        if (KindRowOf(key) < 0) return std::nullopt;
        keys.push_back(key);
    }
    return keys;
}

}  // namespace

SelectionChange PushAddRows(std::span<const int32_t> rows, SelectionAlerts& alerts) {
    if (rows.empty()) {
        alerts.ErrorAlert(kMsgAddNoneChosen);
        return SelectionChange::Refused;
    }
    const auto keys = KeysOfRows(FolderTable(), rows);
    return keys ? AddKeys(*keys, alerts) : SelectionChange::Refused;
}

SelectionChange PushDelRows(std::span<const int32_t> rows, SelectionAlerts& alerts) {
    if (rows.empty()) {
        AlertDelNoneChosen(alerts);
        return SelectionChange::Refused;
    }
    const auto keys = KeysOfRows(SelectTable(), rows);
    return keys ? DelKeys(*keys) : SelectionChange::Refused;
}

SelectionChange PushAddNames(std::span<const std::string> names, SelectionAlerts& alerts) {
    if (names.empty()) {
        alerts.ErrorAlert(kMsgAddNoneChosen);
        return SelectionChange::Refused;
    }
    const auto keys = KeysOfNames(names);
    return keys ? AddKeys(*keys, alerts) : SelectionChange::Refused;
}

SelectionChange PushDelNames(std::span<const std::string> names, SelectionAlerts& alerts) {
    if (names.empty()) {
        AlertDelNoneChosen(alerts);
        return SelectionChange::Refused;
    }
    const auto keys = KeysOfNames(names);
    return keys ? DelKeys(*keys) : SelectionChange::Refused;
}

int32_t InqSelectMesh() { return nSelectAICount; }

std::optional<MeshKind> SelectedMeshKind() {
    for (MeshKind kind : kKindOrder) {
        if (Table(kind).flag) return kind;
    }
    return std::nullopt;
}

std::vector<MeshEntry> SelectedMeshEntries() {
    std::vector<MeshEntry> entries;
    for (int32_t i = 0; i < nSelectCount && nSelectMesh != nullptr; ++i) {
        MeshEntry e;
        e.mesh = nSelectMesh[i];
        e.scale = nSelectScale[i];
        e.area = nSelectArea[i];
        e.select = bSelectSelect[i];
        e.nameLen = nSelectNameLen[i];
        entries.push_back(e);
    }
    return entries;
}

bool CopyTileFolder(std::string_view folder, TileFolder& out) {
    out[0] = '\0';
    if (folder.size() >= out.size()) return false;
    if (folder.find('\0') != std::string_view::npos) return false;
    std::memcpy(out.data(), folder.data(), folder.size());
    out[folder.size()] = '\0';
    return true;
}
