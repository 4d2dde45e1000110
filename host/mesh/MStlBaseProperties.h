#pragma once
#include "host/HostApi.h"
#include "host/mesh/MValidityField.h"

#include <cstdint>

class MStlBase;

// Values a mesh derives from its structure and caches: for now its triangle count.
// MStlBase::GetNumTriangles() keeps it current; read it through the mesh.
class VISTAL_HOST_API MStlBaseProperties {
public:
  explicit MStlBaseProperties(const MStlBase& mesh) : m_mesh(&mesh) {}
  MStlBaseProperties(const MStlBaseProperties&) = delete;
  MStlBaseProperties& operator=(const MStlBaseProperties&) = delete;

  const MValidityField& GetNumTrianglesValidity() const { return m_num_triangles_validity; }
  bool IsNumTrianglesValid() const { return m_num_triangles_validity.IsValid(); }
  // The count as last calculated; current only when IsNumTrianglesValid().
  std::uint32_t GetNumTriangles() const { return m_num_triangles; }

  // Recounts the triangles by summing the surfaces of the mesh.
  void _CalculateNumTriangles() const;

private:
  const MStlBase* m_mesh;
  MValidityField m_num_triangles_validity;
  mutable std::uint32_t m_num_triangles = 0;
};
