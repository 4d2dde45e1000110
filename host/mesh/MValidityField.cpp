#include "host/mesh/MValidityField.h"

#include <algorithm>

void MValidityField::AddDependant(const MValidityField& dependant) const {
  m_dependants.push_back(&dependant);
}

void MValidityField::RemoveDependant(const MValidityField& dependant) const {
  m_dependants.erase(std::remove(m_dependants.begin(), m_dependants.end(), &dependant), m_dependants.end());
}

void MValidityField::_SpreadInvalidity() const {
  for (const MValidityField* d : m_dependants) {
    d->SetInvalid();
    d->_SpreadInvalidity();
  }
}
