#pragma once
// Everything a renderer's state snapshot holds. Backends keep their current state in one
// of these so that a snapshot is a plain copy and a restore is one assignment plus an
// upload of the parts that changed.
#include "host/render/MMaterial.h"

#include <array>

// A user clip plane as given, and as it stands in eye coordinates. As with the classic
// fixed-function pipeline, an equation is taken in the coordinates that the world-to-eye
// matrix maps at the moment it is set; later matrix loads (an object adding its own
// placement or scale) do not move it.
struct IVClipPlane {
  float a = 0.0f, b = 0.0f, c = 0.0f, d = 0.0f;
  std::array<float, 4> eye{0.0f, 0.0f, 0.0f, 0.0f};
  bool enabled = false;

  bool operator==(const IVClipPlane& o) const = default;
};

struct IVRenderState {
  // Every renderer offers at most this many user clip planes.
  static constexpr unsigned kMaxClipPlanes = 8;

  // Row-major 4x4 matrices; points are columns (out = M * (x, y, z, 1)).
  std::array<float, 16> worldToEye{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  std::array<float, 16> eyeToWindow{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  MMaterial material;
  MMaterial backMaterial;
  // Back faces are culled unless visible; when visible they are lit with the back
  // material, or with the front material when backUsesFront is set.
  bool backfaceVisible = false;
  bool backUsesFront = false;
  std::array<IVClipPlane, kMaxClipPlanes> clipPlanes{};

  bool operator==(const IVRenderState& o) const = default;
};
