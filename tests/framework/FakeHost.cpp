#include "FakeHost.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string_view>

struct _AIUnicodeString {
    std::string utf8;
};
struct _AIFilePath {
    std::string path;
};

namespace fake {

namespace {

Host gHost;

AIErr Fail(const std::string& call) {
    const auto it = gHost.failures.find(call);
    return it == gHost.failures.end() ? kNoErr : it->second;
}

// ---- UTF-8 helpers: the fake keeps strings as UTF-8 and checks what comes in.

// Length of the UTF-8 sequence starting with lead, 0 for a byte that cannot start one.
int SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

bool ValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const int n = SequenceLength(static_cast<unsigned char>(s[i]));
        if (n == 0 || i + n > s.size()) return false;
        for (int k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

std::u16string ToUtf16(std::string_view s) {
    std::u16string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const int n = SequenceLength(lead);
        char32_t c = n == 1 ? lead : lead & (0x7F >> n);
        for (int k = 1; k < n; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        i += n;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::string ToUtf8(std::u16string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size()) c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// ---- Unicode strings (UTF-8 and platform encodings only)

const AIUnicodeStringSuite kUnicodeString = {
    [](AIUnicodeStringRef* str) -> AIErr {
        *str = new _AIUnicodeString;
        ++gHost.liveStrings;
        return kNoErr;
    },
    [](AIUnicodeStringRef str) -> AIErr {
        if (str != nullptr) --gHost.liveStrings;
        delete str;
        return kNoErr;
    },
    [](AIUnicodeStringRef str, const char* bytes, int32_t length, int32_t encoding) -> AIErr {
        if (AIErr e = Fail("SetFromBytes")) return e;
        const std::string_view text(bytes, length < 0 ? std::strlen(bytes) : static_cast<std::size_t>(length));
        if ((encoding != kAIPlatformCharacterEncoding && encoding != kAIUTF8CharacterEncoding) || !ValidUtf8(text))
            return kBadParameterErr;
        str->utf8 = text;
        return kNoErr;
    },
    [](AIUnicodeStringRef str, const uint16_t* units, int32_t length) -> AIErr {
        str->utf8 = ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(units), length));
        return kNoErr;
    },
    [](AIUnicodeStringRef str, char* buffer, int32_t size, int32_t encoding, int32_t* written) -> AIErr {
        if (encoding != kAIPlatformCharacterEncoding && encoding != kAIUTF8CharacterEncoding) return kBadParameterErr;
        if (size <= 0) return kBufferTooSmallErr;
        std::size_t n = 0;  // whole characters that fit before the terminator
        while (n < str->utf8.size()) {
            const std::size_t step = SequenceLength(static_cast<unsigned char>(str->utf8[n]));
            if (n + step > static_cast<std::size_t>(size - 1)) break;
            n += step;
        }
        std::memcpy(buffer, str->utf8.data(), n);
        buffer[n] = '\0';
        if (written != nullptr) *written = gHost.overstateWritten ? size + 10 : static_cast<int32_t>(n);
        return n < str->utf8.size() ? kBufferTooSmallErr : kNoErr;
    },
    [](AIUnicodeStringRef str, uint16_t* units, int32_t size, int32_t* length) -> AIErr {
        const std::u16string text = ToUtf16(str->utf8);
        const auto n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(size));
        std::memcpy(units, text.data(), n * sizeof(uint16_t));
        *length = static_cast<int32_t>(n);
        return kNoErr;
    },
    [](AIUnicodeStringRef str, int32_t* length) -> AIErr {
        *length = static_cast<int32_t>(ToUtf16(str->utf8).size());
        return kNoErr;
    },
    [](AIUnicodeStringRef a, AIUnicodeStringRef b, int32_t* result) -> AIErr {
        *result = ToUtf16(a->utf8).compare(ToUtf16(b->utf8));
        return kNoErr;
    },
    [](AIUnicodeStringRef dst, AIUnicodeStringRef src) -> AIErr {
        dst->utf8 += src->utf8;
        return kNoErr;
    },
    [](AIUnicodeStringRef dst, AIUnicodeStringRef src) -> AIErr {
        dst->utf8 = src->utf8;
        return kNoErr;
    },
};

// ---- File paths over the real file system

const AIFilePathSuite kFilePath = {
    [](AIFilePathRef* path) -> AIErr {
        *path = new _AIFilePath;
        ++gHost.livePaths;
        return kNoErr;
    },
    [](AIFilePathRef path) -> AIErr {
        if (path != nullptr) --gHost.livePaths;
        delete path;
        return kNoErr;
    },
    [](AIFilePathRef path, AIUnicodeStringRef s) -> AIErr { return path->path = s->utf8, kNoErr; },
    [](AIFilePathRef path, AIUnicodeStringRef s) -> AIErr { return s->utf8 = path->path, kNoErr; },
    [](AIFilePathRef path, AIFilePathRef dir) -> AIErr {
        const std::filesystem::path p(path->path);
        dir->path = std::filesystem::is_directory(p) ? p.string() : p.parent_path().string();
        return kNoErr;
    },
    [](AIFilePathRef path, AIUnicodeStringRef name) -> AIErr {
        const std::filesystem::path p(path->path);
        name->utf8 = std::filesystem::is_directory(p) ? std::string() : p.filename().string();
        return kNoErr;
    },
    [](AIFilePathRef path, AIBoolean* exists, AIBoolean* isFile) -> AIErr {
        std::error_code ec;
        const auto status = std::filesystem::status(path->path, ec);
        *exists = std::filesystem::exists(status);
        if (isFile != nullptr) *isFile = std::filesystem::is_regular_file(status);
        return kNoErr;
    },
    [](AIFilePathRef dst, AIFilePathRef src) -> AIErr { return dst->path = src->path, kNoErr; },
};

// ---- Artboards: one artboard, 100 x 50 points, lists and properties counted

int gArtboardToken;
AIArtboardListRef ListRef() { return reinterpret_cast<AIArtboardListRef>(&gArtboardToken); }

const AIArtboardSuite kArtboard = {
    [](AIArtboardListRef* list) -> AIErr {
        if (AIErr e = Fail("GetArtboardList")) return e;
        ++gHost.liveArtboardObjects;
        *list = ListRef();
        return kNoErr;
    },
    [](AIArtboardListRef) -> AIErr { return --gHost.liveArtboardObjects, kNoErr; },
    [](AIArtboardListRef, int32_t* count) -> AIErr { return *count = 1, kNoErr; },
    [](AIArtboardListRef, int32_t* index) -> AIErr { return *index = 0, kNoErr; },
    [](AIArtboardListRef, int32_t index, AIArtboardPropertiesRef) -> AIErr {
        return index == 0 ? kNoErr : kIndexOutOfRangeErr;
    },
    [](AIArtboardPropertiesRef* properties) -> AIErr {
        ++gHost.liveArtboardObjects;
        *properties = reinterpret_cast<AIArtboardPropertiesRef>(&gArtboardToken);
        return kNoErr;
    },
    [](AIArtboardPropertiesRef) -> AIErr { return --gHost.liveArtboardObjects, kNoErr; },
    [](AIArtboardPropertiesRef, AIRealRect* bounds) -> AIErr {
        return *bounds = {0, 50, 100, 0}, kNoErr;
    },
};

// ---- The application's side

int gAccessToken;

const SPAccessSuite kAccess = {
    [](SPPluginRef plugin, SPAccessRef* access) -> AIErr {
        if (plugin == nullptr) return kBadParameterErr;
        ++gHost.accessRefs;
        *access = reinterpret_cast<SPAccessRef>(&gAccessToken);
        return kNoErr;
    },
    [](SPAccessRef access) -> AIErr {
        ++gHost.accessReleaseCalls;
        if (access != reinterpret_cast<SPAccessRef>(&gAccessToken) || gHost.accessRefs == 0) return kBadParameterErr;
        --gHost.accessRefs;
        return kNoErr;
    },
    [](SPPluginRef, int32_t* count) -> AIErr { return *count = gHost.accessRefs, kNoErr; },
};

const SPPluginsSuite kPlugins = {
    [](SPPluginRef, const char* name) -> AIErr {
        if (AIErr e = Fail("SetPluginName")) return e;
        gHost.pluginName = name;
        return kNoErr;
    },
    [](SPPluginRef, const char** name) -> AIErr { return *name = gHost.pluginName.c_str(), kNoErr; },
    [](SPPluginRef, const char** path) -> AIErr { return *path = "", kNoErr; },
};

const AINotifierSuite kNotifier = {
    [](SPPluginRef, const char* name, const char* type, AINotifierHandle*) -> AIErr {
        if (AIErr e = Fail("AddNotifier")) return e;
        gHost.notifiers.emplace_back(name, type);
        return kNoErr;
    },
    [](AINotifierHandle, AIBoolean) -> AIErr { return kNoErr; },
};

const AIAppContextSuite kContext = {
    [](SPPluginRef, AIAppContextHandle* context) -> AIErr {
        ++gHost.contextDepth;
        ++gHost.contextPushes;
        *context = reinterpret_cast<AIAppContextHandle>(&gHost);
        return kNoErr;
    },
    [](AIAppContextHandle) -> AIErr { return --gHost.contextDepth, kNoErr; },
};

const AIUserSuite kUser = {
    [](AIUnicodeStringRef) -> AIErr { return kNoErr; },
    [](AIUnicodeStringRef message) -> AIErr {
        if (gHost.alertThrows) throw std::runtime_error("alert failed");
        gHost.alerts.push_back(message->utf8);
        return kNoErr;
    },
    [](AIUnicodeStringRef, int32_t* answer) -> AIErr { return *answer = kAINoAnswer, kNoErr; },
    [](AIUnicodeStringRef, AIFilePathRef) -> AIErr { return kCanceledErr; },
};

MenuGroup* FindGroup(const char* name) {
    for (MenuGroup& g : gHost.groups)
        if (name != nullptr && g.name == name) return &g;
    return nullptr;
}

const AIMenuSuite kMenu = {
    [](SPPluginRef self, const char* itemName, const char* groupName, AIUnicodeStringRef text, int32_t options,
       AIMenuItemHandle* item) -> AIErr {
        if (AIErr e = Fail(std::string("AddMenuItem@") + (groupName ? groupName : ""))) return e;
        if (FindGroup(groupName) == nullptr) return kNameNotFoundErr;
        gHost.items.push_back({groupName, itemName ? itemName : "", text->utf8, options, self});
        *item = HandleOf(&gHost.items.back());
        return kNoErr;
    },
    [](const char* groupName, int32_t options, AIMenuItemHandle item, AIMenuGroup* group) -> AIErr {
        if (AIErr e = Fail("AddMenuGroupAsSubMenu")) return e;
        if (FindGroup(groupName) != nullptr) return kBadParameterErr;
        gHost.groups.push_back({groupName, options, reinterpret_cast<const MenuItem*>(item)});
        *group = reinterpret_cast<AIMenuGroup>(&gHost.groups.back());
        return kNoErr;
    },
    [](int32_t* count) -> AIErr {
        if (AIErr e = Fail("CountMenuGroups")) return e;
        return *count = static_cast<int32_t>(gHost.groups.size()), kNoErr;
    },
    [](int32_t n, AIMenuGroup* group) -> AIErr {
        if (n < 0 || static_cast<std::size_t>(n) >= gHost.groups.size()) return *group = nullptr, kIndexOutOfRangeErr;
        return *group = reinterpret_cast<AIMenuGroup>(&gHost.groups[n]), kNoErr;
    },
    [](AIMenuGroup group, const char** name) -> AIErr {
        return *name = reinterpret_cast<MenuGroup*>(group)->name.c_str(), kNoErr;
    },
    [](AIMenuItemHandle item, AIUnicodeStringRef text) -> AIErr {
        return text->utf8 = reinterpret_cast<MenuItem*>(item)->text, kNoErr;
    },
    [](AIMenuItemHandle item, SPPluginRef* plugin) -> AIErr {
        return *plugin = reinterpret_cast<MenuItem*>(item)->plugin, kNoErr;
    },
};

// Suites the fake does not model: calls through them would crash, which is
// what a test wants to notice.
const void* const kUnmodelled[64] = {};

struct Entry {
    const char* name;
    int32_t version;
    const void* table;
};

const Entry kModelled[] = {
    {kSPAccessSuite, kSPAccessSuiteVersion, &kAccess},
    {kSPPluginsSuite, kSPPluginsSuiteVersion, &kPlugins},
    {kAINotifierSuite, kAINotifierSuiteVersion, &kNotifier},
    {kAIAppContextSuite, kAIAppContextSuiteVersion, &kContext},
    {kAIUserSuite, kAIUserSuiteVersion, &kUser},
    {kAIMenuSuite, kAIMenuSuiteVersion, &kMenu},
    {kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, &kUnicodeString},
    {kAIFilePathSuite, kAIFilePathSuiteVersion, &kFilePath},
    {kAIArtboardSuite, kAIArtboardSuiteVersion, &kArtboard},
};

SPBasicSuite kBasic = {
    [](const char* name, int32_t version, const void** suite) -> AIErr {
        *suite = nullptr;
        gHost.acquired.emplace_back(name);
        if (gHost.missing.count(name) != 0) return kSPSuiteNotFoundError;
        const void* table = kUnmodelled;
        for (const Entry& e : kModelled) {
            if (std::strcmp(e.name, name) != 0) continue;
            if (e.version != version) return kSPBadSuiteVersionError;
            table = e.table;
        }
        ++gHost.held[name];
        *suite = table;
        return kNoErr;
    },
    [](const char* name, int32_t) -> AIErr {
        auto it = gHost.held.find(name);
        if (it == gHost.held.end() || it->second == 0) return ++gHost.badReleases, kSPSuiteNotFoundError;
        if (--it->second == 0) gHost.held.erase(it);
        return kNoErr;
    },
    [](const char* a, const char* b) -> AIBoolean { return std::strcmp(a, b) == 0; },
    [](size_t size, void** block) -> AIErr { return (*block = std::malloc(size)) ? kNoErr : kOutOfMemoryErr; },
    [](void* block) -> AIErr { return std::free(block), kNoErr; },
    [](void* block, size_t size, void** out) -> AIErr {
        return (*out = std::realloc(block, size)) ? kNoErr : kOutOfMemoryErr;
    },
};

}  // namespace

int Host::HeldCount() const {
    int n = 0;
    for (const auto& [name, count] : held) n += count;
    return n;
}

std::vector<const MenuItem*> Host::ItemsOf(const std::string& group) const {
    std::vector<const MenuItem*> result;
    for (const MenuItem& item : items)
        if (item.group == group) result.push_back(&item);
    return result;
}

int Host::GroupCount(const std::string& name) const {
    int n = 0;
    for (const MenuGroup& g : groups) n += g.name == name;
    return n;
}

Host& Reset() {
    gHost = Host{};
    for (const char* name : {kAboutMenuGroup, kOpenDocumentMenuGroup, kObjectsMenuGroup})
        gHost.groups.push_back({name, 0, nullptr});
    return gHost;
}

Host& Get() { return gHost; }
SPBasicSuite* Basic() { return &kBasic; }
const AIUnicodeStringSuite* UnicodeStringSuite() { return &kUnicodeString; }
const AIFilePathSuite* FilePathSuite() { return &kFilePath; }
const AIArtboardSuite* ArtboardSuite() { return &kArtboard; }

AIMenuItemHandle HandleOf(const MenuItem* item) {
    return reinterpret_cast<AIMenuItemHandle>(const_cast<MenuItem*>(item));
}

}  // namespace fake
