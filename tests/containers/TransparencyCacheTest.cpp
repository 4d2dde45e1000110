// The transparency cache against the recording renderer: what is drawn, in which order,
// in which batches, with which states and colours.
#include "ContainerTestSupport.h"
#include "vistal/containers/IVTransparencyCache.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <tuple>
#include <vector>

namespace {

constexpr float kPi = 3.14159265358979f;

// A mesh of small triangles lying in planes z = const (integer units), one per depth,
// in the order given; each triangle's corners are (0, 0, z), (1000, 0, z), (0, 1000, z).
std::unique_ptr<MStlBase> Layers(const std::vector<int>& depths) {
  std::vector<std::int32_t> xyz;
  for (int z : depths) xyz.insert(xyz.end(), {0, 0, z, 1000, 0, z, 0, 1000, z});
  return MeshOfTriangles(xyz);
}

class TransparencyCacheTest : public ::testing::Test {
protected:
  RecordingRender render;
  IVTransparencyCache cache{&render};
  float eye[3] = {0.0f, 0.0f, -10000.0f};
  float direction[3] = {0.0f, 0.0f, 1.0f};  // larger z is farther

  void Add(MStlBase& mesh, COLORREF diffuse, IVTransparencyCache* into = nullptr) {
    MMaterial m;
    m.SetDiffuse(diffuse);
    render.SetMaterial(m);
    float e[3] = {eye[0], eye[1], eye[2]};
    float d[3] = {direction[0], direction[1], direction[2]};
    (into ? *into : cache).AddSTL(&mesh, e, d);
  }

  void Render() {
    render.Clear();
    cache.RenderStlTransparentPN(&render);
  }

  // The z of every triangle drawn, in drawing order.
  std::vector<int> DrawnDepths() const {
    std::vector<int> z;
    const std::vector<IVVertexPNC> v = DrawnVertices();
    for (std::size_t i = 0; i < v.size(); i += 3) z.push_back(int(v[i].z));
    return z;
  }

  std::vector<IVVertexPNC> DrawnVertices() const { return ::DrawnVertices<IVVertexPNC>(render); }

  void Turn(float degrees) {
    const float r = degrees * kPi / 180.0f;
    direction[0] = std::sin(r);
    direction[2] = std::cos(r);
  }
};

TEST_F(TransparencyCacheTest, RenderWithoutMeshesDrawsNothing) {
  Render();
  EXPECT_TRUE(render.Calls().empty()) << render.ToString();

  auto empty = std::make_unique<MStlBase>();
  Add(*empty, 0xFF0000FF);
  Render();
  EXPECT_EQ(render.CountOf(ERenderCall::BeginTransparency), 0u) << render.ToString();
  EXPECT_EQ(render.CountOf(ERenderCall::DrawVertices), 0u);
}

TEST_F(TransparencyCacheTest, InterleavedMeshesAreDrawnFarthestFirstInOneBatchWhenStatesAgree) {
  auto a = Layers({0, 2000});
  auto b = Layers({1000, 3000});
  Add(*a, 0x80000011);
  Add(*b, 0x40002200);
  Render();

  EXPECT_EQ(DrawnDepths(), (std::vector<int>{3000, 2000, 1000, 0}));
  // Only the front material differs, and it rides in the vertex colours: one batch.
  using K = ERenderCall;
  EXPECT_EQ(render.Kinds(), (std::vector<K>{K::BeginTransparency, K::RestoreState, K::ApplyTransparency,
                                            K::DrawVertices, K::EndTransparency}))
      << render.ToString();
  EXPECT_EQ(render.CallsOf(ERenderCall::RestoreState)[0].diffuse, 0x40002200u);  // the farthest mesh's state

  // Colours alternate with the meshes, alpha included; each triangle carries its normal.
  const std::vector<IVVertexPNC> v = DrawnVertices();
  ASSERT_EQ(v.size(), 12u);
  for (std::size_t i = 0; i < v.size(); ++i)
    EXPECT_EQ(std::tuple(v[i].r, v[i].g, v[i].a, v[i].nz),
              (i / 3) % 2 ? std::tuple(0x11, 0x00, 0x80, 1.0f) : std::tuple(0x00, 0x22, 0x40, 1.0f))
        << "vertex " << i;
}

TEST_F(TransparencyCacheTest, MeshesWhoseStatesDifferGetOneBatchPerRunWithTheirStateRestored) {
  auto a = Layers({0, 2000});
  auto b = Layers({1000, 3000});
  Add(*a, 0xFF0000FF);
  render.SetBackfaceVisible(true, false);  // part of what batching compares
  Add(*b, 0xFF00FF00);
  render.SetBackfaceVisible(false, false);
  Render();

  EXPECT_EQ(DrawnDepths(), (std::vector<int>{3000, 2000, 1000, 0}));
  // Every batch is drawn after its mesh's state was restored and blending re-applied.
  using K = ERenderCall;
  std::vector<K> expected = {K::BeginTransparency};
  for (int batch = 0; batch < 4; ++batch)
    expected.insert(expected.end(), {K::RestoreState, K::ApplyTransparency, K::DrawVertices});
  expected.push_back(K::EndTransparency);
  EXPECT_EQ(render.Kinds(), expected) << render.ToString();
  const auto restores = render.CallsOf(ERenderCall::RestoreState);
  EXPECT_EQ(restores[0].diffuse, 0xFF00FF00u);
  EXPECT_EQ(restores[1].diffuse, 0xFF0000FFu);
}

// Two triangles whose order flips when the view turns by a few degrees about y: one
// near the axis at z = 1000, one far out at x = 100000, z = 0. Straight along +z the first
// is farther; turned by 4 degrees the second is (100000 sin 4 > 1000 cos 4).
std::unique_ptr<MStlBase> FlippingPair() {
  return MeshOfTriangles({0, 0, 1000, 1000, 0, 1000, 0, 1000, 1000, 100000, 0, 0, 101000, 0, 0, 100000, 1000, 0});
}

// Frames of the same meshes, seen from directions given as turns about y (and a length):
// within half the tolerance the order of the last sort is kept, else it is sorted again.
TEST_F(TransparencyCacheTest, TheSameMeshesKeepTheOrderOnlyWithinHalfTheTolerance) {
  enum EBefore { eNothing, eForceReSort, eEmptyRender, eClear };
  struct Frame {
    float turn;
    EBefore before;
    std::vector<int> depths;
    float length = 1.0f;
  };
  struct Case {
    const char* what;
    std::vector<Frame> frames;
  };
  const std::vector<int> kept = {1000, 0}, flipped = {0, 1000};  // flipped: the right order once turned
  const Case cases[] = {
      {"a 4 degree turn keeps the order, 10 degrees (6 from the sort) re-sort",
       {{0, eNothing, kept}, {4, eNothing, kept}, {10, eNothing, flipped}}},
      {"ForceReSort sorts", {{0, eNothing, kept}, {4, eForceReSort, flipped}}},
      {"an empty render forgets the last sort", {{0, eNothing, kept}, {4, eEmptyRender, flipped}}},
      {"Clear forgets the meshes and the last sort", {{0, eNothing, kept}, {4, eClear, flipped}}},
      // Squared length 0.0001: scaled by it, not normalised, so their dot product is far
      // below the cosine.
      {"near-zero directions never count as unchanged", {{0, eNothing, kept, 0.01f}, {4, eNothing, flipped, 0.01f}}},
  };
  auto a = FlippingPair();
  for (const Case& c : cases) {
    IVTransparencyCache local(&render);
    local.SetSkipSortTolerance(10.0f);
    for (const Frame& f : c.frames) {
      if (f.before == eForceReSort) local.ForceReSort();
      if (f.before == eEmptyRender) local.RenderStlTransparentPN(&render);
      if (f.before == eClear) {
        Add(*a, 0xFFFFFFFF, &local);  // forgotten
        local.Clear();
      }
      Turn(f.turn);
      for (float& x : direction) x *= f.length;
      Add(*a, 0xFFFFFFFF, &local);
      render.Clear();
      local.RenderStlTransparentPN(&render);
      EXPECT_EQ(DrawnDepths(), f.depths) << c.what << ", turned by " << f.turn;
    }
  }
}

// The skip test rounds the dot product of the unit directions to float once, compares
// it strictly with the cosine of half the tolerance, and rounds that cosine once. Mesh A
// owns the farthest triangle and so makes the decision; the view on mesh B turns by
// 4 degrees, which flips B's pair when the table is sorted again.
TEST_F(TransparencyCacheTest, SkipDecisionRoundsOnceAndComparesStrictly) {
  struct Case {
    const char* what;
    float tolerance;
    float before[3], after[3];  // A's direction, as given to AddSTL
    bool skips;
  };
  const Case cases[] = {
      {"unchanged direction, tolerance 0: dot 1 is not above cosine 1", 0.0f, {0, 0, 1}, {0, 0, 1}, false},
      {"unchanged direction whose dot rounds once to just above 1",
       0.0f,
       {0x1.00d4e4p-1f, 0x1.1a4ap-2f, 0x1.ced808p-2f},
       {0x1.00d4e4p-1f, 0x1.1a4ap-2f, 0x1.ced808p-2f},
       true},
      {"turn whose dot equals the once-rounded cosine of 9.3 degrees",
       18.6f,
       {0, 0, 1},
       {0x1.4af6dap-3f, 0, 0x1.f94528p-1f},
       false},
      {"squared length 0.0009 is normalised", 10.0f, {0, 0, 0.03f}, {0, 0, 0.03f}, true},
  };
  for (const Case& c : cases) {
    IVTransparencyCache local(&render);
    local.SetSkipSortTolerance(c.tolerance);
    auto a = Layers({0});
    auto b = FlippingPair();
    for (int frame = 0; frame < 2; ++frame) {
      const float* d = frame == 0 ? c.before : c.after;
      const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
      float eyeA[3], dirA[3] = {d[0], d[1], d[2]};
      for (int k = 0; k < 3; ++k) eyeA[k] = -1e9f * d[k] / length;  // A's triangle far behind B's
      local.AddSTL(a.get(), eyeA, dirA);
      Turn(frame == 0 ? 0.0f : 4.0f);
      float eyeB[3] = {eye[0], eye[1], eye[2]};
      float dirB[3] = {direction[0], direction[1], direction[2]};
      local.AddSTL(b.get(), eyeB, dirB);
      render.Clear();
      local.RenderStlTransparentPN(&render);
    }
    EXPECT_EQ(DrawnDepths(), c.skips ? (std::vector<int>{0, 1000, 0}) : (std::vector<int>{0, 0, 1000})) << c.what;
  }
}

// The centre is the exact 32-bit corner sum times the float constant 0.33333 (not a
// third), and the depth is formed from it in double: no rounding of the centre to float.
TEST_F(TransparencyCacheTest, DepthsComeFromTheExactCornerSumsWithTheWeight0_33333) {
  auto triangleWithXs = [](std::int32_t x0, std::int32_t x1, std::int32_t x2) {
    return MeshOfTriangles({x0, 0, 0, x1, 1000, 0, x2, 0, 1000});
  };
  direction[0] = 1.0f;
  direction[2] = 0.0f;
  // Far from the origin with the eye close by: sums 12600001 and 12600002 give centres
  // 0.33 apart that a float centre would make equal (4199958.5 both).
  eye[0] = 4199948.0f;
  auto nearer = triangleWithXs(4200000, 4200000, 4200001);
  auto farther = triangleWithXs(4200000, 4200001, 4200001);
  Add(*nearer, 0xFFFFFFFF);
  Add(*farther, 0xFFFFFFFF);
  Render();
  std::vector<IVVertexPNC> v = DrawnVertices();
  ASSERT_EQ(v.size(), 6u);
  EXPECT_EQ(v[1].x, 4200001.0f) << "the farther triangle first";

  // With its own eye each: a centre at 3000000 * 0.33333 = 999990 seen from 0 lies nearer
  // than one at 0 seen from -999995 (with a third it would be 1000000, farther).
  cache.Clear();
  auto big = triangleWithXs(1000000, 1000000, 1000000);
  auto origin = triangleWithXs(0, 0, 0);
  eye[0] = 0.0f;
  Add(*big, 0xFFFFFFFF);
  eye[0] = -999995.0f;
  Add(*origin, 0xFFFFFFFF);
  Render();
  v = DrawnVertices();
  ASSERT_EQ(v.size(), 6u);
  EXPECT_EQ(v[0].x, 0.0f) << "the triangle at the origin is farther";
}

TEST_F(TransparencyCacheTest, KeptVerticesFollowColourChangesWithoutAReSort) {
  cache.SetSkipSortTolerance(10.0f);
  auto a = Layers({0, 1000});
  Add(*a, 0xFF0000FF);
  Render();
  Add(*a, 0x8000FF00);
  Render();
  const std::vector<IVVertexPNC> v = DrawnVertices();
  ASSERT_EQ(v.size(), 6u);
  EXPECT_EQ(v[0].g, 0xFF);
  EXPECT_EQ(v[0].r, 0x00);
  EXPECT_EQ(v[5].a, 0x80);
}

TEST_F(TransparencyCacheTest, AnotherSequenceOfMeshesRebuildsTheTable) {
  cache.SetSkipSortTolerance(10.0f);
  auto a = Layers({0});
  auto b = Layers({1000});
  Add(*a, 0xFF0000FF);
  Add(*b, 0xFF00FF00);
  Render();
  EXPECT_EQ(DrawnDepths(), (std::vector<int>{1000, 0}));

  // Same total and an unturned view: the rebuilt table is drawn in mesh order unsorted,
  // which is why callers that change meshes call ForceReSort.
  Add(*b, 0xFF00FF00);
  Add(*a, 0xFF0000FF);
  Render();
  EXPECT_EQ(DrawnDepths(), (std::vector<int>{1000, 0}));
  Add(*a, 0xFF0000FF);
  Add(*b, 0xFF00FF00);
  Render();
  EXPECT_EQ(DrawnDepths(), (std::vector<int>{0, 1000}));

  // One mesh more changes the count and therefore sorts.
  auto c = Layers({500});
  Add(*a, 0xFF0000FF);
  Add(*b, 0xFF00FF00);
  Add(*c, 0xFFFF0000);
  Render();
  EXPECT_EQ(DrawnDepths(), (std::vector<int>{1000, 500, 0}));
}

TEST_F(TransparencyCacheTest, AMeshAddedTwiceIsDrawnTwice) {
  auto a = Layers({0, 1000});
  Add(*a, 0xFFFFFFFF);
  Add(*a, 0xFFFFFFFF);
  Render();
  EXPECT_EQ(DrawnDepths(), (std::vector<int>{1000, 1000, 0, 0}));
}

TEST_F(TransparencyCacheTest, NanDepthsAreDrawnLastWithoutUpsettingTheOrder) {
  auto a = Layers({0, 2000});
  auto b = Layers({1000, 3000});
  Add(*a, 0xFF0000FF);
  eye[0] = std::numeric_limits<float>::quiet_NaN();
  Add(*b, 0xFF00FF00);
  Render();
  const std::vector<int> z = DrawnDepths();
  ASSERT_EQ(z.size(), 4u);
  EXPECT_EQ((std::vector<int>{z[0], z[1]}), (std::vector<int>{2000, 0}));
}

TEST_F(TransparencyCacheTest, LargeTablesSortBackToFrontLikeAComparisonSort) {
  // Enough triangles for the radix sort, and then enough for it to run in two halves,
  // with negative depths and ties.
  eye[2] = 0.0f;
  for (int n : {3000, 100000}) {
    std::vector<int> depths;
    for (int i = 0; i < n; ++i) depths.push_back(((i * 7919) % 20001 - 10000) * 3);
    auto a = Layers(depths);
    Add(*a, 0xFFFFFFFF);
    Render();
    std::sort(depths.begin(), depths.end(), std::greater<>());
    EXPECT_EQ(DrawnDepths(), depths) << n << " triangles";
    cache.Clear();  // the mesh goes
  }
}

TEST_F(TransparencyCacheTest, ABatchGoesOnAcrossTheSeamOfTheHalvesOfALargeTable) {
  // The far mesh has the first 50001 entries of 100000, so the seam between the halves
  // of the table (entry 50000) falls inside its batch.
  std::vector<int> far, near;
  for (int i = 0; i < 50001; ++i) far.push_back(100000 + i);
  for (int i = 0; i < 49999; ++i) near.push_back(i);
  auto a = Layers(far);
  auto b = Layers(near);
  Add(*a, 0xFF0000FF);
  render.SetBackfaceVisible(true, false);
  Add(*b, 0xFF00FF00);
  render.SetBackfaceVisible(false, false);
  Render();
  const auto batches = render.Batches<IVVertexPNC>();
  ASSERT_EQ(batches.size(), 2u);
  EXPECT_EQ(batches[0].vertices.size(), 3u * 50001);
  EXPECT_EQ(batches[1].vertices.size(), 3u * 49999);
  EXPECT_EQ(batches[1].vertices.front().g, 0xFF);
}

}  // namespace
