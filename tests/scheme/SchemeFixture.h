// The two layer trees as fixtures/layer_trees.txt lists them, typed apart
// from the plug-in's tables so that a slip in a table cannot pass as right.
#pragma once

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace schemefixture {

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
        tree.push_back({line.substr(indent), static_cast<int>(indent / 2)});
    }
    if (tree.empty()) throw std::runtime_error("no fixture section " + section);
    return tree;
}

}  // namespace schemefixture
