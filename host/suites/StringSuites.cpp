// Unicode strings, file paths, folders and number formatting.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/HostStrings.h"
#include "core/Paths.h"
#include "suites/AppSuiteSupport.h"
#include "suites/PluginServices.h"
#include "suites/SuiteContext.h"

namespace quiltor::host {
namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------- Unicode String

AIErr StrInitialize(AIUnicodeStringRef* str) {
    if (!str) return kBadParameterErr;
    *str = new (std::nothrow) _AIUnicodeString();
    return *str ? kNoErr : kOutOfMemoryErr;
}

AIErr StrDestroy(AIUnicodeStringRef str) {
    delete str;
    return kNoErr;
}

size_t Utf16ZeroTerminatedBytes(const char* bytes) {
    size_t n = 0;
    while (bytes[n] != 0 || bytes[n + 1] != 0) n += 2;
    return n;
}

AIErr StrSetFromBytes(AIUnicodeStringRef str, const char* bytes, int32_t length, int32_t encoding) {
    if (!str || length < -1 || (!bytes && length != 0) || !IsKnownEncoding(encoding)) return kBadParameterErr;
    return Guarded([&] {
        size_t size = 0;
        if (length == -1)
            size = encoding == kAIUTF16CharacterEncoding ? Utf16ZeroTerminatedBytes(bytes) : std::strlen(bytes);
        else
            size = static_cast<size_t>(length);
        auto decoded = DecodeBytes(std::string_view(bytes ? bytes : "", size), encoding);
        if (!decoded) return kBadParameterErr;
        str->text = std::move(*decoded);
        return kNoErr;
    });
}

AIErr StrSetFromUTF16(AIUnicodeStringRef str, const uint16_t* units, int32_t length) {
    if (!str || length < -1 || (!units && length != 0)) return kBadParameterErr;
    return Guarded([&] {
        size_t n = 0;
        if (length == -1)
            while (units[n] != 0) ++n;
        else
            n = static_cast<size_t>(length);
        str->text.assign(reinterpret_cast<const char16_t*>(units), n);
        return kNoErr;
    });
}

AIErr StrGetToBuffer(AIUnicodeStringRef str, char* buffer, int32_t size, int32_t encoding, int32_t* written) {
    if (written) *written = 0;
    if (!str || size < 0 || (!buffer && size > 0) || !IsKnownEncoding(encoding)) return kBadParameterErr;
    return Guarded([&] {
        std::string encoded = *EncodeBytes(str->text, encoding);
        const size_t terminator = encoding == kAIUTF16CharacterEncoding ? 2 : 1;
        const size_t capacity = static_cast<size_t>(size);
        if (capacity < terminator) {
            if (capacity > 0) std::memset(buffer, 0, capacity);
            return kBufferTooSmallErr;
        }
        size_t n = FitWholeCharacters(encoded, encoding, capacity - terminator);
        std::memcpy(buffer, encoded.data(), n);
        std::memset(buffer + n, 0, terminator);
        if (written) *written = static_cast<int32_t>(n);
        return n < encoded.size() ? kBufferTooSmallErr : kNoErr;
    });
}

AIErr StrGetUTF16(AIUnicodeStringRef str, uint16_t* units, int32_t size, int32_t* length) {
    if (length) *length = 0;
    if (!str || size < 0 || (!units && size > 0)) return kBadParameterErr;
    size_t n = std::min(str->text.size(), static_cast<size_t>(size));
    // Never half a surrogate pair.
    if (n > 0 && n < str->text.size() && str->text[n - 1] >= 0xD800 && str->text[n - 1] <= 0xDBFF) --n;
    std::memcpy(units, str->text.data(), n * sizeof(char16_t));
    if (length) *length = static_cast<int32_t>(n);
    return n < str->text.size() ? kBufferTooSmallErr : kNoErr;
}

AIErr StrLength(AIUnicodeStringRef str, int32_t* length) {
    if (!str || !length) return kBadParameterErr;
    *length = static_cast<int32_t>(str->text.size());
    return kNoErr;
}

AIErr StrCompare(AIUnicodeStringRef a, AIUnicodeStringRef b, int32_t* result) {
    if (!a || !b || !result) return kBadParameterErr;
    int c = a->text.compare(b->text);
    *result = c < 0 ? -1 : c > 0 ? 1 : 0;
    return kNoErr;
}

AIErr StrAppend(AIUnicodeStringRef dst, AIUnicodeStringRef src) {
    if (!dst || !src) return kBadParameterErr;
    return Guarded([&] {
        dst->text += std::u16string(src->text);  // src may be dst
        return kNoErr;
    });
}

AIErr StrAssign(AIUnicodeStringRef dst, AIUnicodeStringRef src) {
    if (!dst || !src) return kBadParameterErr;
    return Guarded([&] {
        dst->text = src->text;
        return kNoErr;
    });
}

const AIUnicodeStringSuite kUnicodeString = {StrInitialize,  StrDestroy,  StrSetFromBytes, StrSetFromUTF16,
                                             StrGetToBuffer, StrGetUTF16, StrLength,       StrCompare,
                                             StrAppend,      StrAssign};

// ---------------------------------------------------------------- File Path

AIErr PathInitialize(AIFilePathRef* path) {
    if (!path) return kBadParameterErr;
    *path = new (std::nothrow) _AIFilePath();
    return *path ? kNoErr : kOutOfMemoryErr;
}

AIErr PathDestroy(AIFilePathRef path) {
    delete path;
    return kNoErr;
}

AIErr PathSet(AIFilePathRef path, AIUnicodeStringRef string) {
    if (!path || !string) return kBadParameterErr;
    return Guarded([&] {
        path->path = Utf8Of(string);
        return kNoErr;
    });
}

AIErr PathGetFullPath(AIFilePathRef path, AIUnicodeStringRef string) {
    if (!path || !string) return kBadParameterErr;
    return Guarded([&] {
        AssignUtf8(string, path->path);
        return kNoErr;
    });
}

std::string WithoutTrailingSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

AIErr PathGetDirectory(AIFilePathRef path, AIFilePathRef dir) {
    if (!path || !dir) return kBadParameterErr;
    return Guarded([&] {
        std::error_code ec;
        std::string result;
        if (!path->path.empty() && fs::is_directory(PathFromUtf8(path->path), ec))
            result = WithoutTrailingSlash(path->path);
        else
            result = WithoutTrailingSlash(Utf8FromPath(PathFromUtf8(path->path).parent_path()));
        dir->path = std::move(result);
        return kNoErr;
    });
}

AIErr PathGetFileName(AIFilePathRef path, AIUnicodeStringRef name) {
    if (!path || !name) return kBadParameterErr;
    return Guarded([&] {
        std::error_code ec;
        bool isDirectory =
            path->path.empty() || path->path.back() == '/' || fs::is_directory(PathFromUtf8(path->path), ec);
        AssignUtf8(name, isDirectory ? std::string() : Utf8FromPath(PathFromUtf8(path->path).filename()));
        return kNoErr;
    });
}

AIErr PathExists(AIFilePathRef path, AIBoolean* exists, AIBoolean* isFile) {
    if (isFile) *isFile = false;
    if (!path || !exists) return kBadParameterErr;
    *exists = false;
    if (path->path.empty()) return kNoErr;
    std::error_code ec;
    auto status = fs::status(PathFromUtf8(path->path), ec);
    *exists = !ec && fs::exists(status);
    if (isFile) *isFile = *exists && fs::is_regular_file(status);
    return kNoErr;
}

AIErr PathCopy(AIFilePathRef dst, AIFilePathRef src) {
    if (!dst || !src) return kBadParameterErr;
    return Guarded([&] {
        dst->path = src->path;
        return kNoErr;
    });
}

const AIFilePathSuite kFilePath = {PathInitialize,   PathDestroy,     PathSet,    PathGetFullPath,
                                   PathGetDirectory, PathGetFileName, PathExists, PathCopy};

// ---------------------------------------------------------------- Folders

enum { kApplicationFolder = 0, kPluginsFolder = 1, kTemporaryFolder = 2 };

fs::path ApplicationFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path(ec) : exe.parent_path();
}

AIErr FindFolder(int32_t type, AIBoolean createFolder, AIFilePathRef folder) {
    if (!folder) return kBadParameterErr;
    return Guarded([&] {
        std::error_code ec;
        fs::path found;
        switch (type) {
        case kApplicationFolder: found = ApplicationFolder(); break;
        case kPluginsFolder: {
            // The folder the first plug-in came from; the application's when none is loaded.
            auto plugins = RunningHost() ? RunningHost()->plugins.plugins() : std::vector<SPPluginRef>{};
            found = plugins.empty() ? ApplicationFolder() : PathFromUtf8(plugins.front()->path).parent_path();
            break;
        }
        case kTemporaryFolder: found = fs::temp_directory_path(ec); break;
        default: return kBadParameterErr;
        }
        if (ec) return kCantHappenErr;
        if (createFolder) {
            fs::create_directories(found, ec);
            if (ec) return kCantHappenErr;
        }
        folder->path = Utf8FromPath(found);
        return kNoErr;
    });
}

const AIFoldersSuite kFolders = {FindFolder};

// ---------------------------------------------------------------- String Format Utils

AIErr RealToString(AIReal value, int16_t precision, AIUnicodeStringRef str) {
    if (!str) return kBadParameterErr;
    int digits = precision < 0 ? 0 : precision > 15 ? 15 : precision;
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits, static_cast<double>(value));
    return Guarded([&] {
        AssignUtf8(str, text);
        return kNoErr;
    });
}

const AIStringFormatUtilsSuite kStringFormatUtils = {RealToString};

}  // namespace

void RegisterStringSuites(SuiteRegistry& registry) {
    registry.add(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, kUnicodeString);
    registry.add(kAIFilePathSuite, kAIFilePathSuiteVersion, kFilePath);
    registry.add(kAIFoldersSuite, kAIFoldersSuiteVersion, kFolders);
    registry.add(kAIStringFormatUtilsSuite, kAIStringFormatUtilsSuiteVersion, kStringFormatUtils);
}

}  // namespace quiltor::host
