#include "host/mesh/MStlBase.h"

#include "host/mesh/MStlTextureFactory.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

MStlBase::MStlBase() : m_properties(*this) {
  m_validity.AddDependant(m_properties.GetNumTrianglesValidity());
  m_validity.AddDependant(m_compact_validity);
  m_validity.AddDependant(m_box_validity);
}

// Textures unlink from m_validity as they go, so they go first.
MStlBase::~MStlBase() { m_texture_factory.reset(); }

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
  if (!m_compact_validity.IsValid()) {
    m_compact.Build(*this);
    m_compact_validity.SetValid();
  }
  return m_compact;
}

MStlIntegerBox MStlBase::GetBoundingBoxInUnits() const {
  _SpreadInvalidity();
  if (!m_box_validity.IsValid()) {
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
    m_box_validity.SetValid();
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
  if (!m_texture_factory && create) m_texture_factory = std::make_unique<MStlTextureFactory>(*this);
  return m_texture_factory.get();
}

std::uint32_t MStlBase::_GetNumElements(IDataMaskElements::EElementKind kind) const {
  switch (kind) {
    case IDataMaskElements::eElementPoint:
      return m_num_points;
    case IDataMaskElements::eElementTriangle:
      return m_num_stored_triangles;
    case IDataMaskElements::eElementSurface:
      return static_cast<std::uint32_t>(m_surfaces.size());
    case IDataMaskElements::eElementMesh:
      break;
  }
  return 0;
}

bool MStlBase::RegisterMask(IDataMask* mask) {
  IDataMaskElements* elements = mask ? _GetMaskElements(mask) : nullptr;
  if (!elements) return IDataMaskOwner::RegisterMask(mask);
  const IDataMaskElements::EElementKind kind = _GetMaskElementKind(*elements);
  if (kind >= std::size(m_masks)) return IDataMaskOwner::RegisterMask(mask);  // a mesh numbers no meshes

  std::vector<RegisteredMask>& list = m_masks[kind];
  const auto known = std::find_if(list.begin(), list.end(), [&](const RegisteredMask& r) { return r.mask == mask; });
  if (known == list.end()) {
    list.push_back({mask, elements});
    try {
      _ResizeMask(*elements, _GetNumElements(kind));
    } catch (...) {
      list.pop_back();
      throw;
    }
  } else {
    _ResizeMask(*elements, _GetNumElements(kind));
  }
  return true;
}

void MStlBase::UnregisterMask(const IDataMask* mask) {
  for (std::vector<RegisteredMask>& list : m_masks) {
    const auto it = std::find_if(list.begin(), list.end(), [&](const RegisteredMask& r) { return r.mask == mask; });
    if (it != list.end()) {
      list.erase(it);
      return;
    }
  }
}

void MStlBase::_ResizeMasks(std::uint32_t numPoints, std::uint32_t numTriangles, std::uint32_t numSurfaces) {
  const std::uint32_t counts[3] = {numPoints, numTriangles, numSurfaces};
  try {
    for (unsigned kind = 0; kind < 3; ++kind)
      for (const RegisteredMask& r : m_masks[kind]) _ResizeMask(*r.elements, counts[kind]);
  } catch (...) {
    // Shrinking only releases pages; values below the current counts stay as they were.
    for (unsigned kind = 0; kind < 3; ++kind)
      for (const RegisteredMask& r : m_masks[kind])
        _ResizeMask(*r.elements, _GetNumElements(IDataMaskElements::EElementKind(kind)));
    throw;
  }
}
