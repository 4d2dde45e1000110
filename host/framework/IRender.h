#pragma once
#include "host/HostApi.h"
#include "host/framework/M3DBoundingBox.h"
#include "host/framework/MMPoint3d.h"

#include <vector>

class CDC;
class IVRender;
class MClipRegion;
class MCoordinateSystem;

// The rendering side of a scene object, as the views see it: its extent, whether it shows
// in a scene, and how it draws in 3D and over the picture with GDI.
class VISTAL_HOST_API IRender {
public:
  virtual ~IRender();

  // Adds the object's extent in its own coordinates, for the scene (0xFFFFFFFF: all
  // scenes), to `box`. An object without geometry leaves the box as it is, so a caller that
  // starts from the empty box can tell by IsValid.
  virtual void GetBoundingBox(M3DBoundingBox<float>& box, unsigned scene) const = 0;
  virtual bool IsVisible(unsigned scene) const = 0;
  // Draws with the renderer's current state; `system` is the system the renderer's
  // world-to-eye matrix was made for.
  virtual void Render(IVRender& render, const MCoordinateSystem& system) = 0;
  // Draws the object's overlay onto the device context, in the view's pixels.
  virtual void RenderGDI(CDC& dc, const MCoordinateSystem& system) = 0;
  // Adds points, in the object's coordinates, whose convex hull holds what the object
  // draws for the scene inside `region` (given in the object's coordinates too): what a
  // camera frames. By default the corners of what the region keeps of the object's box;
  // an object with a surface or clip planes of its own frames tighter by overriding it.
  virtual void GetKeptPoints(std::vector<MMPoint3d<double>>& points, unsigned scene, const MClipRegion& region) const;
};
