#pragma once
// A validity flag in a chain of caches. An edit marks the mesh's own field stale; the
// news reaches the caches that depend on it (triangle count, compact array, bounding box,
// texture lists) only when somebody next asks, through _SpreadInvalidity(), so a burst of
// edits costs one flag write each and each cache is rebuilt at most once, on demand.
#include "host/HostApi.h"

#include <vector>

class VISTAL_HOST_API MValidityField {
public:
  // A new field is stale: nothing has been computed for it yet.
  MValidityField() = default;
  // Links belong to the owner that made them: a copy takes the state only.
  MValidityField(const MValidityField& o) : m_valid(o.m_valid) {}
  MValidityField& operator=(const MValidityField& o) {
    m_valid = o.m_valid;
    return *this;
  }

  bool IsValid() const { return m_valid; }
  void SetValid() const { m_valid = true; }
  void SetInvalid() const { m_valid = false; }

  // A dependant goes stale whenever this field spreads its invalidity. The dependant must
  // outlive the link or remove itself first.
  void AddDependant(const MValidityField& dependant) const;
  void RemoveDependant(const MValidityField& dependant) const;

  // Marks every dependant stale, and theirs in turn. This field keeps its own state: the
  // owner decides when its news has been delivered.
  void _SpreadInvalidity() const;

private:
  mutable bool m_valid = false;
  mutable std::vector<const MValidityField*> m_dependants;
};
