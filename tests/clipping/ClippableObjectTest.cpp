// Scene objects taking part in clipping through the ready-made implementation.
#include "host/core/UIObjectMedical.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"
#include "vistal/clipping/ISimpleClippableObjectImp.h"
#include "vistal/clipping/MClippingData.h"
#include "vistal/clipping/MClippingPlane.h"
#include "vistal/clipping/UIOperationClipping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

int g_meshesAlive = 0;

// A mesh that counts itself, so the tests see who deletes it.
class CountedMesh : public MStlBase {
public:
  CountedMesh() { ++g_meshesAlive; }
  ~CountedMesh() override { --g_meshesAlive; }
};

// A clippable box of 20 mm (20000 units): the host's side makes a new mesh per slice.
class ClippableBox : public UIObjectMedical, public ISimpleClippableObjectImp {
public:
  ClippableBox() : ISimpleClippableObjectImp(this) {}
  bool makeMesh = true;

protected:
  void _GetStlToSlice(MStlBase*& mesh, const MMPlaneEq<double>&) override {
    if (!makeMesh) return;
    // A cube of 20 mm, counter-clockwise seen from outside.
    MStlBuilder b;
    const float c[] = {-10, -10, -10, 10, -10, -10, 10, 10, -10, -10, 10, -10,
                       -10, -10, 10,  10, -10, 10,  10, 10, 10,  -10, 10, 10};
    b.AddPoints(c);
    const std::uint32_t t[] = {0, 2, 1, 0, 3, 2, 4, 5, 6, 4, 6, 7, 0, 1, 5, 0, 5, 4,
                               1, 2, 6, 1, 6, 5, 2, 3, 7, 2, 7, 6, 3, 0, 4, 3, 4, 7};
    b.AddSurface(t);
    auto* counted = new CountedMesh;
    b.AppendTo(*counted);
    mesh = counted;
  }
};

TEST(ClippableObject, AFreshObjectIsNotClippedAndHasNoSurfaces) {
  ClippableBox box;
  EXPECT_FALSE(box.IsClipped());
  EXPECT_TRUE(box.GetClippingSurfaces().empty());
  ASSERT_NE(box.GetClippingData(), nullptr);
}

TEST(ClippableObject, OperationsReachTheClippingDataAndSideThreeDoesNotClip) {
  ClippableBox box;
  MClippingPlane ignored, cutting;
  ignored.SetClippedSide(MClippingPlane::eClippedSideNone);
  UIOperationClipping op;
  op.SetAction(eClippingAddPlanes);
  op.AddClippingPlane(&ignored);
  EXPECT_TRUE(box.DoOperationClipping(op));
  EXPECT_FALSE(box.IsClipped());
  UIOperationClipping more;
  more.SetAction(eClippingAddPlanes);
  more.AddClippingPlane(&cutting);
  box.DoOperationClipping(more);
  EXPECT_TRUE(box.IsClipped());

  // Copies list the same planes in a clipping state of their own.
  ClippableBox copy(box);
  EXPECT_NE(copy.GetClippingData(), box.GetClippingData());
  EXPECT_TRUE(copy.IsClipped());
}

TEST(ClippableObject, BackFaceVisibilityGoesToTheClippingData) {
  ClippableBox box;
  MClippingPlane plane;
  plane.SetTextureMappingMode(MClippingPlane::eTextureMappingBackFaces);
  UIOperationClipping op;
  op.SetAction(eClippingAddPlanes);
  op.AddClippingPlane(&plane);
  box.DoOperationClipping(op);
  EXPECT_TRUE(box.GetClippingData()->ShouldBeBackFacesVisible());
  box.SetClippingBackFacesVisibility(false);
  EXPECT_FALSE(box.GetClippingData()->ShouldBeBackFacesVisible());
}

TEST(ClippableObject, SlicedBorderIsTheSectionAndTheMeshIsDeletedEvenWhenMissed) {
  ClippableBox box;
  g_meshesAlive = 0;
  // z = 0 in integer units: a square of 20000 units a side.
  auto border = box.GetSlicedBorder(MMPlaneEq<double>(0, 0, 1, 0));
  EXPECT_EQ(g_meshesAlive, 0);
  ASSERT_EQ(border.GetNumContours(), 1u);
  EXPECT_TRUE(border.GetContour(0).IsClosed());
  for (const auto& p : border.GetContour(0).GetPoints()) {
    EXPECT_DOUBLE_EQ(p.data.point.z, 0.0);
    EXPECT_DOUBLE_EQ(std::max(std::fabs(p.data.point.x), std::fabs(p.data.point.y)), 10000.0);
  }

  auto missed = box.GetSlicedBorder(MMPlaneEq<double>(0, 0, 1, -50000));
  EXPECT_EQ(missed.GetNumContours(), 0u);
  EXPECT_EQ(g_meshesAlive, 0);

  box.makeMesh = false;
  EXPECT_EQ(box.GetSlicedBorder(MMPlaneEq<double>(0, 0, 1, 0)).GetNumContours(), 0u);
}

}  // namespace
