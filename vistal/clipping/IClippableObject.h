#pragma once
#include "vistal/Api.h"

#include <list>

class MClippingData;
class MOperation;
class UIObject;

// How a scene object takes part in clipping: its clipping state, its cut faces, its
// back-face setting, and the clipping operations forwarded to it.
class VISTAL_API IClippableObject {
public:
  IClippableObject() = default;
  IClippableObject(const IClippableObject&) = default;
  IClippableObject& operator=(const IClippableObject&) = default;
  virtual ~IClippableObject();

  virtual MClippingData* GetClippingData() = 0;
  virtual const MClippingData* GetClippingData() const = 0;
  virtual std::list<UIObject*> GetClippingSurfaces() = 0;
  virtual void SetClippingBackFacesVisibility(bool visible) = 0;
  // Whether some listed plane clips (clipped side other than 3).
  virtual bool IsClipped();
  virtual bool DoOperationClipping(MOperation& operation);

protected:
  virtual bool _DoOperationClipping(MOperation& operation) = 0;
};
