#include "model/ArtArena.h"

#include <algorithm>
#include <functional>

namespace quiltor::host {

namespace {

// Chunks double up to this many nodes, so even a million nodes take few chunks to search.
constexpr size_t kFirstChunk = 256;
constexpr size_t kLargestChunk = size_t{1} << 16;

}  // namespace

ArtArena& ArtArena::Shared() {
    // Never destroyed: documents held by other statics give their nodes back during exit.
    static ArtArena* const arena = new ArtArena;
    return *arena;
}

Art* ArtArena::make(uint64_t home) {
    Art* art = nullptr;
    if (!free_.empty()) {
        // Reused nodes go out in address order, so that art made one after another (a pasted
        // tile, a read file) lies side by side in memory as it did the first time.
        if (!freeSorted_) {
            std::sort(free_.begin(), free_.end(), std::greater<Art*>());
            freeSorted_ = true;
        }
        art = free_.back();
        free_.pop_back();
    } else {
        if (chunks_.empty() || chunks_.back().used == chunks_.back().size) {
            const size_t size = chunks_.empty() ? kFirstChunk : std::min(chunks_.back().size * 2, kLargestChunk);
            chunks_.push_back(Chunk{std::make_unique<Art[]>(size), size, 0});
            const auto less = [&](size_t a, size_t b) {
                return std::less<const Art*>()(chunks_[a].nodes.get(), chunks_[b].nodes.get());
            };
            const size_t index = chunks_.size() - 1;
            byAddress_.insert(std::upper_bound(byAddress_.begin(), byAddress_.end(), index, less), index);
        }
        Chunk& chunk = chunks_.back();
        art = &chunk.nodes[chunk.used++];
    }
    art->home = home;
    return art;
}

void ArtArena::release(Art* art) {
    *art = Art{};
    free_.push_back(art);
    freeSorted_ = false;
}

Art* ArtArena::node(const _AIArt* handle) const {
    if (!handle) return nullptr;
    const std::less<const void*> before;
    // The last chunk starting at or before the handle is the only one that can hold it.
    auto it = std::upper_bound(byAddress_.begin(), byAddress_.end(), handle,
                               [&](const _AIArt* h, size_t c) { return before(h, chunks_[c].nodes.get()); });
    if (it == byAddress_.begin()) return nullptr;
    const Chunk& chunk = chunks_[*std::prev(it)];
    const auto offset = reinterpret_cast<uintptr_t>(handle) - reinterpret_cast<uintptr_t>(chunk.nodes.get());
    const size_t index = offset / sizeof(Art);
    if (index >= chunk.used || static_cast<const _AIArt*>(&chunk.nodes[index]) != handle) return nullptr;
    return &chunk.nodes[index];
}

}  // namespace quiltor::host
