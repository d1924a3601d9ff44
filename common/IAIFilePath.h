// ai::FilePath: an owned host file path (AIFilePathSuite), "/" separated.
// Every failed host call throws ai::Error.
#ifndef QUILTOR_COMMON_IAIFILEPATH_H
#define QUILTOR_COMMON_IAIFILEPATH_H

#include "AIHost.h"
#include "IAIError.h"
#include "IAIUnicodeString.h"

namespace ai {

class FilePath {
public:
    FilePath();
    explicit FilePath(const UnicodeString& path);

    FilePath(const FilePath& other);
    FilePath(FilePath&& other) noexcept;
    FilePath& operator=(const FilePath& other);
    FilePath& operator=(FilePath&& other) noexcept;
    ~FilePath();

    void Set(const UnicodeString& path);
    UnicodeString GetFullPath() const;
    // The path itself when it names a directory, else its parent.
    FilePath GetDirectory() const;
    // The last component; empty when the path names a directory.
    UnicodeString GetFileName() const;
    // Whether a file or directory is there; *isFile (if given) whether it is a file.
    bool Exists(bool* isFile = nullptr) const;

    // The host's handle, owned by this object; valid while it lives.
    AIFilePathRef get() const;

private:
    AIFilePathRef handle() const;

    // Null only after a move; the host path is then made on first use.
    mutable AIFilePathRef fPath = nullptr;
};

}  // namespace ai

#endif
