// The mesh model: how the builder lays meshes out, the traversal order, and the caches
// (triangle count, compact array, bounding box) around edits.
#include "MeshTestSupport.h"

#include "host/mesh/MStlBuilder.h"
#include "host/mesh/MStlPrimitives.h"

#include <gmock/gmock.h>

#include <cmath>
#include <stdexcept>

using mesh_test::TraversalOrder;
using ::testing::HasSubstr;

namespace {

// n points with x = 0..n-1 units, so a triangle's first corner's x names it.
MStlBuilder BuilderWithLabelledPoints(std::uint32_t n) {
  MStlBuilder b;
  std::vector<std::int32_t> xyz;
  for (std::uint32_t i = 0; i < n; ++i) xyz.insert(xyz.end(), {std::int32_t(i), std::int32_t(i % 7), std::int32_t(i % 3)});
  b.AddPointsInUnits(xyz);
  return b;
}

std::vector<int> Labels(const MStlBase& mesh) {
  std::vector<int> labels;
  for (const MStlTriangle* t : TraversalOrder(mesh)) labels.push_back(t->points[0]->x);
  return labels;
}

// Appends a triangle at (5, 5, 5)-(6, 5, 5)-(5, 6, 5): points 8 to 10 after a box; with
// `lid` once more, on a new feature.
void AppendTriangle(MStlBase& mesh, bool lid) {
  MStlBuilder more;
  const float xyz[] = {5, 5, 5, 6, 5, 5, 5, 6, 5};
  more.AddPoints(std::span<const float>(xyz));
  const std::uint32_t one[] = {0, 1, 2};
  if (lid) more.AddSurface(one);
  more.AddSurface(one, lid ? more.AddFeature() : MStlBuilder::kRootFeature);
  more.AppendTo(mesh);
}

template <typename F>
void ExpectInvalidArgument(F&& f, const std::string& text) {
  try {
    f();
    ADD_FAILURE() << "no exception; expected one saying: " << text;
  } catch (const std::invalid_argument& e) {
    EXPECT_THAT(e.what(), HasSubstr(text));
  }
}

}  // namespace

TEST(MeshModel, BuilderWeldsByIndexAndLaysTrianglesOutInListOrder) {
  MStlBuilder b;
  const float xyz[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
  EXPECT_EQ(b.AddPoints(std::span<const float>(xyz)), 0u);
  const std::uint32_t quad[] = {0, 1, 2, 0, 2, 3};
  b.AddSurface(quad);
  const auto mesh = b.Build();

  ASSERT_EQ(mesh->GetNumPoints(), 4u);
  EXPECT_EQ(mesh->GetPoint(1).x, 1000) << "scene millimetres become micrometres";
  const MStlSurface* s = mesh->GetRootFeature()->GetSurface(0);
  ASSERT_EQ(s->numTriangles, 2u);
  const MStlTriangle* t0 = s->first;
  const MStlTriangle* t1 = t0->next;
  EXPECT_EQ(t1, t0 + 1) << "list order is memory order";
  EXPECT_EQ(t1->next, nullptr);
  EXPECT_EQ(t0->points[0], t1->points[0]) << "shared index, shared point";
  EXPECT_EQ(t0->points[2], t1->points[1]);
  EXPECT_EQ(t0->surface, s);
  EXPECT_EQ(s->mesh, mesh.get());
  EXPECT_EQ(t1->GetMaskIndex(), 1u);
  EXPECT_EQ(mesh->GetPoint(3).GetMaskIndex(), 3u);
  for (const MStlTriangle* t : {t0, t1}) {
    EXPECT_FLOAT_EQ(t->normal[2], 1.0f);
    EXPECT_FLOAT_EQ(t->normal[0], 0.0f);
  }
  EXPECT_THROW(mesh->GetPoint(4), std::out_of_range);
}

TEST(MeshModel, BuilderRejectsBadInputNamingItAndAddsNothing) {
  MStlBuilder b;
  const float good[] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  b.AddPoints(std::span<const float>(good));

  const float nan[] = {0, 0, 0, 0, std::nanf(""), 0};
  ExpectInvalidArgument([&] { b.AddPoints(std::span<const float>(nan)); }, "point 4 has a NaN or infinite y");
  const float huge[] = {3.0e6f, 0, 0};  // 3e9 micrometres
  ExpectInvalidArgument([&] { b.AddPoints(std::span<const float>(huge)); }, "beyond the 32-bit integer range");
  const float partial[] = {1, 2};
  ExpectInvalidArgument([&] { b.AddPoints(std::span<const float>(partial)); }, "3 coordinates per point");
  EXPECT_EQ(b.GetNumPoints(), 3u);

  const std::uint32_t outOfRange[] = {0, 1, 2, 0, 2, 3};
  ExpectInvalidArgument([&] { b.AddSurface(outOfRange); }, "triangle 1, corner 2 uses point 3 but there are only 3");
  const std::uint32_t notWhole[] = {0, 1};
  ExpectInvalidArgument([&] { b.AddSurface(notWhole); }, "3 point indices per triangle");
  ExpectInvalidArgument([&] { b.AddSurface({}, 5); }, "unknown feature 5");
  ExpectInvalidArgument([&] { b.AddFeature(2); }, "unknown parent feature 2");

  const auto mesh = b.Build();
  EXPECT_EQ(mesh->GetRootFeature(), nullptr) << "no surface or feature was accepted";
  EXPECT_EQ(mesh->GetNumTriangles(), 0u);
}

TEST(MeshModel, NormalsAreUnitLengthAndZeroForDegenerateTriangles) {
  MStlBuilder b;
  const std::int32_t xyz[] = {0, 0, 0, 3, 0, 0, 0, 0, 4, 6, 0, 0};
  b.AddPointsInUnits(xyz);
  const std::uint32_t corners[] = {0, 1, 2, 0, 1, 3, 2, 2, 2};  // proper, collinear, all one point
  b.AddSurface(corners);
  const auto mesh = b.Build();
  const auto order = TraversalOrder(*mesh);
  ASSERT_EQ(order.size(), 3u);
  EXPECT_FLOAT_EQ(order[0]->normal[1], -1.0f);
  for (const MStlTriangle* t : {order[1], order[2]})
    EXPECT_TRUE(t->normal[0] == 0 && t->normal[1] == 0 && t->normal[2] == 0);
}

TEST(MeshModel, TraversalVisitsSurfacesThenSubFeaturesDepthFirstSkippingEmptySurfaces) {
  MStlBuilder b = BuilderWithLabelledPoints(40);
  auto tri = [](std::uint32_t label) { return std::vector<std::uint32_t>{label, label + 1, label + 2}; };
  // Made in an order unlike the traversal, to show that the tree decides.
  const auto a = b.AddFeature();             // root/0
  b.AddSurface(tri(10), a);                  // a: surface 0
  b.AddSurface(tri(1));                      // root: surface 0
  const auto ab = b.AddFeature(a);           // a/0
  const auto c = b.AddFeature();             // root/1
  b.AddSurface(tri(30), c);
  b.AddSurface({});                          // root: surface 1, empty
  b.AddSurface(tri(20), ab);
  std::vector<std::uint32_t> two = tri(11);
  two.insert(two.end(), {12, 13, 14});
  b.AddSurface(two, a);                      // a: surface 1, two triangles
  b.AddSurface(tri(2));                      // root: surface 2
  const auto mesh = b.Build();

  EXPECT_EQ(Labels(*mesh), (std::vector<int>{1, 2, 10, 11, 12, 20, 30}));
  EXPECT_EQ(mesh->GetNumTriangles(), 7u) << "the count is what the traversal visits";

  const MStlFeature* root = mesh->GetRootFeature();
  EXPECT_EQ(root->GetNumSurfaces(false), 3u);
  EXPECT_EQ(root->GetNumSurfaces(true), 7u);
  EXPECT_EQ(root->GetNumFeatures(false), 2u);
  EXPECT_EQ(root->GetNumFeatures(true), 3u);
  const MStlFeature* fa = root->GetFeature(0);
  const MStlFeature* fab = fa->GetFeature(0);
  EXPECT_EQ(fab->GetParent(), fa);
  EXPECT_EQ(root->GetFeature(1)->GetIndexInParent(), 1u);
  EXPECT_EQ(fab->GetSurface(0)->feature, fab);
  EXPECT_EQ(root->GetParent(), nullptr);

  // Memory follows the traversal, so a full pass is one forward sweep.
  const auto order = TraversalOrder(*mesh);
  for (std::size_t i = 1; i < order.size(); ++i) EXPECT_EQ(order[i], order[i - 1] + 1);
}

TEST(MeshModel, MeshesWithoutRootOrWithOnlyEmptySurfacesHaveNoTriangles) {
  MStlBase empty;
  EXPECT_EQ(empty.GetRootFeature(), nullptr);
  EXPECT_EQ(empty.GetNumTriangles(), 0u);
  EXPECT_TRUE(TraversalOrder(empty).empty());
  EXPECT_EQ(empty.GetCompactTriangleArray().GetCount(), 0u);
  EXPECT_TRUE(empty.GetBoundingBoxInUnits().empty);
  EXPECT_FALSE(empty.GetBoundingBox().IsValid());

  MStlBuilder b;
  b.AddSurface({});
  const auto hollow = b.Build();
  ASSERT_NE(hollow->GetRootFeature(), nullptr);
  EXPECT_EQ(hollow->GetRootFeature()->GetSurface(0)->first, nullptr);
  EXPECT_EQ(hollow->GetNumTriangles(), 0u);
  EXPECT_TRUE(TraversalOrder(*hollow).empty());
}

TEST(MeshModel, CompactArrayFollowsTraversalAcrossThePageBoundary) {
  // 64 x 65 cells of two triangles: 8320 triangles, two pages.
  const auto mesh = MStlPrimitives::MakePlanePatch({0, 0, 0}, {64, 0, 0}, {0, 65, 0}, 64, 65);
  const MStlCompactTriangleArray& compact = mesh->GetCompactTriangleArray();
  ASSERT_EQ(compact.GetCount(), 8320u);
  EXPECT_EQ(compact.GetNumPages(), 2u);
  const auto order = TraversalOrder(*mesh);
  for (std::uint32_t i : {0u, 8191u, 8192u, 8319u}) {
    SCOPED_TRACE(i);
    const MStlCompactTriangle& r = compact.At(i);
    EXPECT_EQ(&r, compact.GetPage(i / 8192) + i % 8192);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(r.corners[k], &order[i]->points[k]->x);
    EXPECT_EQ(r.normal[0], 0);
    EXPECT_EQ(r.normal[1], 0);
    EXPECT_EQ(r.normal[2], 127);
  }
  EXPECT_EQ(compact.At(8192).corners[1][1], order[8192]->points[1]->y) << "y follows x";
  EXPECT_EQ(MStlCompactTriangleArray::QuantiseNormal(-1.0f), -127);
  EXPECT_EQ(MStlCompactTriangleArray::QuantiseNormal(0.5f), 64);  // 63.5 rounds away from zero

  const MStlCompactTriangleArray copy = compact;
  EXPECT_EQ(copy.GetCount(), 8320u);
  EXPECT_EQ(copy.At(8300).corners[0], compact.At(8300).corners[0]);
  EXPECT_NE(copy.GetPage(1), compact.GetPage(1));
}

TEST(MeshModel, EditsMakeCountCompactArrayAndBoxStaleUntilAskedFor) {
  const auto mesh = MStlPrimitives::MakeBox({0, 0, 0}, {1, 2, 3});
  EXPECT_EQ(mesh->GetNumTriangles(), 12u);
  EXPECT_TRUE(mesh->GetProperties().IsNumTrianglesValid());
  const MStlCompactTriangleArray& compact = mesh->GetCompactTriangleArray();
  EXPECT_EQ(compact.GetCount(), 12u);
  EXPECT_EQ(mesh->GetBoundingBoxInUnits().max.z, 3000);
  const MStlPoint* firstPoint = &mesh->GetPoint(0);

  AppendTriangle(*mesh, true);

  EXPECT_FALSE(mesh->GetValidity().IsValid()) << "the edit is recorded";
  EXPECT_EQ(compact.GetCount(), 0u) << "the old compact array is dropped at once";
  EXPECT_EQ(mesh->GetNumTriangles(), 14u);
  EXPECT_TRUE(mesh->GetValidity().IsValid()) << "asking delivered the edit";
  EXPECT_EQ(mesh->GetCompactTriangleArray().GetCount(), 14u);
  EXPECT_EQ(mesh->GetBoundingBoxInUnits().max.x, 6000);
  EXPECT_FLOAT_EQ(mesh->GetBoundingBox().ymax, 6.0f);

  EXPECT_EQ(&mesh->GetPoint(0), firstPoint) << "appending never moves elements";
  EXPECT_EQ(mesh->GetNumPoints(), 11u);
  EXPECT_EQ(mesh->GetPoint(8).x, 5000);
  EXPECT_EQ(mesh->GetPoint(8).GetMaskIndex(), 8u);
  const MStlFeature* root = mesh->GetRootFeature();
  EXPECT_EQ(root->GetNumSurfaces(false), 2u);
  EXPECT_EQ(root->GetFeature(0)->GetIndexInParent(), 0u);
  EXPECT_EQ(mesh->GetSurface(2)->GetMaskIndex(), 2u);
  const auto order = TraversalOrder(*mesh);
  ASSERT_EQ(order.size(), 14u);
  EXPECT_EQ(order[12]->points[0], &mesh->GetPoint(8));
  EXPECT_EQ(order[13]->surface->feature, root->GetFeature(0));
  EXPECT_EQ(order[13]->GetMaskIndex(), 13u);
}

TEST(MeshModel, MovingPointsTurnsNormalsAndMakesTheCachesStale) {
  // Two blocks, so that the points are numbered across them.
  const auto mesh = MStlPrimitives::MakeBox({0, 0, 0}, {1, 1, 1});
  AppendTriangle(*mesh, false);
  ASSERT_EQ(mesh->GetNumPoints(), 11u);
  EXPECT_EQ(mesh->GetBoundingBoxInUnits().min.z, 0);
  const MStlPoint* firstPoint = &mesh->GetPoint(0);

  // Mirrored in z, the corners in the same order: each normal (x, y, z) becomes (-x, -y, z).
  std::vector<std::int32_t> xyz;
  for (std::uint32_t i = 0; i < mesh->GetNumPoints(); ++i) {
    const MStlPoint& p = mesh->GetPoint(i);
    xyz.insert(xyz.end(), {p.x, p.y, -p.z});
  }
  std::vector<MMPoint3d<float>> normals;
  for (const MStlTriangle* t : TraversalOrder(*mesh)) normals.emplace_back(-t->normal[0], -t->normal[1], t->normal[2]);
  MStlBuilder::MovePointsInUnits(*mesh, xyz);

  EXPECT_FALSE(mesh->GetValidity().IsValid()) << "the edit is recorded";
  EXPECT_EQ(&mesh->GetPoint(0), firstPoint) << "points move in place";
  EXPECT_EQ(mesh->GetPoint(10).z, -5000);
  EXPECT_EQ(mesh->GetBoundingBoxInUnits().min.z, -5000);
  const auto order = TraversalOrder(*mesh);
  ASSERT_EQ(order.size(), normals.size());
  for (std::size_t i = 0; i < order.size(); ++i)
    EXPECT_EQ(MMPoint3d<float>(order[i]->normal[0], order[i]->normal[1], order[i]->normal[2]), normals[i]) << i;

  const std::vector<std::int32_t> tooFew(30, 0);
  ExpectInvalidArgument([&] { MStlBuilder::MovePointsInUnits(*mesh, tooFew); },
                        "the mesh has 11 points, got 30 coordinates");
  for (std::uint32_t i = 0; i < 11; ++i) EXPECT_EQ(mesh->GetPoint(i).z, xyz[3 * i + 2]) << "nothing moved";
}

TEST(MeshModel, ValidityFieldsSpreadStalenessThroughTheirDependants) {
  MValidityField source, middle, leaf;
  source.AddDependant(middle);
  middle.AddDependant(leaf);
  middle.SetValid();
  leaf.SetValid();
  source._SpreadInvalidity();
  EXPECT_FALSE(middle.IsValid());
  EXPECT_FALSE(leaf.IsValid());

  leaf.SetValid();
  middle.RemoveDependant(leaf);
  source._SpreadInvalidity();
  EXPECT_TRUE(leaf.IsValid());

  const MValidityField copy = middle;  // state only, no links
  EXPECT_FALSE(copy.IsValid());
}
