#include "scene/SceneObject.h"

#include "host/mesh/MStlBase.h"
#include "host/render/IVRender.h"
#include "host/view/UIWnd3D.h"

SceneObject::SceneObject(Scene scene) : m_renderer(std::move(scene)) {
  for (const MMPoint3d<double>& p : m_renderer.KeptPoints()) m_box.Add(MMPoint3d<float>(float(p.x), float(p.y), float(p.z)));
  // A scene whose planes keep nothing still has a place: the box of its meshes.
  if (!m_box.IsValid())
    for (const SceneMesh& mesh : m_renderer.GetScene().meshes) m_box.Add(mesh.mesh->GetBoundingBox());
}

SceneObject::~SceneObject() = default;

void SceneObject::GetBoundingBox(M3DBoundingBox<float>& box, unsigned) const { box = m_box; }

void SceneObject::GetKeptPoints(std::vector<MMPoint3d<double>>& points, unsigned, const MClipRegion&) const {
  const std::vector<MMPoint3d<double>>& kept = m_renderer.KeptPoints();
  points.insert(points.end(), kept.begin(), kept.end());
}

void SceneObject::Render(IVRender& render, const MCoordinateSystem&) {
  // The eye as the loaded world-to-eye matrix places it: a rotation R and a translation t
  // put the eye at -R^T t, looking along the eye's -z axis, the third row of R negated.
  const auto& m = render.GetState().worldToEye;
  const MMPoint3d<double> eye(-(m[0] * m[3] + m[4] * m[7] + m[8] * m[11]), -(m[1] * m[3] + m[5] * m[7] + m[9] * m[11]),
                              -(m[2] * m[3] + m[6] * m[7] + m[10] * m[11]));
  const MMPoint3d<double> direction(-m[8], -m[9], -m[10]);
  m_renderer.DrawContents(render, eye, direction);
}

void SceneObject::RenderGDI(CDC& dc, const MCoordinateSystem&) {
  UIObject* object = m_renderer.GetManipulatedObject();
  if (mp_manipulator_view && object)
    DrawBoxManipulator(dc, *object, *mp_manipulator_view, GetScene().view.background & 0xFFFFFF, m_hover);
}

bool SceneObject::TrackMouse(CPoint point) {
  UIObject* object = m_renderer.GetManipulatedObject();
  const auto hover = mp_manipulator_view && object ? HitBoxManipulator(*object, *mp_manipulator_view, point)
                                                    : IVRenderEx::CBoundingBox::eMouseOutside;
  const bool changed = hover != m_hover;
  m_hover = hover;
  return changed;
}
