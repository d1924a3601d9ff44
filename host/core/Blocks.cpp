#include "core/Blocks.h"

#include <cstdlib>

namespace quiltor::host {

AIErr AllocateBlock(size_t size, void** block) {
    if (!block) return kBadParameterErr;
    *block = std::malloc(size ? size : 1);
    return *block ? kNoErr : kOutOfMemoryErr;
}

AIErr FreeBlock(void* block) {
    std::free(block);
    return kNoErr;
}

AIErr ReallocateBlock(void* block, size_t newSize, void** newBlock) {
    if (!newBlock) return kBadParameterErr;
    *newBlock = std::realloc(block, newSize ? newSize : 1);
    return *newBlock ? kNoErr : kOutOfMemoryErr;
}

}  // namespace quiltor::host
