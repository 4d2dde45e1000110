#pragma once
#include "host/HostApi.h"
#include "host/mesh/IDataMask.h"
#include "host/mesh/IDataMaskElements.h"

class MDataMaskIndex;

// The holder of the elements that data masks attach values to (a mesh). It learns of each
// mask through RegisterMask, keeps registered masks sized to its element count and tells
// them when element data is copied or exchanged. A mask deregisters itself as it dies,
// with the derived part of it already gone: UnregisterMask only drops the pointer.
//
// The owner must outlive every mask bound to it.
class VISTAL_HOST_API IDataMaskOwner {
public:
  IDataMaskOwner() = default;
  IDataMaskOwner(const IDataMaskOwner&) = default;
  IDataMaskOwner& operator=(const IDataMaskOwner&) = default;

  // Answers whether the owner took the mask on. Every owner implements both; the bodies
  // below are the fallback an implementation may call: nothing registered, nothing to drop.
  virtual bool RegisterMask(IDataMask* mask) = 0;
  // Must accept masks it never registered (copies, refused masks) and do nothing for them.
  virtual void UnregisterMask(const IDataMask* mask) = 0;

protected:
  // Owners are not deleted through this interface.
  ~IDataMaskOwner() = default;

  // The element hook of a mask, or null for a mask that has none (one that is not typed
  // by element). Not for a mask under destruction.
  static IDataMaskElements* _GetMaskElements(IDataMask* mask) { return dynamic_cast<IDataMaskElements*>(mask); }
  static IDataMaskElements::EElementKind _GetMaskElementKind(const IDataMaskElements& mask) {
    return mask._GetElementKind();
  }
  static void _ResizeMask(IDataMaskElements& mask, unsigned count) { mask._ResizeElements(count); }
  static void _CopyMaskInfo(IDataMaskElements& mask, const MDataMaskIndex& from, const MDataMaskIndex& to) {
    mask._CopyElementInfo(from, to);
  }
  static void _SwapMaskInfo(IDataMaskElements& mask, const MDataMaskIndex& a, const MDataMaskIndex& b) {
    mask._SwapElementInfo(a, b);
  }
};

inline bool IDataMaskOwner::RegisterMask(IDataMask*) { return false; }
inline void IDataMaskOwner::UnregisterMask(const IDataMask*) {}
