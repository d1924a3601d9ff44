// The pieces of a layer listed under the seam edges of their outlines, for
// finding the partners of a face or ring without comparing every pair. Built
// once from all entries: a flat table from edge to bucket and the buckets side
// by side in one array, so that a large layer costs few cache misses per
// lookup. Entries added later go to a small side table.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "SeamGeometry.h"

// A seam edge without its direction.
struct EdgeKey {
    SeamPoint low;
    SeamPoint high;
    friend bool operator==(const EdgeKey&, const EdgeKey&) = default;
};

EdgeKey KeyOf(SeamPoint a, SeamPoint b);

struct EdgeKeyHash {
    std::size_t operator()(const EdgeKey& key) const noexcept;
};

class SeamEdgeIndex {
public:
    using Entry = std::pair<EdgeKey, uint32_t>;

    SeamEdgeIndex() = default;
    // Each bucket lists its ids in the order of the entries.
    explicit SeamEdgeIndex(const std::vector<Entry>& entries);

    void Add(EdgeKey key, uint32_t id);

    // Calls keep(id) for every id listed under the edge, in no set order, and
    // drops the entries for which it returns false.
    template <class Keep>
    void Visit(EdgeKey key, Keep keep) {
        if (Bucket* bucket = BucketOf(key); bucket != nullptr) {
            for (uint32_t k = bucket->start; k < bucket->end;) {
                if (keep(ids_[k])) {
                    ++k;
                } else {
                    ids_[k] = ids_[--bucket->end];
                }
            }
        }
        if (extra_.empty()) {
            return;
        }
        if (const auto it = extra_.find(key); it != extra_.end()) {
            std::vector<uint32_t>& ids = it->second;
            for (std::size_t k = 0; k < ids.size();) {
                if (keep(ids[k])) {
                    ++k;
                } else {
                    ids[k] = ids.back();
                    ids.pop_back();
                }
            }
        }
    }

private:
    static constexpr uint32_t kFree = UINT32_MAX;

    // An edge and its ids, ids_[start, end).
    struct Bucket {
        EdgeKey key;
        uint32_t start = 0;
        uint32_t end = 0;
    };
    // The table holds only part of each hash and a bucket number, so that it
    // stays small enough for the cache on a large layer; the buckets lie in
    // the order they were made.
    struct Slot {
        uint32_t hash = 0;
        uint32_t bucket = kFree;
    };

    Bucket* BucketOf(const EdgeKey& key);

    std::vector<Slot> slots_;  // open addressing, a power of two long
    std::vector<Bucket> buckets_;
    std::vector<uint32_t> ids_;
    std::unordered_map<EdgeKey, std::vector<uint32_t>, EdgeKeyHash> extra_;
};
