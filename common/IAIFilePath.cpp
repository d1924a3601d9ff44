#include "IAIFilePath.h"

#include <utility>

#include "Suites.h"

namespace ai {

namespace {

const AIFilePathSuite& Suite() {
    if (sAIFilePath == nullptr) throw Error(kSPSuiteNotFoundError);
    return *sAIFilePath;
}

}  // namespace

FilePath::FilePath() { check_ai_error(Suite().Initialize(&fPath)); }

FilePath::FilePath(const UnicodeString& path) : FilePath() { Set(path); }

FilePath::FilePath(const FilePath& other) : FilePath() { check_ai_error(Suite().Copy(fPath, other.handle())); }

FilePath::FilePath(FilePath&& other) noexcept : fPath(std::exchange(other.fPath, nullptr)) {}

FilePath& FilePath::operator=(const FilePath& other) {
    if (this != &other) check_ai_error(Suite().Copy(handle(), other.handle()));
    return *this;
}

FilePath& FilePath::operator=(FilePath&& other) noexcept {
    std::swap(fPath, other.fPath);
    return *this;
}

FilePath::~FilePath() {
    if (fPath != nullptr && sAIFilePath != nullptr) sAIFilePath->Destroy(fPath);
}

AIFilePathRef FilePath::handle() const {
    if (fPath == nullptr) check_ai_error(Suite().Initialize(&fPath));
    return fPath;
}

AIFilePathRef FilePath::get() const { return handle(); }

void FilePath::Set(const UnicodeString& path) { check_ai_error(Suite().Set(handle(), path.get())); }

UnicodeString FilePath::GetFullPath() const {
    UnicodeString path;
    check_ai_error(Suite().GetFullPath(handle(), path.get()));
    return path;
}

FilePath FilePath::GetDirectory() const {
    FilePath directory;
    check_ai_error(Suite().GetDirectory(handle(), directory.get()));
    return directory;
}

UnicodeString FilePath::GetFileName() const {
    UnicodeString name;
    check_ai_error(Suite().GetFileName(handle(), name.get()));
    return name;
}

bool FilePath::Exists(bool* isFile) const {
    AIBoolean exists = 0;
    AIBoolean file = 0;
    check_ai_error(Suite().Exists(handle(), &exists, &file));
    if (isFile != nullptr) *isFile = exists != 0 && file != 0;
    return exists != 0;
}

}  // namespace ai
