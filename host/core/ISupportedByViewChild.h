#pragma once
#include "host/HostApi.h"

class CWnd;
class IQNViewChild;

// Which views a scene object is offered in.
class VISTAL_HOST_API ISupportedByViewChild {
public:
  virtual ~ISupportedByViewChild();

  virtual bool IsSupportedByViewChild(const IQNViewChild* viewChild) const = 0;
  // Windows outside the view layout (reports, previews) show every object; a null window
  // shows none.
  virtual bool IsSupportedByWindow(const CWnd* window) const;

protected:
  // The answer of objects that exist only in 3D: true for a 3D view child, false for a 2D
  // one and for null.
  static bool _IsSupportedBy3DView(const IQNViewChild* viewChild);
};
