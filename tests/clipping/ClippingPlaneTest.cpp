#include "vistal/clipping/MClippingPlane.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

MFrame<float> Frame(MMPoint3d<float> o, MMPoint3d<float> n) {
  MFrame<float> f(o, {1, 0, 0}, {0, 1, 0}, n);
  f.carried = 42;
  return f;
}

struct CountingTexture : IVTexture {
  int* released;
  int* deleted;
  CountingTexture(int* r, int* d) : released(r), deleted(d) {}
  void Release() override { ++*released; }
  ~CountingTexture() override { ++*deleted; }
};

struct FixedSliceSet : IUISliceSetWithNavigation {
  SLICE_TYPE type;
  explicit FixedSliceSet(SLICE_TYPE t) : type(t) {}
  SLICE_TYPE GetSliceType() const override { return type; }
};

// Side two's reversal, as the clipping state reads it, is pinned by the clipping-state tests.
TEST(ClippingPlane, InvertCancelsSideTwoAndAZeroNormalGivesAZeroEquation) {
  MClippingPlane plane;
  plane.SetClippingPlane(Frame({1, 2, 3}, {0, 0, 2}));
  plane.SetClippedSide(MClippingPlane::eClippedSideReversed);
  plane.Invert();
  EXPECT_EQ(plane.GetClippingPlane(false).N, MMPoint3d<float>(0, 0, -2));
  EXPECT_EQ(plane.GetClippingPlane(true), Frame({1, 2, 3}, {0, 0, 2}));
  EXPECT_EQ(plane.GetPlaneEquation(), MMPlaneEq<float>(0, 0, 1, -3));
  // The work frame is overwritten by every read.
  plane.GetClippingPlane(true).O = {9, 9, 9};
  EXPECT_EQ(plane.GetClippingPlane(false).O, MMPoint3d<float>(1, 2, 3));

  // A zero normal is left as it is, not divided by its length: (0, 0, 0, -0).
  MClippingPlane flat;
  flat.SetClippingPlane(Frame({1, 2, 3}, {0, 0, 0}));
  const MMPlaneEq<float> eq = flat.GetPlaneEquation();
  EXPECT_EQ(eq, MMPlaneEq<float>(0, 0, 0, 0));
  EXPECT_TRUE(std::signbit(eq.d));
}

TEST(ClippingPlane, SliceSetIsTakenOnlyWhenTheKindsAgree) {
  FixedSliceSet axial(IUISliceSetWithNavigation::eSliceAxial);
  FixedSliceSet coronal(IUISliceSetWithNavigation::eSliceCoronal);
  MClippingPlane plane;
  EXPECT_FALSE(plane.SetSliceSet(nullptr));
  EXPECT_TRUE(plane.SetSliceSet(&axial));
  EXPECT_EQ(plane.GetSliceType(), IUISliceSetWithNavigation::eSliceAxial);
  EXPECT_FALSE(plane.SetSliceSet(&coronal));
  EXPECT_EQ(plane.GetSliceSet(), &axial);

  plane.SetSliceType(IUISliceSetWithNavigation::eSliceAxial);
  EXPECT_EQ(plane.GetSliceSet(), &axial);
  plane.SetSliceType(IUISliceSetWithNavigation::eSliceCoronal);
  EXPECT_EQ(plane.GetSliceSet(), nullptr);
}

TEST(ClippingPlane, CopiesShareTheTextureWhichGoesOnceOrBackToTheCaller) {
  int released = 0, deleted = 0;
  {
    MClippingPlane plane;
    plane.SetTexture(new CountingTexture(&released, &deleted));
    MClippingPlane copy(plane);
    MClippingPlane assigned;
    assigned = copy;
    EXPECT_EQ(copy.GetTexture(), plane.GetTexture());
    EXPECT_EQ(assigned.GetTexture(), plane.GetTexture());
  }
  EXPECT_EQ(std::pair(released, deleted), std::pair(1, 1));

  // Replaced, the texture is the caller's again, also in the copies that still show it.
  auto* first = new CountingTexture(&released, &deleted);
  {
    MClippingPlane plane;
    plane.SetTexture(first);
    MClippingPlane copy(plane);
    plane.SetTexture(nullptr);
    EXPECT_EQ(copy.GetTexture(), first);
  }
  EXPECT_EQ(std::pair(released, deleted), std::pair(1, 1));
  delete first;
}

}  // namespace
