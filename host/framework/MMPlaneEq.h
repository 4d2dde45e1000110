#pragma once
// A plane equation: a*x + b*y + c*z + d = 0 on the plane.
#include "host/framework/MMPoint3d.h"

template <typename T>
class MMPlaneEq {
public:
  T a{}, b{}, c{}, d{};

  constexpr MMPlaneEq() = default;
  constexpr MMPlaneEq(T a_, T b_, T c_, T d_) : a(a_), b(b_), c(c_), d(d_) {}

  constexpr T Evaluate(const MMPoint3d<T>& p) const { return a * p.x + b * p.y + c * p.z + d; }
  constexpr MMPoint3d<T> Normal() const { return {a, b, c}; }
  constexpr bool operator==(const MMPlaneEq& o) const { return a == o.a && b == o.b && c == o.c && d == o.d; }
};
