#pragma once
#include "host/HostApi.h"

#include <memory>
#include <vector>

class MStlSurface;

// A node of a mesh's feature tree: surfaces and sub-features, each in index order. The
// mesh owns the tree; surfaces belong to the mesh and are only listed here.
class VISTAL_HOST_API MStlFeature {
public:
  MStlFeature(const MStlFeature&) = delete;
  MStlFeature& operator=(const MStlFeature&) = delete;
  ~MStlFeature();

  const MStlFeature* GetParent() const { return m_parent; }
  unsigned GetIndexInParent() const { return m_index_in_parent; }

  // With recursive false the direct children; with true the whole subtree below.
  unsigned GetNumSurfaces(bool recursive) const {
    return recursive ? _CountSurfacesInSubtree() : static_cast<unsigned>(m_surfaces.size());
  }
  unsigned GetNumFeatures(bool recursive) const {
    return recursive ? _CountFeaturesInSubtree() : static_cast<unsigned>(m_features.size());
  }

  // Indices are not range-checked: callers stay below GetNum...(false).
  const MStlSurface* GetSurface(unsigned i) const { return m_surfaces[i]; }
  const MStlFeature* GetFeature(unsigned i) const { return m_features[i].get(); }

private:
  friend class MStlBase;
  friend class MStlBuilder;

  MStlFeature(MStlFeature* parent, unsigned indexInParent);
  MStlFeature* AddFeature();
  unsigned _CountSurfacesInSubtree() const;
  unsigned _CountFeaturesInSubtree() const;

  MStlFeature* m_parent;
  unsigned m_index_in_parent;
  std::vector<MStlSurface*> m_surfaces;
  std::vector<std::unique_ptr<MStlFeature>> m_features;
};
