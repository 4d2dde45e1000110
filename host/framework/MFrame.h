#pragma once
// The framework's planar frame: a rectangle with corners O, O + U, O + U + V, O + V and
// its normal N. The leading integer travels with every copy; nothing here interprets it.
#include "host/framework/MMPoint3d.h"

template <typename T>
class MFrame {
public:
  int carried = 0;
  MMPoint3d<T> O, U, V, N;

  MFrame() = default;
  MFrame(const MMPoint3d<T>& o, const MMPoint3d<T>& u, const MMPoint3d<T>& v, const MMPoint3d<T>& n)
      : O(o), U(u), V(v), N(n) {}
  MFrame(const MFrame&) = default;
  MFrame& operator=(const MFrame&) = default;
  virtual ~MFrame() = default;

  bool operator==(const MFrame& o) const {
    return carried == o.carried && O == o.O && U == o.U && V == o.V && N == o.N;
  }
};
