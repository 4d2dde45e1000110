#include "host/view/MCameraInteraction.h"

#include <algorithm>
#include <cmath>
#include <numbers>

MCameraInteraction::~MCameraInteraction() = default;

void MCameraInteraction::SetZoomSensitivity(int sensitivity) {
  if (sensitivity >= 1) m_zoom_sensitivity = sensitivity;
}

void MCameraInteraction::StartPan(const CPoint& point) {
  m_state = ePanning;
  m_last = point;
  m_values[0] = m_values[1] = m_values[2] = 0.0f;
}

void MCameraInteraction::Pan(const CPoint& point) {
  m_values[0] = float(point.x - m_last.x);
  m_values[1] = float(point.y - m_last.y);
  m_values[2] = 0.0f;
  m_last = point;
}

double MCameraInteraction::_AngleAboutCentre(const CPoint& point) const {
  const double cx = 0.5 * (m_client.left + m_client.right), cy = 0.5 * (m_client.top + m_client.bottom);
  // Window y runs down; the angle is measured as the eye sees it.
  return std::atan2(cy - point.y, point.x - cx) * 180.0 / std::numbers::pi;
}

void MCameraInteraction::StartRotation(const CRect& client, const CPoint& point) {
  m_client = client;
  m_last = point;
  m_values[0] = m_values[1] = m_values[2] = 0.0f;
  const double halfW = 0.5 * std::max(1, client.Width()), halfH = 0.5 * std::max(1, client.Height());
  const double x = (point.x - (client.left + halfW)) / halfW, y = (point.y - (client.top + halfH)) / halfH;
  m_state = x * x + y * y > double(kRollBorder) * kRollBorder ? eRotatingAboutViewAxis : eRotating;
}

void MCameraInteraction::Rotate(const CPoint& point) {
  m_values[0] = m_values[1] = m_values[2] = 0.0f;
  if (m_state == eRotatingAboutViewAxis) {
    double turn = _AngleAboutCentre(point) - _AngleAboutCentre(m_last);
    // The shorter way round, across the jump from -180 to 180.
    if (turn > 180.0) turn -= 360.0;
    if (turn < -180.0) turn += 360.0;
    m_values[2] = float(turn);
  } else {
    const float perPixel = kDegreesPerView / float(std::max(1, std::min(m_client.Width(), m_client.Height())));
    // Dragging right turns the near side of the scene to the right (about the picture's
    // up axis), dragging down turns it down (about the picture's right axis).
    m_values[0] = float(point.y - m_last.y) * perPixel;
    m_values[1] = float(point.x - m_last.x) * perPixel;
  }
  m_last = point;
}

void MCameraInteraction::StartZoom(const CRect& client, const CPoint& point) {
  m_state = eZooming;
  m_client = client;
  m_last = point;
  m_zoom_point = point;
  m_zoom_value = 1.0f;
}

void MCameraInteraction::Zoom(const CPoint& point) {
  const double height = std::max(1, m_client.Height());
  const double up = double(m_last.y - point.y);
  m_zoom_value = float(std::exp2(up * m_zoom_sensitivity / height));
  m_last = point;
}
