// Storage for the art nodes of every document in the process. Nodes sit in chunks that live as
// long as the process, so telling whether a handle names a node never reads freed memory and
// costs a search over a few chunk ranges instead of a hash lookup per suite call. A node's
// `home` says which document content holds it (0: none, the node is dead or free). Like the rest
// of the model it is used from the host's one thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/Art.h"

namespace quiltor::host {

class ArtArena {
public:
    // The one arena of the process: documents move art between each other, so they share it.
    static ArtArena& Shared();

    ArtArena() = default;
    ArtArena(const ArtArena&) = delete;
    ArtArena& operator=(const ArtArena&) = delete;

    // A default node with the given home.
    Art* make(uint64_t home);
    // Takes the node back for reuse. Its handle may name a new node afterwards, so only nodes
    // whose handles are already dead to every caller (after a purge or close) come back.
    void release(Art* art);
    // The node the handle points at, or null when it points at no node of the arena.
    Art* node(const _AIArt* handle) const;
    // A number no document content of the process had before.
    uint64_t newHome() { return ++lastHome_; }

    size_t freeNodes() const { return free_.size(); }

private:
    struct Chunk {
        std::unique_ptr<Art[]> nodes;
        size_t size = 0;
        size_t used = 0;
    };
    std::vector<Chunk> chunks_;      // in allocation order; the last one is being filled
    std::vector<size_t> byAddress_;  // chunk indices by start address, for node()
    std::vector<Art*> free_;
    bool freeSorted_ = true;  // highest address first
    uint64_t lastHome_ = 0;
};

}  // namespace quiltor::host
