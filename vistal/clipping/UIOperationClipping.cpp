#include "vistal/clipping/UIOperationClipping.h"

#include "host/framework/MUndoRecord.h"
#include "vistal/clipping/MClippingPlaneValues.h"

#include <algorithm>
#include <utility>

namespace {

// The values of a set of planes before and after one performance.
class PlaneValuesRecord final : public MUndoRecord {
public:
  explicit PlaneValuesRecord(std::vector<MClippingPlane*> planes) : m_planes(std::move(planes)) {
    m_before = _Take();
  }
  void TakeStateAfter() override { m_after = _Take(); }
  void RestoreStateBefore() override { _Apply(m_before); }
  void RestoreStateAfter() override { _Apply(m_after); }

private:
  std::vector<MClippingPlaneValues> _Take() const {
    std::vector<MClippingPlaneValues> values;
    values.reserve(m_planes.size());
    for (const MClippingPlane* p : m_planes) values.push_back(MClippingPlaneValues::Of(*p));
    return values;
  }
  void _Apply(const std::vector<MClippingPlaneValues>& values) const {
    for (std::size_t i = 0; i < values.size(); ++i) values[i].ApplyTo(*m_planes[i]);
  }

  std::vector<MClippingPlane*> m_planes;
  std::vector<MClippingPlaneValues> m_before, m_after;
};

}  // namespace

UIOperationClipping::UIOperationClipping() = default;
UIOperationClipping::UIOperationClipping(const UIOperationClipping&) = default;
UIOperationClipping& UIOperationClipping::operator=(const UIOperationClipping&) = default;
UIOperationClipping::~UIOperationClipping() = default;

void UIOperationClipping::SetAction(std::uint32_t action) {
  UIOperation::SetAction(action);
  if (IsClippingAction(action)) {
    std::uint32_t flags = GetFlags();
    flags &= ~std::uint32_t(eFlagUpdateBoundingBoxes | eFlagRedrawAllViews);
    flags |= eFlagRedraw3DViews;
    SetFlags(flags);
  }
}

std::unique_ptr<MUndoRecord> UIOperationClipping::_CreateUndoRecord() {
  if (!IsClippingAction(GetAction())) return nullptr;
  // Each plane once, null ones left out: the operation does not check what it is given.
  std::vector<MClippingPlane*> planes;
  for (MClippingPlane* p : m_planes)
    if (p && std::find(planes.begin(), planes.end(), p) == planes.end()) planes.push_back(p);
  return std::make_unique<PlaneValuesRecord>(std::move(planes));
}
