#pragma once
#include "host/HostApi.h"

#include <array>

class IVRender;
class MCoordinateSystem;

// Draws an object in its own coordinate system. While a placement lives, the renderer's
// world-to-eye matrix is the one it had (made for the system the renderer draws in) times
// the transform from the object's system to that system; the matrix it had is loaded back
// when the placement goes. An object placed where the renderer's system is loads nothing.
// Clip planes loaded before stay where they were put, as the renderer fixes them when set.
class VISTAL_HOST_API IVRenderPlacement {
public:
  IVRenderPlacement(IVRender& render, const MCoordinateSystem& objectSystem, const MCoordinateSystem& drawnIn);
  IVRenderPlacement(const IVRenderPlacement&) = delete;
  IVRenderPlacement& operator=(const IVRenderPlacement&) = delete;
  ~IVRenderPlacement();

private:
  IVRender& m_render;
  std::array<float, 16> m_saved{};
  bool m_loaded = false;
};
