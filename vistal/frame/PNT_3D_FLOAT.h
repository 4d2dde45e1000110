#pragma once
// PNT_3D_FLOAT: Vistal's exported single-precision 3D point or vector.
//
// A plain value of three floats laid out as float[3] (x, y, z), so that it can be built
// from and read as such an array. The operators keep the exported calling shape of the
// library: operands are taken by non-const reference, and the compound assignments and
// operator= return a copy of the updated point rather than a reference.
//
// Products (squared length, dot and cross products) are formed in double precision and
// rounded to float once, so they are exact up to that final rounding and cannot overflow
// in between: (1e30, 2e30, 3e30) ^ itself is the zero vector, not NaN.
// Equality is exact IEEE comparison: NaN is never equal, -0 equals +0.
#include "vistal/Api.h"

class VISTAL_API PNT_3D_FLOAT {
public:
  float x;
  float y;
  float z;

  PNT_3D_FLOAT();
  PNT_3D_FLOAT(float x, float y, float z);
  PNT_3D_FLOAT(float const* const a);
  PNT_3D_FLOAT(const PNT_3D_FLOAT&) = default;

  float SQR_LENGTH() const;

  float operator*(PNT_3D_FLOAT& b) const;
  PNT_3D_FLOAT operator+(PNT_3D_FLOAT& b) const;
  PNT_3D_FLOAT operator-(PNT_3D_FLOAT& b) const;
  PNT_3D_FLOAT operator^(PNT_3D_FLOAT& b) const;

  PNT_3D_FLOAT operator+=(PNT_3D_FLOAT& b);
  PNT_3D_FLOAT operator-=(PNT_3D_FLOAT& b);
  PNT_3D_FLOAT operator^=(PNT_3D_FLOAT& b);
  PNT_3D_FLOAT operator*=(float s);
  PNT_3D_FLOAT operator/=(float s);
  PNT_3D_FLOAT operator=(PNT_3D_FLOAT& b);

  bool operator==(PNT_3D_FLOAT& b) const;
};
