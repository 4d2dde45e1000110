#pragma once
// The element-typed base of every data mask: a mask of values for the elements of kind E
// (MStlPoint, MStlTriangle, MStlSurface or MStlBase) of one owner. It holds the owner,
// which it tells of its death, and a flag that the owner's side gives a meaning.
//
// The owner drives the mask through the protected _SetSize and _SetDefault, which it
// reaches through the element hook (host/mesh/IDataMaskElements.h) that this class
// implements privately.
#include "host/mesh/IDataMask.h"
#include "host/mesh/IDataMaskElements.h"
#include "host/mesh/IDataMaskOwner.h"
#include "host/mesh/MDataMaskIndex.h"
#include "vistal/Api.h"

class MStlBase;
class MStlPoint;
class MStlSurface;
class MStlTriangle;

template <typename E>
class MDataMaskBase : public IDataMask, public IDataMaskElements {
public:
  // Flag and owner; the copy is not registered with the owner, yet it deregisters (a no-op
  // for the owner) with its own address when it dies.
  MDataMaskBase(const MDataMaskBase& other);
  // Flag and owner; neither mask's registration changes. Assign only between masks of the
  // same owner: a mask registered with one owner and given another would not be dropped by
  // the first when it dies.
  MDataMaskBase& operator=(const MDataMaskBase& other);
  // Deregisters from the owner, once.
  ~MDataMaskBase() override;

  // Gives element `to` the value of element `from`.
  virtual void CopyInfo(const E& from, const E& to) = 0;
  // Exchanges the values of two elements.
  virtual void SwapInfo(const E& a, const E& b) = 0;

  IDataMaskOwner* GetOwner() const { return m_owner; }
  bool GetFlag() const { return m_flag; }
  void SetFlag(bool flag) { m_flag = flag; }

protected:
  // Bound to the owner but not yet registered: the derived mask registers once its values
  // can be sized (see _Register).
  explicit MDataMaskBase(IDataMaskOwner& owner);

  // Makes room for exactly `count` elements; slots added take the default value.
  virtual void _SetSize(unsigned int count) = 0;
  // Resets one slot to the mask's default value.
  virtual void _SetDefault(unsigned int slot) = 0;

  // Offers the mask to its owner, which sizes it when it takes it on; answers whether it did.
  bool _Register() { return m_owner->RegisterMask(this); }

private:
  EElementKind _GetElementKind() const final;
  void _ResizeElements(unsigned count) final;
  void _CopyElementInfo(const MDataMaskIndex& from, const MDataMaskIndex& to) final;
  void _SwapElementInfo(const MDataMaskIndex& a, const MDataMaskIndex& b) final;

  bool m_flag = false;
  IDataMaskOwner* m_owner;
};

extern template class VISTAL_API MDataMaskBase<MStlTriangle>;
extern template class VISTAL_API MDataMaskBase<MStlPoint>;
extern template class VISTAL_API MDataMaskBase<MStlSurface>;
extern template class VISTAL_API MDataMaskBase<MStlBase>;
