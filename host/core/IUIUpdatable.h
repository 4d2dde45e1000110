#pragma once
// Something in the user interface that brings itself up to date after an operation was
// performed (menus, panels, objects that cache what an operation invalidates).
class MOperation;

class IUIUpdatable {
public:
  virtual ~IUIUpdatable() = default;
  // `data` is what the sender of the update passes along; its meaning is the sender's.
  virtual void DoUpdateUI(const MOperation& operation, void* data) = 0;
};
