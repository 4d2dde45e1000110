// The undo record of MClippingData: its plane list before and after one clipping operation.
#include "host/core/UISurface.h"
#include "host/framework/MUndoRecord.h"
#include "vistal/clipping/MClippingData.h"
#include "vistal/clipping/MClippingPlaneValues.h"
#include "vistal/clipping/UIOperationClipping.h"

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

class MClippingData::UndoRecord final : public MUndoRecord {
public:
  explicit UndoRecord(MClippingData& data) : m_data(data), m_before(_Take()) {}

  void TakeStateAfter() override { m_after = _Take(); }
  void RestoreStateBefore() override { _Restore(m_before, m_after); }
  void RestoreStateAfter() override { _Restore(m_after, m_before); }

private:
  // The listed planes, in list order, with their values.
  using Snapshot = std::vector<std::pair<MClippingPlane*, MClippingPlaneValues>>;

  Snapshot _Take() const {
    Snapshot s;
    s.reserve(m_data.m_planes.size());
    for (const auto& entry : m_data.m_planes) s.emplace_back(entry.first, MClippingPlaneValues::Of(*entry.first));
    return s;
  }

  static const MClippingPlaneValues* _Find(const Snapshot& s, const MClippingPlane* plane) {
    auto it = std::lower_bound(s.begin(), s.end(), plane, [](const auto& e, const MClippingPlane* p) {
      return std::less<const MClippingPlane*>()(e.first, p);
    });
    return it != s.end() && it->first == plane ? &it->second : nullptr;
  }

  // Makes the list that of `target`. A cut face stays only where the plane was listed with
  // the same values at both ends of the performance: it was made for what the plane will be.
  void _Restore(const Snapshot& target, const Snapshot& other) {
    auto& planes = m_data.m_planes;
    for (auto it = planes.begin(); it != planes.end();) {
      if (_Find(target, it->first)) {
        ++it;
        continue;
      }
      m_data._DropSurface(it->second);
      it = planes.erase(it);
    }
    for (const auto& [plane, values] : target) {
      auto [it, added] = planes.emplace(plane, nullptr);
      const MClippingPlaneValues* then = _Find(other, plane);
      if (!added && !(then && *then == values)) m_data._DropSurface(it->second);
    }
  }

  MClippingData& m_data;
  Snapshot m_before, m_after;
};

std::unique_ptr<MUndoRecord> MClippingData::CreateUndoRecord(MOperation& operation) {
  if (!dynamic_cast<UIOperationClipping*>(&operation) || !UIOperationClipping::IsClippingAction(operation.GetAction()))
    return nullptr;
  return std::make_unique<UndoRecord>(*this);
}
