// The transform classes: kinds, inverse rules, point mappings and their failure paths.
#include "host/framework/MMTransformMatrix.h"
#include "host/framework/SizeMappedAllocator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <numbers>
#include <thread>
#include <vector>

namespace {

using P = MMPoint3d<double>;
using K = MMTransformMatrix::EKind;

MMTransformMatrix Rows(std::initializer_list<double> v) { return MMTransformMatrix(std::data(v)); }

void ExpectNear(const P& a, const P& b, double tol = 1e-12) {
  EXPECT_LE((a - b).Length(), tol) << a.x << ", " << a.y << ", " << a.z;
}

// The code of the MMTransformException the call throws, or -1.
template <typename F>
int ThrownCode(F call) {
  try {
    call();
  } catch (const MMTransformException& e) {
    return e.code;
  }
  return -1;
}

// Reaches the general elimination directly, to check every kind's rule against it.
struct Probe : MMTransformMatrix {
  explicit Probe(const MMTransformMatrix& m) : MMTransformMatrix(m) {}
  bool General() { return _InvertGeneral(); }
};

// Fails for points with negative x and counts its calls.
struct PickyTransform : MMTransformMatrix {
  mutable int calls = 0;
  bool TransformPoint(P& out, const P& in, bool asVector) const override {
    ++calls;
    if (in.x < 0) return false;
    out = in * 2.0;
    return true;
  }
};

TEST(MMTransformMatrix, ClassifiesEachKindWithItsTolerances) {
  // Inverses of every kind are checked below. A translation moves positions, not vectors,
  // and the matrix is handed out row by row.
  auto t = Rows({1, 0, 0, 5, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  EXPECT_EQ(t.GetKind(), K::eTranslation);
  EXPECT_EQ(t.TransformedPoint({1, 1, 1}, false), P(6, 1, 1));
  EXPECT_EQ(t.TransformedPoint({1, 1, 1}, true), P(1, 1, 1));
  double d[16];
  float f[16];
  t.GetMatrixDouble(d);
  t.GetMatrixFloat(f);
  EXPECT_EQ(std::vector<double>(d, d + 16), (std::vector<double>{1, 0, 0, 5, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
  EXPECT_EQ(f[3], 5.0f);
  EXPECT_TRUE(MMTransformMatrix().IsIdentity());
  EXPECT_EQ(Rows({2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1}).GetKind(), K::eUniformScale);
  EXPECT_EQ(Rows({1, 0, 0, 0, 0, 2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 1}).GetKind(), K::eDiagonal);
  EXPECT_EQ(Rows({0, -1, 0, 4, 1, 0, 0, 5, 0, 0, 1, 6, 0, 0, 0, 1}).GetKind(), K::eRigid);
  EXPECT_EQ(Rows({0, -2, 0, 0, 2, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1}).GetKind(), K::eSimilarity);
  // A similarity with a translation has no rule of its own.
  EXPECT_EQ(Rows({0, -2, 0, 1, 2, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1}).GetKind(), K::eGeneral);
  // m33 = 2 is projective though the result equals the identity.
  auto w2 = Rows({2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2});
  EXPECT_EQ(w2.GetKind(), K::eGeneral);
  EXPECT_TRUE(w2.IsProjective());
  ExpectNear(w2.TransformedPoint({1, 2, 3}, false), {1, 2, 3});

  // Near-rigid: a column length off by ~9e-16 in the square stays rigid, ~2e-14 does not.
  EXPECT_EQ(Rows({0, -1, 0, 0, 1 + 4.5e-16, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}).GetKind(), K::eRigid);
  EXPECT_EQ(Rows({0, -1, 0, 0, 1 + 1e-14, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}).GetKind(), K::eGeneral);
  // The similarity tolerance is ten times tighter.
  EXPECT_EQ(Rows({0, -2, 0, 0, 2, 0, 0, 0, 0, 0, 2 + 4e-16, 0, 0, 0, 0, 1}).GetKind(), K::eGeneral);
}

TEST(MMTransformMatrix, EveryInverseRuleAgreesWithGeneralElimination) {
  const std::vector<MMTransformMatrix> samples = {MMTransformMatrix(),
                                                  Rows({1, 0, 0, 5, 0, 1, 0, -2, 0, 0, 1, 3, 0, 0, 0, 1}),
                                                  Rows({0, -1, 0, 4, 1, 0, 0, 5, 0, 0, 1, 6, 0, 0, 0, 1}),
                                                  Rows({0, -2, 0, 0, 2, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1}),
                                                  Rows({4, 0, 0, 0, 0, 4, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1}),
                                                  Rows({1, 0, 0, 0, 0, -2, 0, 0, 0, 0, 8, 0, 0, 0, 0, 1}),
                                                  Rows({2, 1, 0, 3, 0, 1, 4, 0, 1, 0, 1, 2, 0.1, 0, 0, 1})};
  for (const auto& m : samples) {
    SCOPED_TRACE(m.GetKind());
    ASSERT_TRUE(m.IsInverseValid());
    Probe general(m);
    ASSERT_TRUE(general.General());
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) EXPECT_NEAR(m.GetInverse()[r][c], general.GetInverse()[r][c], 1e-12);
    P p = m.TransformedPoint({0.5, -1.5, 2}, false), back;
    ASSERT_TRUE(m.InverseTransformPoint(back, p, false));
    ExpectNear(back, {0.5, -1.5, 2});
  }
  // Degenerate scales have no inverse, and mapping back then answers false.
  auto zeroScale = Rows({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
  EXPECT_EQ(zeroScale.GetKind(), K::eUniformScale);
  EXPECT_FALSE(zeroScale.IsInverseValid());
  P out(7, 7, 7);
  EXPECT_FALSE(zeroScale.InverseTransformPoint(out, {1, 1, 1}, false));
  EXPECT_EQ(out, P(7, 7, 7));
  EXPECT_FALSE(Rows({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 1}).IsInverseValid());
}

TEST(MMTransformMatrix, GeneralInversionRefusesSingularAndNearSingularMatrices) {
  auto singular = Rows({1, 2, 0, 0, 2, 4, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  EXPECT_FALSE(singular.IsInverseValid());
  auto before = singular;
  EXPECT_FALSE(singular.Invert());
  EXPECT_EQ(std::memcmp(before.GetMatrix(), singular.GetMatrix(), sizeof(double) * 16), 0);

  // The second column equals twice the first to within rounding: singular at double precision.
  EXPECT_FALSE(Rows({1, 2, 0, 0, 3, 6 + 1e-15, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}).IsInverseValid());
  // Ill-conditioned but still invertible: the inverse must really invert.
  auto nearly = Rows({1, 2, 0, 0, 3, 6 + 1e-8, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  ASSERT_TRUE(nearly.IsInverseValid());
  P back;
  ASSERT_TRUE(nearly.InverseTransformPoint(back, nearly.TransformedPoint({1, 1, 1}, false), false));
  ExpectNear(back, {1, 1, 1}, 1e-6);
  // Tiny scales are not singular: the tolerance is relative.
  EXPECT_TRUE(Rows({1e-12, 2e-12, 0, 0, 0, 1e-12, 0, 0, 0, 0, 1e-12, 0, 0, 0, 0, 1}).IsInverseValid());
  EXPECT_FALSE(Rows({NAN, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}).IsInverseValid());
}

TEST(MMTransformMatrix, SetRotationKeepsTheCenterFixedAndRefusesShortAxes) {
  MMTransformMatrix m;
  ASSERT_TRUE(m.SetRotation({0, 0, 1}, std::numbers::pi / 2, {0, 0, 0}));
  EXPECT_EQ(m.GetKind(), K::eRigid);
  ExpectNear(m.TransformedPoint({1, 0, 0}, false), {0, 1, 0}, 1e-15);

  ASSERT_TRUE(m.SetRotation({0, 0, 5}, std::numbers::pi / 2, {1, 0, 0}));  // the axis is normalised
  ExpectNear(m.TransformedPoint({1, 0, 0}, false), {1, 0, 0}, 1e-15);
  ExpectNear(m.TransformedPoint({2, 0, 0}, false), {1, 1, 0}, 1e-15);
  ExpectNear(m.TransformedPoint({1, 0, 0}, true), {0, 1, 0}, 1e-15);

  const auto before = m;
  EXPECT_FALSE(m.SetRotation({0, 0, 0}, 1.0, {0, 0, 0}));
  EXPECT_FALSE(m.SetRotation({0, 1e-8, 0}, 1.0, {0, 0, 0}));
  EXPECT_EQ(std::memcmp(before.GetMatrix(), m.GetMatrix(), sizeof(double) * 16), 0);
}

TEST(MMTransform, ZeroWeightsThrowCodeZeroConveniencesCodeFourAndListsStopAtTheFirstFailure) {
  auto m = Rows({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0});
  EXPECT_TRUE(m.IsProjective());
  EXPECT_EQ(m.TransformedPoint({2, 4, 2}, false), P(1, 2, 1));
  P p;
  EXPECT_EQ(ThrownCode([&] { m.TransformPoint(p, {1, 1, 0}, false); }), MMTransformException::eZeroWeight);

  PickyTransform t;
  MMPoint3d<float> f;
  EXPECT_EQ(t.TransformPointFloat(f, {1, 2, 3}, false), MMPoint3d<float>(2, 4, 6));
  EXPECT_EQ(ThrownCode([&] { t.TransformPointFloat(f, {-1, 0, 0}, false); }), MMTransformException::eNotMapped);
  EXPECT_EQ(ThrownCode([&] { t.TransformedPoint({-1, 0, 0}, false); }), MMTransformException::eNotMapped);

  const std::vector<P> in = {{1, 1, 1}, {-1, 0, 0}, {3, 3, 3}};
  std::vector<P> out(7, P(9, 9, 9));
  t.calls = 0;
  EXPECT_FALSE(t.TransformPointList(out, in));
  EXPECT_EQ(out, (std::vector<P>{{2, 2, 2}, {0, 0, 0}, {0, 0, 0}}));
  EXPECT_EQ(t.calls, 2);
  MMPointTriple triple;
  EXPECT_FALSE(t.TransformPointTriple(triple, {P(1, 1, 1), P(-1, 0, 0), P(3, 3, 3)}));

  // The same list as input and output maps the input, not a wiped copy of it.
  std::vector<P> both = {{1, 2, 3}, {4, 5, 6}};
  EXPECT_TRUE(t.TransformPoints(both, both));
  EXPECT_EQ(both, (std::vector<P>{{2, 4, 6}, {8, 10, 12}}));

  // In place every point is mapped, as a position; a point that does not map is left
  // as the transform left it and the answer is still true.
  std::vector<P> inPlace = {{1, 2, 3}, {-1, 0, 0}, {3, 3, 3}};
  EXPECT_TRUE(t.TransformPointsInPlace(inPlace));
  EXPECT_EQ(inPlace[0], P(2, 4, 6));
  EXPECT_EQ(inPlace[2], P(6, 6, 6));
}

TEST(MMTransformMatrix, InvertAndTransposeKeepMatrixAndInverseConsistent) {
  auto g = Rows({2, 1, 0, 3, 0, 1, 4, 0, 1, 0, 1, 2, 0, 0, 0, 1});
  const auto original = g;
  ASSERT_TRUE(g.Invert());
  ASSERT_TRUE(g.Invert());
  EXPECT_EQ(std::memcmp(original.GetMatrix(), g.GetMatrix(), sizeof(double) * 16), 0);
  EXPECT_EQ(std::memcmp(original.GetInverse(), g.GetInverse(), sizeof(double) * 16), 0);

  MMTransformMatrix r;
  r.SetRotation({1, 1, 0}, 0.7, {0, 0, 0});
  auto rt = r;
  rt.Transpose();  // the transpose of a rotation is its inverse
  EXPECT_EQ(rt.GetKind(), K::eRigid);
  ExpectNear(rt.TransformedPoint(r.TransformedPoint({1, 2, 3}, false), false), {1, 2, 3});
  auto t = Rows({1, 0, 0, 5, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  t.Transpose();  // the translation moves into row 3
  EXPECT_TRUE(t.IsProjective());
  EXPECT_EQ(t.GetKind(), K::eGeneral);

  // Products are what the coordinate systems chain, and are checked there.
}

TEST(SizeMappedAllocator, RecyclesBlocksPerSizeClassAcrossThreads) {
  SizeMappedAllocator a;
  void* p = a.Allocate(40);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % 16, 0u);
  const std::size_t freeBefore = a.FreeBlockCount(48);
  a.Release(p, 40);
  EXPECT_EQ(a.FreeBlockCount(33), freeBefore + 1);  // 33..48 bytes share a class
  EXPECT_EQ(a.Allocate(48), p);
  a.Release(p, 48);
  void* big = a.Allocate(100000);  // unpooled sizes pass through to the heap
  a.Release(big, 100000);

  // Transform objects are served by the global instance, and come back to it when deleted.
  auto& global = MMTransformAllocator::Allocator();
  std::unique_ptr<MMTransform> clone(MMTransformMatrix().Clone());
  const std::size_t n = global.FreeBlockCount(sizeof(MMTransformMatrix));
  clone.reset();
  EXPECT_EQ(global.FreeBlockCount(sizeof(MMTransformMatrix)), n + 1);

  // Threads that were handed the same block would overwrite each other's marks.
  std::atomic<int> clobbered{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&a, &clobbered, i] {
      std::vector<int*> blocks;
      for (int k = 0; k < 2000; ++k) {
        blocks.push_back(static_cast<int*>(a.Allocate(16 + 16 * (k % 3))));
        *blocks.back() = i * 10000 + k;
      }
      for (int k = 0; k < 2000; ++k) {
        if (*blocks[k] != i * 10000 + k) ++clobbered;
        a.Release(blocks[k], 16 + 16 * (k % 3));
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(clobbered, 0);
  // Every carved block is back: whole chunks of 256 sixteen-byte blocks.
  EXPECT_EQ(a.FreeBlockCount(16) % (SizeMappedAllocator::kChunkBytes / 16), 0u);
}

}  // namespace
