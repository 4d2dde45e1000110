#pragma once
// Texture coordinates of one triangle: the u of its three corners, then their v.
#include "host/HostApi.h"

class VISTAL_HOST_API MStlTextureCoordinates {
public:
  float u[3] = {0.0f, 0.0f, 0.0f};
  float v[3] = {0.0f, 0.0f, 0.0f};

  // An empty record: all zeros.
  constexpr MStlTextureCoordinates() = default;
  constexpr MStlTextureCoordinates(float u0, float u1, float u2, float v0, float v1, float v2)
      : u{u0, u1, u2}, v{v0, v1, v2} {}

  constexpr bool operator==(const MStlTextureCoordinates& o) const {
    return u[0] == o.u[0] && u[1] == o.u[1] && u[2] == o.u[2] && v[0] == o.v[0] && v[1] == o.v[1] &&
           v[2] == o.v[2];
  }
};

static_assert(sizeof(MStlTextureCoordinates) == 6 * sizeof(float));
