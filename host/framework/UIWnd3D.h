#pragma once
#include "host/HostApi.h"
#include "host/framework/MCamera.h"
#include "host/framework/MCoordinateSystem.h"

// A host view that shows a scene in 3D through its camera. Objects map to the view's
// pixels through the transform repository, from their own coordinate system to the
// view's window system (GetCoordinateSystemWindow), which the camera keeps placed.
class VISTAL_HOST_API UIWnd3D {
public:
  // An 800 x 600 view with a default camera.
  UIWnd3D() = default;
  // The copy looks the same way through a camera of its own.
  UIWnd3D(const UIWnd3D&) = default;
  UIWnd3D& operator=(const UIWnd3D&) = default;
  virtual ~UIWnd3D();

  MCamera& GetCamera() { return m_camera; }
  const MCamera& GetCamera() const { return m_camera; }
  // The client area in pixels; false (unchanged) for a zero size.
  bool SetClientSize(unsigned width, unsigned height) { return m_camera.SetWindowSize(width, height); }

  // Window coordinates: pixels from the client area's top left (y down), depth 0 (near)
  // to 1 (far).
  MCoordinateSystem GetCoordinateSystemWindow() const { return m_camera.GetCoordinateSystemWindow(); }
  // Eye coordinates: x right, y up, z towards the viewer, in scene units.
  MCoordinateSystem GetCoordinateSystemEye() const { return m_camera.GetCoordinateSystemEye(); }

private:
  MCamera m_camera;
};
