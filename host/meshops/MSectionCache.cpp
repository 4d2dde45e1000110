#include "host/meshops/MSectionCache.h"

#include "host/mesh/MStlBase.h"
#include "host/meshops/MNewSlicer.h"

#include <algorithm>

MSectionCache::MSectionCache() = default;
MSectionCache::MSectionCache(const MSectionCache&) {}
MSectionCache& MSectionCache::operator=(const MSectionCache& o) {
  if (this != &o) Clear();
  return *this;
}
MSectionCache::~MSectionCache() { _Follow(nullptr); }

void MSectionCache::Clear() { _Follow(nullptr); }

void MSectionCache::_Follow(const std::shared_ptr<MStlBase>& mesh) {
  if (m_mesh) m_mesh->GetValidity().RemoveDependant(m_validity);
  m_mesh = mesh;
  m_sections.clear();
  m_validity.SetValid();
  if (!m_mesh) return;
  m_mesh->_SpreadInvalidity();  // news of edits made before now must not reach the new link
  m_mesh->GetValidity().AddDependant(m_validity);
}

const MStlSlicerBase::Border& MSectionCache::GetSection(const std::shared_ptr<MStlBase>& mesh,
                                                        const MMPlaneEq<double>& plane,
                                                        const std::vector<MMPlaneEq<double>>& siblings) {
  if (mesh != m_mesh) {
    _Follow(mesh);
  } else if (mesh) {
    mesh->_SpreadInvalidity();  // delivers edits made since it was last asked
    if (!m_validity.IsValid()) _Follow(mesh);
  }
  auto held = [&](const MMPlaneEq<double>& p) {
    return std::find_if(m_sections.begin(), m_sections.end(), [&](const auto& s) { return s.first == p; });
  };
  if (auto it = held(plane); it != m_sections.end()) return it->second;

  // Keep what is still asked about; cut the rest in one pass.
  std::vector<MMPlaneEq<double>> wanted{plane};
  wanted.insert(wanted.end(), siblings.begin(), siblings.end());
  std::erase_if(m_sections, [&](const auto& s) { return std::find(wanted.begin(), wanted.end(), s.first) == wanted.end(); });
  std::vector<MMPlaneEq<double>> cut;
  for (const MMPlaneEq<double>& p : wanted)
    if (held(p) == m_sections.end() && std::find(cut.begin(), cut.end(), p) == cut.end()) cut.push_back(p);
  std::vector<MStlSlicerBase::Border> borders;
  MNewSlicer::SliceAll(mesh.get(), cut, false, borders);
  if (mesh) ++m_passes;
  for (std::size_t i = 0; i < cut.size(); ++i) m_sections.emplace_back(cut[i], std::move(borders[i]));
  return held(plane)->second;
}
