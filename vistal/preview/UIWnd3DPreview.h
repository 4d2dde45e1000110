#pragma once
#include "vistal/Api.h"
#include "host/view/MOperationView.h"
#include "host/view/UIWnd3D.h"

#include <list>
#include <vector>

class UIObject;

// The 3D view inside the preview control: a short list of scene objects, framed afresh
// when the list changes, optionally upside down, with a one-line text while it is empty.
class VISTAL_API UIWnd3DPreview : public UIWnd3D {
public:
  UIWnd3DPreview();
  // Deletes the objects it owns.
  ~UIWnd3DPreview() override;
  UIWnd3DPreview(const UIWnd3DPreview&) = delete;
  UIWnd3DPreview& operator=(const UIWnd3DPreview&) = delete;

  // Takes effect at the next fresh framing; does not redraw.
  void ShowObjectsUpsideDown(bool upsideDown) { m_upside_down = upsideDown; }
  bool GetObjectsUpsideDown() const { return m_upside_down; }
  // Drops the objects (deleting them when owned) and shows the text of `textId`.
  void ClearPreview(unsigned int textId);
  // Shows `objects` (the caller's pointers; owned when `ownsObjects`). The camera is kept
  // when `keepView` and one of the objects was shown already; otherwise the objects are
  // framed afresh from `view`. A caller must not pass again objects the view owns: the old
  // objects are deleted before the new list is taken.
  void SetObjectToPreview(const std::vector<UIObject*>& objects, unsigned int textId, bool keepView,
                          bool ownsObjects, MOperationView::MDefaultView view);

  const std::vector<UIObject*>& GetObjects() const { return m_objects; }
  bool OwnsObjects() const { return m_owns_objects; }
  unsigned int GetEmptyTextId() const { return m_empty_text_id; }

  // Nothing in the preview can be picked.
  bool Pick(MPickerBase& picker) override;

protected:
  DECLARE_MESSAGE_MAP()

  void _DeleteObjects();
  std::list<IRender*> _GetTargetObjectsClipping() override;
  std::list<IRender*> _GetTargetObjectsInteraction() override;
  void _OnDraw(CDC& dc, IVRender* render, IVDisplaySurface* surface) override;

  int OnCreate(LPCREATESTRUCT create);
  // The plain system frame that the window's styles ask for.
  void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
  void OnNcPaint();

private:
  void _FrameAfresh(MOperationView::MDefaultView view);

  std::vector<UIObject*> m_objects;
  bool m_owns_objects = true;
  unsigned int m_empty_text_id = 0;
  bool m_upside_down = true;
};
