// The textured plane container: which triangles (marked ones, then the compact array),
// positions with and without the IE scale, normals of both kinds, and texture
// coordinates through the plane matrix's inverse.
#include "ContainerTestSupport.h"
#include "vistal/containers/IVVertexContainerTexturedPlane.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

void ExpectVertex(const IVVertexPNT& v, float x, float y, float z, float nx, float ny, float nz) {
  EXPECT_EQ(v.x, x);
  EXPECT_EQ(v.y, y);
  EXPECT_EQ(v.z, z);
  EXPECT_FLOAT_EQ(v.nx, nx);
  EXPECT_FLOAT_EQ(v.ny, ny);
  EXPECT_FLOAT_EQ(v.nz, nz);
}

TEST(VertexContainerTexturedPlane, DrawsMarkedTrianglesThenEveryCompactRecord) {
  RecordingRender render;
  // A faces +z, B faces (0.6, 0, 0.8), C faces -y.
  std::unique_ptr<MStlBase> mesh = MeshOfTriangles({25, 10, 7, 50, 0, 7, 0, 50, 7,       //
                                         0, 0, 0, 40, 0, -30, 0, 10, 0,        //
                                         0, 0, 0, 10, 0, 0, 0, 0, 10});
  Triangles(*mesh)[1]->SetMarked(true);
  Triangles(*mesh)[2]->flags = 0x7fffffffu;  // every bit but the marker
  IVVertexContainerTexturedPlane container(mesh.get());
  container.SetParams(MMTransformMatrix(), 1, 1, 100, 50, false);
  DrawNow(container, render);

  const std::vector<IVVertexPNT> v = DrawnVertices<IVVertexPNT>(render);
  ASSERT_EQ(v.size(), 12u);
  EXPECT_EQ(render.CountOf(ERenderCall::DrawVertices), 1u);
  // The marked triangle with its stored normal...
  ExpectVertex(v[0], 0, 0, 0, 0.6f, 0, 0.8f);
  ExpectVertex(v[1], 40, 0, -30, 0.6f, 0, 0.8f);
  // ...then all three records with normals of 127ths.
  ExpectVertex(v[3], 25, 10, 7, 0, 0, 1);
  ExpectVertex(v[6], 0, 0, 0, 76 / 127.0f, 0, 102 / 127.0f);
  ExpectVertex(v[10], 10, 0, 0, 0, -1, 0);
  ExpectVertex(v[11], 0, 0, 10, 0, -1, 0);

  // Nothing marked and no records, or no mesh: nothing drawn.
  MStlBase empty;
  for (MStlBase* m : {&empty, static_cast<MStlBase*>(nullptr)}) {
    IVVertexContainerTexturedPlane none(m);
    DrawNow(none, render);
    EXPECT_TRUE(render.Calls().empty());
  }
}

TEST(VertexContainerTexturedPlane, ProjectsVerticesThroughThePlaneInverse) {
  RecordingRender render;
  std::unique_ptr<MStlBase> mesh = MeshOfTriangles({25, 10, 7, 50, 0, 7, 0, 50, 7});
  IVVertexContainerTexturedPlane container(mesh.get());

  container.SetParams(MMTransformMatrix(), 1, 1, 100, 50, false);
  DrawNow(container, render);
  std::vector<IVVertexPNT> v = DrawnVertices<IVVertexPNT>(render);
  ASSERT_EQ(v.size(), 3u);
  EXPECT_FLOAT_EQ(v[0].u, 0.25f);
  EXPECT_FLOAT_EQ(v[0].v, 0.8f);
  EXPECT_FLOAT_EQ(v[2].u, 0.0f);
  EXPECT_FLOAT_EQ(v[2].v, 0.0f);

  // The same corner stored ten times finer and scaled back by IE.
  {
    ScopedIE scale(10);
    std::unique_ptr<MStlBase> fine = MeshOfTriangles({250, 100, 70, 500, 0, 70, 0, 500, 70});
    IVVertexContainerTexturedPlane scaled(fine.get());
    scaled.SetParams(MMTransformMatrix(), 1, 1, 100, 50, true);
    DrawNow(scaled, render);
    const std::vector<IVVertexPNT> w = DrawnVertices<IVVertexPNT>(render);
    ASSERT_EQ(w.size(), 3u);
    ExpectVertex(w[0], 25, 10, 7, 0, 0, 1);
    EXPECT_EQ(w[0].u, v[0].u);
    EXPECT_EQ(w[0].v, v[0].v);
  }

  // Plane coordinates scaled by 0.5 and moved by (5, -10): (25, 10) lies at (40, 40) on
  // the plane; the texture range is 2 in u and 3 in v.
  container.SetParams(Matrix({0.5, 0, 0, 5, 0, 0.5, 0, -10, 0, 0, 1, 0, 0, 0, 0, 1}), 2, 3, 100, 50, false);
  DrawNow(container, render);
  v = DrawnVertices<IVVertexPNT>(render);
  ASSERT_EQ(v.size(), 3u);
  EXPECT_FLOAT_EQ(v[0].u, 0.8f);
  EXPECT_FLOAT_EQ(v[0].v, 3.0f - 2.4f);
}

TEST(VertexContainerTexturedPlane, VerticesThatDoNotMapKeepThePreviousPlanePoint) {
  RecordingRender render;
  std::unique_ptr<MStlBase> mesh = MeshOfTriangles({25, 10, 7, 50, 0, 7, -7, 50, 7});
  Triangles(*mesh)[0]->SetMarked(true);
  IVVertexContainerTexturedPlane container(mesh.get());

  // No inverse at all: every vertex at the plane's origin.
  const MMTransformMatrix flat = Matrix({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
  ASSERT_FALSE(flat.IsInverseValid());
  container.SetParams(flat, 1, 0.75f, 100, 50, false);
  DrawNow(container, render);
  std::vector<IVVertexPNT> v = DrawnVertices<IVVertexPNT>(render);
  ASSERT_EQ(v.size(), 6u);
  for (const IVVertexPNT& p : v) {
    EXPECT_EQ(p.u, 0.0f);
    EXPECT_EQ(p.v, 0.75f);
  }

  // A projective plane whose inverse weighs a vertex by x + z: the third corner has
  // weight 0 and takes the plane point of the second, (50 / 57, 0).
  MMTransformMatrix projective = Matrix({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1, 0, 1, 0});
  ASSERT_TRUE(projective.Invert());
  container.SetParams(projective, 1, 1, 1, 1, false);
  DrawNow(container, render);
  v = DrawnVertices<IVVertexPNT>(render);
  ASSERT_EQ(v.size(), 6u);
  EXPECT_FLOAT_EQ(v[0].u, 25.0f / 32.0f);
  EXPECT_FLOAT_EQ(v[1].u, 50.0f / 57.0f);
  EXPECT_FLOAT_EQ(v[2].u, v[1].u);
  EXPECT_FLOAT_EQ(v[2].v, v[1].v);
  EXPECT_FLOAT_EQ(v[3].u, 25.0f / 32.0f);  // the compact pass maps anew
}

}  // namespace
