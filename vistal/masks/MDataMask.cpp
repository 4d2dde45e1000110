#include "vistal/masks/MDataMask.h"

template <typename E, typename I>
MDataMask<E, I>::MDataMask(IDataMaskOwner& owner, const I& defaultValue)
    : MDataMaskBase<E>(owner), m_default(defaultValue) {
  // Only now can the owner size the mask; registering from the base would reach the
  // pure _SetSize.
  this->_Register();
}

template <typename E, typename I>
MDataMask<E, I>::MDataMask(const MDataMask& other)
    : MDataMaskBase<E>(other), m_values(other.m_values), m_default(other.m_default) {}

template <typename E, typename I>
MDataMask<E, I>& MDataMask<E, I>::operator=(const MDataMask& other) {
  MDataMaskBase<E>::operator=(other);
  m_values = other.m_values;  // a no-op for self-assignment
  m_default = other.m_default;
  return *this;
}

template <typename E, typename I>
MDataMask<E, I>::~MDataMask() = default;

template <typename E, typename I>
void MDataMask<E, I>::CopyInfo(const E& from, const E& to) {
  SetInfo(to, GetInfo(from));
}

template <typename E, typename I>
void MDataMask<E, I>::SwapInfo(const E& a, const E& b) {
  const I kept = GetInfo(b);
  SetInfo(b, GetInfo(a));
  SetInfo(a, kept);
}

template <typename E, typename I>
void MDataMask<E, I>::Copy(const MDataMask& other) {
  const std::uint32_t count = m_values.GetCount();
  for (std::uint32_t i = 0; i < count; ++i) m_values[i] = other.m_values[i];
  m_default = other.m_default;
}

template <typename E, typename I>
void MDataMask<E, I>::_SetSize(unsigned int count) {
  const std::uint32_t oldCount = m_values.GetCount();
  m_values.ResizePages(MPagedArray<I>::PagesFor(count));
  m_values.SetCount(count);
  for (std::uint32_t slot = oldCount; slot < count; ++slot) this->_SetDefault(slot);
}

template <typename E, typename I>
void MDataMask<E, I>::_SetDefault(unsigned int slot) {
  m_values[slot] = m_default;
}

template class MDataMask<MStlPoint, float>;
template class MDataMask<MStlTriangle, float>;
template class MDataMask<MStlPoint, MMPoint3d<float>>;
template class MDataMask<MStlTriangle, MMPoint3d<float>>;
template class MDataMask<MStlPoint, MStlColor>;
template class MDataMask<MStlTriangle, MStlColor>;
template class MDataMask<MStlSurface, MStlColor>;
template class MDataMask<MStlTriangle, MStlColorTrianglePoints>;
template class MDataMask<MStlTriangle, DWORD>;
template class MDataMask<MStlTriangle, MStlTextureCoordinatesEx*>;
