#include "vistal/clipping/UIOperationClipping.h"

UIOperationClipping::UIOperationClipping() = default;
UIOperationClipping::UIOperationClipping(const UIOperationClipping&) = default;
UIOperationClipping& UIOperationClipping::operator=(const UIOperationClipping&) = default;
UIOperationClipping::~UIOperationClipping() = default;

void UIOperationClipping::SetAction(std::uint32_t action) {
  UIOperation::SetAction(action);
  if (IsClippingAction(action)) {
    std::uint32_t flags = GetFlags();
    flags &= ~std::uint32_t(eFlagUpdateBoundingBoxes | eFlagRedrawAllViews);
    flags |= eFlagRedraw3DViews;
    SetFlags(flags);
  }
}
