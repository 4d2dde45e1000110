#pragma once
// The user's preferences that the views read.
#include "host/HostApi.h"
#include "host/win/WinTypes.h"

class VISTAL_HOST_API CQNPreferences {
public:
  // Background of the 3D views: a dark blue-grey that keeps white text and light
  // meshes readable.
  static COLORREF mg_color_3d_background;
  // Mouse rotation turns around the world's axes (true, the default) or around the
  // object's own vertical axis.
  static bool mg_use_world_axis_rotation;
};
