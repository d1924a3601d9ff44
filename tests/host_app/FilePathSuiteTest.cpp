#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "HostFixture.h"
#include "core/HostStrings.h"

namespace quiltor::host {
namespace {

namespace fs = std::filesystem;

class FilePathSuiteTest : public testing::HostTest {
protected:
    void SetUp() override {
        paths = acquire<AIFilePathSuite>(kAIFilePathSuite, kAIFilePathSuiteVersion);
        strings = acquire<AIUnicodeStringSuite>(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion);
        ASSERT_NE(paths, nullptr);
        ASSERT_NE(strings, nullptr);
        // A tile folder with the names a user gives: Japanese, spaces.
        root = fs::temp_directory_path() / ("quiltor host_app " + std::to_string(::getpid()) + " 地図");
        folder = root / "東京 タイル";
        fs::create_directories(folder);
        file = folder / "533945_025000.ai";
        std::ofstream(file) << "x";
        paths->Initialize(&path);
        paths->Initialize(&other);
        strings->Initialize(&text);
    }
    void TearDown() override {
        paths->Destroy(path);
        paths->Destroy(other);
        strings->Destroy(text);
        fs::remove_all(root);
    }

    void set(AIFilePathRef p, const std::string& utf8) {
        AssignUtf8(text, utf8);
        ASSERT_EQ(paths->Set(p, text), kNoErr);
    }
    std::string fullPath(AIFilePathRef p) {
        EXPECT_EQ(paths->GetFullPath(p, text), kNoErr);
        return Utf8Of(text);
    }

    const AIFilePathSuite* paths = nullptr;
    const AIUnicodeStringSuite* strings = nullptr;
    AIFilePathRef path = nullptr;
    AIFilePathRef other = nullptr;
    AIUnicodeStringRef text = nullptr;
    fs::path root, folder, file;
};

TEST_F(FilePathSuiteTest, DirectoryIsThePathItselfForAFolderElseItsParent) {
    struct Case {
        std::string given;
        std::string directory;
    } cases[] = {
        {folder.string(), folder.string()},
        {folder.string() + "/", folder.string()},
        {file.string(), folder.string()},
        {(folder / "not there.ai").string(), folder.string()},
    };
    for (const Case& c : cases) {
        set(path, c.given);
        ASSERT_EQ(paths->GetDirectory(path, other), kNoErr);
        EXPECT_EQ(fullPath(other), c.directory) << c.given;
    }
    // In place, as a plug-in may ask.
    set(path, file.string());
    ASSERT_EQ(paths->GetDirectory(path, path), kNoErr);
    EXPECT_EQ(fullPath(path), folder.string());
}

TEST_F(FilePathSuiteTest, FileNameIsTheLastComponentAndEmptyForAFolder) {
    struct Case {
        std::string given;
        std::string name;
    } cases[] = {
        {file.string(), "533945_025000.ai"},
        {(folder / "まだ無い ファイル.ai").string(), "まだ無い ファイル.ai"},
        {folder.string(), ""},
        {folder.string() + "/", ""},
    };
    for (const Case& c : cases) {
        set(path, c.given);
        ASSERT_EQ(paths->GetFileName(path, text), kNoErr);
        EXPECT_EQ(Utf8Of(text), c.name) << c.given;
    }
}

TEST_F(FilePathSuiteTest, ExistsTellsFilesFromFolders) {
    struct Case {
        std::string given;
        bool exists, isFile;
    } cases[] = {
        {file.string(), true, true},
        {folder.string(), true, false},
        {(folder / "なし.ai").string(), false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        set(path, c.given);
        AIBoolean exists = 2, isFile = 2;
        ASSERT_EQ(paths->Exists(path, &exists, &isFile), kNoErr);
        EXPECT_EQ(exists, c.exists) << c.given;
        EXPECT_EQ(isFile, c.isFile) << c.given;
    }
    EXPECT_EQ(paths->Exists(path, nullptr, nullptr), kBadParameterErr);
}

TEST_F(FilePathSuiteTest, FoldersSuiteFindsTheTemporaryFolder) {
    auto folders = acquire<AIFoldersSuite>(kAIFoldersSuite, kAIFoldersSuiteVersion);
    ASSERT_EQ(folders->FindFolder(2, false, path), kNoErr);
    EXPECT_TRUE(fs::is_directory(fullPath(path)));
    EXPECT_EQ(folders->FindFolder(42, false, path), kBadParameterErr);
}

}  // namespace
}  // namespace quiltor::host
