#pragma once
// A vertex container whose vertices come from a mesh of the mesh library. The mesh is
// the host's; it must outlive the container.
#include "host/render/IVVertexContainer.h"

class MStlBase;

template <typename V>
class IVVertexContainerSTLData : public IVVertexContainer<V> {
public:
  explicit IVVertexContainerSTLData(MStlBase* stl) : m_stl(stl) {}
  IVVertexContainerSTLData(const IVVertexContainerSTLData&) = default;
  IVVertexContainerSTLData& operator=(const IVVertexContainerSTLData&) = default;
  ~IVVertexContainerSTLData() override = default;

  MStlBase* GetStl() const { return m_stl; }
  // A new mesh makes whatever was recorded for the old one stale.
  void SetStl(MStlBase* stl) {
    m_stl = stl;
    this->DestroyRenderOptimisations();
  }

protected:
  MStlBase* m_stl;
};
