// Small renders of the whole pipeline (OpenGL backend, clipping with capped cuts, sorted
// transparency) compared with reference pictures.
#include "scene/SceneRenderer.h"
#include "backends/gl/IVRenderGL.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlPrimitives.h"
#include "tests/gl/CompareImage.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Mesa's software rasteriser draws the same pixels on every machine of this kind. The
// tolerance absorbs small shading differences after a driver update (a channel may move
// by a few steps, a handful of edge pixels by more), yet stays tight enough that drawing
// two crossing transparent meshes in the wrong order (max delta about 60) fails.
constexpr ImageTolerance kTolerance{16, 0.1};

Scene SmallScene() {
  Scene scene;
  scene.view.width = 128;
  scene.view.height = 128;
  scene.view.background = 0x000000;
  return scene;
}

TEST(Picture, ClippedSphereShowsItsCap) {
  Scene scene = SmallScene();
  scene.meshes.push_back({"sphere", MStlPrimitives::MakeUvSphere({0, 0, 0}, 40.0f, 64, 48), 0xFF40A0E0, 1.0f});
  scene.planes.push_back({{0, 0, 0}, {-1, 0, 0}});  // keeps x <= 0
  scene.view.direction = {-0.7f, -1.0f, -0.5f};
  const MImageRGBA image = RenderSceneToImage(scene);
  EXPECT_GT(CoveredFraction(image), 0.12);
  EXPECT_TRUE(CompareWithReference(image, "clipped_sphere", kTolerance));
}

TEST(Picture, InterleavedTransparentMeshesBlendBackToFront) {
  Scene scene = SmallScene();
  // Two long ellipsoids crossing each other: each is partly in front of the other, so
  // no order of whole meshes could draw them right.
  scene.meshes.push_back({"red", MStlPrimitives::MakeEllipsoid({0, 0, 0}, {50, 12, 12}, 48, 24), 0x2020E0, 0.5f});
  scene.meshes.push_back({"blue", MStlPrimitives::MakeEllipsoid({0, 0, 0}, {12, 50, 12}, 48, 24), 0xE02020, 0.5f});
  scene.view.direction = {-0.6f, -0.5f, -1.0f};
  const MImageRGBA image = RenderSceneToImage(scene);
  EXPECT_GT(CoveredFraction(image), 0.1);
  EXPECT_TRUE(CompareWithReference(image, "interleaved_transparent", kTolerance));
}

TEST(Picture, CapsOfTwoPlanesAreClippedByEachOther) {
  Scene scene = SmallScene();
  // Each cap lies partly beyond the other plane, which must cut it back to the corner
  // where the two cuts meet.
  scene.meshes.push_back({"ellipsoid", MStlPrimitives::MakeEllipsoid({0, 0, 0}, {40, 35, 30}, 64, 48), 0xFF50C080, 1.0f});
  scene.planes.push_back({{8, 0, 0}, {-1, 0, 0}});  // keeps x <= 8
  scene.planes.push_back({{0, 6, 0}, {0, -1, 0}});  // keeps y <= 6
  scene.view.direction = {-1.0f, -0.8f, -0.6f};
  const MImageRGBA image = RenderSceneToImage(scene);
  EXPECT_GT(CoveredFraction(image), 0.15);
  EXPECT_TRUE(CompareWithReference(image, "two_plane_caps", kTolerance));
}

TEST(Picture, OpenMeshesShowTheirBackFacesInTheirOwnColour) {
  // A sheet facing +z, seen from below: its back faces are all there is to see. A closed
  // mesh's back faces are culled; an open one's are lit in its material (green here, not
  // the red of back faces seen through a cut).
  Scene scene = SmallScene();
  scene.meshes.push_back(
      {"sheet", MStlPrimitives::MakePlanePatch({-20, -20, 0}, {40, 0, 0}, {0, 40, 0}, 4, 4), 0xFF30D040, 1.0f});
  scene.view.direction = {0.2f, -1.0f, 0.8f};  // upward
  const MImageRGBA image = RenderSceneToImage(scene);
  EXPECT_GT(CoveredFraction(image), 0.2);
  const std::uint8_t* centre = image.Pixel(image.Width() / 2, image.Height() / 2);
  EXPECT_GT(centre[1], 2 * centre[0]) << "green, as the front";
  EXPECT_GT(centre[1], 0x30) << "lit";
}

// Background pixels between a row's first and last drawn pixel: holes in the picture.
std::size_t HolesInRows(const MImageRGBA& image) {
  const std::uint8_t* corner = image.Pixel(0, 0);
  auto background = [&](unsigned x, unsigned y) { return std::equal(corner, corner + 3, image.Pixel(x, y)); };
  std::size_t holes = 0;
  for (unsigned y = 0; y < image.Height(); ++y) {
    unsigned first = image.Width(), last = 0;
    for (unsigned x = 0; x < image.Width(); ++x)
      if (!background(x, y)) first = std::min(first, x), last = x;
    for (unsigned x = first; x < last; ++x) holes += background(x, y);
  }
  return holes;
}

TEST(Picture, CapsStayOnTheWallOfADisplacedMesh) {
  // Looking into the cut of a rippled sphere: the cap closes it up to the moved wall.
  // Left at the sphere's rest size, it would leave a ring through which the culled
  // inside of the far wall shows the background.
  Scene scene = SmallScene();
  scene.meshes.push_back({"sphere", MStlPrimitives::MakeUvSphere({0, 0, 0}, 40.0f, 64, 48), 0xFF40A0E0, 1.0f});
  scene.planes.push_back({{0, 0, 0}, {-1, 0, 0}});  // keeps x <= 0; the cap faces +x
  scene.view.direction = {-1.0f, 0.0f, 0.0f};
  scene.displacement = 12.0f;
  IVRenderGL render(scene.view.width, scene.view.height);
  SceneRenderer renderer(scene);
  // Frames of the animation, each cap made anew from the wall of the frame.
  for (float scale : {0.0f, 1.0f, 0.5f}) {
    SCOPED_TRACE(scale);
    renderer.SetDisplacementScale(scale);
    MImageRGBA image;
    ASSERT_TRUE(renderer.Render(render, render.GetSurface()) && render.GetSurface().ReadFrame(image));
    EXPECT_GT(CoveredFraction(image), 0.3);
    EXPECT_EQ(HolesInRows(image), 0u);
  }
}

}  // namespace
