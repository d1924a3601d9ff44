// The memory blocks the host hands to plug-ins (basic suite, blocks suite, memory suite): one
// allocator, so a block from any of them may be grown or freed through any other.
#pragma once

#include <cstddef>

#include "AIHost.h"

namespace quiltor::host {

// A zero size still gives a block of its own. On failure leaves *block null and returns
// kOutOfMemoryErr; kBadParameterErr for a null out pointer.
AIErr AllocateBlock(size_t size, void** block);
// Null is accepted and ignored.
AIErr FreeBlock(void* block);
// Like realloc: on failure *newBlock is null, the old block stays valid and kOutOfMemoryErr is returned.
AIErr ReallocateBlock(void* block, size_t newSize, void** newBlock);

}  // namespace quiltor::host
