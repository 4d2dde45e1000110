// The 2D overlay of a scene: the box manipulator of the first opaque mesh and a label with
// an arrow for every cut plane, drawn through GDI onto the picture read back from the
// renderer.
#include "scene/SceneRenderer.h"

#include "scene/ClippedMeshObject.h"
#include "backends/cairo/CGdiDeviceCairo.h"
#include "host/view/UIWnd3D.h"
#include "host/gdi/CDeviceDC.h"
#include "host/gdi/WinUser.h"
#include "vistal/render/IVRenderEx.h"
#include "vistal/render/IVRenderExBoundingBox.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using P = MMPoint3d<double>;

// Keeps the part of a convex polygon where n . p + d >= 0.
std::vector<P> KeepSide(const std::vector<P>& polygon, const P& n, double d) {
  std::vector<P> kept;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const P& a = polygon[i];
    const P& b = polygon[(i + 1) % polygon.size()];
    const double da = n.Dot(a) + d, db = n.Dot(b) + d;
    if (da >= 0) kept.push_back(a);
    if ((da >= 0) != (db >= 0)) kept.push_back(a + (b - a) * (da / (da - db)));
  }
  return kept;
}

// Where a plane's label points: the middle of what the plane cuts from the box and keeps
// of the other planes, which lies on its cut face; the plane's origin when it cuts
// nothing there.
P LabelTarget(const std::vector<ScenePlane>& planes, std::size_t index, const M3DBoundingBox<float>& box) {
  const ScenePlane& plane = planes[index];
  const P origin(plane.origin.x, plane.origin.y, plane.origin.z);
  if (!box.IsValid()) return origin;
  P n(plane.normal.x, plane.normal.y, plane.normal.z);
  n = n * (1.0 / n.Length());
  const P helper = std::fabs(n.z) < 0.9 ? P(0, 0, 1) : P(1, 0, 0);
  P u = n.Cross(helper);
  u = u * (1.0 / u.Length());
  const P v = n.Cross(u);
  const double size = 2.0 * (P(box.xmax, box.ymax, box.zmax) - P(box.xmin, box.ymin, box.zmin)).Length() + 1.0;
  std::vector<P> polygon{origin - u * size - v * size, origin + u * size - v * size, origin + u * size + v * size,
                         origin - u * size + v * size};
  const P axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  const double lo[3] = {box.xmin, box.ymin, box.zmin}, hi[3] = {box.xmax, box.ymax, box.zmax};
  for (int k = 0; k < 3; ++k) {
    polygon = KeepSide(polygon, axes[k], -lo[k]);
    polygon = KeepSide(polygon, axes[k] * -1.0, hi[k]);
  }
  for (std::size_t j = 0; j < planes.size(); ++j) {
    if (j == index) continue;
    const P o(planes[j].origin.x, planes[j].origin.y, planes[j].origin.z);
    P m(planes[j].normal.x, planes[j].normal.y, planes[j].normal.z);
    if (planes[j].cutsNormalSide) m = m * -1.0;
    polygon = KeepSide(polygon, m, -m.Dot(o));
  }
  if (polygon.empty()) return origin;
  P sum(0, 0, 0);
  for (const P& p : polygon) sum += p;
  return sum * (1.0 / double(polygon.size()));
}

}  // namespace

void DrawBoxManipulator(CDC& dc, UIObject& object, UIWnd3D& window, COLORREF background,
                        IVRenderEx::CBoundingBox::EMouseType hover) {
  IVRenderEx::CBoundingBox manipulator(true);
  if (!manipulator.Build(&object, &window)) return;
  // Far handles dimmer under the near ones, then the centre spot; what the mouse is on
  // lights up white.
  const COLORREF handle = 0x40D0FF;  // amber
  const COLORREF nearColour = hover == IVRenderEx::CBoundingBox::eMouseHandle ? 0xFFFFFF : handle;
  CPen far, near, spotPen;
  far.CreatePen(PS_SOLID, 2, IVRenderEx::MixColorsRGBA(nearColour, background, 0.45f) & 0xFFFFFF);
  near.CreatePen(PS_SOLID, 2, nearColour);
  spotPen.CreatePen(PS_SOLID, 1, 0x202020);
  CBrush spotBrush;
  spotBrush.CreateSolidBrush(hover == IVRenderEx::CBoundingBox::eMouseCenter ? 0xFFFFFF : handle);
  CPen* previousPen = dc.SelectObject(&far);
  manipulator.RenderHandles(dc, true);
  dc.SelectObject(&near);
  manipulator.RenderHandles(dc, false);
  dc.SelectObject(&spotPen);
  CBrush* previousBrush = dc.SelectObject(&spotBrush);
  manipulator.RenderCenterSpot(dc);
  dc.SelectObject(previousBrush);
  dc.SelectObject(previousPen);
}

IVRenderEx::CBoundingBox::EMouseType HitBoxManipulator(UIObject& object, UIWnd3D& window, CPoint point) {
  IVRenderEx::CBoundingBox manipulator(true);
  if (!manipulator.Build(&object, &window)) return IVRenderEx::CBoundingBox::eMouseOutside;
  IVRenderEx::CBoundingBox::EAxis axis;
  unsigned vertex = 0;
  return manipulator.WhereIsTheMouse(axis, vertex, point);
}

void SceneRenderer::DrawOverlays(MImageRGBA& image) {
  if (!m_scene.showManipulator || image.Width() == 0 || image.Height() == 0) return;
  // The picture must be the one the camera framed, or nothing would land where it belongs.
  if (image.Width() != m_camera.GetWindowWidth() || image.Height() != m_camera.GetWindowHeight()) return;

  CGdiDeviceCairo device(image);
  CDeviceDC dc(device);
  UIWnd3D window;
  window.GetCamera() = m_camera;
  const COLORREF background = m_scene.view.background & 0xFFFFFF;
  const CRect picture(0, 0, int(image.Width()), int(image.Height()));

  M3DBoundingBox<float> box;
  if (!m_opaque.empty()) IVRenderEx::GetBoundingBox(box, m_opaque.front().get());

  // A label for every plane, an arrow from it to the plane's cut; under the manipulator,
  // whose handles and centre spot must stay in sight.
  LOGFONTW description;
  IVRenderEx::InitLOGFONT(description, L"DejaVu Sans");
  description.lfWeight = 700;
  CFont font;
  IVRenderEx::CreateGdiFont(font, dc, description, 3.5f);
  CFont* previousFont = dc.SelectObject(&font);
  dc.SetTextColor(0xFFFFFF);
  dc.SetBkColor(background);
  const int arrow = IVRenderEx::ConvertMmToPointsInX(dc, 7.0f);
  const int gap = 3;
  for (std::size_t i = 0; i < m_scene.planes.size(); ++i) {
    MMPoint3d<double> onScreen;
    if (!m_camera.ProjectToWindow(LabelTarget(m_scene.planes, i, box), onScreen)) continue;
    const CPoint target(int(std::clamp(std::lround(onScreen.x), 0L, long(picture.right - 1))),
                        int(std::clamp(std::lround(onScreen.y), 0L, long(picture.bottom - 1))));
    const std::wstring text = L"plane " + std::to_wstring(i + 1);
    const CSize extent = dc.GetTextExtent(text.c_str(), int(text.size()));
    // The label sits beside the target, on the side with room, the arrow level between them.
    const bool right = target.x + arrow + gap + extent.cx + 2 < picture.right;
    const CPoint from(target.x + (right ? arrow : -arrow), target.y);
    CRect label(right ? from.x + gap : from.x - gap - extent.cx, target.y - extent.cy / 2, 0, 0);
    label.right = label.left + extent.cx;
    label.bottom = label.top + extent.cy;
    IVRenderEx::MoveRectToBeInBaseRect(label, picture, nullptr);
    IVRenderEx::DrawBoldArrow(dc, from, target, &picture);
    IVRenderEx::DrawTextOutlined(dc, 1, text.c_str(), label, DT_SINGLELINE | DT_LEFT | DT_NOCLIP);
  }
  dc.SelectObject(previousFont);

  if (!m_opaque.empty()) DrawBoxManipulator(dc, *m_opaque.front(), window, background);

  device.Flush();
}
