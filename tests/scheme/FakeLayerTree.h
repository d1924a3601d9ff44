#ifndef QUILTOR_TESTS_FAKE_LAYER_TREE_H
#define QUILTOR_TESTS_FAKE_LAYER_TREE_H

// An in-memory layer tree and a LayerTreeReader over it, so scheme checks run
// without a host.

#include "core/LayerScheme.h"

#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct FakeLayer {
    std::string title;
    std::vector<FakeLayer> sublayers;
};
using FakeTree = std::vector<FakeLayer>;

// The tree a tile following `scheme` carries; non-group layers get no sublayers.
FakeTree TreeFromScheme(const LayerSchemeEntry* scheme, int32_t count);

// Layer list at `path` of 0-based positions: the top-level list for {}, else the
// sublayers of the layer the path leads to.
std::vector<FakeLayer>& ListAt(FakeTree& tree, std::initializer_list<int> path);
FakeLayer& LayerAt(FakeTree& tree, std::initializer_list<int> path);

// Replaces the one occurrence of `from` in the layer's title.
void ReplaceInTitle(FakeLayer& layer, std::string_view from, std::string_view to);

// Reads a tree the way the host does: titles cut to the buffer, null past the
// last layer. The tree must outlive the reader and keep its shape while read.
class FakeLayerTreeReader : public LayerTreeReader {
public:
    explicit FakeLayerTreeReader(FakeTree& tree);

    Layer FirstLayer() override;
    Layer FirstChild(Layer layer) override;
    Layer NextLayer(Layer layer) override;
    bool ReadTitle(Layer layer, char* buffer, std::size_t size) override;

    static FakeLayer& Of(Layer layer) { return *static_cast<FakeLayer*>(layer); }

    int titleReads = 0;

private:
    void Link(std::vector<FakeLayer>& list);

    FakeTree& tree_;
    std::map<const FakeLayer*, FakeLayer*> next_;
};

#endif
