#pragma once
// Values a mesh derives from its structure and caches: for now its triangle count.
// MStlBase::GetNumTriangles() keeps it current; read it through the mesh.
#include "host/HostApi.h"
#include "host/mesh/MValidityField.h"

#include <cstdint>

class MStlBase;

class VISTAL_HOST_API MStlBaseProperties {
public:
  explicit MStlBaseProperties(const MStlBase& mesh) : m_mesh(&mesh) {}
  MStlBaseProperties(const MStlBaseProperties&) = delete;
  MStlBaseProperties& operator=(const MStlBaseProperties&) = delete;

  const MValidityField& GetNumTrianglesValidity() const { return m_numTrianglesValidity; }
  bool IsNumTrianglesValid() const { return m_numTrianglesValidity.IsValid(); }
  // The count as last calculated; current only when IsNumTrianglesValid().
  std::uint32_t GetNumTriangles() const { return m_numTriangles; }

  // Recounts the triangles by summing the surfaces of the mesh.
  void _CalculateNumTriangles() const;

private:
  const MStlBase* m_mesh;
  MValidityField m_numTrianglesValidity;
  mutable std::uint32_t m_numTriangles = 0;
};
