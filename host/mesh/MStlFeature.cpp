#include "host/mesh/MStlFeature.h"

MStlFeature::MStlFeature(MStlFeature* parent, unsigned indexInParent)
    : m_parent(parent), m_index_in_parent(indexInParent) {}

MStlFeature::~MStlFeature() = default;

unsigned MStlFeature::_CountSurfacesInSubtree() const {
  unsigned n = static_cast<unsigned>(m_surfaces.size());
  for (const auto& f : m_features) n += f->_CountSurfacesInSubtree();
  return n;
}

unsigned MStlFeature::_CountFeaturesInSubtree() const {
  unsigned n = static_cast<unsigned>(m_features.size());
  for (const auto& f : m_features) n += f->_CountFeaturesInSubtree();
  return n;
}

MStlFeature* MStlFeature::AddFeature() {
  m_features.push_back(std::unique_ptr<MStlFeature>(new MStlFeature(this, unsigned(m_features.size()))));
  return m_features.back().get();
}
