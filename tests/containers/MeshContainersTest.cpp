// The animation containers: displaced positions, stored face normals, traversal order,
// and the split of a mesh's triangles between the untextured and the textured container.
#include "ContainerTestSupport.h"
#include "host/mesh/MStlTexture.h"
#include "host/mesh/MStlTextureFactory.h"
#include "vistal/containers/IVVertexContainerStlDataAnimation.h"
#include "vistal/containers/IVVertexContainerStlDataTexturedAnimation.h"
#include "vistal/masks/MDataMask.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The mesh's own displacement mask, with access by point number for the tests.
class Displacements : public MStlVectorMaskPoints {
public:
  explicit Displacements(MStlBase& mesh) : MStlVectorMaskPoints(mesh), m_mesh(mesh) {}
  MMPoint3d<float>& operator[](unsigned i) { return GetInfo(m_mesh.GetPoint(i)); }

private:
  MStlBase& m_mesh;
};

// Three triangles fanned around point 0 at (10, 0, 0), not coplanar, so each has its own
// normal. Triangle 2 sits on a sub-feature whose surface is added first: the traversal
// still visits it last.
std::unique_ptr<MStlBase> Fan() {
  MStlBuilder b;
  const std::int32_t xyz[] = {10, 0, 0, 0, 10, 0, 0, 0, 10, 0, -10, 0, 10, 10, 10};
  b.AddPointsInUnits(xyz);
  const auto sub = b.AddFeature();
  const std::uint32_t third[] = {0, 4, 1};
  b.AddSurface(third, sub);
  const std::uint32_t firstTwo[] = {0, 1, 2, 0, 2, 3};
  b.AddSurface(firstTwo);
  return b.Build();
}

// Position and normal of drawn vertex i against a triangle's corner.
template <typename V>
void ExpectCorner(const V& v, float x, float y, float z, const MStlTriangle& t) {
  EXPECT_EQ(v.x, x);
  EXPECT_EQ(v.y, y);
  EXPECT_EQ(v.z, z);
  EXPECT_EQ(v.nx, t.normal[0]);
  EXPECT_EQ(v.ny, t.normal[1]);
  EXPECT_EQ(v.nz, t.normal[2]);
}

TEST(VertexContainerStlDataAnimation, MovesPointsByScaledDisplacementKeepingFaceNormals) {
  RecordingRender render;
  std::unique_ptr<MStlBase> mesh = Fan();
  const auto tris = Triangles(*mesh);
  Displacements d(*mesh);
  d[0] = {2, 4, -6};
  IVVertexContainerStlDataAnimation container(mesh.get(), &d);
  container.SetSkipTextures(false);

  // At rest every position is the point's integer coordinates.
  container.SetAnimationScale(0.0f);
  DrawNow(container, render);
  std::vector<IVVertexPN> v = DrawnVertices<IVVertexPN>(render);
  ASSERT_EQ(v.size(), 9u);
  for (int i = 0; i < 9; ++i) {
    const MStlPoint& p = *tris[i / 3]->points[i % 3];
    ExpectCorner(v[i], float(p.x), float(p.y), float(p.z), *tris[i / 3]);
  }

  container.SetAnimationScale(0.5f);
  DrawNow(container, render);
  v = DrawnVertices<IVVertexPN>(render);
  ASSERT_EQ(v.size(), 9u);
  // Point 0 is corner 0 of every triangle: one position, three different normals.
  for (int t = 0; t < 3; ++t) ExpectCorner(v[3 * t], 11, 2, -3, *tris[t]);
  EXPECT_NE(tris[0]->normal[1], tris[1]->normal[1]);
  ExpectCorner(v[1], 0, 10, 0, *tris[0]);  // an undisplaced point stays put
  // Traversal order: the root's surface (triangles 0 and 1) before the sub-feature's.
  EXPECT_EQ(v[8].x, 0.0f);
  EXPECT_EQ(v[8].y, 10.0f);
  EXPECT_EQ(v[7].x, 10.0f);
  EXPECT_EQ(v[7].z, 10.0f);
  EXPECT_EQ(render.Batches<IVVertexPN>().at(0).primitive, EPrimitive::Triangles);
}

TEST(VertexContainerStlDataAnimation, RoundsTheDisplacedCoordinateOnce) {
  RecordingRender render;
  // 2^24 + 1 has no float; adding the half exactly before rounding gives 2^24 + 2,
  // rounding the integer to float first would give 2^24.
  std::unique_ptr<MStlBase> mesh = MeshOfTriangles({16777217, 0, 0, 0, 1, 0, 0, 0, 1});
  Displacements d(*mesh);
  d[0] = {1, 0, 0};
  IVVertexContainerStlDataAnimation container(mesh.get(), &d);
  container.SetAnimationScale(0.5f);
  DrawNow(container, render);
  ASSERT_EQ(DrawnVertices<IVVertexPN>(render).size(), 3u);
  EXPECT_EQ(DrawnVertices<IVVertexPN>(render)[0].x, 16777218.0f);
}

TEST(VertexContainerStlDataAnimation, SkipsOnlyTrianglesOfTheFirstTextureWhenAsked) {
  RecordingRender render;
  std::unique_ptr<MStlBase> mesh = Fan();
  const auto tris = Triangles(*mesh);
  Displacements d(*mesh);
  IVVertexContainerStlDataAnimation container(mesh.get(), &d);
  container.SetSkipTextures(true);

  // No textures at all: everything is drawn, and drawing adds no texture factory.
  DrawNow(container, render);
  EXPECT_EQ(DrawnVertices<IVVertexPN>(render).size(), 9u);
  EXPECT_EQ(static_cast<const MStlBase&>(*mesh).GetTextureFactory(), nullptr);

  MStlTextureFactory* factory = mesh->GetTextureFactory(true);
  MStlTexture* first = factory->AddTexture();
  MStlTexture* second = factory->AddTexture();
  first->SetCoordinates(tris[1], MStlTextureCoordinates(0, 1, 0, 0, 0, 1));
  second->SetCoordinates(tris[2], MStlTextureCoordinates(0, 1, 0, 0, 0, 1));

  DrawNow(container, render);
  std::vector<IVVertexPN> v = DrawnVertices<IVVertexPN>(render);
  ASSERT_EQ(v.size(), 6u);  // triangle 1 left out; the second texture does not count
  ExpectCorner(v[0], 10, 0, 0, *tris[0]);
  ExpectCorner(v[4], 10, 10, 10, *tris[2]);

  container.SetSkipTextures(false);
  DrawNow(container, render);
  EXPECT_EQ(DrawnVertices<IVVertexPN>(render).size(), 9u);

  // The textured partner draws exactly the left-out triangle, with its coordinates.
  IVVertexContainerStlDataTexturedAnimation textured(mesh.get(), &d, first);
  DrawNow(textured, render);
  std::vector<IVVertexPNT> t = DrawnVertices<IVVertexPNT>(render);
  ASSERT_EQ(t.size(), 3u);
  ExpectCorner(t[0], 10, 0, 0, *tris[1]);
  ExpectCorner(t[1], 0, 0, 10, *tris[1]);
  ExpectCorner(t[2], 0, -10, 0, *tris[1]);
}

TEST(VertexContainerStlDataAnimation, MissingDisplacementsOrTextureDrawNothing) {
  RecordingRender render;
  std::unique_ptr<MStlBase> mesh = Fan();
  Displacements d(*mesh);
  MStlTexture* texture = mesh->GetTextureFactory(true)->AddTexture();
  IVVertexContainerStlDataAnimation noMask(mesh.get(), nullptr);
  IVVertexContainerStlDataTexturedAnimation noTexture(mesh.get(), &d, nullptr), noMask2(mesh.get(), nullptr, texture);
  DrawNow(noMask, render);
  EXPECT_TRUE(render.Calls().empty());
  for (auto* c : {&noTexture, &noMask2}) {
    DrawNow(*c, render);
    EXPECT_TRUE(render.Calls().empty());
  }
}

TEST(VertexContainerStlDataTexturedAnimation, DrawsTheTextureListWithPerCornerCoordinates) {
  RecordingRender render;
  std::unique_ptr<MStlBase> mesh = Fan();
  const auto tris = Triangles(*mesh);
  Displacements d(*mesh);
  d[0] = {2, 4, -6};
  MStlTexture* texture = mesh->GetTextureFactory(true)->AddTexture();
  IVVertexContainerStlDataTexturedAnimation container(mesh.get(), &d, texture);
  container.SetAnimationScale(0.5f);

  // A texture without triangles draws nothing.
  DrawNow(container, render);
  EXPECT_TRUE(render.Calls().empty());

  // Mapped in reverse, drawn in traversal order; the list follows the mapping.
  texture->SetCoordinates(tris[2], MStlTextureCoordinates(0.7f, 0.8f, 0.9f, 0.4f, 0.5f, 0.6f));
  texture->SetCoordinates(tris[0], MStlTextureCoordinates(0.1f, 0.2f, 0.3f, 0.6f, 0.5f, 0.4f));
  DrawNow(container, render);
  std::vector<IVVertexPNT> v = DrawnVertices<IVVertexPNT>(render);
  ASSERT_EQ(v.size(), 6u);
  ExpectCorner(v[0], 11, 2, -3, *tris[0]);
  ExpectCorner(v[3], 11, 2, -3, *tris[2]);
  const float u[] = {0.1f, 0.2f, 0.3f, 0.7f, 0.8f, 0.9f};
  const float w[] = {0.6f, 0.5f, 0.4f, 0.4f, 0.5f, 0.6f};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(v[i].u, u[i]) << i;
    EXPECT_EQ(v[i].v, w[i]) << i;
  }

  // Static mode: a new scale replaces what was recorded.
  container.SetModeDynamic(false);
  render.Clear();
  container.Render(render);
  container.SetAnimationScale(0.0f);
  render.Clear();
  container.Render(render);
  EXPECT_EQ(DrawnVertices<IVVertexPNT>(render).at(0).x, 10.0f);
}

}  // namespace
