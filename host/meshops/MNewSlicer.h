#pragma once
// Cuts a triangle mesh with a plane into section contours.
//
//   MNewSlicer slicer;
//   slicer.SetSliceStl(mesh);
//   slicer.SetPlaneSliceMode(plane, false);   // plane in the mesh's integer units
//   if (slicer.Operate()) use(slicer.GetBorder());
//
// Sides. Every mesh point is put on one side of the plane by the sign of
// f = a*x + b*y + c*z + d, evaluated in double on its integer coordinates; a point with
// f == 0 counts as positive, the side a clip plane keeps. So the section is the boundary
// of the mesh's negative part: each triangle with corners on both sides adds one segment
// between two crossed edges, and a vertex lying on the plane is where its edges to
// negative neighbours cross. No case is left over: a face lying in the plane belongs to
// the positive side and is cut only where the mesh goes on to the negative side.
//
// Contours. Segments are linked through the edges they share (triangles share point
// pointers), so a closed mesh gives closed contours and an open mesh gives open ones
// where the section runs out at its boundary. A contour passing through a vertex on the
// plane would meet it once per triangle of the fan there; those repeats are merged, so a
// contour never holds the same point twice in a row. Contours come in the order of the
// first triangle (in mesh traversal order) that each one crosses; a closed contour starts
// at the point where it enters that triangle.
//
// Plane coordinates. A point's x, y are its coordinates, in integer units, along the
// orthonormal plane basis (u, v) of MakePlaneBasis, with u x v the plane's unit normal.
// Seen from the positive side, the outer contours of a closed mesh wound
// counter-clockwise from outside run counter-clockwise (positive area in x, y) and the
// contours of holes clockwise.
#include "host/HostApi.h"
#include "host/framework/MMPlaneEq.h"
#include "host/framework/MMPoint3d.h"
#include "host/meshops/MStlSlicerBase.h"

#include <vector>

class VISTAL_HOST_API MNewSlicer : public MStlSlicerBase {
public:
  MNewSlicer();
  MNewSlicer(const MNewSlicer&);
  MNewSlicer& operator=(const MNewSlicer&);
  ~MNewSlicer() override;

  // The cutting plane in the mesh's integer units. With keepDegenerateContours the border
  // also keeps contours that enclose or span nothing (closed ones of fewer than three
  // points, open ones of one point), which appear where the plane only touches the mesh at
  // a vertex or along an edge from its positive side; without it they are dropped.
  void SetPlaneSliceMode(const MMPlaneEq<double>& plane, bool keepDegenerateContours);
  const MMPlaneEq<double>& GetPlane() const { return m_plane; }
  bool GetKeepDegenerateContours() const { return m_keep_degenerate; }

  // Replaces the border with the section. False, with an empty border, for a null mesh, a
  // plane without a finite non-zero normal, or a plane that misses the mesh.
  bool Operate() override;

  // Cuts the mesh with every plane in one pass over its triangles, which costs little more
  // than cutting it with one: borders[i] becomes exactly the border that Operate leaves
  // for planes[i] alone (empty for a null mesh and for a plane that cannot cut).
  static void SliceAll(const MStlBase* stl, const std::vector<MMPlaneEq<double>>& planes,
                       bool keepDegenerateContours, std::vector<Border>& borders);

  // The basis of the plane coordinates: u is the unit vector along the coordinate axis
  // that follows (cyclically) the normal's largest component, made orthogonal to the
  // normal; v = n x u. A normal along +z gives u = +x, v = +y. False for a zero or
  // non-finite normal.
  static bool MakePlaneBasis(const MMPoint3d<double>& normal, MMPoint3d<double>& u, MMPoint3d<double>& v);

private:
  MMPlaneEq<double> m_plane;
  bool m_keep_degenerate = false;
};
