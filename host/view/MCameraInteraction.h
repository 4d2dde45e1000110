#pragma once
// The arithmetic of mouse navigation in a 3D view: a drag starts in one of the states and
// each step turns the mouse's movement into the values of a camera operation
// (MOperationView), which the view then carries out.
#include "host/HostApi.h"
#include "host/win/CPoint.h"
#include "host/win/CRect.h"

class VISTAL_HOST_API MCameraInteraction {
public:
  enum EState : int {
    eIdle = 0,
    eRotatingAboutViewAxis = 1,  // the drag started near the edge: it rolls the picture
    eRotating = 2,               // the drag started inside: it turns about the picture's axes
    ePanning = 3,
    eZooming = 4,
  };

  // A drag across the shorter side of the view turns by this many degrees.
  static constexpr float kDegreesPerView = 180.0f;
  // Drags that start outside this share of the view's half sizes (an ellipse) roll.
  static constexpr float kRollBorder = 0.8f;

  MCameraInteraction() = default;
  MCameraInteraction(const MCameraInteraction&) = default;
  MCameraInteraction& operator=(const MCameraInteraction&) = default;
  virtual ~MCameraInteraction();

  EState GetState() const { return m_state; }
  // Ends a drag (eIdle) or sets any state; the next step of another kind starts anew.
  void SetState(EState state) { m_state = state; }

  // How steep a zoom drag is: dragging up by 1 / sensitivity of the view's height doubles
  // the picture. Values below 1 are ignored.
  void SetZoomSensitivity(int sensitivity);
  int GetZoomSensitivity() const { return m_zoom_sensitivity; }

  // The first move of a pan anchors it; each step gives the move since the last step as
  // deltas (pixels, x right, y down).
  void StartPan(const CPoint& point);
  void Pan(const CPoint& point);
  // A rotation starts with the view's client rectangle and the point; each step gives the
  // angles (degrees about the picture's x, y and z axes) since the last step.
  virtual void StartRotation(const CRect& client, const CPoint& point);
  virtual void Rotate(const CPoint& point);
  // A zoom starts at a point of the view, which stays put while zooming; each step gives
  // the factor since the last step (moving up enlarges). The start itself is a step of
  // factor 1.
  void StartZoom(const CRect& client, const CPoint& point);
  void Zoom(const CPoint& point);

  // The values of the last step: pan deltas or rotation angles.
  float GetValue(int index) const { return m_values[index]; }
  float GetZoomValue() const { return m_zoom_value; }
  const CPoint& GetZoomPoint() const { return m_zoom_point; }

private:
  // Angle of the point about the rectangle's centre, degrees, counter-clockwise on screen.
  double _AngleAboutCentre(const CPoint& point) const;

  EState m_state = eIdle;
  int m_zoom_sensitivity = 4;
  CPoint m_last{0, 0};
  CRect m_client{0, 0, 0, 0};
  float m_values[3] = {0, 0, 0};
  float m_zoom_value = 1.0f;
  CPoint m_zoom_point{0, 0};
};
