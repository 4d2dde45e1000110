#include "host/framework/MCoordinateSystem.h"

#include "host/framework/MTransformRepository.h"

MCoordinateSystem::MCoordinateSystem() : m_system(new MTransformRepositoryCoordinateSystem) {}

MCoordinateSystem::MCoordinateSystem(const MMTransformMatrix& local, const MCoordinateSystem* parent)
    : MCoordinateSystem() {
  m_system->SetLocalTransform(local);
  if (parent) m_system->SetDependent(parent->GetInternalSystem());
}

MCoordinateSystem::MCoordinateSystem(const MCoordinateSystem&) = default;
MCoordinateSystem& MCoordinateSystem::operator=(const MCoordinateSystem&) = default;
MCoordinateSystem::~MCoordinateSystem() = default;
