#include "FakeLayerTree.h"

#include <algorithm>
#include <stdexcept>

FakeTree TreeFromScheme(const LayerSchemeEntry* scheme, int32_t count) {
    FakeTree list;
    for (int32_t i = 0; i < count; ++i) {
        FakeLayer layer{scheme[i].title, {}};
        if (scheme[i].group) layer.sublayers = TreeFromScheme(scheme[i].sublayers, scheme[i].count);
        list.push_back(std::move(layer));
    }
    return list;
}

std::vector<FakeLayer>& ListAt(FakeTree& tree, std::initializer_list<int> path) {
    std::vector<FakeLayer>* list = &tree;
    for (int i : path) list = &list->at(static_cast<std::size_t>(i)).sublayers;
    return *list;
}

FakeLayer& LayerAt(FakeTree& tree, std::initializer_list<int> path) {
    if (path.size() == 0) throw std::invalid_argument("empty layer path");
    std::vector<FakeLayer>* list = &tree;
    FakeLayer* layer = nullptr;
    for (int i : path) {
        layer = &list->at(static_cast<std::size_t>(i));
        list = &layer->sublayers;
    }
    return *layer;
}

void ReplaceInTitle(FakeLayer& layer, std::string_view from, std::string_view to) {
    const std::size_t at = layer.title.find(from);
    if (at == std::string::npos || layer.title.find(from, at + 1) != std::string::npos)
        throw std::invalid_argument("title has not exactly one '" + std::string(from) + "': " + layer.title);
    layer.title.replace(at, from.size(), to);
}

FakeLayerTreeReader::FakeLayerTreeReader(FakeTree& tree) : tree_(tree) { Link(tree_); }

void FakeLayerTreeReader::Link(std::vector<FakeLayer>& list) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        next_[&list[i]] = i + 1 < list.size() ? &list[i + 1] : nullptr;
        Link(list[i].sublayers);
    }
}

LayerTreeReader::Layer FakeLayerTreeReader::FirstLayer() { return tree_.empty() ? nullptr : &tree_.front(); }

LayerTreeReader::Layer FakeLayerTreeReader::FirstChild(Layer layer) {
    auto& sublayers = Of(layer).sublayers;
    return sublayers.empty() ? nullptr : &sublayers.front();
}

LayerTreeReader::Layer FakeLayerTreeReader::NextLayer(Layer layer) { return next_.at(&Of(layer)); }

bool FakeLayerTreeReader::ReadTitle(Layer layer, char* buffer, std::size_t size) {
    ++titleReads;
    const std::string& title = Of(layer).title;
    const std::size_t n = std::min(title.size(), size - 1);
    title.copy(buffer, n);
    buffer[n] = '\0';
    return true;
}
