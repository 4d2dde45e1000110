#pragma once
// The framework's 3D point: three components x, y, z of type T.
#include <cmath>

template <typename T>
class MMPoint3d {
public:
  T x{}, y{}, z{};

  constexpr MMPoint3d() = default;
  constexpr MMPoint3d(T x_, T y_, T z_) : x(x_), y(y_), z(z_) {}
  template <typename U>
  constexpr explicit MMPoint3d(const MMPoint3d<U>& o) : x(T(o.x)), y(T(o.y)), z(T(o.z)) {}

  constexpr T& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
  constexpr const T& operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }

  constexpr MMPoint3d operator+(const MMPoint3d& o) const { return {x + o.x, y + o.y, z + o.z}; }
  constexpr MMPoint3d operator-(const MMPoint3d& o) const { return {x - o.x, y - o.y, z - o.z}; }
  constexpr MMPoint3d operator-() const { return {-x, -y, -z}; }
  constexpr MMPoint3d operator*(T s) const { return {x * s, y * s, z * s}; }
  constexpr MMPoint3d operator/(T s) const { return {x / s, y / s, z / s}; }
  constexpr MMPoint3d& operator+=(const MMPoint3d& o) { x += o.x; y += o.y; z += o.z; return *this; }
  constexpr MMPoint3d& operator-=(const MMPoint3d& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
  constexpr MMPoint3d& operator*=(T s) { x *= s; y *= s; z *= s; return *this; }
  constexpr bool operator==(const MMPoint3d& o) const { return x == o.x && y == o.y && z == o.z; }
  constexpr bool operator!=(const MMPoint3d& o) const { return !(*this == o); }

  constexpr T Dot(const MMPoint3d& o) const { return x * o.x + y * o.y + z * o.z; }
  constexpr MMPoint3d Cross(const MMPoint3d& o) const {
    return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
  }
  constexpr T SquaredLength() const { return x * x + y * y + z * z; }
  T Length() const { return std::sqrt(SquaredLength()); }
};
