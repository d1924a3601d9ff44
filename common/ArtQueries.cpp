#include "ArtQueries.h"

#include "Suites.h"

int16_t ArtType(AIArtHandle art) {
    int16_t type = kUnknownArt;
    if (sAIArt->GetArtType(art, &type) != kNoErr) type = kUnknownArt;
    return type;
}

bool IsClosed(AIArtHandle art, bool whenUnknown) {
    AIBoolean closed = false;
    if (sAIPath->GetPathClosed(art, &closed) != kNoErr) return whenUnknown;
    return closed != 0;
}

bool HasFill(AIArtHandle art, bool whenUnknown) {
    AIBoolean fill = false;
    if (sAIArt->ArtHasFill(art, &fill) != kNoErr) return whenUnknown;
    return fill != 0;
}

bool HasStroke(AIArtHandle art) {
    AIBoolean stroke = false;
    return sAIArt->ArtHasStroke(art, &stroke) == kNoErr && stroke;
}

int16_t SegmentCount(AIArtHandle path) {
    int16_t count = 0;
    if (sAIPath->GetPathSegmentCount(path, &count) != kNoErr || count < 0) return 0;
    return count;
}

bool HasMembers(AIArtHandle art) {
    AIArtHandle member = nullptr;
    return sAIArt->GetArtFirstChild(art, &member) == kNoErr && member;
}

std::vector<AIArtHandle> Members(AIArtHandle art, bool* complete) {
    std::vector<AIArtHandle> members;
    bool read = true;
    AIArtHandle member = nullptr;
    if (sAIArt->GetArtFirstChild(art, &member) != kNoErr) {
        member = nullptr;
        read = false;
    }
    while (member) {
        members.push_back(member);
        AIArtHandle next = nullptr;
        if (sAIArt->GetArtSibling(member, &next) != kNoErr) {
            next = nullptr;
            read = false;
        }
        member = next;
    }
    if (complete) *complete = read;
    return members;
}

ArtSet::ArtSet() {
    if (sAIArtSet->NewArtSet(&fSet) != kNoErr) fSet = nullptr;
}

ArtSet::ArtSet(AILayerHandle layer) : ArtSet() {
    if (fSet) sAIArtSet->LayerArtSet(layer, fSet);
}

ArtSet::~ArtSet() {
    if (fSet) sAIArtSet->DisposeArtSet(&fSet);
}

void ArtSet::FillSelected() {
    if (fSet) sAIArtSet->SelectedArtSet(fSet);
}

int32_t ArtSet::Count() const {
    int32_t count = 0;
    if (fSet) sAIArtSet->CountArtSet(fSet, &count);
    return count;
}

AIArtHandle ArtSet::At(int32_t index) const {
    AIArtHandle art = nullptr;
    if (fSet && sAIArtSet->IndexArtSet(fSet, index, &art) != kNoErr) art = nullptr;
    return art;
}

std::vector<AIArtHandle> LayerArt(AILayerHandle layer) {
    std::vector<AIArtHandle> arts;
    const ArtSet set(layer);
    const int32_t count = set.Count();
    arts.reserve(std::size_t(count > 0 ? count : 0));
    for (int32_t i = 0; i < count; ++i) {
        if (AIArtHandle art = set.At(i)) arts.push_back(art);
    }
    return arts;
}
