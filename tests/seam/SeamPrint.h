#pragma once

#include "core/SeamGeometry.h"

#include <ostream>

// Lets failing expectations show points as (x, y) rather than raw bytes.
inline void PrintTo(const SeamPoint& p, std::ostream* os) { *os << '(' << p.x << ", " << p.y << ')'; }

inline void PrintTo(LineJoinCase c, std::ostream* os) { *os << "LineJoinCase " << static_cast<int>(c); }
