#include "host/core/ISupportedByViewChild.h"

#include "host/core/IQNViewChild.h"

ISupportedByViewChild::~ISupportedByViewChild() = default;

bool ISupportedByViewChild::IsSupportedByWindow(const CWnd* window) const { return window != nullptr; }

bool ISupportedByViewChild::_IsSupportedBy3DView(const IQNViewChild* viewChild) {
  return viewChild != nullptr && viewChild->Is3D();
}
