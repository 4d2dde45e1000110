#include "host/framework/MMTransform.h"

#include "host/framework/SizeMappedAllocator.h"

SizeMappedAllocator& MMTransformAllocator::Allocator() {
  static SizeMappedAllocator* allocator = new SizeMappedAllocator;
  return *allocator;
}

void* MMTransformAllocator::operator new(std::size_t size) { return Allocator().Allocate(size); }

void MMTransformAllocator::operator delete(void* block, std::size_t size) noexcept {
  Allocator().Release(block, size);
}

void MMTransform::GetMatrixDouble(double m[16]) const {
  float f[16];
  GetMatrixFloat(f);
  for (int i = 0; i < 16; ++i) m[i] = f[i];
}

bool MMTransform::TransformPoints(std::vector<MMPoint3d<double>>& out,
                                  const std::vector<MMPoint3d<double>>& in) const {
  if (&out == &in) {  // refilling out would wipe the input first
    const std::vector<MMPoint3d<double>> copy(in);
    return TransformPoints(out, copy);
  }
  out.assign(in.size(), MMPoint3d<double>());
  for (std::size_t i = 0; i < in.size(); ++i)
    if (!TransformPoint(out[i], in[i], false)) return false;
  return true;
}

bool MMTransform::TransformPointsInPlace(std::vector<MMPoint3d<double>>& points) const {
  for (auto& p : points) TransformPoint(p, p, false);
  return true;
}

MMPoint3d<float>& MMTransform::TransformPointFloat(MMPoint3d<float>& out, const MMPoint3d<float>& in,
                                                   bool asVector) const {
  MMPoint3d<double> result;
  if (!TransformPoint(result, MMPoint3d<double>(in), asVector))
    throw MMTransformException{MMTransformException::eNotMapped};
  out = MMPoint3d<float>(result);
  return out;
}

MMPoint3d<double> MMTransform::TransformedPoint(const MMPoint3d<double>& in, bool asVector) const {
  MMPoint3d<double> result;
  if (!TransformPoint(result, in, asVector)) throw MMTransformException{MMTransformException::eNotMapped};
  return result;
}

bool MMTransform::TransformPointList(std::vector<MMPoint3d<double>>& out,
                                     const std::vector<MMPoint3d<double>>& in) const {
  return TransformPoints(out, in);
}

bool MMTransform::TransformPointTriple(MMPointTriple& out, const MMPointTriple& in) const {
  return TransformPoint(out[0], in[0], false) && TransformPoint(out[1], in[1], false) &&
         TransformPoint(out[2], in[2], false);
}
