#include "SeamEdgeIndex.h"

#include <algorithm>
#include <bit>

EdgeKey KeyOf(SeamPoint a, SeamPoint b) {
    const bool aFirst = a.x < b.x || (a.x == b.x && a.y <= b.y);
    return aFirst ? EdgeKey{a, b} : EdgeKey{b, a};
}

std::size_t EdgeKeyHash::operator()(const EdgeKey& key) const noexcept {
    const std::size_t h = std::hash<SeamPoint>()(key.low);
    return h ^ (std::hash<SeamPoint>()(key.high) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
}

SeamEdgeIndex::SeamEdgeIndex(const std::vector<Entry>& entries) {
    // At most half full, so probes stay short.
    slots_.resize(std::bit_ceil(std::max<std::size_t>(entries.size() * 2, 16)));
    const std::size_t mask = slots_.size() - 1;
    std::vector<uint32_t> bucketOf;
    bucketOf.reserve(entries.size());
    // First the buckets and their sizes (in end), then their places.
    for (const Entry& entry : entries) {
        const std::size_t hash = EdgeKeyHash()(entry.first);
        std::size_t s = hash & mask;
        while (slots_[s].bucket != kFree &&
               !(slots_[s].hash == uint32_t(hash >> 32) && buckets_[slots_[s].bucket].key == entry.first)) {
            s = (s + 1) & mask;
        }
        if (slots_[s].bucket == kFree) {
            slots_[s] = Slot{uint32_t(hash >> 32), uint32_t(buckets_.size())};
            buckets_.push_back(Bucket{entry.first, 0, 0});
        }
        ++buckets_[slots_[s].bucket].end;
        bucketOf.push_back(slots_[s].bucket);
    }
    uint32_t sum = 0;
    for (Bucket& bucket : buckets_) {
        const uint32_t count = bucket.end;
        bucket.start = sum;
        bucket.end = sum;  // the fill position, and the end once filled
        sum += count;
    }
    ids_.resize(entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k) {
        ids_[buckets_[bucketOf[k]].end++] = entries[k].second;
    }
}

void SeamEdgeIndex::Add(EdgeKey key, uint32_t id) {
    std::vector<uint32_t>& ids = extra_[key];
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) {
        ids.push_back(id);
    }
}

SeamEdgeIndex::Bucket* SeamEdgeIndex::BucketOf(const EdgeKey& key) {
    if (slots_.empty()) {
        return nullptr;
    }
    const std::size_t hash = EdgeKeyHash()(key);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t s = hash & mask;; s = (s + 1) & mask) {
        if (slots_[s].bucket == kFree) {
            return nullptr;
        }
        if (slots_[s].hash == uint32_t(hash >> 32) && buckets_[slots_[s].bucket].key == key) {
            return &buckets_[slots_[s].bucket];
        }
    }
}
