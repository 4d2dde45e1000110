#include "vistal/masks/MDataMaskBase.h"

#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlPoint.h"
#include "host/mesh/MStlSurface.h"
#include "host/mesh/MStlTriangle.h"

#include <type_traits>

template <typename E>
MDataMaskBase<E>::MDataMaskBase(IDataMaskOwner& owner) : m_owner(&owner) {}

template <typename E>
MDataMaskBase<E>::MDataMaskBase(const MDataMaskBase& other)
    : IDataMask(other), IDataMaskElements(other), m_flag(other.m_flag), m_owner(other.m_owner) {}

template <typename E>
MDataMaskBase<E>& MDataMaskBase<E>::operator=(const MDataMaskBase& other) {
  m_flag = other.m_flag;
  m_owner = other.m_owner;
  return *this;
}

// The derived part is gone by now: the owner only drops the pointer.
template <typename E>
MDataMaskBase<E>::~MDataMaskBase() {
  m_owner->UnregisterMask(this);
}

template <typename E>
IDataMaskElements::EElementKind MDataMaskBase<E>::_GetElementKind() const {
  if constexpr (std::is_same_v<E, MStlPoint>) return eElementPoint;
  else if constexpr (std::is_same_v<E, MStlTriangle>) return eElementTriangle;
  else if constexpr (std::is_same_v<E, MStlSurface>) return eElementSurface;
  else {
    static_assert(std::is_same_v<E, MStlBase>, "masks attach to points, triangles, surfaces or meshes");
    return eElementMesh;
  }
}

template <typename E>
void MDataMaskBase<E>::_ResizeElements(unsigned count) {
  _SetSize(count);
}

// The owner hands in its own elements of this mask's kind, so the downcast is exact.
template <typename E>
void MDataMaskBase<E>::_CopyElementInfo(const MDataMaskIndex& from, const MDataMaskIndex& to) {
  CopyInfo(static_cast<const E&>(from), static_cast<const E&>(to));
}

template <typename E>
void MDataMaskBase<E>::_SwapElementInfo(const MDataMaskIndex& a, const MDataMaskIndex& b) {
  SwapInfo(static_cast<const E&>(a), static_cast<const E&>(b));
}

template class MDataMaskBase<MStlTriangle>;
template class MDataMaskBase<MStlPoint>;
template class MDataMaskBase<MStlSurface>;
template class MDataMaskBase<MStlBase>;
