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

TEST(ClippingPlane, ReadForClippingReversesTheNormalOnlyForSideTwo) {
  MClippingPlane plane;
  plane.SetClippingPlane(Frame({1, 2, 3}, {0, 0, 2}));
  EXPECT_EQ(plane.GetClippingPlane(true).N, MMPoint3d<float>(0, 0, 2));
  EXPECT_EQ(plane.GetClippingPlane(true).carried, 42);

  plane.SetClippedSide(MClippingPlane::eClippedSideReversed);
  EXPECT_EQ(plane.GetClippingPlane(false).N, MMPoint3d<float>(0, 0, 2));
  EXPECT_EQ(plane.GetClippingPlane(true).N, MMPoint3d<float>(0, 0, -2));

  // Two reversals cancel.
  plane.Invert();
  EXPECT_EQ(plane.GetClippingPlane(true).N, MMPoint3d<float>(0, 0, 2));

  // The work frame is overwritten by every read.
  MFrame<float>& kept = plane.GetClippingPlane(true);
  kept.O = {9, 9, 9};
  EXPECT_EQ(plane.GetClippingPlane(false).O, MMPoint3d<float>(1, 2, 3));
}

TEST(ClippingPlane, PlaneEquationIsNormalisedAndFollowsTheClippedSide) {
  MClippingPlane plane;
  plane.SetClippingPlane(Frame({1, 2, 3}, {0, 0, 2}));
  MMPlaneEq<float> eq = plane.GetPlaneEquation();
  EXPECT_EQ(eq, MMPlaneEq<float>(0, 0, 1, -3));

  plane.SetClippedSide(MClippingPlane::eClippedSideReversed);
  eq = plane.GetPlaneEquation();
  EXPECT_EQ(eq, MMPlaneEq<float>(0, 0, -1, 3));

  // A zero normal is left as it is: (0, 0, 0, -0).
  MClippingPlane flat;
  flat.SetClippingPlane(Frame({1, 2, 3}, {0, 0, 0}));
  eq = flat.GetPlaneEquation();
  EXPECT_EQ(eq.a, 0.0f);
  EXPECT_EQ(eq.d, 0.0f);
  EXPECT_TRUE(std::signbit(eq.d));

  // A tilted plane through (1, 1, 0) with normal (1, 1, 0).
  MClippingPlane tilted;
  tilted.SetClippingPlane(Frame({1, 1, 0}, {3, 3, 0}));
  eq = tilted.GetPlaneEquation();
  EXPECT_NEAR(eq.a, std::sqrt(0.5f), 1e-7);
  EXPECT_NEAR(eq.d, -std::sqrt(2.0f), 1e-6);
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

TEST(ClippingPlane, TextureIsReleasedAndDeletedOnceAcrossCopies) {
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
  EXPECT_EQ(released, 1);
  EXPECT_EQ(deleted, 1);
}

TEST(ClippingPlane, ReplacingTheTextureHandsTheOldOneBackToTheCaller) {
  int released = 0, deleted = 0;
  auto* first = new CountingTexture(&released, &deleted);
  {
    MClippingPlane plane;
    plane.SetTexture(first);
    MClippingPlane copy(plane);
    plane.SetTexture(nullptr);
    EXPECT_EQ(copy.GetTexture(), first);
  }
  EXPECT_EQ(released, 0);
  EXPECT_EQ(deleted, 0);
  delete first;
}

}  // namespace
