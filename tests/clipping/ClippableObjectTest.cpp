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
#include <tuple>
#include <vector>

namespace {

int g_meshesAlive = 0;

// A mesh that counts itself, so the tests see who deletes it.
class CountedMesh : public MStlBase {
public:
  CountedMesh() { ++g_meshesAlive; }
  ~CountedMesh() override { --g_meshesAlive; }
};

// A box mesh object that clips itself, as the host's mesh classes do: it takes part in
// operations and their undo, and slices a new copy of its mesh.
class ClippableMesh : public UIStlObject, public ISimpleClippableObjectImp {
public:
  explicit ClippableMesh(float halfSize)
      : UIStlObject(MStlPrimitives::MakeBox({-halfSize, -halfSize, -halfSize}, {halfSize, halfSize, halfSize})),
        ISimpleClippableObjectImp(this) {}
  bool makeMesh = true;

  bool DoOperation(MOperation& operation) override { return DoOperationClipping(operation); }
  std::unique_ptr<MUndoRecord> CreateUndoRecord(MOperation& operation) override {
    return GetClippingData()->CreateUndoRecord(operation);
  }
  void DrawCutFaces(IVRender& render) { _RenderTextures(render, MCoordinateSystem()); }

protected:
  void _GetStlToSlice(MStlBase*& mesh, const MMPlaneEq<double>&) override {
    if (!makeMesh) return;
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
    auto* counted = new CountedMesh;
    b.AppendTo(*counted);
    mesh = counted;
  }
};

// The one cut face of an object clipped by one plane: its parent and how far it reaches.
std::pair<const UIObjectMedical*, float> CutFace(ClippableMesh& object) {
  RecordingRender render;
  object.DrawCutFaces(render);
  const auto surfaces = object.GetClippingSurfaces();
  const auto* face = surfaces.size() == 1 ? dynamic_cast<const UISurfaceSection*>(surfaces.front()) : nullptr;
  if (!face) return {nullptr, 0.0f};
  M3DBoundingBox<float> box;
  face->GetBoundingBox(box, UIObject::kAllScenes);
  return {face->GetParent(), box.xmax};
}

UIOperationClipping Operation(EClippingAction action, MClippingPlane* plane) {
  UIOperationClipping op;
  op.SetAction(action);
  op.AddClippingPlane(plane);
  return op;
}

TEST(ClippableObject, CopiesClipAndCutThemselvesAlsoAfterTheSourceIsGone) {
  MClippingData::mp_surface_creator = &UISurfaceSection::Create;
  MClippingPlane plane;  // z = 0
  plane.SetClippingPlane(MFrame<float>({-50, -50, 0}, {100, 0, 0}, {0, 100, 0}, {0, 0, 1}));
  UIOperationClipping add = Operation(eClippingAddPlanes, &plane);

  auto source = std::make_unique<ClippableMesh>(1.0f);
  source->DoOperationClipping(add);
  ClippableMesh copy(*source);
  const ClippableMesh copyOfCopy(copy);  // copied before its first use
  copy.SetStl(MStlPrimitives::MakeBox({-2, -2, -2}, {2, 2, 2}));
  ClippableMesh assigned(3.0f);
  assigned = copy;
  using Face = std::pair<const UIObjectMedical*, float>;
  EXPECT_EQ(CutFace(*source), Face(source.get(), 1));
  ASSERT_EQ(CutFace(copy), Face(&copy, 2));
  ASSERT_EQ(CutFace(assigned), Face(&assigned, 2));

  // Faces made anew once the source is gone reach nothing of it.
  source.reset();
  UIOperationClipping invalidate = Operation(eClippingInvalidatePlanes, &plane);
  copy.DoOperationClipping(invalidate);
  EXPECT_EQ(CutFace(copy), Face(&copy, 2));
  ClippableMesh third(copyOfCopy);
  EXPECT_EQ(CutFace(third), Face(&third, 1));
  MClippingData::mp_surface_creator = nullptr;
}

TEST(ClippableObject, SlicedBorderIsTheSectionAndTheMeshIsDeletedEvenWhenMissed) {
  ClippableMesh box(10.0f);
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
  }
  EXPECT_EQ(box.GetSlicedBorder(MMPlaneEq<double>(0, 0, 1, -50000)).GetNumContours(), 0u);
  EXPECT_EQ(g_meshesAlive, 0);
  box.makeMesh = false;
  EXPECT_EQ(box.GetSlicedBorder(MMPlaneEq<double>(0, 0, 1, 0)).GetNumContours(), 0u);
}

// Cut faces numbered as they are made: an address may be reused, a number is not.
class NumberedFace : public UISurface {
public:
  static UISurface* Make() { return new NumberedFace; }
  // The number of the plane's cut face in the box's clipping state; 0 for none.
  static int Of(const ClippableMesh& box, MClippingPlane* plane) {
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

// A listed plane as the user sees it: where it is (the origin's x; the frames differ in
// nothing else), which side it cuts, what it follows.
using ListedPlane = std::tuple<const MClippingPlane*, float, int, const IUISliceSetWithNavigation*>;
ListedPlane L(const MClippingPlane* plane, float x, int side = MClippingPlane::eClippedSideNormal,
              const IUISliceSetWithNavigation* slices = nullptr) {
  return {plane, x, side, slices};
}
using PlaneList = std::vector<ListedPlane>;

PlaneList ListedPlanes(const ClippableMesh& box) {
  PlaneList list;
  for (const auto& [plane, face] : box.GetClippingData()->GetPlanes()) {
    MClippingPlane copy(*plane);
    list.push_back(L(plane, copy.GetClippingPlane(false).O.x, copy.GetClippedSide(), copy.GetSliceSet()));
  }
  return list;
}

// Every cached cut face was made for its plane as the plane is now.
void ExpectNoStaleFace(const ClippableMesh& box, const char* when) {
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
      {"add", eClippingAddPlanes, {&c}, {}, {L(&a, 1), L(&b, 2), L(&c, 3)}, true},
      {"add a listed plane", eClippingAddPlanes, {&a}, {}, {L(&a, 1), L(&b, 2)}, true},
      {"remove", eClippingRemovePlanes, {&b}, {}, {L(&a, 1)}, true},
      {"clear", eClippingClearPlanes, {}, {}, {}, false},
      {"change",
       eClippingPlanesChanged,
       {&a},
       [&] {
         a.SetClippingPlane(frameAt(5));
         a.SetClippedSide(MClippingPlane::eClippedSideReversed);
         a.SetSliceSet(&slices);
       },
       {L(&a, 5, MClippingPlane::eClippedSideReversed, &slices), L(&b, 2)},
       false},
      {"invalidate", eClippingInvalidatePlanes, {&b}, {}, {L(&a, 1), L(&b, 2)}, true},
      {"other", eClippingOther, {&a, &c}, {}, {L(&a, 1), L(&b, 2)}, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    for (auto [plane, x] : {std::pair{&a, 1.0f}, {&b, 2.0f}, {&c, 3.0f}}) {
      *plane = MClippingPlane();
      plane->SetClippingPlane(frameAt(x));
    }
    ClippableMesh box(10.0f);
    UIOperationClipping add = Operation(eClippingAddPlanes, &a);
    add.AddObject(&box);
    add.AddClippingPlane(&b);
    ASSERT_TRUE(add.Do());
    RecordingRender render;
    auto drawFaces = [&] { box.DrawCutFaces(render); };
    drawFaces();
    const PlaneList before = ListedPlanes(box);
    const int faceOfA = NumberedFace::Of(box, &a);

    UIOperationClipping op;
    op.SetAction(k.action);
    op.AddObject(&box);
    for (MClippingPlane* p : k.planes) op.AddClippingPlane(p);
    ASSERT_TRUE(op.Prepare());
    if (k.change) k.change();
    ASSERT_TRUE(op.Do());
    EXPECT_EQ(ListedPlanes(box), k.after);
    EXPECT_EQ(box.IsClipped(), !k.after.empty());
    if (k.action == eClippingInvalidatePlanes) {
      EXPECT_EQ(box.GetClippingData()->GetPlanes().at(&b), nullptr) << "its cut face is dropped";
    }
    drawFaces();
    for (int round = 0; round < 2; ++round) {
      EXPECT_TRUE(op.Undo());
      EXPECT_EQ(ListedPlanes(box), before) << "undone";
      ExpectNoStaleFace(box, "undone");
      drawFaces();
      EXPECT_TRUE(op.Redo());
      EXPECT_EQ(ListedPlanes(box), k.after) << "redone";
      ExpectNoStaleFace(box, "redone");
      drawFaces();
    }
    EXPECT_EQ(NumberedFace::Of(box, &a) == faceOfA, k.keepsFaceOfA);
  }
  MClippingData::mp_surface_creator = nullptr;
}

}  // namespace
