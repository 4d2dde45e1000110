#include "host/framework/MTransformRepository.h"

#include "host/framework/MCoordinateSystem.h"

#include <algorithm>

std::uint64_t MTransformRepositoryCoordinateSystem::mg_revision = 0;

MTransformRepositoryCoordinateSystem::~MTransformRepositoryCoordinateSystem() {
  if (!m_children.empty()) {
    const MMTransformMatrix world = GetWorldTransform();
    for (MTransformRepositoryCoordinateSystem* child : m_children) {
      child->m_local.SetProduct(world, child->m_local);
      child->mp_parent = nullptr;
    }
  }
  _Detach();
  ++mg_revision;
}

bool MTransformRepositoryCoordinateSystem::_IsAncestorOrSelf(const MTransformRepositoryCoordinateSystem* other) const {
  for (const auto* p = other; p; p = p->mp_parent)
    if (p == this) return true;
  return false;
}

void MTransformRepositoryCoordinateSystem::_Detach() {
  if (!mp_parent) return;
  auto& siblings = mp_parent->m_children;
  siblings.erase(std::find(siblings.begin(), siblings.end(), this));
  mp_parent = nullptr;
}

bool MTransformRepositoryCoordinateSystem::SetDependent(MTransformRepositoryCoordinateSystem* parent) {
  if (parent == mp_parent) return true;
  if (_IsAncestorOrSelf(parent)) return false;
  if (parent) parent->m_children.reserve(parent->m_children.size() + 1);  // nothing changes if this throws
  _Detach();
  mp_parent = parent;
  if (parent) parent->m_children.push_back(this);
  ++mg_revision;
  return true;
}

bool MTransformRepositoryCoordinateSystem::SetLocalTransform(const MMTransformMatrix& local) {
  if (!local.IsInverseValid()) return false;
  m_local = local;
  ++mg_revision;
  return true;
}

MMTransformMatrix MTransformRepositoryCoordinateSystem::GetWorldTransform() const {
  MMTransformMatrix world = m_local;
  for (const auto* p = mp_parent; p; p = p->mp_parent) world.SetProduct(p->m_local, world);
  return world;
}

namespace {

// Built at compile time and never destroyed: objects torn down by late static destructors may
// still ask for transforms.
union RepositoryStorage {
  constexpr RepositoryStorage() : repository() {}
  ~RepositoryStorage() {}
  MTransformRepository repository;
};
constinit RepositoryStorage g_repository_storage;

}  // namespace

constinit MTransformRepository* MTransformRepository::mgp_instance = &g_repository_storage.repository;

const MMTransform& MTransformRepository::GetTransform(const MCoordinateSystem& from, const MCoordinateSystem& to) {
  using System = MTransformRepositoryCoordinateSystem;
  const System* f = from.GetInternalSystem();
  const System* t = to.GetInternalSystem();
  const std::uint64_t revision = System::Revision();
  if (f == mp_from && t == mp_to && revision == m_revision) return m_result;

  // The common ancestor: the first system up from `from` that is also up from `to`. Stopping
  // there keeps the shared part of the chains out of the arithmetic, so siblings under a
  // moved parent map without its rounding.
  std::vector<const System*> toChain;
  for (const System* s = t; s; s = s->GetParent()) toChain.push_back(s);
  const System* common = f;
  while (common && std::find(toChain.begin(), toChain.end(), common) == toChain.end()) common = common->GetParent();

  MMTransformMatrix up;  // from -> common
  for (const System* s = f; s != common; s = s->GetParent()) up.SetProduct(s->GetLocalTransform(), up);
  // common -> to, built from the local inverses, which every system is guaranteed to have.
  MMTransformMatrix down;
  for (const System* s = t; s != common; s = s->GetParent()) {
    MMTransformMatrix localInverse = s->GetLocalTransform();
    localInverse.Invert();
    down.SetProduct(down, localInverse);
  }
  m_result.SetProduct(down, up);
  mp_from = f;
  mp_to = t;
  m_revision = revision;
  return m_result;
}
