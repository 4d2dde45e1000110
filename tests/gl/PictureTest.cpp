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

// The scene of CapsOfTwoPlanesAreClippedByEachOther with another mesh.
Scene TwoPlaneScene(const std::string& name, std::shared_ptr<MStlBase> mesh) {
  Scene scene = SmallScene();
  scene.meshes.push_back({name, std::move(mesh), 0xFF50C080, 1.0f});
  scene.planes.push_back({{8, 0, 0}, {-1, 0, 0}});  // keeps x <= 8
  scene.planes.push_back({{0, 6, 0}, {0, -1, 0}});  // keeps y <= 6
  scene.view.direction = {-1.0f, -0.8f, -0.6f};
  return scene;
}

MImageRGBA RenderWithWarnings(const Scene& scene, std::vector<std::string>& warnings) {
  IVRenderGL render(scene.view.width, scene.view.height);
  return RenderSceneToImage(scene, render, &warnings);
}

TEST(Picture, OpenMeshWhoseHolesAreCutAwayIsCappedLikeTheClosedMesh) {
  // Each plane's section runs into a hole that only the other plane cuts away: the cap
  // must follow that plane's line where the mesh itself gives it no border.
  const std::shared_ptr<MStlBase> closed = MStlPrimitives::MakeEllipsoid({0, 0, 0}, {40, 35, 30}, 64, 48);
  const std::shared_ptr<MStlBase> open = WithHoles(*closed, [](const MMPoint3d<float>& c) { return c.y > 15 || c.x > 20; });
  ASSERT_LT(open->GetNumTriangles(), closed->GetNumTriangles());
  std::vector<std::string> closedWarnings, openWarnings;
  const MImageRGBA expected = RenderWithWarnings(TwoPlaneScene("closed", closed), closedWarnings);
  const MImageRGBA actual = RenderWithWarnings(TwoPlaneScene("open", open), openWarnings);
  EXPECT_GT(CoveredFraction(actual), 0.15);
  // Both caps are the same polygons, tessellated from the same points. The open mesh is
  // lit from both sides, so a few seam pixels where the wall's inside peeks past the cap
  // edge show its lit back face instead of the cap (max 22 seen); a missing or wrong cap
  // would change hundreds of pixels, which the mean bound catches.
  EXPECT_TRUE(CompareImages(actual, expected, "open_mesh_caps", ImageTolerance{40, 0.001}));
  EXPECT_TRUE(closedWarnings.empty());
  EXPECT_TRUE(openWarnings.empty());
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

struct DrawnBox {
  unsigned left, top, right, bottom;  // the drawn pixels' columns and rows, inclusive
};

// The box of the pixels that differ from the background (the corner pixel).
DrawnBox DrawnBoxOf(const MImageRGBA& image) {
  const std::uint8_t* corner = image.Pixel(0, 0);
  DrawnBox box{image.Width(), image.Height(), 0, 0};
  for (unsigned y = 0; y < image.Height(); ++y)
    for (unsigned x = 0; x < image.Width(); ++x)
      if (!std::equal(corner, corner + 3, image.Pixel(x, y))) {
        box.left = std::min(box.left, x), box.right = std::max(box.right, x);
        box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
      }
  return box;
}

// The share of the picture left free on the side where the drawing comes closest to the edge.
double TightestMargin(const MImageRGBA& image) {
  const DrawnBox b = DrawnBoxOf(image);
  const double w = image.Width(), h = image.Height();
  return std::min({b.left / w, b.top / h, (w - 1 - b.right) / w, (h - 1 - b.bottom) / h});
}

Scene SmallPhantom() {
  Scene scene = MakePhantomScene();
  scene.view.width = 160;
  scene.view.height = 120;
  return scene;
}

TEST(Picture, PhantomIsFramedTightAroundWhatThePlanesKeep) {
  // The planes cut the skull down to a quarter: framing its whole box would leave the kept
  // part small in the middle of the picture.
  const MImageRGBA image = RenderSceneToImage(SmallPhantom());
  EXPECT_GT(CoveredFraction(image), 0.4);
  const double margin = TightestMargin(image);
  EXPECT_GE(margin, 0.02);
  EXPECT_LE(margin, 0.10);
  EXPECT_TRUE(CompareWithReference(image, "phantom", kTolerance));
}

TEST(Picture, PhantomInParallelProjectionFromAnotherSide) {
  Scene scene = SmallPhantom();
  scene.view.parallel = true;
  scene.view.azimuth = -60.0f;
  scene.view.elevation = 25.0f;
  const MImageRGBA image = RenderSceneToImage(scene);
  EXPECT_GT(CoveredFraction(image), 0.4);
  const double margin = TightestMargin(image);
  EXPECT_GE(margin, 0.02);
  EXPECT_LE(margin, 0.10);
  EXPECT_TRUE(CompareWithReference(image, "phantom_parallel", kTolerance));
}

TEST(Picture, PhantomWithClippedTwoSidedTransparentMeshes) {
  Scene scene = SmallPhantom();
  scene.clipTransparent = true;
  scene.twoSidedTransparent = true;
  const MImageRGBA image = RenderSceneToImage(scene);
  EXPECT_GT(CoveredFraction(image), 0.4);
  EXPECT_TRUE(CompareWithReference(image, "phantom_clip_transparent_two_sided", kTolerance));
}

TEST(Picture, HoleOnTheKeptSideIsClosedStraightAndWarnedOnce) {
  // A hole in the top that both planes' sections run into on their kept sides. Seen
  // from below, the caps, closed straight across the hole, hide the inside; a cap left
  // open or closed the wrong way would show the background through the hole.
  const std::shared_ptr<MStlBase> closed = MStlPrimitives::MakeEllipsoid({0, 0, 0}, {40, 35, 30}, 64, 48);
  Scene scene = TwoPlaneScene("scan.stl", WithHoles(*closed, [](const MMPoint3d<float>& c) { return c.z > 20; }));
  scene.view.direction = {-1.0f, -0.8f, 0.6f};
  SceneRenderer renderer(scene);
  IVRenderGL render(scene.view.width, scene.view.height);
  MImageRGBA image;
  for (int frame = 0; frame < 2; ++frame) {
    ASSERT_TRUE(renderer.Render(render, render.GetSurface()) && render.GetSurface().ReadFrame(image));
    EXPECT_GT(CoveredFraction(image), 0.1);
    EXPECT_EQ(HolesInRows(image), 0u);
    // Both caps warn alike, and a frame drawn again adds nothing.
    ASSERT_EQ(renderer.GetWarnings().size(), 1u);
    EXPECT_NE(renderer.GetWarnings()[0].find("mesh 'scan.stl'"), std::string::npos) << renderer.GetWarnings()[0];
  }
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
