#include "vistal/preview/Implementation/PreviewBoxes.h"

#include "host/framework/MTransformRepository.h"
#include "host/framework/UIObject.h"
#include "host/view/UIWnd3D.h"

namespace vistal_preview {
namespace {

// Maps the eight corners (x fastest, then y, then z) in double precision; the corners
// come back narrowed to float. False when any corner fails to map.
bool MapBox(const M3DBoundingBox<float>& box, const MMTransform& transform, M3DBoundingBox<float>& mapped) {
  mapped.SetEmpty();
  for (int corner = 0; corner < 8; ++corner) {
    const MMPoint3d<double> in(corner & 1 ? box.xmax : box.xmin, corner & 2 ? box.ymax : box.ymin,
                               corner & 4 ? box.zmax : box.zmin);
    MMPoint3d<double> out;
    if (!transform.TransformPoint(out, in, false)) return false;
    mapped.Add(MMPoint3d<float>(float(out.x), float(out.y), float(out.z)));
  }
  return true;
}

}  // namespace

M3DBoundingBox<float> UnionOfWindowBoxes(const std::vector<UIObject*>& objects, const UIWnd3D& view) {
  M3DBoundingBox<float> all;
  const MCoordinateSystem window = view.GetCoordinateSystemWindow();
  for (UIObject* object : objects) {
    if (!object) continue;
    M3DBoundingBox<float> box;
    object->GetBoundingBox(box, 0xFFFFFFFF);
    if (!box.IsValid()) continue;
    M3DBoundingBox<float> mapped;
    if (MapBox(box, MTransformRepository::mgp_instance->GetTransform(object->GetCoordinateSystem(), window), mapped))
      all.Add(mapped);
  }
  return all;
}

}  // namespace vistal_preview
