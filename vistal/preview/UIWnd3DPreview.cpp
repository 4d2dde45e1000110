#include "vistal/preview/UIWnd3DPreview.h"

#include "host/core/CQNPreferences.h"
#include "host/core/ResourceStrings.h"
#include "host/core/UIObjectMedical.h"
#include "host/framework/MMTransformMatrix.h"
#include "host/gdi/CDC.h"
#include "host/gdi/WinGdi.h"
#include "host/render/IVDisplaySurface.h"
#include "host/render/IVRender.h"
#include "vistal/preview/Implementation/PreviewBoxes.h"
#include "vistal/render/Implementation/PixelRounding.h"

#include <algorithm>
#include <cwchar>

BEGIN_MESSAGE_MAP(UIWnd3DPreview, UIWnd3D)
  ON_WM_CREATE()
  ON_WM_NCCALCSIZE()
  ON_WM_NCPAINT()
END_MESSAGE_MAP()

namespace {
constexpr unsigned kAllScenes = 0xFFFFFFFF;
// Fresh framings of two or more objects leave this many pixels round their union.
constexpr LONG kFramingBorder = 5;
}  // namespace

UIWnd3DPreview::UIWnd3DPreview() : UIWnd3D(true) {}

UIWnd3DPreview::~UIWnd3DPreview() { _DeleteObjects(); }

void UIWnd3DPreview::_DeleteObjects() {
  if (m_owns_objects)
    for (UIObject* object : m_objects) delete object;
  m_objects.clear();
}

void UIWnd3DPreview::ClearPreview(unsigned int textId) {
  _DeleteObjects();
  m_empty_text_id = textId;
  if (GetSafeHwnd()) InvalidateRect(nullptr, FALSE);
}

void UIWnd3DPreview::SetObjectToPreview(const std::vector<UIObject*>& objects, unsigned int textId, bool keepView,
                                        bool ownsObjects, MOperationView::MDefaultView view) {
  const bool wasEmpty = m_objects.empty();
  // The camera stays only for a list that shares an object with the one shown.
  if (keepView)
    keepView = std::any_of(objects.begin(), objects.end(), [this](UIObject* object) {
      return std::find(m_objects.begin(), m_objects.end(), object) != m_objects.end();
    });
  m_empty_text_id = textId;
  _DeleteObjects();
  m_objects = objects;
  m_owns_objects = ownsObjects;

  if (!wasEmpty && keepView) {
    std::list<IRender*> targets = _GetTargetObjectsClipping();
    m_camera.SetClippingPlanes(targets, kAllScenes);
  } else {
    _FrameAfresh(view);
  }
  if (GetSafeHwnd()) InvalidateRect(nullptr, TRUE);
}

void UIWnd3DPreview::_FrameAfresh(MOperationView::MDefaultView view) {
  m_camera.Reset();
  _SetDefaultView(view, nullptr);
  {
    std::list<IRender*> targets = _GetTargetObjectsClipping();
    m_camera.Unzoom(targets, kAllScenes);
  }
  if (m_objects.size() > 1) {
    // Unzoom fits the objects' extents; their screen boxes together are tighter.
    const M3DBoundingBox<float> all = vistal_preview::UnionOfWindowBoxes(m_objects, *this);
    // With no box to go by the framing of Unzoom stands.
    if (all.IsValid()) {
      using vistal_render::RoundToPixel;
      m_camera.Zoom(CRect(RoundToPixel(all.xmin) - kFramingBorder, RoundToPixel(all.ymin) - kFramingBorder,
                          RoundToPixel(all.xmax) + kFramingBorder, RoundToPixel(all.ymax) + kFramingBorder));
    }
  }
  if (m_upside_down) {
    std::list<IRender*> targets = _GetTargetObjectsClipping();
    m_camera.Rotate(targets, 0.0, 0.0, 180.0, kAllScenes);
  }
}

std::list<IRender*> UIWnd3DPreview::_GetTargetObjectsClipping() { return vistal_preview::TargetsOf(m_objects); }

std::list<IRender*> UIWnd3DPreview::_GetTargetObjectsInteraction() { return _GetTargetObjectsClipping(); }

bool UIWnd3DPreview::Pick(MPickerBase&) { return false; }

void UIWnd3DPreview::_OnDraw(CDC& dc, IVRender* render, IVDisplaySurface* surface) {
  const unsigned scene = GetActiveScene();
  // A desktop that cannot render leaves the view without renderer: the overlays and the
  // empty text are still drawn, on the background.
  if (_StartFrame(dc, render, surface)) {
    if (m_render_3d)
      for (UIObject* object : m_objects) {
        auto* medical = dynamic_cast<UIObjectMedical*>(object);
        if (!medical || !medical->IsVisible(scene)) continue;
        const UIObjectMedical::EDrawingMode mode = medical->GetDrawingMode();
        medical->SetDrawingMode(UIObjectMedical::eDrawingModePlain);
        medical->GetRender()->Render(*render, m_view_system);
        medical->SetDrawingMode(mode);
      }
    _FinishFrame(dc, *render, *surface);
  }

  for (UIObject* object : m_objects)
    if (object && object->IsVisible(scene)) object->GetRender()->RenderGDI(dc, m_view_system);

  if (m_objects.empty()) {
    const wchar_t* text = GetResourceString(m_empty_text_id);
    const int length = int(std::wcslen(text));
    CRect client;
    GetClientRect(&client);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    SIZE extent{0, 0};
    ::GetTextExtentPoint32W(dc.m_hAttribDC, text, length, &extent);
    const int width = client.right - client.left;
    dc.TextOut(client.left + width / 2 - extent.cx / 2, client.bottom / 2, text, length);
    dc.SetBkMode(oldMode);
  }
}

int UIWnd3DPreview::OnCreate(LPCREATESTRUCT create) {
  if (UIWnd3D::OnCreate(create) == -1) return -1;
  const MMTransformMatrix identity;
  m_camera.Reset(identity);
  m_background = CQNPreferences::mg_color_3d_background;
  return 0;
}

void UIWnd3DPreview::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
void UIWnd3DPreview::OnNcPaint() { Default(); }
