// The volume-rendering object: its shared transfer function, preset, rebuild request,
// implementation link, type name and the views it is offered in.
#include "vistal/volume/UIVolumeRendering.h"

#include "host/core/IQNViewChild.h"
#include "host/core/ResourceStrings.h"
#include "host/framework/MOperation.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using TransferFunction = UIVolumeRendering::TransferFunction;

class View : public IQNViewChild {
public:
  explicit View(bool is3d) : m_is3d(is3d) {}
  bool Is3D() const override { return m_is3d; }

private:
  bool m_is3d;
};

// The host side links its implementation object; here a subclass plays that part.
class LinkedVolume : public UIVolumeRendering {
public:
  void Link(UIVolumeRenderingImp* imp) { m_imp = imp; }
};

MOperation Operation(unsigned long action) {
  MOperation op;
  op.SetAction(action);
  return op;
}

}  // namespace

TEST(VolumeRendering, StartsWithoutFunctionPresetImplementationOrRequest) {
  UIVolumeRendering volume;
  EXPECT_FALSE(volume.GetTransferFunction());
  EXPECT_EQ(volume.GetTransferFunctionPreset(), 0);
  EXPECT_EQ(volume.GetUIVolumeRenderingImp(), nullptr);
  EXPECT_FALSE(volume.IsReInitImageDataRequested());
}

TEST(VolumeRendering, TransferFunctionIsSharedNotCopied) {
  auto function = boost::make_shared<TransferFunction>();
  function->SetPoint(1000, 0xFF0000FFu);
  auto volume = std::make_unique<UIVolumeRendering>();
  volume->SetNewTransferFunction(function);
  EXPECT_EQ(function.use_count(), 2);
  EXPECT_EQ(volume->GetTransferFunction().get(), function.get());
  EXPECT_EQ(function.use_count(), 2) << "the handed-out copy is gone again";

  {
    UIVolumeRendering copy(*volume);
    EXPECT_EQ(function.use_count(), 3);
    EXPECT_EQ(copy.GetTransferFunction(), function);
  }
  EXPECT_EQ(function.use_count(), 2);

  // The caller's function outlives the object.
  volume.reset();
  EXPECT_EQ(function.use_count(), 1);
  EXPECT_EQ(function->GetColor(1000), 0xFF0000FFu);

  // A new function takes the old one's reference; preset and request stay, and a preset
  // leaves the function alone.
  UIVolumeRendering other;
  auto replacement = boost::make_shared<TransferFunction>();
  other.SetNewTransferFunction(function);
  other.SetTransferFunctionPreset(UIVolumeRendering::ETransferFunctionPreset(4));
  EXPECT_EQ(other.GetTransferFunction(), function);
  EXPECT_EQ(function->GetNumPoints(), 1u);
  other.ReInitImageData();
  other.SetNewTransferFunction(replacement);
  EXPECT_EQ(function.use_count(), 1);
  EXPECT_EQ(replacement.use_count(), 2);
  EXPECT_EQ(other.GetTransferFunctionPreset(), 4);
  EXPECT_TRUE(other.IsReInitImageDataRequested());
  other.SetNewTransferFunction({});
  EXPECT_EQ(replacement.use_count(), 1);
  EXPECT_FALSE(other.GetTransferFunction());
}

TEST(VolumeRendering, ImageDataOperationsRaiseTheRequestAndNothingLowersIt) {
  for (unsigned long action : {60540ul, 76650ul}) {
    UIVolumeRendering volume;
    IUIUpdatable& updatable = volume;
    updatable.DoUpdateUI(Operation(action), nullptr);
    EXPECT_TRUE(volume.IsReInitImageDataRequested()) << action;
  }

  UIVolumeRendering volume;
  for (unsigned long action : {0ul, 301ul, 60539ul, 60541ul, 60100ul, 76649ul, 76651ul, 0x12B6A00ul})
    volume.DoUpdateUI(Operation(action), &volume);
  EXPECT_FALSE(volume.IsReInitImageDataRequested());

  volume.ReInitImageData();
  volume.DoUpdateUI(Operation(301), nullptr);
  volume.SetTransferFunctionPreset(UIVolumeRendering::ETransferFunctionPreset(1));
  volume.SetNewTransferFunction(boost::make_shared<TransferFunction>());
  EXPECT_TRUE(volume.IsReInitImageDataRequested());
}

TEST(VolumeRendering, CopyAndAssignmentTakeOverImplementationPresetAndRequest) {
  LinkedVolume volume;
  auto* imp = reinterpret_cast<UIVolumeRenderingImp*>(&volume);  // only compared, never used
  volume.Link(imp);
  volume.SetTransferFunctionPreset(UIVolumeRendering::ETransferFunctionPreset(2));
  volume.ReInitImageData();
  volume.SetVisible(false, 3);

  UIVolumeRendering copy(volume);
  EXPECT_EQ(copy.GetUIVolumeRenderingImp(), imp);
  EXPECT_EQ(copy.GetTransferFunctionPreset(), 2);
  EXPECT_TRUE(copy.IsReInitImageDataRequested());
  EXPECT_FALSE(copy.IsVisible(3)) << "the scene-object part is copied too";

  UIVolumeRendering assigned;
  auto function = boost::make_shared<TransferFunction>();
  volume.SetNewTransferFunction(function);
  assigned = volume;
  EXPECT_EQ(assigned.GetUIVolumeRenderingImp(), imp);
  EXPECT_EQ(assigned.GetTransferFunctionPreset(), 2);
  EXPECT_TRUE(assigned.IsReInitImageDataRequested());
  EXPECT_EQ(function.use_count(), 3);
}

TEST(VolumeRendering, ShowsUnderTheHostsTypeNameInThreeDimensionalViewsOnly) {
  const UIVolumeRendering volume;
  EXPECT_EQ(volume.GetUserInterfaceTypeName(), GetResourceString(7622));
  EXPECT_EQ(std::wstring(volume.GetUserInterfaceTypeName()), L"Volume Rendering");
  const UIObject& as_object = volume;
  EXPECT_EQ(as_object.GetUserInterfaceTypeName(), GetResourceString(7622));

  const View view3d(true), view2d(false);
  const ISupportedByViewChild& supported = volume;
  EXPECT_TRUE(supported.IsSupportedByViewChild(&view3d));
  EXPECT_FALSE(supported.IsSupportedByViewChild(&view2d));
  EXPECT_FALSE(supported.IsSupportedByViewChild(nullptr));
}
