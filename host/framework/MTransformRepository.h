#pragma once
#include "host/HostApi.h"
#include "host/framework/MMTransformMatrix.h"

#include <cstdint>
#include <vector>

class MCoordinateSystem;

// A coordinate system of the application framework, as the repository keeps it.
//
// Systems form a forest under the world: each has a parent (none means the world) and a local
// transform that maps its coordinates into its parent's. A system's world placement is the
// product of the local transforms up its chain, so moving a system moves its whole subtree.
// Like the rest of the framework, the tree is used from the GUI thread only.
class VISTAL_HOST_API MTransformRepositoryCoordinateSystem {
public:
  MTransformRepositoryCoordinateSystem(const MTransformRepositoryCoordinateSystem&) = delete;
  MTransformRepositoryCoordinateSystem& operator=(const MTransformRepositoryCoordinateSystem&) = delete;
  // Children move to the world, keeping their world placement.
  ~MTransformRepositoryCoordinateSystem();

  // Makes this system follow `parent` (null: the world). The local transform is kept and is now
  // read relative to the new parent, so a dependent surface rides along with every later move
  // of its parent object. False, with nothing changed, when `parent` is this system or one of
  // its descendants (the tree would get a cycle).
  bool SetDependent(MTransformRepositoryCoordinateSystem* parent);
  MTransformRepositoryCoordinateSystem* GetParent() const { return mp_parent; }
  const std::vector<MTransformRepositoryCoordinateSystem*>& GetChildren() const { return m_children; }

  // Replaces the mapping into the parent. A coordinate system must be invertible, so a matrix
  // without a valid inverse is refused (false, nothing changed).
  bool SetLocalTransform(const MMTransformMatrix& local);
  const MMTransformMatrix& GetLocalTransform() const { return m_local; }
  // This system's coordinates mapped into the world's.
  MMTransformMatrix GetWorldTransform() const;

  // Counts every change of any system (placement, parent, destruction), so that derived results
  // such as the repository's last transform know when they are stale.
  static std::uint64_t Revision() { return mg_revision; }

private:
  friend class MCoordinateSystem;
  MTransformRepositoryCoordinateSystem() = default;

  bool _IsAncestorOrSelf(const MTransformRepositoryCoordinateSystem* other) const;
  void _Detach();

  MTransformRepositoryCoordinateSystem* mp_parent = nullptr;  // not owned
  std::vector<MTransformRepositoryCoordinateSystem*> m_children;  // not owned
  MMTransformMatrix m_local;
  static std::uint64_t mg_revision;
};

// The repository that maps between coordinate systems: the one instance, mgp_instance,
// gives the transform from one system to another.
class VISTAL_HOST_API MTransformRepository {
public:
  constexpr MTransformRepository() = default;
  MTransformRepository(const MTransformRepository&) = delete;
  MTransformRepository& operator=(const MTransformRepository&) = delete;

  // The transform that maps `from` coordinates to `to` coordinates: up from `from` to the
  // systems' common ancestor (or the world), then down to `to` through the inverse of that
  // part of `to`'s chain. Equal systems give the identity exactly. The result is owned by the
  // repository: the reference stays valid as long as the repository, but its value is a
  // snapshot that the next GetTransform call on this repository overwrites and that a later
  // change of either system does not follow.
  const MMTransform& GetTransform(const MCoordinateSystem& from, const MCoordinateSystem& to);

  // The process-wide repository. It is built at compile time and never destroyed, so it is
  // there before any static constructor runs and until the host library is unloaded.
  static MTransformRepository* mgp_instance;

private:
  MMTransformMatrix m_result;
  // The systems and revision m_result was made for, to answer repeated lookups without work.
  const MTransformRepositoryCoordinateSystem* mp_from = nullptr;
  const MTransformRepositoryCoordinateSystem* mp_to = nullptr;
  std::uint64_t m_revision = 0;
};
