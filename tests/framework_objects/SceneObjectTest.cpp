// Scene objects: visibility and presence per scene, coordinate systems of copies, the
// views they are offered in, the cut-face surface, and where objects draw.
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
  // Offered in every view (3D-only objects are the volume's test), drawn in no window.
  EXPECT_TRUE(o.IsSupportedByViewChild(nullptr));
  EXPECT_FALSE(o.IsSupportedByWindow(nullptr));
}

// Over the frame, counter-clockwise seen along -N as front faces are; a flipped normal
// flips the winding, and a setup without an area or a parent draws nothing.
TEST(CutSurface, TheFaceDrawsOverTheFrameFacingAgainstTheNormal) {
  UIObjectMedical parent;
  const struct {
    MFrame<float> frame;
    float nz;  // of every vertex, and the sign of the winding
  } cases[] = {{MFrame<float>({1, 2, 3}, {4, 0, 0}, {0, 2, 0}, {0, 0, 1}), 1.0f},
               {MFrame<float>({1, 2, 3}, {4, 0, 0}, {0, 2, 0}, {0, 0, -2}), -1.0f}};
  for (const auto& c : cases) {
    UISurface surface;
    MFrame<float> frame = c.frame;
    ASSERT_TRUE(surface.Setup(&parent, frame, 2));
    M3DBoundingBox<float> box;
    surface.GetBoundingBox(box, kAll);
    EXPECT_EQ(box.Min(), (MMPoint3d<float>(1, 2, 3)));
    EXPECT_EQ(box.Max(), (MMPoint3d<float>(5, 4, 3)));
    RecordingRender render;
    UIObject* asObject = &surface;
    asObject->GetRender()->Render(render, surface.GetCoordinateSystem());
    const auto v = render.Batches<IVVertexPN>().at(0).vertices;
    ASSERT_EQ(v.size(), 6u);
    for (const IVVertexPN& p : v) EXPECT_EQ(std::pair(p.z, p.nz), std::pair(3.0f, c.nz));
    EXPECT_GT(c.nz * ((v[1].x - v[0].x) * (v[2].y - v[0].y) - (v[1].y - v[0].y) * (v[2].x - v[0].x)), 0.0f);
  }

  UISurface surface;
  MFrame<float> line({0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 0, 1}), flat({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
  EXPECT_FALSE(surface.Setup(&parent, line, 0));
  EXPECT_FALSE(surface.Setup(nullptr, flat, 0));
  RecordingRender render;
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
