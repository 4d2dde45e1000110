#include "vistal/frame/PNT_3D_FLOAT.h"

#include <cstddef>
#include <limits>
#include <type_traits>

// Callers hand points to code that reads them as float[3].
static_assert(std::is_standard_layout_v<PNT_3D_FLOAT>);
static_assert(std::is_trivially_copy_constructible_v<PNT_3D_FLOAT> && std::is_trivially_destructible_v<PNT_3D_FLOAT>);
static_assert(sizeof(PNT_3D_FLOAT) == 3 * sizeof(float));
static_assert(offsetof(PNT_3D_FLOAT, y) == sizeof(float) && offsetof(PNT_3D_FLOAT, z) == 2 * sizeof(float));
// Narrowing an overflowing double to float must give an infinity, as IEEE arithmetic does.
static_assert(std::numeric_limits<float>::is_iec559 && std::numeric_limits<double>::is_iec559);

namespace {

// A product of two floats is exact in double, so each of these rounds twice at most:
// once for the double sum, once when the caller narrows to float.
double Dot(double ax, double ay, double az, double bx, double by, double bz) {
  return (ay * by + ax * bx) + az * bz;
}

PNT_3D_FLOAT Cross(const PNT_3D_FLOAT& a, const PNT_3D_FLOAT& b) {
  const double ax = a.x, ay = a.y, az = a.z;
  const double bx = b.x, by = b.y, bz = b.z;
  return PNT_3D_FLOAT(float(ay * bz - az * by), float(az * bx - ax * bz), float(ax * by - ay * bx));
}

}  // namespace

PNT_3D_FLOAT::PNT_3D_FLOAT() : x(0.0f), y(0.0f), z(0.0f) {}

PNT_3D_FLOAT::PNT_3D_FLOAT(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

PNT_3D_FLOAT::PNT_3D_FLOAT(float const* const a) : x(a[0]), y(a[1]), z(a[2]) {}

float PNT_3D_FLOAT::SQR_LENGTH() const {
  return float(Dot(x, y, z, x, y, z));
}

float PNT_3D_FLOAT::operator*(PNT_3D_FLOAT& b) const {
  return float(Dot(x, y, z, b.x, b.y, b.z));
}

PNT_3D_FLOAT PNT_3D_FLOAT::operator+(PNT_3D_FLOAT& b) const {
  return PNT_3D_FLOAT(x + b.x, y + b.y, z + b.z);
}

PNT_3D_FLOAT PNT_3D_FLOAT::operator-(PNT_3D_FLOAT& b) const {
  return PNT_3D_FLOAT(x - b.x, y - b.y, z - b.z);
}

PNT_3D_FLOAT PNT_3D_FLOAT::operator^(PNT_3D_FLOAT& b) const {
  return Cross(*this, b);
}

PNT_3D_FLOAT PNT_3D_FLOAT::operator+=(PNT_3D_FLOAT& b) {
  x += b.x;
  y += b.y;
  z += b.z;
  return *this;
}

PNT_3D_FLOAT PNT_3D_FLOAT::operator-=(PNT_3D_FLOAT& b) {
  x -= b.x;
  y -= b.y;
  z -= b.z;
  return *this;
}

PNT_3D_FLOAT PNT_3D_FLOAT::operator^=(PNT_3D_FLOAT& b) {
  // Cross() reads all six components before anything is stored, so b may alias *this.
  const PNT_3D_FLOAT c = Cross(*this, b);
  x = c.x;
  y = c.y;
  z = c.z;
  return *this;
}

PNT_3D_FLOAT PNT_3D_FLOAT::operator*=(float s) {
  x *= s;
  y *= s;
  z *= s;
  return *this;
}

PNT_3D_FLOAT PNT_3D_FLOAT::operator/=(float s) {
  // A true division per component: multiplying by 1/s would round twice.
  x /= s;
  y /= s;
  z /= s;
  return *this;
}

PNT_3D_FLOAT PNT_3D_FLOAT::operator=(PNT_3D_FLOAT& b) {
  x = b.x;
  y = b.y;
  z = b.z;
  return *this;
}

bool PNT_3D_FLOAT::operator==(PNT_3D_FLOAT& b) const {
  return x == b.x && y == b.y && z == b.z;
}
