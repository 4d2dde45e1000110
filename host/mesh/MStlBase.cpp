#include "host/mesh/MStlBase.h"

#include "host/mesh/MStlTextureFactory.h"

#include <algorithm>
#include <stdexcept>

MStlBase::MStlBase() : m_properties(*this) {
  m_validity.AddDependant(m_properties.GetNumTrianglesValidity());
  m_validity.AddDependant(m_compactValidity);
  m_validity.AddDependant(m_boxValidity);
}

// Textures unlink from m_validity as they go, so they go first.
MStlBase::~MStlBase() { m_textureFactory.reset(); }

const MStlPoint& MStlBase::GetPoint(std::uint32_t i) const {
  // Blocks are few (one per build or append): a scan is cheaper than an index.
  for (const Block& b : m_blocks) {
    if (i < b.points.size()) return b.points[i];
    i -= static_cast<std::uint32_t>(b.points.size());
  }
  throw std::out_of_range("MStlBase::GetPoint: index beyond the mesh's points");
}

void MStlBase::_SpreadInvalidity() const {
  if (m_validity.IsValid()) return;
  m_validity._SpreadInvalidity();
  m_validity.SetValid();
}

void MStlBase::_MarkEdited() {
  m_validity.SetInvalid();
  m_compact.Clear();  // a stale copy of every triangle is worth freeing now
}

std::uint32_t MStlBase::GetNumTriangles() const {
  _SpreadInvalidity();
  if (!m_properties.IsNumTrianglesValid()) m_properties._CalculateNumTriangles();
  return m_properties.GetNumTriangles();
}

const MStlCompactTriangleArray& MStlBase::GetCompactTriangleArray() const {
  _SpreadInvalidity();
  if (!m_compactValidity.IsValid()) {
    m_compact.Build(*this);
    m_compactValidity.SetValid();
  }
  return m_compact;
}

MStlIntegerBox MStlBase::GetBoundingBoxInUnits() const {
  _SpreadInvalidity();
  if (!m_boxValidity.IsValid()) {
    MStlIntegerBox box;
    for (const Block& b : m_blocks) {
      for (const MStlPoint& p : b.points) {
        if (box.empty) {
          box.min = box.max = {p.x, p.y, p.z};
          box.empty = false;
          continue;
        }
        box.min = {std::min(box.min.x, p.x), std::min(box.min.y, p.y), std::min(box.min.z, p.z)};
        box.max = {std::max(box.max.x, p.x), std::max(box.max.y, p.y), std::max(box.max.z, p.z)};
      }
    }
    m_box = box;
    m_boxValidity.SetValid();
  }
  return m_box;
}

M3DBoundingBox<float> MStlBase::GetBoundingBox() const {
  const MStlIntegerBox box = GetBoundingBoxInUnits();
  if (box.empty) return {};
  return {MStlUnitsToSceneF(box.min.x), MStlUnitsToSceneF(box.max.x), MStlUnitsToSceneF(box.min.y),
          MStlUnitsToSceneF(box.max.y), MStlUnitsToSceneF(box.min.z), MStlUnitsToSceneF(box.max.z)};
}

MStlTextureFactory* MStlBase::GetTextureFactory(const bool& create) {
  if (!m_textureFactory && create) m_textureFactory = std::make_unique<MStlTextureFactory>(*this);
  return m_textureFactory.get();
}
