/* Compiled as C only, to keep the interface free of C++. */
#include "AIHost.h"

int quiltor_hostapi_c_check(void) {
    AIPathStyle style = {0};
    AIPathSegment segment = {{0, 0}, {0, 0}, {0, 0}, 1};
    return (int)(sizeof style + sizeof segment) + kPathArt;
}
