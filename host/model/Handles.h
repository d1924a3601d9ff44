// Objects the suites hand out to plug-ins and take back later (art sets, artboard lists and
// properties), kept in pools so that a dead or foreign handle is recognised and refused.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "AIHost.h"

struct _AIArtSet {};
struct _AIArtboardList {};
struct _AIArtboardProperties {};

namespace quiltor::host {

// Ordered art handles; members are not owned and may die while in the set.
struct ArtSet : _AIArtSet {
    std::vector<AIArtHandle> items;
    // How often each handle is in `items`, for constant-time membership checks. Built on the first
    // check only: most sets are filled, read by index and disposed, and a map of a large layer's
    // art would cost more than all of that.
    std::unordered_map<AIArtHandle, int32_t> occurrences;
    bool counted = false;
};

struct ArtboardList : _AIArtboardList {
    std::vector<AIRealRect> artboards;
    int32_t active = 0;
};

struct ArtboardProperties : _AIArtboardProperties {
    bool filled = false;
    AIRealRect position{0, 0, 0, 0};
};

// Owns objects of type T handed out as Handle pointers.
template <class T, class Handle>
class HandlePool {
public:
    T* add() {
        auto item = std::make_unique<T>();
        T* raw = item.get();
        items_.emplace(static_cast<const Handle*>(raw), std::move(item));
        return raw;
    }
    // Null for a handle this pool does not hold.
    T* find(const Handle* handle) const {
        auto found = items_.find(handle);
        return found == items_.end() ? nullptr : found->second.get();
    }
    bool remove(const Handle* handle) { return items_.erase(handle) > 0; }
    size_t size() const { return items_.size(); }

private:
    std::unordered_map<const Handle*, std::unique_ptr<T>> items_;
};

using ArtSetPool = HandlePool<ArtSet, _AIArtSet>;
using ArtboardListPool = HandlePool<ArtboardList, _AIArtboardList>;
using ArtboardPropertiesPool = HandlePool<ArtboardProperties, _AIArtboardProperties>;

}  // namespace quiltor::host
