#include "vistal/clipping/MClippingData.h"

#include "host/core/UIObjectMedical.h"
#include "host/core/UISurface.h"
#include "host/framework/MOperation.h"
#include "host/framework/MTransformRepository.h"
#include "vistal/clipping/MClippingPlane.h"
#include "vistal/clipping/UIOperationClipping.h"

MClippingData::SurfaceCreator MClippingData::mp_surface_creator = nullptr;

namespace {
// Framework operations after which every cut face is stale.
bool DropsCutFaces(std::uint32_t action) {
  return action == 301 || action == 60100 || action == 60103 || action == 60540;
}
}  // namespace

MClippingData::MClippingData(UIObjectMedical* parent) : mp_parent(parent) {}

MClippingData::MClippingData(const MClippingData& other)
    : mp_parent(other.mp_parent),
      m_draw_full_plane(other.m_draw_full_plane),
      m_clip_to_full_slice(other.m_clip_to_full_slice),
      m_should_back_faces_visible(other.m_should_back_faces_visible) {
  for (const auto& entry : other.m_planes) m_planes.emplace(entry.first, nullptr);
}

MClippingData& MClippingData::operator=(const MClippingData& other) {
  if (this == &other) return *this;
  _ClearClippingPlanesList();
  for (const auto& entry : other.m_planes) m_planes.emplace(entry.first, nullptr);
  mp_parent = other.mp_parent;
  m_draw_full_plane = other.m_draw_full_plane;
  m_clip_to_full_slice = other.m_clip_to_full_slice;
  m_should_back_faces_visible = other.m_should_back_faces_visible;
  return *this;
}

MClippingData::~MClippingData() { _ClearClippingPlanesList(); }

void MClippingData::_SetParent(UIObjectMedical* parent) {
  if (parent == mp_parent) return;
  DestroyRenderOptimizations();
  mp_parent = parent;
}

void MClippingData::_DropSurface(UISurface*& surface) {
  delete surface;
  surface = nullptr;
}

bool MClippingData::_AnyPlaneShowsBackFaces() const {
  for (const auto& entry : m_planes)
    if (entry.first->GetTextureMappingMode() == MClippingPlane::eTextureMappingBackFaces) return true;
  return false;
}

bool MClippingData::ShouldBeBackFacesVisible() const {
  return m_should_back_faces_visible && _AnyPlaneShowsBackFaces();
}

bool MClippingData::DoOperation(MOperation& operation) {
  if (DropsCutFaces(operation.GetAction())) DestroyRenderOptimizations();
  auto* clipping = dynamic_cast<UIOperationClipping*>(&operation);
  if (!clipping) return true;
  auto forEachPlane = [&](void (MClippingData::*work)(MClippingPlane*)) {
    for (auto it = clipping->FirstClippingPlane(); it != clipping->LastClippingPlane(); ++it) (this->*work)(*it);
  };
  switch (operation.GetAction()) {
    case eClippingAddPlanes: forEachPlane(&MClippingData::_AddClippingPlane); break;
    case eClippingRemovePlanes: forEachPlane(&MClippingData::_RemoveClippingPlane); break;
    case eClippingClearPlanes: _ClearClippingPlanesList(); break;
    case eClippingPlanesChanged: forEachPlane(&MClippingData::_ChangeClippingPlane); break;
    case eClippingInvalidatePlanes: forEachPlane(&MClippingData::_InvalidateClippingPlane); break;
    default: break;
  }
  return true;
}

bool MClippingData::IsClipped(MClippingPlane* plane) const {
  if (plane) {
    auto it = m_planes.find(plane);
    return it != m_planes.end() && plane->GetClippedSide() != MClippingPlane::eClippedSideNone;
  }
  for (const auto& entry : m_planes)
    if (entry.first->GetClippedSide() != MClippingPlane::eClippedSideNone) return true;
  return false;
}

void MClippingData::UpdateCoordinateSystems() {
  if (!mp_parent) return;
  for (const auto& entry : m_planes)
    if (entry.second)
      entry.second->GetCoordinateSystem().GetInternalSystem()->SetDependent(
          mp_parent->GetCoordinateSystem().GetInternalSystem());
}

void MClippingData::DestroyRenderOptimizations() {
  for (auto& entry : m_planes) _DropSurface(entry.second);
}

std::list<UIObject*> MClippingData::GetSurfaceList() {
  std::list<UIObject*> surfaces;
  for (const auto& entry : m_planes)
    if (entry.second) surfaces.push_back(entry.second);
  return surfaces;
}

void MClippingData::_AddClippingPlane(MClippingPlane* plane) { m_planes.emplace(plane, nullptr); }

void MClippingData::_RemoveClippingPlane(MClippingPlane* plane) {
  auto it = m_planes.find(plane);
  if (it == m_planes.end()) return;
  _DropSurface(it->second);
  m_planes.erase(it);
}

void MClippingData::_ChangeClippingPlane(MClippingPlane* plane) {
  auto it = m_planes.find(plane);
  if (it != m_planes.end()) _DropSurface(it->second);
}

void MClippingData::_InvalidateClippingPlane(MClippingPlane* plane) {
  auto it = m_planes.find(plane);
  if (it != m_planes.end()) _DropSurface(it->second);
}

void MClippingData::_ClearClippingPlanesList() {
  while (!m_planes.empty()) {
    auto first = m_planes.begin();
    _DropSurface(first->second);
    m_planes.erase(first);
  }
}
