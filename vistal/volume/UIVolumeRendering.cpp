#include "vistal/volume/UIVolumeRendering.h"

#include "host/core/ResourceStrings.h"
#include "host/framework/MOperation.h"

#include <utility>

namespace {
// The host's operations after which the volume's image data must be rebuilt.
constexpr std::uint32_t kReInitActions[] = {60540 /* 0xEC7C */, 76650 /* 0x12B6A */};
}  // namespace

UIVolumeRendering::UIVolumeRendering() = default;
UIVolumeRendering::UIVolumeRendering(const UIVolumeRendering& other) = default;
UIVolumeRendering& UIVolumeRendering::operator=(const UIVolumeRendering& other) = default;
UIVolumeRendering::~UIVolumeRendering() = default;

const wchar_t* UIVolumeRendering::GetUserInterfaceTypeName() const {
  return GetResourceString(ResourceStringIds::kVolumeRendering);
}

bool UIVolumeRendering::IsSupportedByViewChild(const IQNViewChild* viewChild) const {
  return _IsSupportedBy3DView(viewChild);
}

void UIVolumeRendering::SetNewTransferFunction(boost::shared_ptr<TransferFunction> function) {
  m_transfer_function = std::move(function);
}

void UIVolumeRendering::SetTransferFunctionPreset(ETransferFunctionPreset preset) { m_preset = preset; }

UIVolumeRendering::ETransferFunctionPreset UIVolumeRendering::GetTransferFunctionPreset() { return m_preset; }

boost::shared_ptr<UIVolumeRendering::TransferFunction> UIVolumeRendering::GetTransferFunction() {
  return m_transfer_function;
}

void UIVolumeRendering::ReInitImageData() { m_reinit_image_data = true; }

UIVolumeRenderingImp* UIVolumeRendering::GetUIVolumeRenderingImp() { return m_imp; }

void UIVolumeRendering::DoUpdateUI(const MOperation& operation, void*) {
  for (std::uint32_t action : kReInitActions)
    if (operation.GetAction() == action) m_reinit_image_data = true;
}
