#include "host/mesh/MStlBaseProperties.h"

#include "host/mesh/MStlBase.h"

void MStlBaseProperties::_CalculateNumTriangles() const {
  std::uint32_t n = 0;
  for (std::uint32_t i = 0, count = m_mesh->GetNumSurfaces(); i < count; ++i)
    n += m_mesh->GetSurface(i)->numTriangles;
  m_num_triangles = n;
  m_num_triangles_validity.SetValid();
}
