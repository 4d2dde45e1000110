#pragma once
// A data mask of values: one I for every element of kind E of its owner, in a paged store
// addressed by each element's mask index, plus the default value that new and reset slots
// receive. The library provides the ten instantiations declared at the end.
//
//   MStlVectorMaskPoints displacement(*mesh);   // registered, one (0, 0, 0) per point
//   displacement.SetInfo(mesh->GetPoint(3), {0.0f, 0.0f, 2.5f});
//   MStlBuilder more; ...; more.AppendTo(*mesh); // the mask grows with the mesh
//
// GetInfo and SetInfo are inline and test nothing: the element's slot must lie below the
// mask's count, which the owner keeps at its element count.
#include "host/framework/MMPoint3d.h"
#include "host/mesh/MStlColor.h"
#include "host/mesh/MStlPoint.h"
#include "host/mesh/MStlSurface.h"
#include "host/mesh/MStlTriangle.h"
#include "host/win/WinTypes.h"
#include "vistal/Api.h"
#include "vistal/masks/MDataMaskBase.h"
#include "vistal/masks/MPagedArray.h"

#include <cstdint>

// Extended texture coordinates of the mesh library; masks only hold pointers to them.
class MStlTextureCoordinatesEx;

template <typename E, typename I>
class MDataMask : public MDataMaskBase<E> {
public:
  // Bound to `owner` and offered to it: an owner that takes the mask on sizes it to its
  // element count at once, every slot at `defaultValue`; otherwise it starts empty.
  // Slots made during construction take MDataMask's own default, whatever a subclass does.
  explicit MDataMask(IDataMaskOwner& owner, const I& defaultValue = I());
  // An independent copy of the values and the default value, bound to the same owner but
  // not registered with it, so it does not follow the owner's element count.
  MDataMask(const MDataMask& other);
  // Values and default value; self-assignment leaves the values as they are. See
  // MDataMaskBase for what happens to the owner.
  MDataMask& operator=(const MDataMask& other);
  ~MDataMask() override;

  void CopyInfo(const E& from, const E& to) override;
  // Through a temporary copy, so a = b is fine.
  void SwapInfo(const E& a, const E& b) override;
  // Other's values into this mask's slots 0 to GetCount() - 1 (other must hold at least
  // as many), then other's default value; count, flag and owner stay.
  virtual void Copy(const MDataMask& other);

  I& GetInfo(const E& element) { return m_values[element.GetMaskIndex()]; }
  const I& GetInfo(const E& element) const { return m_values[element.GetMaskIndex()]; }
  void SetInfo(const E& element, const I& value) { m_values[element.GetMaskIndex()] = value; }

  const I& GetDefaultValue() const { return m_default; }
  // Applies to slots made or reset from now on.
  void SetDefaultValue(const I& value) { m_default = value; }

  std::uint32_t GetCount() const { return m_values.GetCount(); }
  const MPagedArray<I>& GetValues() const { return m_values; }

protected:
  // Slots from the old count up, in rising order, go through the virtual _SetDefault.
  // Shrinking leaves the kept values alone; slots grown over again are reset.
  void _SetSize(unsigned int count) override;
  void _SetDefault(unsigned int slot) override;

private:
  MPagedArray<I> m_values;
  I m_default;
};

// The mesh library's per-point displacement mask, as the animation containers read it.
using MStlVectorMaskPoints = MDataMask<MStlPoint, MMPoint3d<float>>;

extern template class VISTAL_API MDataMask<MStlPoint, float>;
extern template class VISTAL_API MDataMask<MStlTriangle, float>;
extern template class VISTAL_API MDataMask<MStlPoint, MMPoint3d<float>>;
extern template class VISTAL_API MDataMask<MStlTriangle, MMPoint3d<float>>;
extern template class VISTAL_API MDataMask<MStlPoint, MStlColor>;
extern template class VISTAL_API MDataMask<MStlTriangle, MStlColor>;
extern template class VISTAL_API MDataMask<MStlSurface, MStlColor>;
extern template class VISTAL_API MDataMask<MStlTriangle, MStlColorTrianglePoints>;
extern template class VISTAL_API MDataMask<MStlTriangle, DWORD>;
extern template class VISTAL_API MDataMask<MStlTriangle, MStlTextureCoordinatesEx*>;
