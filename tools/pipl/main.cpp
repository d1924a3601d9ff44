// quiltor-pipl: writes the property list of a macOS plug-in bundle, the resource by which the
// host finds the plug-in and its entry point. The layout is the Windows resource's: little-endian,
// a 16-bit format word 1, a 32-bit version 0, the property count, then each property as vendor,
// key, number 0, the value's length and the value padded with zero bytes to a multiple of four.
// A four-character code is one 32-bit value, so its letters stand reversed in the file.
//
// Usage: quiltor-pipl OUT.pipl "PLUG-IN NAME"
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The key of the entry point's name in a macOS bundle (the Windows builds use 'wx86').
constexpr char kMacEntryKey[] = "mi64";
constexpr char kEntryPoint[] = "PluginMain";

class Writer {
public:
    void Word(uint16_t v) {
        for (int i = 0; i < 2; ++i) bytes_.push_back(char((v >> (8 * i)) & 0xFF));
    }
    void Long(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_.push_back(char((v >> (8 * i)) & 0xFF));
    }
    void Code(std::string_view four) {
        Long(uint32_t(uint8_t(four[0])) << 24 | uint32_t(uint8_t(four[1])) << 16 | uint32_t(uint8_t(four[2])) << 8 |
             uint32_t(uint8_t(four[3])));
    }
    void Property(std::string_view key, const std::string& value) {
        Code("ADBE");
        Code(key);
        Long(0);
        const size_t padded = (value.size() + 3) / 4 * 4;
        Long(uint32_t(padded));
        bytes_ += value;
        bytes_.append(padded - value.size(), '\0');
    }
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

std::string CodeValue(std::string_view four) {
    Writer w;
    w.Code(four);
    return w.Bytes();
}

std::string LongValue(uint32_t v) {
    Writer w;
    w.Long(v);
    return w.Bytes();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::string_view(argv[2]).empty()) {
        std::fprintf(stderr, "usage: quiltor-pipl OUT.pipl \"PLUG-IN NAME\"\n");
        return 2;
    }
    Writer w;
    w.Word(1);
    w.Long(0);
    w.Long(4);
    w.Property("kind", CodeValue("SPEA"));
    w.Property("ivrs", LongValue(2));
    w.Property(kMacEntryKey, std::string(kEntryPoint) + '\0');
    w.Property("pinm", std::string(argv[2]) + '\0');
    std::ofstream out(argv[1], std::ios::binary);
    out.write(w.Bytes().data(), std::streamsize(w.Bytes().size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "quiltor-pipl: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
