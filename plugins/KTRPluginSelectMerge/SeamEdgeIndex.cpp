#include "SeamEdgeIndex.h"

#include <algorithm>
#include <bit>

EdgeKey KeyOf(SeamPoint a, SeamPoint b)
{
    const bool aFirst = a.x < b.x || (a.x == b.x && a.y <= b.y);
    return aFirst ? EdgeKey{a, b} : EdgeKey{b, a};
}

std::size_t EdgeKeyHash::operator()(const EdgeKey& key) const noexcept
{
    const std::size_t h = std::hash<SeamPoint>()(key.low);
    return h ^ (std::hash<SeamPoint>()(key.high) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
}

SeamEdgeIndex::SeamEdgeIndex(const std::vector<Entry>& entries)
{
    // At most half full, so probes stay short.
    slots_.resize(std::bit_ceil(std::max<std::size_t>(entries.size() * 2, 16)));
    const std::size_t mask = slots_.size() - 1;
    std::vector<Slot*> slotOf;
    slotOf.reserve(entries.size());
    // First the sizes of the buckets (in end), then their places.
    for (const Entry& entry : entries) {
        std::size_t s = EdgeKeyHash()(entry.first) & mask;
        while (slots_[s].start != kFree && !(slots_[s].key == entry.first)) {
            s = (s + 1) & mask;
        }
        slots_[s].key = entry.first;
        slots_[s].start = 0;
        ++slots_[s].end;
        slotOf.push_back(&slots_[s]);
    }
    uint32_t sum = 0;
    for (Slot& slot : slots_) {
        if (slot.start != kFree) {
            const uint32_t count = slot.end;
            slot.start = sum;
            slot.end = sum;  // the fill position, and the end once filled
            sum += count;
        }
    }
    ids_.resize(entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k) {
        ids_[slotOf[k]->end++] = entries[k].second;
    }
}

void SeamEdgeIndex::Add(EdgeKey key, uint32_t id)
{
    std::vector<uint32_t>& ids = extra_[key];
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) {
        ids.push_back(id);
    }
}

SeamEdgeIndex::Slot* SeamEdgeIndex::SlotOf(const EdgeKey& key)
{
    if (slots_.empty()) {
        return nullptr;
    }
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t s = EdgeKeyHash()(key) & mask;; s = (s + 1) & mask) {
        if (slots_[s].start == kFree) {
            return nullptr;
        }
        if (slots_[s].key == key) {
            return &slots_[s];
        }
    }
}
