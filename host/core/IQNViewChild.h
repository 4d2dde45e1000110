#pragma once
// A child of the application's view layout: one 3D view or one 2D slice view.
class IQNViewChild {
public:
  // True for a 3D view, false for a 2D one.
  virtual bool Is3D() const = 0;
  virtual ~IQNViewChild() = default;
};
