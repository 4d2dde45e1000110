// Scene objects taking part in clipping through the ready-made implementation, and the
// undo and redo of clipping operations delivered to them.
#include "host/core/UIObjectMedical.h"
#include "host/core/UIStlObject.h"
#include "host/core/UISurface.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"
#include "host/mesh/MStlPrimitives.h"
#include "host/mesh/MStlTraversal.h"
#include "host/meshops/UISurfaceSection.h"
#include "testing/RecordingRender.h"
#include "vistal/clipping/ISimpleClippableObjectImp.h"
#include "vistal/clipping/MClippingData.h"
#include "vistal/clipping/MClippingPlane.h"
#include "vistal/clipping/UIOperationClipping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

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

  // What a host class does to take part in operations and their undo.
  bool DoOperation(MOperation& operation) override { return DoOperationClipping(operation); }
  std::unique_ptr<MUndoRecord> CreateUndoRecord(MOperation& operation) override {
    return GetClippingData()->CreateUndoRecord(operation);
  }
  using ISimpleClippableObjectImp::_RenderTextures;

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

// A mesh object that clips itself, as the host's mesh classes do; it slices a copy of its mesh.
class ClippableMesh : public UIStlObject, public ISimpleClippableObjectImp {
public:
  explicit ClippableMesh(float halfSize)
      : UIStlObject(MStlPrimitives::MakeBox({-halfSize, -halfSize, -halfSize}, {halfSize, halfSize, halfSize})),
        ISimpleClippableObjectImp(this) {}
  void DrawCutFaces(IVRender& render) { _RenderTextures(render, MCoordinateSystem()); }

protected:
  void _GetStlToSlice(MStlBase*& mesh, const MMPlaneEq<double>&) override {
    MStlBuilder b;
    std::vector<std::int32_t> xyz;
    for (std::uint32_t i = 0; i < GetStl()->GetNumPoints(); ++i) {
      const MStlPoint& p = GetStl()->GetPoint(i);
      xyz.insert(xyz.end(), {p.x, p.y, p.z});
    }
    b.AddPointsInUnits(xyz);
    std::vector<std::uint32_t> corners;
    ForEachTriangle(*GetStl(), [&](const MStlTriangle& t) {
      for (const MStlPoint* p : t.points) corners.push_back(p->GetMaskIndex());
    });
    b.AddSurface(corners);
    mesh = b.Build().release();
  }
};

// The one cut face of an object clipped by one plane: its parent and its area.
std::pair<const UIObjectMedical*, double> CutFace(ClippableMesh& object) {
  RecordingRender render;
  object.DrawCutFaces(render);
  const auto surfaces = object.GetClippingSurfaces();
  if (surfaces.size() != 1) return {nullptr, 0.0};
  const auto* face = dynamic_cast<const UISurfaceSection*>(surfaces.front());
  if (!face) return {nullptr, 0.0};
  double area = 0;
  const auto& v = face->GetTriangles();
  for (std::size_t i = 0; i + 2 < v.size(); i += 3) {
    const MMPoint3d<double> a(v[i].x, v[i].y, v[i].z), b(v[i + 1].x, v[i + 1].y, v[i + 1].z),
        c(v[i + 2].x, v[i + 2].y, v[i + 2].z);
    area += (b - a).Cross(c - a).Length() / 2;
  }
  return {face->GetParent(), area};
}

struct SectionCreatorScope {
  MClippingData::SurfaceCreator previous = MClippingData::mp_surface_creator;
  SectionCreatorScope() { MClippingData::mp_surface_creator = &UISurfaceSection::Create; }
  ~SectionCreatorScope() { MClippingData::mp_surface_creator = previous; }
};

TEST(ClippableObject, CopiesClipAndCutThemselvesAlsoAfterTheSourceIsGone) {
  SectionCreatorScope sections;
  MClippingPlane plane;  // z = 0
  plane.SetClippingPlane(MFrame<float>({-50, -50, 0}, {100, 0, 0}, {0, 100, 0}, {0, 0, 1}));
  UIOperationClipping add;
  add.SetAction(eClippingAddPlanes);
  add.AddClippingPlane(&plane);

  auto source = std::make_unique<ClippableMesh>(1.0f);  // a cut of 2 x 2
  source->DoOperationClipping(add);
  ClippableMesh copy(*source);
  const ClippableMesh copyOfCopy(copy);  // copied before its first use
  copy.SetStl(MStlPrimitives::MakeBox({-2, -2, -2}, {2, 2, 2}));  // a cut of 4 x 4
  ClippableMesh assigned(3.0f);
  assigned = copy;
  EXPECT_EQ(CutFace(*source), std::make_pair<const UIObjectMedical*>(source.get(), 4.0));
  ASSERT_EQ(CutFace(copy), std::make_pair<const UIObjectMedical*>(&copy, 16.0));
  ASSERT_EQ(CutFace(assigned), std::make_pair<const UIObjectMedical*>(&assigned, 16.0));

  // Faces made anew once the source is gone reach nothing of it.
  source.reset();
  UIOperationClipping invalidate;
  invalidate.SetAction(eClippingInvalidatePlanes);
  invalidate.AddClippingPlane(&plane);
  copy.DoOperationClipping(invalidate);
  EXPECT_EQ(CutFace(copy), std::make_pair<const UIObjectMedical*>(&copy, 16.0));
  ClippableMesh third(copyOfCopy);
  EXPECT_EQ(CutFace(third), std::make_pair<const UIObjectMedical*>(&third, 4.0));
  const auto border = copy.GetSlicedBorder(MMPlaneEq<double>(0, 0, 1, 0));
  ASSERT_EQ(border.GetNumContours(), 1u);
  for (const auto& p : border.GetContour(0).GetPoints())
    EXPECT_DOUBLE_EQ(std::max(std::fabs(p.data.point.x), std::fabs(p.data.point.y)), 2000.0);
}

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
    // The mesh is gone: nothing may point into it.
    EXPECT_EQ(p.data.edge[0], nullptr);
    EXPECT_EQ(p.data.edge[1], nullptr);
    EXPECT_EQ(p.data.triangle, nullptr);
    EXPECT_FALSE(p.data.IsVertex());
  }

  auto missed = box.GetSlicedBorder(MMPlaneEq<double>(0, 0, 1, -50000));
  EXPECT_EQ(missed.GetNumContours(), 0u);
  EXPECT_EQ(g_meshesAlive, 0);

  box.makeMesh = false;
  EXPECT_EQ(box.GetSlicedBorder(MMPlaneEq<double>(0, 0, 1, 0)).GetNumContours(), 0u);
}

// Cut faces numbered as they are made: an address may be reused, a number is not.
class NumberedFace : public UISurface {
public:
  static UISurface* Make() { return new NumberedFace; }
  // The number of the plane's cut face in the box's clipping state; 0 for none.
  static int Of(const ClippableBox& box, MClippingPlane* plane) {
    const auto& planes = box.GetClippingData()->GetPlanes();
    auto it = planes.find(plane);
    return it != planes.end() && it->second ? static_cast<const NumberedFace*>(it->second)->m_number : 0;
  }

private:
  static inline int mg_made = 0;
  int m_number = ++mg_made;
};

class AxialSlices : public IUISliceSetWithNavigation {
public:
  SLICE_TYPE GetSliceType() const override { return eSliceAxial; }
};

// A listed plane as the user sees it: where it is, which side it cuts, what it follows.
struct ListedPlane {
  const MClippingPlane* plane;
  float x;  // the origin's; the frames differ in nothing else
  MClippingPlane::EClippedSide side = MClippingPlane::eClippedSideNormal;
  const IUISliceSetWithNavigation* slices = nullptr;

  bool operator==(const ListedPlane&) const = default;
  friend std::ostream& operator<<(std::ostream& os, const ListedPlane& p) {
    return os << "{" << p.plane << " at " << p.x << ", side " << p.side << ", slices " << p.slices << "}";
  }
};
using PlaneList = std::vector<ListedPlane>;

PlaneList ListedPlanes(const ClippableBox& box) {
  PlaneList list;
  for (const auto& [plane, face] : box.GetClippingData()->GetPlanes()) {
    MClippingPlane copy(*plane);
    list.push_back({plane, copy.GetClippingPlane(false).O.x, copy.GetClippedSide(), copy.GetSliceSet()});
  }
  return list;
}

// Every cached cut face was made for its plane as the plane is now.
void ExpectNoStaleFace(const ClippableBox& box, const char* when) {
  for (const auto& [plane, face] : box.GetClippingData()->GetPlanes())
    if (face) {
      EXPECT_EQ(face->GetFrame(), MClippingPlane(*plane).GetClippingPlane(true)) << when;
    }
}

TEST(ClippableObject, UndoGivesBackThePlanesBeforeAnActionAndRedoThoseAfter) {
  MClippingData::mp_surface_creator = &NumberedFace::Make;
  MClippingPlane a, b, c;
  AxialSlices slices;
  const auto frameAt = [](float x) { return MFrame<float>({x, -20, -20}, {0, 40, 0}, {0, 0, 40}, {1, 0, 0}); };
  struct Case {
    const char* name;
    EClippingAction action;
    std::vector<MClippingPlane*> planes;
    std::function<void()> change;  // what the host changes between Prepare and Do
    PlaneList after;
    bool keepsFaceOfA;  // a's cut face is never stale, so it is never remade
  };
  const Case cases[] = {
      {"add", eClippingAddPlanes, {&c}, {}, {{&a, 1}, {&b, 2}, {&c, 3}}, true},
      {"add a listed plane", eClippingAddPlanes, {&a}, {}, {{&a, 1}, {&b, 2}}, true},
      {"remove", eClippingRemovePlanes, {&b}, {}, {{&a, 1}}, true},
      {"clear", eClippingClearPlanes, {}, {}, {}, false},
      {"change",
       eClippingPlanesChanged,
       {&a},
       [&] {
         a.SetClippingPlane(frameAt(5));
         a.SetClippedSide(MClippingPlane::eClippedSideReversed);
         a.SetSliceSet(&slices);
       },
       {{&a, 5, MClippingPlane::eClippedSideReversed, &slices}, {&b, 2}},
       false},
      {"invalidate", eClippingInvalidatePlanes, {&b}, {}, {{&a, 1}, {&b, 2}}, true},
      {"other", eClippingOther, {&a, &c}, {}, {{&a, 1}, {&b, 2}}, true},
  };
  for (const Case& k : cases) {
    for (auto [plane, x] : {std::pair{&a, 1.0f}, {&b, 2.0f}, {&c, 3.0f}}) {
      *plane = MClippingPlane();
      plane->SetClippingPlane(frameAt(x));
    }
    ClippableBox box;
    UIOperationClipping add;
    add.SetAction(eClippingAddPlanes);
    add.AddObject(&box);
    add.AddClippingPlane(&a);
    add.AddClippingPlane(&b);
    ASSERT_TRUE(add.Do());
    RecordingRender render;
    const MCoordinateSystem system;
    auto drawFaces = [&] { box._RenderTextures(render, system); };
    drawFaces();
    const PlaneList before = ListedPlanes(box);
    const int faceOfA = NumberedFace::Of(box, &a);

    UIOperationClipping op;
    op.SetAction(k.action);
    op.AddObject(&box);
    for (MClippingPlane* p : k.planes) op.AddClippingPlane(p);
    ASSERT_TRUE(op.Prepare()) << k.name;
    if (k.change) k.change();
    ASSERT_TRUE(op.Do()) << k.name;
    EXPECT_EQ(ListedPlanes(box), k.after) << k.name;
    if (k.action == eClippingInvalidatePlanes) {
      EXPECT_EQ(box.GetClippingData()->GetPlanes().at(&b), nullptr) << "its cut face is dropped";
    }
    drawFaces();
    for (int round = 0; round < 2; ++round) {
      EXPECT_TRUE(op.Undo()) << k.name;
      EXPECT_EQ(ListedPlanes(box), before) << k.name << ", undone";
      ExpectNoStaleFace(box, k.name);
      drawFaces();
      EXPECT_TRUE(op.Redo()) << k.name;
      EXPECT_EQ(ListedPlanes(box), k.after) << k.name << ", redone";
      ExpectNoStaleFace(box, k.name);
      drawFaces();
    }
    EXPECT_EQ(NumberedFace::Of(box, &a) == faceOfA, k.keepsFaceOfA) << k.name;
  }
  MClippingData::mp_surface_creator = nullptr;
}

}  // namespace
