#include "host/core/UIObjectMedical.h"

UIObjectMedical::UIObjectMedical() = default;
UIObjectMedical::UIObjectMedical(const UIObjectMedical&) = default;
UIObjectMedical& UIObjectMedical::operator=(const UIObjectMedical&) = default;
UIObjectMedical::~UIObjectMedical() = default;

void UIObjectMedical::SetPresentInScene(unsigned scene, bool present) { m_present.Set(present, scene); }

bool UIObjectMedical::IsVisible(unsigned scene) const {
  return UIObject::IsVisible(scene) && m_present.Get(scene);
}

bool UIObjectMedical::IsSupportedByViewChild(const IQNViewChild*) const { return true; }
