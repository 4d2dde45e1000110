// The scene's 2D overlay drawn over a real render: the box manipulator of the first
// opaque mesh and the plane labels with their arrows, compared with a reference picture.
#include "scene/SceneObject.h"
#include "scene/SceneRenderer.h"
#include "host/view/UIWnd3D.h"
#include "backends/cairo/CGdiDeviceCairo.h"
#include "backends/gl/IVRenderGL.h"
#include "host/gdi/CDeviceDC.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlPrimitives.h"
#include "tests/gl/CompareImage.h"
#include "vistal/render/IVRenderEx.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A box cut by one plane, zoomed out so that all eight corners show.
Scene BoxScene() {
  Scene scene;
  scene.view.width = 240;
  scene.view.height = 180;
  scene.view.background = 0x302820;
  scene.view.direction = {-1.0f, -0.7f, -0.6f};
  scene.view.zoom = 0.7f;
  scene.meshes.push_back({"box", MStlPrimitives::MakeBox({-30, -20, -15}, {30, 20, 15}), 0xFFB0B0B0, 1.0f});
  scene.planes.push_back({{-12, 0, 0}, {-1, 0, 0}});  // keeps x <= -12
  scene.showManipulator = true;
  return scene;
}

// The same tolerance as the other pictures: shading may move a few steps after a driver
// update, while a handle of another length or an arrow of another shape moves whole
// strokes of pixels from the background to amber or white.
constexpr ImageTolerance kTolerance{16, 0.1};

TEST(OverlayPicture, ManipulatorHandlesCentreSpotAndPlaneLabel) {
  const Scene scene = BoxScene();
  const MImageRGBA image = RenderSceneToImage(scene);
  EXPECT_TRUE(CompareWithReference(image, "box_manipulator", kTolerance));

  Scene plain = scene;
  plain.showManipulator = false;
  const MImageRGBA without = RenderSceneToImage(plain);
  EXPECT_FALSE(CompareImages(image, without, "box_manipulator_off", kTolerance));
}

TEST(OverlayPicture, PicturesThatDoNotFitAreLeftAlone) {
  Scene scene = BoxScene();
  SceneRenderer renderer(scene);
  renderer.FrameView();
  MImageRGBA empty;
  renderer.DrawOverlays(empty);  // nothing to draw on
  MImageRGBA other(100, 100);
  const MImageRGBA before = other;
  renderer.DrawOverlays(other);  // not the camera's picture
  EXPECT_EQ(std::memcmp(other.Pixel(0, 0), before.Pixel(0, 0), 100 * 100 * 4), 0);

  // A label without text draws nothing.
  CGdiDeviceCairo device(other);
  CDeviceDC dc(device);
  IVRenderEx::DrawTextOutlined(dc, 2, nullptr, CRect(0, 0, 50, 20), 0);
  device.Flush();
  EXPECT_EQ(std::memcmp(other.Pixel(0, 0), before.Pixel(0, 0), 100 * 100 * 4), 0);
}

}  // namespace

namespace {

// A whole scene as one object of a view: the manipulator lights up under the mouse.
TEST(OverlayPicture, SceneObjectManipulatorFollowsTheMouse) {
  SceneObject object(BoxScene());
  UIWnd3D view;
  view.SetClientSize(240, 180);
  std::list<IRender*> objects{&object};
  ASSERT_TRUE(view.GetCamera().Unzoom(objects, 0xFFFFFFFF));
  object.ShowManipulator(&view);
  MMPoint3d<double> centre;
  ASSERT_TRUE(view.GetCamera().ProjectToWindow({0, 0, 0}, centre));  // the box's centre
  const CPoint spot(int(centre.x), int(centre.y));
  EXPECT_TRUE(object.TrackMouse(spot));
  EXPECT_FALSE(object.TrackMouse(spot));  // no change, no repaint
  MImageRGBA image(240, 180);
  {
    CGdiDeviceCairo device(image);
    CDeviceDC dc(device);
    object.RenderGDI(dc, MCoordinateSystem());
  }
  const std::uint8_t* lit = image.Pixel(unsigned(spot.x), unsigned(spot.y));
  EXPECT_EQ(lit[0] + lit[1] + lit[2], 3 * 255);  // the spot under the mouse is white
  EXPECT_TRUE(object.TrackMouse(CPoint(2, 2)));  // away from every part
}

}  // namespace
