#pragma once
#include "host/HostApi.h"
#include "host/framework/M3DBoundingBox.h"
#include "host/framework/MMPlaneEq.h"
#include "host/framework/MMPoint3d.h"

#include <cstddef>
#include <vector>

class MMTransform;

// The part of space that a set of clip planes keeps: the intersection of the planes' kept
// sides, a*x + b*y + c*z + d >= 0 for each, as with the renderer's user clip planes. A
// region without planes keeps everything. A camera asks objects for the corners of what
// the region leaves of them, so that it frames what is drawn rather than whole boxes.
class VISTAL_HOST_API MClipRegion {
public:
  using Point = MMPoint3d<double>;

  MClipRegion() = default;
  explicit MClipRegion(std::vector<MMPlaneEq<double>> planes) : m_planes(std::move(planes)) {}

  void AddPlane(const MMPlaneEq<double>& plane) { m_planes.push_back(plane); }
  const std::vector<MMPlaneEq<double>>& GetPlanes() const { return m_planes; }
  bool KeepsEverything() const { return m_planes.empty(); }

  // On every plane's kept side, allowing for the rounding of a point computed on a plane.
  bool Keeps(const Point& p) const;

  // The same region in the coordinates that `toRegion` maps into this region's
  // coordinates (an object's placement): each plane as a row vector times the matrix.
  MClipRegion Pulled(const MMTransform& toRegion) const;

  // Appends the corners of what the region keeps of a convex polygon (a triangle, a face).
  void AddKeptPolygon(const Point* corners, std::size_t count, std::vector<Point>& out) const;
  // Appends the corners of what the region keeps of the box: the box's faces clipped, and
  // the points inside the box where three planes meet. Nothing for an invalid box.
  void AddKeptBox(const M3DBoundingBox<double>& box, std::vector<Point>& out) const;
  // Appends the points where three planes meet that the region and the box keep. Inside a
  // capped solid such a point is a corner of its cut faces that no surface triangle
  // reaches; it is taken whenever it lies in the solid's box, which may frame a little
  // more than is drawn but never less.
  void AddInnerCorners(const M3DBoundingBox<double>& box, std::vector<Point>& out) const;

private:
  std::vector<MMPlaneEq<double>> m_planes;
};
