#pragma once
// MFC's root class.
#include "host/HostApi.h"

// The base of the framework's classes: a virtual destructor so that objects can be deleted
// through it, and no copying.
class VISTAL_HOST_API CObject {
public:
  virtual ~CObject();
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;

protected:
  CObject() = default;
};
