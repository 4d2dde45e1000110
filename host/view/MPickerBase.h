#pragma once
// What a view is asked to pick: a point of its client area, and what it found there.
#include "host/HostApi.h"
#include "host/win/CPoint.h"

class UIObject;

// A pick request: the point of a view's client area and the object found there.
class VISTAL_HOST_API MPickerBase {
public:
  explicit MPickerBase(const CPoint& point) : m_point(point) {}
  MPickerBase(const MPickerBase&) = default;
  MPickerBase& operator=(const MPickerBase&) = default;
  virtual ~MPickerBase();

  const CPoint& GetPoint() const { return m_point; }
  UIObject* GetPicked() const { return mp_picked; }
  // Depth of the picked object in window coordinates (0 near, 1 far).
  double GetDepth() const { return m_depth; }
  void SetPicked(UIObject* object, double depth) {
    mp_picked = object;
    m_depth = depth;
  }

private:
  CPoint m_point;
  UIObject* mp_picked = nullptr;
  double m_depth = 0.0;
};
