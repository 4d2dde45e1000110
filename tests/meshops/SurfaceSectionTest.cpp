// The mesh scene object and the cut face that fills the section of its mesh.
#include "SliceTestSupport.h"

#include "host/core/UIStlObject.h"
#include "host/mesh/MStlPrimitives.h"
#include "host/meshops/UISurfaceSection.h"
#include "testing/RecordingRender.h"

#include <numbers>

using namespace slice_test;

namespace {

MFrame<float> FrameAt(float z, float normalZ = 1.0f) {
  return MFrame<float>({-50, -50, z}, {100, 0, 0}, {0, 100, 0}, {0, 0, normalZ});
}

double Area(const std::vector<IVVertexPN>& v) {
  double area = 0;
  for (std::size_t i = 0; i + 2 < v.size(); i += 3) {
    const MMPoint3d<double> a(v[i].x, v[i].y, v[i].z), b(v[i + 1].x, v[i + 1].y, v[i + 1].z),
        c(v[i + 2].x, v[i + 2].y, v[i + 2].z);
    area += (b - a).Cross(c - a).Length() / 2;
  }
  return area;
}

// Every triangle faces along its vertices' normal, the plane's -N.
void ExpectFacing(const std::vector<IVVertexPN>& v, const MMPoint3d<double>& face) {
  for (std::size_t i = 0; i + 2 < v.size(); i += 3) {
    const MMPoint3d<double> a(v[i].x, v[i].y, v[i].z), b(v[i + 1].x, v[i + 1].y, v[i + 1].z),
        c(v[i + 2].x, v[i + 2].y, v[i + 2].z);
    EXPECT_GE((b - a).Cross(c - a).Dot(face), 0.0) << "triangle " << i / 3;
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(MMPoint3d<double>(v[i + k].nx, v[i + k].ny, v[i + k].nz), face);
  }
}

std::shared_ptr<MStlBase> Shared(std::unique_ptr<MStlBase> mesh) { return std::shared_ptr<MStlBase>(std::move(mesh)); }

}  // namespace

TEST(UIStlObject, BoxIsInSceneUnitsAndRenderDrawsFlatTrianglesInItsMaterial) {
  UIStlObject object(Shared(MStlPrimitives::MakeBox({-1, -2, -3}, {1, 2, 3})));
  M3DBoundingBox<float> box;
  object.GetBoundingBox(box, UIObject::kAllScenes);
  EXPECT_EQ(box.Min(), MMPoint3d<float>(-1, -2, -3));
  EXPECT_EQ(box.Max(), MMPoint3d<float>(1, 2, 3));

  MMaterial material;
  material.SetDiffuse(0xFF204080u);
  object.SetMaterial(material);
  object.SetAlpha(0.5f);
  EXPECT_EQ(object.GetRenderMaterial().GetDiffuse(), 0x80204080u);

  RecordingRender render;
  const COLORREF before = render.GetMaterial().GetDiffuse();
  object.Render(render, MCoordinateSystem());
  const auto draws = render.CallsOf(ERenderCall::DrawVertices);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].diffuse, 0x80204080u);
  EXPECT_TRUE(draws[0].flags[0]);  // lit
  EXPECT_EQ(render.GetMaterial().GetDiffuse(), before);

  const auto batches = render.Batches<IVVertexPN>();
  ASSERT_EQ(batches.size(), 1u);
  ASSERT_EQ(batches[0].vertices.size(), 36u);
  for (std::size_t i = 0; i < 36; i += 3) {
    const IVVertexPN* v = &batches[0].vertices[i];
    const MMPoint3d<float> n(v[0].nx, v[0].ny, v[0].nz);
    const MMPoint3d<float> a(v[0].x, v[0].y, v[0].z), b(v[1].x, v[1].y, v[1].z), c(v[2].x, v[2].y, v[2].z);
    EXPECT_NEAR(n.Length(), 1.0f, 1e-6f);
    EXPECT_GT((b - a).Cross(c - a).Dot(n), 0.0f);
    for (const MMPoint3d<float>& p : {a, b, c}) {
      EXPECT_EQ(std::fabs(p.x), 1.0f);
      EXPECT_EQ(std::fabs(p.y), 2.0f);
      EXPECT_EQ(std::fabs(p.z), 3.0f);
    }
  }
  EXPECT_EQ(object.GetStl(), object.GetStlShared().get());
}

TEST(UIStlObject, RecordsOnceAndAgainAfterTheMeshIsEdited) {
  auto mesh = Shared(MStlPrimitives::MakeBox({0, 0, 0}, {1, 1, 1}));
  UIStlObject object(mesh);
  UIStlObject copy(object);  // shares the mesh
  EXPECT_EQ(copy.GetStl(), mesh.get());
  RecordingRender render;
  object.Render(render, MCoordinateSystem());
  object.Render(render, MCoordinateSystem());
  for (const RenderCall& c : render.CallsOf(ERenderCall::DrawBatches)) EXPECT_EQ(c.count, 36u);

  MStlBuilder more;
  AddBox(more, {2, 2, 2}, {3, 3, 3}, false);
  more.AppendTo(*mesh);
  render.Clear();
  object.Render(render, MCoordinateSystem());
  copy.Render(render, MCoordinateSystem());
  const auto draws = render.CallsOf(ERenderCall::DrawBatches);
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0].count, 72u);
  EXPECT_EQ(draws[1].count, 72u);

  UIStlObject empty;
  render.Clear();
  empty.Render(render, MCoordinateSystem());
  EXPECT_TRUE(render.Calls().empty());
  M3DBoundingBox<float> box;
  empty.GetBoundingBox(box, UIObject::kAllScenes);
  EXPECT_FALSE(box.IsValid());
}

TEST(UISurfaceSection, SphereCapCoversTheCircleAndFacesAgainstThePlaneNormal) {
  UIStlObject sphere(Shared(MStlPrimitives::MakeUvSphere({0, 0, 0}, 10, 128, 64)));
  for (float z : {0.0f, 6.0f}) {
    SCOPED_TRACE(z);
    UISurfaceSection face;
    MFrame<float> frame = FrameAt(z);
    ASSERT_TRUE(face.Setup(&sphere, frame, 0));
    EXPECT_TRUE(face.IsSetUp());
    EXPECT_EQ(face.GetParent(), &sphere);
    const double r2 = 100.0 - double(z) * z;
    // A 128-gon inscribed in the circle falls short of it by 0.04 %.
    EXPECT_NEAR(Area(face.GetTriangles()), std::numbers::pi * r2, 0.002 * std::numbers::pi * r2);
    ExpectFacing(face.GetTriangles(), {0, 0, -1});
    M3DBoundingBox<float> box;
    face.GetBoundingBox(box, UIObject::kAllScenes);
    EXPECT_NEAR(box.xmax, std::sqrt(r2), 0.01);
    EXPECT_NEAR(box.ymin, -std::sqrt(r2), 0.01);
    EXPECT_NEAR(box.zmin, z, 1e-6);
    EXPECT_NEAR(box.zmax, z, 1e-6);
  }

  // A plane normal the other way keeps the other half; the face turns round with it.
  UISurfaceSection flipped;
  MFrame<float> down = FrameAt(0, -1);
  ASSERT_TRUE(flipped.Setup(&sphere, down, 1));
  ExpectFacing(flipped.GetTriangles(), {0, 0, 1});
}

TEST(UISurfaceSection, HolesAndIslandsFollowTheOddWindingRule) {
  // A torus cut at its equator: the ring between the radii 7 and 13, the hole left open.
  UIStlObject torus(Shared(MStlPrimitives::MakeTorus({0, 0, 0}, 10, 3, 128, 32)));
  UISurfaceSection ring;
  MFrame<float> frame = FrameAt(0);
  ASSERT_TRUE(ring.Setup(&torus, frame, 0));
  const double ringArea = std::numbers::pi * (13.0 * 13.0 - 7.0 * 7.0);
  EXPECT_NEAR(Area(ring.GetTriangles()), ringArea, 0.003 * ringArea);
  const auto& v = ring.GetTriangles();
  for (std::size_t i = 0; i + 2 < v.size(); i += 3) {
    const double cx = (v[i].x + v[i + 1].x + v[i + 2].x) / 3, cy = (v[i].y + v[i + 1].y + v[i + 2].y) / 3;
    const double r = std::hypot(cx, cy);
    EXPECT_TRUE(r > 6.9 && r < 13.0) << "triangle centre at radius " << r;
  }
  ExpectFacing(v, {0, 0, -1});

  // A hollow box (a cavity wound inwards) with a solid box floating in the cavity: square
  // ring plus island, 10x10 - 4x4 + 2x2.
  MStlBuilder b;
  AddBox(b, {-5, -5, -5}, {5, 5, 5}, false);
  AddBox(b, {-2, -2, -2}, {2, 2, 2}, true);
  AddBox(b, {-1, -1, -1}, {1, 1, 1}, false);
  UIStlObject nested(Shared(b.Build()));
  UISurfaceSection face;
  MFrame<float> tilted({0, 0, 0.5f}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
  ASSERT_TRUE(face.Setup(&nested, tilted, 0));
  EXPECT_NEAR(Area(face.GetTriangles()), 100 - 16 + 4, 1e-3);
  ExpectFacing(face.GetTriangles(), {0, 0, -1});
}

TEST(UISurfaceSection, RenderDrawsTheFaceInTheParentsMaterialAndRestoresTheRenderers) {
  UIStlObject cube(Shared(MStlPrimitives::MakeBox({-1, -1, -1}, {1, 1, 1})));
  MMaterial inside;
  inside.SetDiffuse(0xFF00A0FFu);
  cube.SetMaterial(inside);
  std::unique_ptr<UISurface> surface(UISurfaceSection::Create());
  MFrame<float> frame = FrameAt(0.25f);
  ASSERT_TRUE(surface->Setup(&cube, frame, 0));

  RecordingRender render;
  MMaterial current;
  current.SetDiffuse(0xFF112233u);
  render.SetMaterial(current);
  render.Clear();
  surface->Render(render, MCoordinateSystem());
  surface->Render(render, MCoordinateSystem());
  const auto draws = render.CallsOf(ERenderCall::DrawVertices);
  ASSERT_EQ(draws.size(), 2u);
  for (const RenderCall& d : draws) {
    EXPECT_EQ(d.diffuse, 0xFF00A0FFu);
    EXPECT_TRUE(d.flags[0]);
  }
  EXPECT_EQ(render.GetMaterial().GetDiffuse(), 0xFF112233u);
  const auto batches = render.Batches<IVVertexPN>();
  ASSERT_EQ(batches.size(), 2u);
  EXPECT_NEAR(Area(batches[0].vertices), 4.0, 1e-6);
  for (const IVVertexPN& v : batches[0].vertices) EXPECT_EQ(v.z, 0.25f);

  // A copy draws the same face.
  UISurfaceSection copy(*static_cast<UISurfaceSection*>(surface.get()));
  EXPECT_EQ(copy.GetTriangles().size(), batches[0].vertices.size());
  render.Clear();
  copy.Render(render, MCoordinateSystem());
  EXPECT_EQ(render.CountOf(ERenderCall::DrawVertices), 1u);
}

TEST(UISurfaceSection, NoFaceWithoutAMeshParentAClosedSectionOrAPlane) {
  UIStlObject cube(Shared(MStlPrimitives::MakeBox({-1, -1, -1}, {1, 1, 1})));
  UIStlObject patch(Shared(MStlPrimitives::MakePlanePatch({-1, -1, 0}, {2, 0, 0}, {0, 2, 0}, 2, 2)));
  UIStlObject meshless;
  UIObjectMedical plain;
  MFrame<float> middle = FrameAt(0);
  MFrame<float> sideways({0.5f, -5, -5}, {0, 10, 0}, {0, 0, 10}, {1, 0, 0});
  MFrame<float> above = FrameAt(5);
  MFrame<float> flat({0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 0, 0});

  UISurfaceSection face;
  ASSERT_TRUE(face.Setup(&cube, middle, 0));
  EXPECT_FALSE(face.Setup(nullptr, middle, 0));
  EXPECT_FALSE(face.Setup(&plain, middle, 0));
  EXPECT_FALSE(face.Setup(&meshless, middle, 0));
  EXPECT_FALSE(face.Setup(&patch, sideways, 0));  // open section: no cap
  EXPECT_FALSE(face.Setup(&cube, above, 0));
  EXPECT_FALSE(face.Setup(&cube, flat, 0));
  EXPECT_FALSE(face.Setup(&cube, middle, 2));  // back faces instead of a face
  EXPECT_FALSE(face.IsSetUp());
  EXPECT_TRUE(face.GetTriangles().empty());

  RecordingRender render;
  face.Render(render, MCoordinateSystem());
  EXPECT_TRUE(render.Calls().empty());
  M3DBoundingBox<float> box;
  face.GetBoundingBox(box, UIObject::kAllScenes);
  EXPECT_FALSE(box.IsValid());
}
