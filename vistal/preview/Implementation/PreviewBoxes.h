#pragma once
// What the preview control and its view share: the union of the objects' window boxes,
// which the view's framing and the control's unzoom both use, and the objects' render
// interfaces as a target list.
#include "host/framework/M3DBoundingBox.h"

#include <list>
#include <vector>

class IRender;
class UIObject;
class UIWnd3D;

namespace vistal_preview {

// The union of the window boxes of the objects, in order (UIWnd3D::MapBoxToWindow);
// objects without a valid box, or whose box does not map, add nothing (null entries
// neither). Empty when none adds.
M3DBoundingBox<float> UnionOfWindowBoxes(const std::vector<UIObject*>& objects, const UIWnd3D& view);

// The IRender interface of each object, in order, a null entry giving a null element.
std::list<IRender*> TargetsOf(const std::vector<UIObject*>& objects);

}  // namespace vistal_preview
