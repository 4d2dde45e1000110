#pragma once
// Scene objects for the preview's tests: a box that counts its deletions.
#include "host/core/UIObjectMedical.h"
#include "host/framework/M3DBoundingBox.h"

class BoxObject : public UIObjectMedical {
public:
  explicit BoxObject(const M3DBoundingBox<float>& box, int* deletions = nullptr) : m_box(box), mp_deletions(deletions) {}
  ~BoxObject() override {
    if (mp_deletions) ++*mp_deletions;
  }
  void GetBoundingBox(M3DBoundingBox<float>& box, unsigned) const override { box = m_box; }

private:
  M3DBoundingBox<float> m_box;
  int* mp_deletions;
};
