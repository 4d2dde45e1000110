// Small renders of the whole pipeline (OpenGL backend, clipping with capped cuts, sorted
// transparency) compared with reference pictures.
#include "scene/SceneRenderer.h"
#include "backends/gl/IVRenderGL.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"
#include "host/mesh/MStlPrimitives.h"
#include "host/mesh/MStlTraversal.h"
#include "host/mesh/MStlUnits.h"
#include "tests/gl/CompareImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>

namespace {

// Mesa's software rasteriser draws the same pixels on every machine of this kind. The
// tolerance absorbs small shading differences after a driver update (a channel may move
// by a few steps, a handful of edge pixels by more), yet stays tight enough that drawing
// two crossing transparent meshes in the wrong order (max delta about 60) fails.
constexpr ImageTolerance kTolerance{16, 0.1};

Scene SmallScene(std::vector<SceneMesh> meshes, std::vector<ScenePlane> planes, MMPoint3d<float> direction) {
  Scene scene;
  scene.meshes = std::move(meshes);
  scene.planes = std::move(planes);
  scene.view.direction = direction;
  scene.view.width = 128;
  scene.view.height = 128;
  scene.view.background = 0x000000;
  return scene;
}

// A sphere cut open towards +x.
Scene ClippedSphere(MMPoint3d<float> direction) {
  return SmallScene({{"sphere", MStlPrimitives::MakeUvSphere({0, 0, 0}, 40.0f, 64, 48), 0xFF40A0E0, 1.0f}},
                    {{{0, 0, 0}, {-1, 0, 0}}}, direction);  // keeps x <= 0; the cap faces +x
}

// A mesh cut by two planes, each cap lying partly beyond the other plane, which must cut
// it back to the corner where the two cuts meet.
Scene TwoPlaneScene(const std::string& name, std::shared_ptr<MStlBase> mesh) {
  return SmallScene({{name, std::move(mesh), 0xFF50C080, 1.0f}},
                    {{{8, 0, 0}, {-1, 0, 0}}, {{0, 6, 0}, {0, -1, 0}}},  // keeps x <= 8 and y <= 6
                    {-1.0f, -0.8f, -0.6f});
}
std::shared_ptr<MStlBase> Ellipsoid() { return MStlPrimitives::MakeEllipsoid({0, 0, 0}, {40, 35, 30}, 64, 48); }

Scene SmallPhantom(bool parallel, bool clipTransparent) {
  Scene scene = MakePhantomScene();
  scene.view.width = 160;
  scene.view.height = 120;
  if (parallel) {
    scene.view.parallel = true;
    scene.view.azimuth = -60.0f;
    scene.view.elevation = 25.0f;
  }
  scene.clipTransparent = scene.twoSidedTransparent = clipTransparent;
  return scene;
}

// The mesh with holes: without the triangles whose centre (scene units) `cut` picks. All
// points stay, so the mesh spans the same box and is framed alike.
std::shared_ptr<MStlBase> WithHoles(const MStlBase& mesh, const std::function<bool(const MMPoint3d<float>&)>& cut) {
  MStlBuilder builder;
  std::vector<std::int32_t> points;
  for (std::uint32_t i = 0; i < mesh.GetNumPoints(); ++i) {
    const MStlPoint& p = mesh.GetPoint(i);
    points.insert(points.end(), {p.x, p.y, p.z});
  }
  builder.AddPointsInUnits(points);
  std::vector<std::uint32_t> corners;
  ForEachTriangle(mesh, [&](const MStlTriangle& t) {
    MMPoint3d<float> centre;
    for (const MStlPoint* p : t.points) centre = centre + MMPoint3d<float>(float(p->x), float(p->y), float(p->z));
    if (cut(centre / (3.0f * float(IE)))) return;
    for (const MStlPoint* p : t.points) corners.push_back(p->GetMaskIndex());
  });
  builder.AddSurface(corners);
  return builder.Build();
}

bool IsBackground(const MImageRGBA& image, unsigned x, unsigned y) {
  return std::equal(image.Pixel(0, 0), image.Pixel(0, 0) + 3, image.Pixel(x, y));
}

// Background pixels between a row's first and last drawn pixel: holes in the picture.
std::size_t HolesInRows(const MImageRGBA& image) {
  std::size_t holes = 0;
  for (unsigned y = 0; y < image.Height(); ++y) {
    unsigned first = image.Width(), last = 0;
    for (unsigned x = 0; x < image.Width(); ++x)
      if (!IsBackground(image, x, y)) first = std::min(first, x), last = x;
    for (unsigned x = first; x < last; ++x) holes += IsBackground(image, x, y);
  }
  return holes;
}

TEST(Picture, ScenesLookAsTheirReferencePictures) {
  const struct {
    const char* name;
    Scene scene;
    double covered;  // the least share of the picture drawn
  } cases[] = {
      {"clipped_sphere", ClippedSphere({-0.7f, -1.0f, -0.5f}), 0.12},
      // Two long ellipsoids crossing each other: each is partly in front of the other, so
      // no order of whole meshes could draw them right.
      {"interleaved_transparent",
       SmallScene({{"red", MStlPrimitives::MakeEllipsoid({0, 0, 0}, {50, 12, 12}, 48, 24), 0x2020E0, 0.5f},
                   {"blue", MStlPrimitives::MakeEllipsoid({0, 0, 0}, {12, 50, 12}, 48, 24), 0xE02020, 0.5f}},
                  {}, {-0.6f, -0.5f, -1.0f}),
       0.1},
      {"two_plane_caps", TwoPlaneScene("ellipsoid", Ellipsoid()), 0.15},
      // The planes cut the skull down to a quarter, which is framed tight (not its whole
      // box). Clipped and two sided, the transparent meshes show their near and far walls.
      {"phantom", SmallPhantom(false, false), 0.4},
      {"phantom_parallel", SmallPhantom(true, false), 0.4},
      {"phantom_clip_transparent_two_sided", SmallPhantom(false, true), 0.4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MImageRGBA image = RenderSceneToImage(c.scene);
    EXPECT_GT(CoveredFraction(image), c.covered);
    EXPECT_TRUE(CompareWithReference(image, c.name, kTolerance));
  }
}

TEST(Picture, OpenMeshWhoseHolesAreCutAwayIsCappedLikeTheClosedMesh) {
  // Each plane's section runs into a hole that only the other plane cuts away: the cap
  // must follow that plane's line where the mesh itself gives it no border.
  const std::shared_ptr<MStlBase> closed = Ellipsoid();
  const std::shared_ptr<MStlBase> open =
      WithHoles(*closed, [](const MMPoint3d<float>& c) { return c.y > 15 || c.x > 20; });
  ASSERT_LT(open->GetNumTriangles(), closed->GetNumTriangles());
  IVRenderGL render(128, 128);
  std::vector<std::string> closedWarnings, openWarnings;
  const MImageRGBA expected = RenderSceneToImage(TwoPlaneScene("closed", closed), render, &closedWarnings);
  const MImageRGBA actual = RenderSceneToImage(TwoPlaneScene("open", open), render, &openWarnings);
  EXPECT_GT(CoveredFraction(actual), 0.15);
  // Both caps are the same polygons, tessellated from the same points: nothing may
  // differ beyond a rounding step.
  EXPECT_TRUE(CompareImages(actual, expected, "open_mesh_caps", ImageTolerance{1, 0.001}));
  EXPECT_TRUE(closedWarnings.empty() && openWarnings.empty());
}

TEST(Picture, CapsCloseTheCutWithoutGaps) {
  // A hole in the top that both planes' sections run into on their kept sides. Seen
  // from below, the caps, closed straight across the hole, hide the inside; a cap left
  // open or closed the wrong way would show the background through the hole.
  Scene holed = TwoPlaneScene("scan.stl", WithHoles(*Ellipsoid(), [](const MMPoint3d<float>& c) { return c.z > 20; }));
  holed.view.direction = {-1.0f, -0.8f, 0.6f};
  // Looking into the cut of a rippled sphere: the cap closes it up to the moved wall.
  // Left at the sphere's rest size, it would leave a ring through which the culled
  // inside of the far wall shows the background.
  Scene rippled = ClippedSphere({-1.0f, 0.0f, 0.0f});
  rippled.displacement = 12.0f;
  const struct {
    const char* what;
    const Scene& scene;
    std::vector<float> scales;  // of the displacement, one frame each
    double covered;
    std::size_t warnings;
  } cases[] = {{"a hole on the kept side", holed, {0, 0}, 0.1, 1}, {"a displaced mesh", rippled, {0, 1, 0.5f}, 0.3, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    IVRenderGL render(c.scene.view.width, c.scene.view.height);
    SceneRenderer renderer(c.scene);
    // Each cap is made anew from the wall of its frame; a frame drawn again adds no warning.
    for (float scale : c.scales) {
      renderer.SetDisplacementScale(scale);
      MImageRGBA image;
      ASSERT_TRUE(renderer.Render(render, render.GetSurface()) && render.GetSurface().ReadFrame(image));
      EXPECT_GT(CoveredFraction(image), c.covered);
      EXPECT_EQ(HolesInRows(image), 0u) << "at scale " << scale;
      // Both caps of the holed mesh warn alike, naming it.
      ASSERT_EQ(renderer.GetWarnings().size(), c.warnings);
      for (const std::string& w : renderer.GetWarnings()) EXPECT_NE(w.find("mesh 'scan.stl'"), std::string::npos) << w;
    }
  }
}

}  // namespace
