// ai::ArtboardList and ai::ArtboardProperties: the current document's
// artboards (AIArtboardSuite). Both own a host object and give it back on
// destruction. Every failed host call throws ai::Error.
#ifndef QUILTOR_COMMON_IAIARTBOARDS_H
#define QUILTOR_COMMON_IAIARTBOARDS_H

#include <cstdint>

#include "AIHost.h"
#include "IAIError.h"

namespace ai {

class ArtboardProperties {
public:
    ArtboardProperties();
    ArtboardProperties(ArtboardProperties&& other) noexcept;
    ArtboardProperties& operator=(ArtboardProperties&& other) noexcept;
    ~ArtboardProperties();

    // The artboard rectangle in document points.
    AIRealRect GetPosition() const;

    // The host's handle, owned by this object; null only after a move.
    AIArtboardPropertiesRef get() const { return fProperties; }

    ArtboardProperties(const ArtboardProperties&) = delete;
    ArtboardProperties& operator=(const ArtboardProperties&) = delete;

private:
    AIArtboardPropertiesRef fProperties = nullptr;
};

class ArtboardList {
public:
    // The artboards of the current document.
    ArtboardList();
    ArtboardList(ArtboardList&& other) noexcept;
    ArtboardList& operator=(ArtboardList&& other) noexcept;
    ~ArtboardList();

    int32_t GetCount() const;
    // Index of the active artboard.
    int32_t GetActive() const;
    ArtboardProperties GetArtboardProperties(int32_t index) const;

    // The host's handle, owned by this object; null only after a move.
    AIArtboardListRef get() const { return fList; }

    ArtboardList(const ArtboardList&) = delete;
    ArtboardList& operator=(const ArtboardList&) = delete;

private:
    AIArtboardListRef fList = nullptr;
};

}  // namespace ai

#endif
