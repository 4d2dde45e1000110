#pragma once
#include "host/HostApi.h"

#include <memory>

class MTransformRepositoryCoordinateSystem;
class MMTransformMatrix;

// A value handle to a coordinate system of the framework. Copies share the system; the system is
// freed when its last handle goes (its children then move to the world, keeping their
// placement). Every scene object carries one.
class VISTAL_HOST_API MCoordinateSystem {
public:
  // A new system placed at the world's origin (identity local transform, no parent).
  MCoordinateSystem();
  // A new system with the given local transform under `parent` (the world when null). A local
  // transform without an inverse is replaced by the identity, as SetLocalTransform refuses it.
  MCoordinateSystem(const MMTransformMatrix& local, const MCoordinateSystem* parent);
  // Copies share the system; there is no moved-from empty handle, so every handle is usable.
  MCoordinateSystem(const MCoordinateSystem&);
  MCoordinateSystem& operator=(const MCoordinateSystem&);
  ~MCoordinateSystem();

  MTransformRepositoryCoordinateSystem* GetInternalSystem() const { return m_system.get(); }

  // Same system, not same placement.
  bool operator==(const MCoordinateSystem& other) const { return m_system == other.m_system; }
  bool operator!=(const MCoordinateSystem& other) const { return m_system != other.m_system; }

private:
  std::shared_ptr<MTransformRepositoryCoordinateSystem> m_system;
};
