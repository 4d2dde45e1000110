#pragma once
#include "host/win/WinTypes.h"

struct POINT {
  LONG x;
  LONG y;
};

// MFC's point: a POINT with value semantics.
class CPoint : public POINT {
public:
  CPoint() : POINT{0, 0} {}
  CPoint(int x_, int y_) : POINT{x_, y_} {}
  CPoint(POINT p) : POINT(p) {}

  bool operator==(const POINT& o) const { return x == o.x && y == o.y; }
  bool operator!=(const POINT& o) const { return !(*this == o); }
  CPoint operator+(const POINT& o) const { return {x + o.x, y + o.y}; }
  CPoint operator-(const POINT& o) const { return {x - o.x, y - o.y}; }
  CPoint operator-() const { return {-x, -y}; }
  CPoint& operator+=(const POINT& o) { x += o.x; y += o.y; return *this; }
  CPoint& operator-=(const POINT& o) { x -= o.x; y -= o.y; return *this; }
  void Offset(int dx, int dy) { x += dx; y += dy; }
};
