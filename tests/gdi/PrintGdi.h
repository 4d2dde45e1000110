#pragma once
// Readable failure messages for the Win32 geometry types.
#include "host/win/CRect.h"

#include <ostream>

inline std::ostream& operator<<(std::ostream& os, const CRect& r) {
  return os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

inline std::ostream& operator<<(std::ostream& os, const CPoint& p) { return os << "(" << p.x << "," << p.y << ")"; }
