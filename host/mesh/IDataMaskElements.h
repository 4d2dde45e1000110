#pragma once
#include "host/HostApi.h"

class IDataMaskOwner;
class MDataMaskIndex;

// What an owner does to its masks: resize them to its element count, copy and exchange
// element values. The mesh library sits below the typed masks (MDataMaskBase<E> in
// Vistal) and cannot name them, so each typed mask also implements this hook, privately;
// IDataMask keeps its single-slot table and owners reach the hook through the protected
// helpers of IDataMaskOwner. Only owners may call it, as only they may resize a mask.
class VISTAL_HOST_API IDataMaskElements {
public:
  // The kind of element a mask is attached to; an owner keeps one list of masks per kind.
  enum EElementKind : unsigned {
    eElementPoint = 0,
    eElementTriangle = 1,
    eElementSurface = 2,
    eElementMesh = 3,
  };

protected:
  IDataMaskElements() = default;
  IDataMaskElements(const IDataMaskElements&) = default;
  IDataMaskElements& operator=(const IDataMaskElements&) = default;
  virtual ~IDataMaskElements() = default;

private:
  friend class IDataMaskOwner;

  virtual EElementKind _GetElementKind() const = 0;
  // Makes room for exactly `count` elements; new slots take the mask's default value.
  virtual void _ResizeElements(unsigned count) = 0;
  // The elements are passed as their slot base; each must be of the mask's element kind.
  virtual void _CopyElementInfo(const MDataMaskIndex& from, const MDataMaskIndex& to) = 0;
  virtual void _SwapElementInfo(const MDataMaskIndex& a, const MDataMaskIndex& b) = 0;
};
