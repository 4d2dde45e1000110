#include "vistal/containers/IVVertexContainerBoundingBox.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

// The z of a vertex mapped as a position. A vertex that does not map (the transform
// answers false or meets a zero projective weight) gets NaN, which is never the
// minimum, so it can neither become the lowest corner nor touch it.
double MappedZ(const IVVertexP& v, const MMTransform* transform) {
  MMPoint3d<double> p(v.x, v.y, v.z);
  if (!transform) return p.z;
  try {
    if (!transform->TransformPoint(p, p, false)) return std::numeric_limits<double>::quiet_NaN();
  } catch (const MMTransformException&) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  return p.z;
}

}  // namespace

IVVertexContainerBoundingBox::IVVertexContainerBoundingBox(const IVVertexContainerBoundingBox&) = default;
IVVertexContainerBoundingBox& IVVertexContainerBoundingBox::operator=(const IVVertexContainerBoundingBox&) = default;
IVVertexContainerBoundingBox::~IVVertexContainerBoundingBox() = default;

void IVVertexContainerBoundingBox::SetParams(std::vector<IVVertexP>* vertices_, const MMTransform* transform_,
                                             bool excludeMinimumZ_) {
  vertices = vertices_;
  transform = transform_;
  excludeMinimumZ = excludeMinimumZ_;
  DestroyRenderOptimisations();
}

void IVVertexContainerBoundingBox::_Optimise(IIVVertexStream<IVVertexP>& stream) {
  if (!vertices) return;
  stream.BeginLines();
  const std::vector<IVVertexP>& list = *vertices;
  if (list.empty()) throw std::out_of_range("IVVertexContainerBoundingBox: the vertex list is empty");

  // A trailing vertex without a partner belongs to no edge: it is neither drawn nor
  // allowed to decide which corner is lowest.
  const std::size_t paired = list.size() & ~std::size_t(1);

  double minZ = std::numeric_limits<double>::max();
  for (std::size_t i = 0; i < paired; ++i) {
    const double z = MappedZ(list[i], transform);
    if (z < minZ) minZ = z;
  }

  // Exact comparison on purpose: every corner shared by several edges maps to the very
  // same double each time, and a face lying at the minimum puts all its corners there.
  for (std::size_t i = 0; i < paired; i += 2) {
    const bool touchesMinimum = MappedZ(list[i], transform) == minZ || MappedZ(list[i + 1], transform) == minZ;
    if (touchesMinimum != excludeMinimumZ) stream.AddLine(list[i], list[i + 1]);
  }
  stream.End();
}
