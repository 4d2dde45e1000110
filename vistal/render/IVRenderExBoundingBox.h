#pragma once
// IVRenderEx::CBoundingBox: the on-screen manipulator of an object's box.
//
// Corners of the box from min to max (corners 0-3 on the face y = min, 4-7 on y = max):
//   0 (x-, y-, z-)  1 (x+, y-, z-)  2 (x+, y-, z+)  3 (x-, y-, z+)
//   4 (x+, y+, z-)  5 (x-, y+, z-)  6 (x-, y+, z+)  7 (x+, y+, z+)
// The twelve edges, mga_lines_indeces, come in three groups of four, the group being the
// edge's axis (row / 4): group 0 runs along z, group 1 along y, group 2 along x.
//
// Build(object, window) projects the corners and the centre into the view and sizes the
// handles: short strokes at both ends of every edge, a share of the edge on screen but
// about handleLength pixels where that share is too short to grab. RenderHandles draws the
// strokes at the nearest corner or the others, RenderCenterSpot the centre spot, and
// WhereIsTheMouse tells whether the pointer is on the centre, on a corner's handle (with
// the axis of the face the pointer lies on) or elsewhere.
#include "host/framework/MMPoint3d.h"
#include "host/gdi/CDC.h"
#include "host/win/CRect.h"
#include "vistal/Api.h"
#include "vistal/render/IVRenderEx.h"

#include <cstdint>

// The bounding-box manipulator of a 3D view: screen data from the last Build, drawn with
// the caller's pen and brush, hit-tested in the view's pixels.
class VISTAL_API IVRenderEx::CBoundingBox {
public:
  // The edge groups, named after the direction their edges run in.
  enum EAxis : unsigned { eEdgesAlongZ = 0, eEdgesAlongY = 1, eEdgesAlongX = 2 };
  // What WhereIsTheMouse found under the pointer.
  enum EMouseType : int { eMouseOutside = 0, eMouseCenter = 1, eMouseHandle = 2 };

  // Sizes and margins in pixels. The default is derived from the primary screen's
  // diagonal D: centre radius D / 250, extent D / 12, a handle of 1.5 centre radii.
  struct VISTAL_API Configuration {
    Configuration();
    Configuration(const Configuration&) = default;
    Configuration& operator=(const Configuration&) = default;

    int centerRadius;
    // Added to the centre's hit radius when the box is large on screen.
    int centerRadiusExtra;
    // Carried for the host; not read here.
    int extent;
    // The wanted length of a handle stroke.
    unsigned int handleLength;
    // A stroke's length as a percentage of its edge on screen (above 50 counts as 50);
    // 0 leaves the handle sizes as they are.
    std::uint8_t handlePercent;
    // Slack of the quick test and of the handle hit test.
    unsigned int margin;
  };

  // The corners of each edge, by group.
  static const std::uint8_t mga_lines_indeces[12][2];

  explicit CBoundingBox(bool centerEnabled);
  CBoundingBox(const CBoundingBox&) = default;
  CBoundingBox& operator=(const CBoundingBox&) = default;

  const MMPoint3d<double>* GetVertices() const { return vertices; }
  const CPoint* GetVerticesOnScreen() const { return verticesOnScreen; }
  const MMPoint3d<double>& GetCenter() const { return center; }
  const CPoint& GetCenterOnScreen() const { return centerOnScreen; }
  // Fixes the centre at p (the next Build keeps it and projects it); until then its
  // screen point is p's x and y truncated.
  void SetCenter(const MMPoint3d<double>& p);
  const Configuration& GetConfiguration() const { return configuration; }
  // Sizes of the handles change at the next Build; the spot and the hit tests at once.
  void SetConfiguration(const Configuration& c) { configuration = c; }
  // The handle size for edge row 0-11.
  CSize GetHandleSizeForLine(unsigned int row) const { return handleSizes[row / 4]; }
  // Smallest and largest projected corner coordinates; empty (left > right) when the last
  // projection failed.
  CRect GetBoundsOnScreen() const { return boundsOnScreen; }
  // The window depth (0 near to 1 far) of the projected centre, at which a host that drags
  // the centre maps the pointer back into the scene; 0 without a centre or a projection.
  double GetCenterDistanceFromScreen() const { return centerDistanceFromScreen; }
  // The corners of the first edge of the group (0-2): (0, 3), (3, 6) or (0, 1).
  void GetAnEdgeForAxis(EAxis axis, MMPoint3d<double>& a, MMPoint3d<double>& b) const;
  // The corner with the smallest window depth; -1 before a successful Build.
  int GetNearestVertex() const { return nearestVertex; }
  unsigned int GetReferenceAxis() const { return referenceAxis; }

  // Places the corners, and the centre at their middle unless it is fixed (at the origin
  // when the box has none).
  void Build(const MMPoint3d<double>& min, const MMPoint3d<double>& max);
  // Builds from the object's box in its own coordinates and projects it into the view.
  // False, with the box empty on screen (no bounds, no nearest corner, no hit), when the
  // object or view is null, the object has no extent, or a point does not project.
  bool Build(UIObject* object, UIWnd3D* window);

  // A circle of centerRadius around the centre with the caller's pen and brush.
  void RenderCenterSpot(CDC& dc) const;
  // The handle strokes of the three edges at the nearest corner, or (farEdges) of the
  // other nine, with the caller's pen.
  void RenderHandles(CDC& dc, bool farEdges) const;

  // The nearest projected corner (the lower number on a tie) and its squared distance.
  unsigned int FindClosestPoint(CPoint pt, std::uint64_t* squaredDistance) const;
  // Whether the pointer is within margin of the box's bounds on screen.
  bool WhereIsTheMouseQuickTest(CPoint pt) const;
  // The centre (vertex 8), a corner's handle (vertex and the axis of the face the pointer
  // lies on) or outside (vertex: the nearest corner).
  EMouseType WhereIsTheMouse(EAxis& axis, unsigned int& vertex, CPoint pt);

protected:
  // The stroke of one edge group at the given size, in pixels.
  CSize _HandleSize(int dx, int dy) const;

  bool centerEnabled;
  MMPoint3d<double> vertices[8];
  MMPoint3d<double> center;
  CPoint verticesOnScreen[8];
  CPoint centerOnScreen;
  double centerDistanceFromScreen = 0.0;
  int nearestVertex = -1;
  CSize handleSizes[3];
  unsigned int referenceAxis = 0;
  bool centerFixed = false;
  CRect boundsOnScreen;
  Configuration configuration;
};
