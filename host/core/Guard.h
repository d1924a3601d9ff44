// The suites are plain C function tables: no C++ exception may cross into a plug-in.
#pragma once

#include <new>

#include "AIHost.h"

namespace quiltor::host {

// Runs a suite body and returns its code. An escaping exception becomes an error code instead:
// memory exhaustion kOutOfMemoryErr, anything else kCantHappenErr.
template <class Body>
AIErr Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return kOutOfMemoryErr;
    } catch (...) {
        return kCantHappenErr;
    }
}

}  // namespace quiltor::host
