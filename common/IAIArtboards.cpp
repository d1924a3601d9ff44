#include "IAIArtboards.h"

#include <utility>

#include "Suites.h"

namespace ai {

namespace {

const AIArtboardSuite& Suite() {
    if (sAIArtboard == nullptr) throw Error(kSPSuiteNotFoundError);
    return *sAIArtboard;
}

template <typename Ref>
Ref Live(Ref ref) {
    if (ref == nullptr) throw Error(kBadParameterErr);
    return ref;
}

}  // namespace

ArtboardProperties::ArtboardProperties() { check_ai_error(Suite().InitArtboardProperties(&fProperties)); }

ArtboardProperties::ArtboardProperties(ArtboardProperties&& other) noexcept
    : fProperties(std::exchange(other.fProperties, nullptr)) {}

ArtboardProperties& ArtboardProperties::operator=(ArtboardProperties&& other) noexcept {
    std::swap(fProperties, other.fProperties);
    return *this;
}

ArtboardProperties::~ArtboardProperties() {
    if (fProperties != nullptr && sAIArtboard != nullptr) sAIArtboard->DisposeArtboardProperties(fProperties);
}

AIRealRect ArtboardProperties::GetPosition() const {
    AIRealRect bounds{};
    check_ai_error(Suite().GetPosition(Live(fProperties), &bounds));
    return bounds;
}

ArtboardList::ArtboardList() { check_ai_error(Suite().GetArtboardList(&fList)); }

ArtboardList::ArtboardList(ArtboardList&& other) noexcept : fList(std::exchange(other.fList, nullptr)) {}

ArtboardList& ArtboardList::operator=(ArtboardList&& other) noexcept {
    std::swap(fList, other.fList);
    return *this;
}

ArtboardList::~ArtboardList() {
    if (fList != nullptr && sAIArtboard != nullptr) sAIArtboard->ReleaseArtboardList(fList);
}

int32_t ArtboardList::GetCount() const {
    int32_t count = 0;
    check_ai_error(Suite().GetCount(Live(fList), &count));
    return count;
}

int32_t ArtboardList::GetActive() const {
    int32_t index = 0;
    check_ai_error(Suite().GetActive(Live(fList), &index));
    return index;
}

ArtboardProperties ArtboardList::GetArtboardProperties(int32_t index) const {
    ArtboardProperties properties;
    check_ai_error(Suite().GetArtboardProperties(Live(fList), index, properties.get()));
    return properties;
}

}  // namespace ai
