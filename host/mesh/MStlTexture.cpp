#include "host/mesh/MStlTexture.h"

#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlTraversal.h"

#include <stdexcept>

MStlTexture::MStlTexture(const MStlBase& mesh) : m_mesh(&mesh) {
  m_mesh->GetValidity().AddDependant(m_list_validity);
}

MStlTexture::~MStlTexture() { m_mesh->GetValidity().RemoveDependant(m_list_validity); }

void MStlTexture::SetCoordinates(const MStlTriangle* triangle, const MStlTextureCoordinates& coordinates) {
  if (!triangle || !triangle->surface || triangle->surface->mesh != m_mesh)
    throw std::invalid_argument("MStlTexture::SetCoordinates: the triangle does not belong to the texture's mesh");
  auto [it, added] = m_coordinates.insert_or_assign(triangle, coordinates);
  if (added) m_list_validity.SetInvalid();
}

bool MStlTexture::RemoveCoordinates(const MStlTriangle* triangle) {
  if (m_coordinates.erase(triangle) == 0) return false;
  m_list_validity.SetInvalid();
  return true;
}

bool MStlTexture::GetCoordinates(const MStlTriangle* triangle, MStlTextureCoordinates& coordinates,
                                 bool fill) const {
  auto it = m_coordinates.find(triangle);
  if (it == m_coordinates.end()) return false;
  if (fill) coordinates = it->second;
  return true;
}

const std::vector<const MStlTriangle*>& MStlTexture::GetTriangleList() const {
  _SpreadInvalidity();
  if (!IsVectorValid()) _ValidateVector();
  return m_triangles;
}

void MStlTexture::_SpreadInvalidity() const { m_mesh->_SpreadInvalidity(); }

void MStlTexture::_ValidateVector() const {
  m_triangles.clear();
  if (!m_coordinates.empty()) {
    m_triangles.reserve(m_coordinates.size());
    ForEachTriangle(*m_mesh, [&](const MStlTriangle& t) {
      if (m_coordinates.count(&t)) m_triangles.push_back(&t);
    });
  }
  m_list_validity.SetValid();
}
