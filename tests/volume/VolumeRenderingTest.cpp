// The volume-rendering object: its shared transfer function, rebuild request, type name
// and the views it is offered in.
#include "vistal/volume/UIVolumeRendering.h"

#include "host/core/IQNViewChild.h"
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

MOperation Operation(unsigned long action) {
  MOperation op;
  op.SetAction(action);
  return op;
}

}  // namespace

// The object and its copies hold the caller's function; they never copy it or outlive
// its last user's need of it.
TEST(VolumeRendering, TransferFunctionIsSharedNotCopied) {
  auto function = boost::make_shared<TransferFunction>();
  auto volume = std::make_unique<UIVolumeRendering>();
  volume->SetNewTransferFunction(function);
  EXPECT_EQ(volume->GetTransferFunction().get(), function.get());
  {
    UIVolumeRendering copy(*volume);
    EXPECT_EQ(function.use_count(), 3);
  }
  volume.reset();
  EXPECT_EQ(function.use_count(), 1);

  // A new function takes the old one's place, and with it its reference.
  UIVolumeRendering other;
  other.SetNewTransferFunction(function);
  other.SetNewTransferFunction(boost::make_shared<TransferFunction>());
  EXPECT_EQ(function.use_count(), 1);
  other.SetNewTransferFunction({});
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

TEST(VolumeRendering, ShowsUnderTheHostsTypeNameInThreeDimensionalViewsOnly) {
  const UIVolumeRendering volume;
  const UIObject& as_object = volume;
  EXPECT_EQ(std::wstring(as_object.GetUserInterfaceTypeName()), L"Volume Rendering");

  const View view3d(true), view2d(false);
  const ISupportedByViewChild& supported = volume;
  EXPECT_TRUE(supported.IsSupportedByViewChild(&view3d));
  EXPECT_FALSE(supported.IsSupportedByViewChild(&view2d));
  EXPECT_FALSE(supported.IsSupportedByViewChild(nullptr));
}
