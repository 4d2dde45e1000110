#pragma once
#include "host/win/WinTypes.h"

struct SIZE {
  LONG cx;
  LONG cy;
};

// MFC's size: a SIZE with value semantics.
class CSize : public SIZE {
public:
  CSize() : SIZE{0, 0} {}
  CSize(int cx_, int cy_) : SIZE{cx_, cy_} {}
  CSize(SIZE s) : SIZE(s) {}

  bool operator==(const SIZE& o) const { return cx == o.cx && cy == o.cy; }
  bool operator!=(const SIZE& o) const { return !(*this == o); }
  CSize operator+(const SIZE& o) const { return {cx + o.cx, cy + o.cy}; }
  CSize operator-(const SIZE& o) const { return {cx - o.cx, cy - o.cy}; }
};
