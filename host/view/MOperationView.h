#pragma once
// The framework's camera operation: a change of how a 3D view looks at its scene, which
// the view carries out with its camera (UIWnd3D::DoOperation).
#include "host/HostApi.h"
#include "host/framework/MOperation.h"
#include "host/win/CPoint.h"
#include "host/win/CRect.h"

class CWnd;

// A camera operation of a 3D view: zoom to a rectangle, zoom at a point, pan or rotate.
class VISTAL_HOST_API MOperationView : public MOperation {
public:
  // Action codes of camera operations.
  enum EAction : std::uint32_t {
    eActionZoomRect = 200,              // the zoom rectangle fills the view
    eActionRotateStandard = 201,        // turns about the view's axes (values in degrees)
    eActionRotateAroundObjectZ = 202,   // turns about the world's up axis and tilts
    eActionZoom = 203,                  // enlarges by the zoom value about the zoom point
    eActionPan = 207,                   // moves the picture by the deltas, in pixels
  };

  // Standard directions a view can be set to look from, for a patient lying in the world
  // with x to the patient's left, y to the back and z to the head.
  enum MDefaultView : int {
    eViewAnterior = 0,   // from the front
    eViewPosterior = 1,  // from the back
    eViewLeft = 2,       // from the patient's left
    eViewRight = 3,      // from the patient's right
    eViewSuperior = 4,   // from above the head
    eViewInferior = 5,   // from below the feet
    eViewOblique = 6,    // from the front, the left and above: the usual first look in 3D
  };

  MOperationView();
  MOperationView(const MOperationView&) = default;
  MOperationView& operator=(const MOperationView&) = default;
  ~MOperationView() override;

  // Camera operations change no document and are not undone; only 3D views redraw.
  void SetAction(std::uint32_t action) override;
  void SetActionRotateStandard(CWnd* wnd, float aboutX, float aboutY, float aboutZ);
  void SetActionRotateAroundObjectZ(CWnd* wnd, float aboutX, float aboutY, float aboutZ);

  // The window whose client coordinates the rectangle and the point are given in.
  void SetWindow(CWnd* wnd) { mp_wnd = wnd; }
  CWnd* GetWindow() const { return mp_wnd; }

  void SetZoomRect(CRect& rect) { m_zoom_rect = rect; }
  const CRect& GetZoomRect() const { return m_zoom_rect; }
  // Above 1 enlarges; the point stays where it is in the picture.
  void SetZoom(float value, const CPoint& at) {
    m_zoom_value = value;
    m_zoom_point = at;
  }
  float GetZoomValue() const { return m_zoom_value; }
  const CPoint& GetZoomPoint() const { return m_zoom_point; }
  // Pan deltas in pixels (x right, y down, the third unused), or the rotation angles.
  void SetDeltas(float x, float y, float z);
  float GetDelta(int axis) const { return m_values[axis]; }

protected:
  std::wstring _GetActionString() const override;

private:
  CWnd* mp_wnd = nullptr;
  CRect m_zoom_rect{0, 0, 0, 0};
  float m_zoom_value = 1.0f;
  CPoint m_zoom_point{0, 0};
  float m_values[3] = {0, 0, 0};
};
