// The two layer trees as fixtures/layer_trees.txt lists them, typed apart
// from the plug-in's tables so that a slip in a table cannot pass as right.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace schemefixture {

// The fixture is UTF-8. The Windows build holds its titles in Shift-JIS and its host gives them so,
// so there the fixture's titles are converted first: the same layer must match after conversion.
inline std::string AsBuildTitle(const std::string& utf8) {
#ifdef _WIN32
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), nullptr, 0);
    if (units <= 0) throw std::runtime_error("fixture title is not UTF-8: " + utf8);
    std::wstring wide(size_t(units), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), wide.data(), units);
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(932, 0, wide.data(), units, nullptr, 0, nullptr, &lossy);
    std::string shiftJis(size_t(n), '\0');
    WideCharToMultiByte(932, 0, wide.data(), units, shiftJis.data(), n, nullptr, &lossy);
    if (lossy) throw std::runtime_error("fixture title has no Shift-JIS form: " + utf8);
    return shiftJis;
#else
    return utf8;
#endif
}

struct Layer {
    std::string title;
    int depth = 0;
};

// The tree of section "standard" or "tokyo23", in preorder.
inline std::vector<Layer> Read(const std::string& section) {
    std::ifstream in(QUILTOR_SOURCE_DIR "/tests/scheme/fixtures/layer_trees.txt");
    if (!in) throw std::runtime_error("layer tree fixture not found");
    std::vector<Layer> tree;
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            inSection = line == "[" + section + "]";
            continue;
        }
        if (!inSection) continue;
        const std::size_t indent = line.find_first_not_of(' ');
        if (indent == std::string::npos || indent % 2 != 0) throw std::runtime_error("bad fixture line: " + line);
        tree.push_back({AsBuildTitle(line.substr(indent)), static_cast<int>(indent / 2)});
    }
    if (tree.empty()) throw std::runtime_error("no fixture section " + section);
    return tree;
}

}  // namespace schemefixture
