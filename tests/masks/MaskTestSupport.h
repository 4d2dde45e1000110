#pragma once
// Owner doubles for the mask tests.
#include "host/mesh/IDataMaskOwner.h"
#include "host/mesh/MDataMaskIndex.h"

#include <vector>

namespace mask_test {

// Records every registration and deregistration by address, and drives masks the way an
// owner does (through the element hook). Takes masks on unless told otherwise.
class RecordingOwner : public IDataMaskOwner {
public:
  explicit RecordingOwner(bool accept = true) : m_accept(accept) {}

  bool RegisterMask(IDataMask* mask) override {
    registered.push_back(mask);
    return m_accept || IDataMaskOwner::RegisterMask(mask);
  }
  void UnregisterMask(const IDataMask* mask) override { unregistered.push_back(mask); }

  static void Resize(IDataMask& mask, unsigned count) { _ResizeMask(*_GetMaskElements(&mask), count); }
  static void Copy(IDataMask& mask, const MDataMaskIndex& from, const MDataMaskIndex& to) {
    _CopyMaskInfo(*_GetMaskElements(&mask), from, to);
  }
  static void Swap(IDataMask& mask, const MDataMaskIndex& a, const MDataMaskIndex& b) {
    _SwapMaskInfo(*_GetMaskElements(&mask), a, b);
  }
  static bool HasHook(IDataMask& mask) { return _GetMaskElements(&mask) != nullptr; }

  std::vector<const IDataMask*> registered, unregistered;

private:
  bool m_accept;
};

}  // namespace mask_test
