// Fixtures for the folder scan, the selection table and the dialog.
#pragma once

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/SelectionDialog.h"
#include "core/SelectionTable.h"

namespace selection_test {

// A path of the tables (bytes in the literal encoding: Shift-JIS on Windows) as a file-system path,
// and back.
#ifdef _WIN32
inline std::filesystem::path PathOf(const std::string& bytes) {
    const int n = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
    return wide;
}
inline std::string BytesOf(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    const int n = WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}
#else
inline std::filesystem::path PathOf(const std::string& bytes) { return bytes; }
inline std::string BytesOf(const std::filesystem::path& path) { return path.native(); }
#endif

// A fresh folder under the temporary directory, removed with everything in it.
class TempFolder {
public:
    explicit TempFolder(const std::string& sub = {}) {
        static int serial = 0;
        const auto base = std::filesystem::temp_directory_path();
        do {
            root_ = base / ("quiltor-sel-" + std::to_string(std::rand()) + "-" + std::to_string(++serial));
        } while (!std::filesystem::create_directory(root_));
        path_ = sub.empty() ? root_ : root_ / PathOf(sub);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(root_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The folder as the plug-in holds it.
    std::string Str() const { return BytesOf(path_); }

    void Add(const std::string& name) const { std::ofstream(path_ / PathOf(name)) << "%!PS-Adobe\n"; }
    void Add(std::initializer_list<const char*> names) const {
        for (const char* n : names) Add(std::string(n));
    }

private:
    std::filesystem::path root_;
    std::filesystem::path path_;
};

// The alert kinds that differ by platform.
#ifdef _WIN32
inline constexpr bool kDelNoneChosenIsError = true;
inline constexpr bool kNoSelectionIsError = false;
#else
inline constexpr bool kDelNoneChosenIsError = false;
inline constexpr bool kNoSelectionIsError = true;
#endif

struct Alert {
    bool error;  // ErrorAlert, else MessageAlert
    std::string text;
    bool operator==(const Alert&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Alert& a) {
    return os << (a.error ? "ErrorAlert(" : "MessageAlert(") << a.text << ")";
}

struct RecordingAlerts : SelectionAlerts {
    void ErrorAlert(const char* utf8) override { shown.push_back({true, utf8}); }
    void MessageAlert(const char* utf8) override { shown.push_back({false, utf8}); }
    std::vector<Alert> shown;
};

// A dialog that only keeps what the table puts into it.
class RecordingDialog : public SelectionDialog {
public:
    void SetLineCheckBox(bool checked) override { line = checked; }
    void SetFaceCheckBox(bool checked) override { face = checked; }
    bool GetLineCheckBox() const override { return line; }
    bool GetFaceCheckBox() const override { return face; }
    void AppendFolderRow(const std::string& name) override { folder.push_back(name); }
    void AppendSelectRow(const std::string& name) override { selected.push_back(name); }
    void ClearFolderList() override { folder.clear(); }
    void ClearSelectList() override { selected.clear(); }
    void SetStatus(const std::string& text) override { status = text; }
    std::vector<int32_t> ChosenFolderRows() const override { return chosenFolder; }
    std::vector<int32_t> ChosenSelectRows() const override { return chosenSelect; }
    std::string FolderRowText(int32_t row) const override { return RowText(folder, row); }
    std::string SelectRowText(int32_t row) const override { return RowText(selected, row); }
    DialogResult RunModal() override { return DialogResult::Closed; }
    void Close() override {}

    bool line = true;
    bool face = true;
    std::vector<std::string> folder;
    std::vector<std::string> selected;
    std::string status;
    std::vector<int32_t> chosenFolder;
    std::vector<int32_t> chosenSelect;

private:
    static std::string RowText(const std::vector<std::string>& rows, int32_t row) {
        return row >= 0 && static_cast<size_t>(row) < rows.size() ? rows[static_cast<size_t>(row)] : std::string();
    }
};

// Growth of the tables through a realloc that fails on call number failAt
// (counting from 1; 0 never fails).
struct ReallocProbe {
    static inline int calls = 0;
    static inline int failAt = 0;
    static void* Realloc(void* block, size_t size) {
        ++calls;
        if (calls == failAt) return nullptr;
        return std::realloc(block, size);
    }
    static void Arm(int fail) {
        calls = 0;
        failAt = fail;
        SetMeshRealloc(&Realloc);
    }
};

// True when no table holds anything: every array null, every count 0.
inline ::testing::AssertionResult TablesFreed() {
    const void* arrays[] = {nMatQuaMesh,     nMatQuaScale, nMatQuaArea,  bMatQuaSelect, nMaterialMesh, nMaterialScale,
                            bMaterialSelect, nMat1stMesh,  nMat1stScale, bMat1stSelect, nTokyo23Mesh,  nTokyo23Scale,
                            bTokyo23Select,  nFolderMesh,  nFolderScale, nFolderArea,   bFolderSelect, nFolderNameLen,
                            nSelectMesh,     nSelectScale, nSelectArea,  bSelectSelect, nSelectNameLen};
    for (size_t i = 0; i < std::size(arrays); ++i) {
        if (arrays[i] != nullptr) return ::testing::AssertionFailure() << "array " << i << " not freed";
    }
    const int32_t counts[] = {nMatQuaCount, nMaterialCount, nMat1stCount, nTokyo23Count, nFolderCount, nSelectCount};
    for (size_t i = 0; i < std::size(counts); ++i) {
        if (counts[i] != 0) return ::testing::AssertionFailure() << "count " << i << " is " << counts[i];
    }
    return ::testing::AssertionSuccess();
}

// Every test starts and ends with an empty module state.
class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMeshRealloc(nullptr);
        ResetMeshState();
    }
    void TearDown() override {
        SetMeshRealloc(nullptr);
        ResetMeshState();
    }
};

// A folder with every kind and several scales, created in no particular order.
inline void AddMixedTiles(const TempFolder& folder) {
    folder.Add({"53394512_02500.ai", "533946_025000.ai", "5339_200000.ai", "533945_2_025000.ai", "533945_010000.ai",
                "53394511_05000.ai", "533945_1_010000.ai", "5339_025000.ai", "533945_025000.ai", "53394511_02500.ai",
                "533945_1_025000.ai", "README.txt"});
}

// The folder list of AddMixedTiles before anything is selected: kind order,
// names in bytewise order within a kind.
inline const std::vector<std::string> kMixedFolderList = {
    "533945_1_010000.ai", "533945_1_025000.ai", "533945_2_025000.ai",  // MatQua
    "533945_010000.ai",   "533945_025000.ai",   "533946_025000.ai",    // Material
    "5339_025000.ai",     "5339_200000.ai",                            // Mat1st
    "53394511_02500.ai",  "53394511_05000.ai",  "53394512_02500.ai",   // Tokyo23
};

inline int32_t RowOf(const std::vector<std::string>& rows, const std::string& name) {
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] == name) return static_cast<int32_t>(i);
    }
    ADD_FAILURE() << name << " not listed";
    return -1;
}

}  // namespace selection_test
