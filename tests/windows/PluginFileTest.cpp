// The plug-in files as the Windows loader sees them: the property list the host reads to find
// them, their one export, and the DLLs they need. The file is mapped as an image without running
// or binding it, so its headers and tables are read at their relative addresses.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

struct PluginFile {
    const char* file;
    const wchar_t* name;  // the plug-in name the property list carries, in Shift-JIS
};

const PluginFile kFiles[] = {
    {"plugins/KTRQuiltorSelectMerge.aip", L"Orvela Plateo.ai Quiltware Quiltor セレクトマージ"},
    {"plugins/KTRQuiltorAdjust.aip", L"Orvela Plateo.ai Quiltware Quiltor アジャスト"},
};

void PrintTo(const PluginFile& f, std::ostream* os) { *os << f.file; }

class Bytes {
public:
    void Word(uint16_t v) { Raw(&v, 2); }
    void Long(uint32_t v) { Raw(&v, 4); }
    // A four-character code is one 32-bit value: 'kind' is 'k' << 24 | 'i' << 16 | 'n' << 8 | 'd'.
    void Code(const char (&c)[5]) {
        Long(uint32_t(uint8_t(c[0])) << 24 | uint32_t(uint8_t(c[1])) << 16 | uint32_t(uint8_t(c[2])) << 8 |
             uint32_t(uint8_t(c[3])));
    }
    void Property(const char (&key)[5], const std::vector<uint8_t>& value) {
        std::vector<uint8_t> padded = value;
        while (padded.size() % 4 != 0) padded.push_back(0);
        Code("ADBE");
        Code(key);
        Long(0);
        Long(uint32_t(padded.size()));
        Raw(padded.data(), padded.size());
    }
    const std::vector<uint8_t>& All() const { return bytes_; }

private:
    void Raw(const void* p, size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        bytes_.insert(bytes_.end(), b, b + n);
    }
    std::vector<uint8_t> bytes_;
};

std::vector<uint8_t> Zeroterminated(const std::string& s) {
    std::vector<uint8_t> v(s.begin(), s.end());
    v.push_back(0);
    return v;
}

std::string ShiftJis(const wchar_t* text) {
    const int n = WideCharToMultiByte(932, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(932, 0, text, -1, out.data(), n, nullptr, nullptr);
    if (!out.empty()) out.pop_back();  // the terminator WideCharToMultiByte counts
    return out;
}

std::vector<uint8_t> ExpectedPropertyList(const wchar_t* name) {
    Bytes b;
    b.Word(1);
    b.Long(0);
    b.Long(4);
    Bytes kind;
    kind.Code("SPEA");
    b.Property("kind", kind.All());
    Bytes version;
    version.Long(2);
    b.Property("ivrs", version.All());
    b.Property("wx86", Zeroterminated("PluginMain"));
    b.Property("pinm", Zeroterminated(ShiftJis(name)));
    return b.All();
}

// The image mapped as the loader maps it, but neither run nor bound to its imports.
class Image {
public:
    explicit Image(const char* path) : module_(LoadLibraryExA(path, nullptr, DONT_RESOLVE_DLL_REFERENCES)) {}
    ~Image() {
        if (module_) FreeLibrary(module_);
    }
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    bool Loaded() const { return module_ != nullptr; }

    std::vector<uint8_t> Resource(const wchar_t* type, int id) const {
        HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), type);
        if (!found) return {};
        HGLOBAL loaded = LoadResource(module_, found);
        const auto* data = static_cast<const uint8_t*>(LockResource(loaded));
        return data ? std::vector<uint8_t>(data, data + SizeofResource(module_, found)) : std::vector<uint8_t>{};
    }

    std::vector<std::string> Exports() const {
        std::vector<std::string> names;
        const IMAGE_DATA_DIRECTORY& dir = Directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
        if (dir.VirtualAddress == 0) return names;
        const auto* exports = At<IMAGE_EXPORT_DIRECTORY>(dir.VirtualAddress);
        const auto* nameRvas = At<DWORD>(exports->AddressOfNames);
        for (DWORD i = 0; i < exports->NumberOfNames; ++i) names.emplace_back(At<char>(nameRvas[i]));
        // Exports by number alone would have no name: count them too.
        for (DWORD i = exports->NumberOfNames; i < exports->NumberOfFunctions; ++i) names.emplace_back("#ordinal");
        return names;
    }

    std::set<std::string> ImportedDlls() const {
        std::set<std::string> dlls;
        const IMAGE_DATA_DIRECTORY& dir = Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
        if (dir.VirtualAddress == 0) return dlls;
        for (const auto* entry = At<IMAGE_IMPORT_DESCRIPTOR>(dir.VirtualAddress); entry->Name != 0; ++entry) {
            std::string name = At<char>(entry->Name);
            for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
            dlls.insert(name);
        }
        return dlls;
    }

private:
    template <class T>
    const T* At(DWORD rva) const {
        return reinterpret_cast<const T*>(reinterpret_cast<const uint8_t*>(module_) + rva);
    }
    const IMAGE_DATA_DIRECTORY& Directory(int which) const {
        const auto* dos = At<IMAGE_DOS_HEADER>(0);
        const auto* nt = At<IMAGE_NT_HEADERS64>(DWORD(dos->e_lfanew));
        return nt->OptionalHeader.DataDirectory[which];
    }

    HMODULE module_;
};

class PluginFileTest : public ::testing::TestWithParam<PluginFile> {};

TEST_P(PluginFileTest, CarriesThePropertyListExportsOnlyPluginMainAndNeedsOnlyWindowsDlls) {
    const Image image(GetParam().file);
    ASSERT_TRUE(image.Loaded()) << GetParam().file << ": error " << GetLastError();

    EXPECT_EQ(image.Resource(L"PIPL", 16000), ExpectedPropertyList(GetParam().name));
    EXPECT_EQ(image.Exports(), std::vector<std::string>{"PluginMain"});
    // The runtime is linked in: a user's Windows has these and nothing else of ours.
    const std::set<std::string> windows = {"kernel32.dll", "msvcrt.dll",  "user32.dll",
                                           "gdi32.dll",    "comctl32.dll", "advapi32.dll"};
    for (const std::string& dll : image.ImportedDlls()) {
        EXPECT_TRUE(windows.count(dll) == 1 || dll.rfind("api-ms-win-", 0) == 0) << dll;
    }
}

INSTANTIATE_TEST_SUITE_P(Both, PluginFileTest, ::testing::ValuesIn(kFiles),
                         [](const ::testing::TestParamInfo<PluginFile>& info) {
                             return std::string(std::strstr(info.param.file, "KTRQuiltor") + 10,
                                                std::strcspn(std::strstr(info.param.file, "KTRQuiltor") + 10, "."));
                         });

}  // namespace
