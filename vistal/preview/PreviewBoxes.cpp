#include "vistal/preview/Implementation/PreviewBoxes.h"

#include "host/framework/UIObject.h"
#include "host/view/UIWnd3D.h"

namespace vistal_preview {

M3DBoundingBox<float> UnionOfWindowBoxes(const std::vector<UIObject*>& objects, const UIWnd3D& view) {
  M3DBoundingBox<float> all;
  for (UIObject* object : objects) {
    M3DBoundingBox<float> mapped;
    if (object && view.MapBoxToWindow(*object, mapped)) all.Add(mapped);
  }
  return all;
}

std::list<IRender*> TargetsOf(const std::vector<UIObject*>& objects) {
  std::list<IRender*> targets;
  for (UIObject* object : objects) targets.push_back(object ? object->GetRender() : nullptr);
  return targets;
}

}  // namespace vistal_preview
