// Scene objects: visibility and presence per scene, coordinate systems of copies, the
// views they are offered in, the cut-face surface, and where objects draw.
#include "host/core/IQNViewChild.h"
#include "host/core/UIObjectMedical.h"
#include "host/core/UIStlObject.h"
#include "host/core/UISurface.h"
#include "host/framework/MTransformRepository.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlPrimitives.h"
#include "host/meshops/UISurfaceSection.h"
#include "testing/MatrixRecordingRender.h"

#include <gtest/gtest.h>

namespace {

constexpr unsigned kAll = UIObject::kAllScenes;

TEST(SceneObject, VisibilityIsKeptPerSceneWithAllScenesResettingEveryScene) {
  UIObject o;
  EXPECT_TRUE(o.IsVisible(0));
  EXPECT_TRUE(o.IsVisible(kAll));

  o.SetVisible(false, 3);
  EXPECT_FALSE(o.IsVisible(3));
  EXPECT_TRUE(o.IsVisible(4));
  EXPECT_FALSE(o.IsVisible(kAll));  // not visible in every scene any more

  o.SetVisible(true, 3);
  EXPECT_TRUE(o.IsVisible(kAll));

  o.SetVisible(false, 3);
  o.SetVisible(true, kAll);
  EXPECT_TRUE(o.IsVisible(3));

  o.SetVisible(false, kAll);
  o.SetVisible(true, 2);
  EXPECT_TRUE(o.IsVisible(2));
  EXPECT_FALSE(o.IsVisible(1));
  EXPECT_FALSE(o.IsVisible(kAll));
}

TEST(SceneObject, CopySitsWhereTheOriginalSitsInASystemOfItsOwn) {
  MCoordinateSystem parent;
  UIObject original;
  const double shift[16] = {1, 0, 0, 10, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  original.GetCoordinateSystem().GetInternalSystem()->SetDependent(parent.GetInternalSystem());
  ASSERT_TRUE(original.GetCoordinateSystem().GetInternalSystem()->SetLocalTransform(MMTransformMatrix(shift)));
  original.SetVisible(false, 9);

  UIObject copy(original);
  auto* mine = copy.GetCoordinateSystem().GetInternalSystem();
  EXPECT_NE(copy.GetCoordinateSystem(), original.GetCoordinateSystem());
  EXPECT_EQ(mine->GetParent(), parent.GetInternalSystem());
  MMPoint3d<double> p;
  ASSERT_TRUE(MTransformRepository::mgp_instance->GetTransform(copy.GetCoordinateSystem(), parent)
                  .TransformPoint(p, {0, 0, 0}, false));
  EXPECT_DOUBLE_EQ(p.x, 10.0);
  EXPECT_FALSE(copy.IsVisible(9));

  // Moving the copy leaves the original where it was.
  ASSERT_TRUE(mine->SetLocalTransform(MMTransformMatrix()));
  EXPECT_EQ(original.GetCoordinateSystem().GetInternalSystem()->GetLocalTransform().GetKind(),
            MMTransformMatrix::eTranslation);

  UIObject assigned;
  assigned = original;
  EXPECT_NE(assigned.GetCoordinateSystem(), original.GetCoordinateSystem());
  EXPECT_EQ(assigned.GetCoordinateSystem().GetInternalSystem()->GetParent(), parent.GetInternalSystem());
}

TEST(MedicalObject, IsVisibleOnlyInScenesItIsPresentIn) {
  UIObjectMedical o;
  EXPECT_TRUE(o.IsPresentInScene(1));
  o.SetPresentInScene(1u, false);
  EXPECT_FALSE(o.IsPresentInScene(1));
  EXPECT_FALSE(o.IsVisible(1));
  EXPECT_TRUE(o.IsVisible(2));
  o.SetVisible(true, 1);
  EXPECT_FALSE(o.IsVisible(1));  // shown, but not part of that scene
  o.SetPresentInScene(kAll, true);
  EXPECT_TRUE(o.IsVisible(1));
  EXPECT_TRUE(o.IsVisible(kAll));
}

class View : public IQNViewChild {
public:
  explicit View(bool is3d) : m_3d(is3d) {}
  bool Is3D() const override { return m_3d; }

private:
  bool m_3d;
};

class Only3D : public UIObjectMedical {
public:
  bool IsSupportedByViewChild(const IQNViewChild* v) const override { return _IsSupportedBy3DView(v); }
};

TEST(MedicalObject, ThreeDimensionalObjectsAreOfferedExactlyIn3DViews) {
  const View view3d(true), view2d(false);
  Only3D only3d;
  EXPECT_TRUE(only3d.IsSupportedByViewChild(&view3d));
  EXPECT_FALSE(only3d.IsSupportedByViewChild(&view2d));
  EXPECT_FALSE(only3d.IsSupportedByViewChild(nullptr));

  UIObjectMedical any;
  EXPECT_TRUE(any.IsSupportedByViewChild(&view2d));
  EXPECT_FALSE(any.IsSupportedByWindow(nullptr));
}

TEST(CutSurface, TheFaceDrawsOverTheFrameCounterClockwise) {
  UIObjectMedical parent;
  MFrame<float> frame({1, 2, 3}, {4, 0, 0}, {0, 2, 0}, {0, 0, 1});
  UISurface surface;
  ASSERT_TRUE(surface.Setup(&parent, frame, 2));

  M3DBoundingBox<float> box;
  surface.GetBoundingBox(box, kAll);
  EXPECT_EQ(box.Min(), (MMPoint3d<float>(1, 2, 3)));
  EXPECT_EQ(box.Max(), (MMPoint3d<float>(5, 4, 3)));

  RecordingRender render;
  UIObject* asObject = &surface;
  asObject->GetRender()->Render(render, surface.GetCoordinateSystem());
  const auto batches = render.Batches<IVVertexPN>();
  ASSERT_EQ(batches.size(), 1u);
  ASSERT_EQ(batches[0].vertices.size(), 6u);
  for (const IVVertexPN& v : batches[0].vertices) {
    EXPECT_EQ(v.z, 3.0f);
    EXPECT_EQ(v.nz, 1.0f);
  }
  // Counter-clockwise seen along -N, as front faces are.
  const IVVertexPN& a = batches[0].vertices[0];
  const IVVertexPN& b = batches[0].vertices[1];
  const IVVertexPN& c = batches[0].vertices[2];
  EXPECT_GT((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x), 0.0f);
}

TEST(CutSurface, FlippedNormalFlipsTheWindingAndBadSetupsDrawNothing) {
  UIObjectMedical parent;
  UISurface surface;
  MFrame<float> flipped({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, -2});
  ASSERT_TRUE(surface.Setup(&parent, flipped, 0));
  RecordingRender render;
  surface.Render(render, surface.GetCoordinateSystem());
  const auto v = render.Batches<IVVertexPN>().at(0).vertices;
  EXPECT_EQ(v[0].nz, -1.0f);  // unit length
  EXPECT_LT((v[1].x - v[0].x) * (v[2].y - v[0].y) - (v[1].y - v[0].y) * (v[2].x - v[0].x), 0.0f);

  MFrame<float> line({0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 0, 1});
  EXPECT_FALSE(surface.Setup(&parent, line, 0));
  EXPECT_FALSE(surface.Setup(nullptr, flipped, 0));
  render.Clear();
  surface.Render(render, surface.GetCoordinateSystem());
  EXPECT_TRUE(render.Calls().empty());
  M3DBoundingBox<float> box;
  surface.GetBoundingBox(box, kAll);
  EXPECT_FALSE(box.IsValid());
}

TEST(SceneObjectRender, ObjectsDrawThroughThePlacementOfTheirSystemAndRestoreTheMatrix) {
  UIStlObject mesh(std::shared_ptr<MStlBase>(MStlPrimitives::MakeBox({-1, -1, -1}, {1, 1, 1})));
  MFrame<float> frame({-5, -5, 0}, {10, 0, 0}, {0, 10, 0}, {0, 0, 1});
  UISurface face;
  UISurfaceSection section;
  ASSERT_TRUE(face.Setup(&mesh, frame, 0));
  ASSERT_TRUE(section.Setup(&mesh, frame, 0));

  // The renderer draws in `view` with a camera that doubles sizes; each object sits in a
  // system of its own, shifted by (10, 20, 30) in `view`.
  const MCoordinateSystem view;
  const MatrixRecordingRender::Matrix camera{2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1};
  const double shift[16] = {1, 0, 0, 10, 0, 1, 0, 20, 0, 0, 1, 30, 0, 0, 0, 1};
  for (UIObject* object : std::initializer_list<UIObject*>{&mesh, &face, &section}) {
    const std::wstring name = object->GetUserInterfaceTypeName();
    MTransformRepositoryCoordinateSystem* own = object->GetCoordinateSystem().GetInternalSystem();
    ASSERT_TRUE(own->SetDependent(view.GetInternalSystem()));
    ASSERT_TRUE(own->SetLocalTransform(MMTransformMatrix(shift)));

    MatrixRecordingRender render;
    render.LoadWorldToEyeMatrix(camera.data());
    object->Render(render, view);
    const auto batches = render.Batches<IVVertexPN>();
    ASSERT_EQ(render.DrawnWith().size(), 1u) << name;
    for (const IVVertexPN& v : batches.at(0).vertices) {
      const MMPoint3d<float> eye = MatrixRecordingRender::Map(render.DrawnWith()[0], v.x, v.y, v.z);
      EXPECT_EQ(eye, MMPoint3d<float>(2 * (v.x + 10), 2 * (v.y + 20), 2 * (v.z + 30))) << name;
    }
    EXPECT_EQ(render.GetState().worldToEye, camera) << name << ": the matrix is put back";

    // Drawn in its own system, the object needs no matrix of its own.
    render.Clear();
    object->Render(render, object->GetCoordinateSystem());
    EXPECT_EQ(render.DrawnWith().back(), camera) << name;
    EXPECT_EQ(render.CountOf(ERenderCall::LoadWorldToEyeMatrix), 0u) << name;
  }
}

}  // namespace
