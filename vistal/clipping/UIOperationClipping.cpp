#include "vistal/clipping/UIOperationClipping.h"

UIOperationClipping::UIOperationClipping() = default;
UIOperationClipping::UIOperationClipping(const UIOperationClipping&) = default;
UIOperationClipping& UIOperationClipping::operator=(const UIOperationClipping&) = default;
UIOperationClipping::~UIOperationClipping() = default;

void UIOperationClipping::SetAction(unsigned long action) {
  UIOperation::SetAction(action);
  if (action >= eClippingAddPlanes && action <= eClippingOther) {
    std::uint32_t flags = GetFlags();
    flags &= ~std::uint32_t(eFlagUpdateBoundingBoxes | eFlagRedrawAllViews);
    flags |= eFlagRedraw3DViews;
    SetFlags(flags);
  }
}
