#pragma once
#include "host/HostApi.h"
#include "host/framework/MMPlaneEq.h"
#include "host/mesh/MValidityField.h"
#include "host/meshops/MStlSlicerBase.h"

#include <memory>
#include <utility>
#include <vector>

class MStlBase;

// Sections of one mesh with the planes of an object's cut faces, shared by those faces.
// Whichever face asks first has the mesh cut with its own plane and with all the other
// faces' planes in one pass over the triangles (MNewSlicer::SliceAll), so making every
// cap of a large mesh costs about one pass instead of one per plane; the other faces
// then find their sections here. Sections are dropped when the mesh is edited or
// replaced, and when a plane is no longer among those asked about.
class VISTAL_HOST_API MSectionCache {
public:
  MSectionCache();
  // A copy starts empty: what it holds is only ever a saving.
  MSectionCache(const MSectionCache&);
  MSectionCache& operator=(const MSectionCache&);
  ~MSectionCache();

  // The section of `mesh` with `plane` (integer units), as MNewSlicer::Operate makes it
  // without degenerate contours. Unless it is held for the mesh as it is now, the mesh is
  // cut with `plane` and with those of `siblings` that are not held, all in one pass; what
  // is held for planes in neither is dropped. The reference is valid until the next call.
  // The cache keeps the mesh alive until it is asked about another one or cleared.
  const MStlSlicerBase::Border& GetSection(const std::shared_ptr<MStlBase>& mesh, const MMPlaneEq<double>& plane,
                                          const std::vector<MMPlaneEq<double>>& siblings);
  void Clear();

  // Passes over a mesh made so far (for tests and measurements).
  unsigned GetNumPasses() const { return m_passes; }

private:
  void _Follow(const std::shared_ptr<MStlBase>& mesh);

  std::shared_ptr<MStlBase> m_mesh;
  MValidityField m_validity;  // stale once the mesh was edited
  std::vector<std::pair<MMPlaneEq<double>, MStlSlicerBase::Border>> m_sections;
  unsigned m_passes = 0;
};
