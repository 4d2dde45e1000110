#pragma once
#include "host/HostApi.h"
#include "host/framework/MMPoint3d.h"
#include "host/meshops/M3dBorder.h"

class MStlBase;
class MStlPoint;
class MStlTriangle;

// Base of the mesh slicers: the mesh to cut, and the border that a slicing leaves behind.
// A slicer neither owns nor edits the mesh; the mesh must stay alive and unchanged from
// SetSliceStl until Operate has returned. The border owns copies of everything it holds
// except the mesh element pointers in its point data, which are valid while the mesh is;
// whoever keeps a border longer than its mesh clears them.
class VISTAL_HOST_API MStlSlicerBase {
public:
  // What a section point knows about where it comes from.
  struct MSlicePointData {
    // The point on the plane, in the mesh's integer units.
    MMPoint3d<double> point;
    // The mesh edge cut here: edge[0] is its end on the plane's positive side (or on the
    // plane), edge[1] its end on the negative side. Both are the same point when a mesh
    // vertex lies exactly on the plane and the section passes through it.
    const MStlPoint* edge[2] = {nullptr, nullptr};
    // The triangle the contour crosses from this point to the next; for the last point of
    // an open contour, the triangle it arrived through.
    const MStlTriangle* triangle = nullptr;

    // False for a point whose element pointers were cleared because its mesh is gone.
    bool IsVertex() const { return edge[0] != nullptr && edge[0] == edge[1]; }
  };
  using Border = M3dBorder<double, MSlicePointData>;
  using Contour = Border::Contour;

  MStlSlicerBase();
  MStlSlicerBase(const MStlSlicerBase&);
  MStlSlicerBase& operator=(const MStlSlicerBase&);
  virtual ~MStlSlicerBase();

  // The mesh to cut, or null (a null mesh has no section). Not owned.
  void SetSliceStl(MStlBase* stl) { mp_stl = stl; }
  MStlBase* GetSliceStl() const { return mp_stl; }

  // Cuts the mesh, replacing the border; answers whether the section has any contour.
  virtual bool Operate() = 0;

  // The result of the last Operate (empty before the first).
  const Border& GetBorder() const { return m_border; }

protected:
  MStlBase* mp_stl = nullptr;
  Border m_border;
};
