#pragma once
// The preview's screen boxes: object boxes mapped corner by corner into a view's window
// coordinates and joined, which both the view's framing and the control's unzoom use.
#include "host/framework/M3DBoundingBox.h"

#include <vector>

class UIObject;
class UIWnd3D;

namespace vistal_preview {

// The union of the window boxes of the objects, in order; objects without a valid box, or
// whose box does not map, add nothing (null entries neither). Empty when none adds.
M3DBoundingBox<float> UnionOfWindowBoxes(const std::vector<UIObject*>& objects, const UIWnd3D& view);

}  // namespace vistal_preview
