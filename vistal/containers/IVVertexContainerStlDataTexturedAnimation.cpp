#include "vistal/containers/IVVertexContainerStlDataTexturedAnimation.h"

#include "host/mesh/MStlTexture.h"
#include "host/mesh/MStlTriangle.h"
#include "vistal/containers/Implementation/IVDisplacedVertex.h"

IVVertexContainerStlDataTexturedAnimation::IVVertexContainerStlDataTexturedAnimation(MStlBase* stl,
                                                                                     const MStlVectorMaskPoints* mask_,
                                                                                     const MStlTexture* texture_)
    : IVVertexContainerSTLData<IVVertexPNT>(stl), mask(mask_), texture(texture_) {}

IVVertexContainerStlDataTexturedAnimation::IVVertexContainerStlDataTexturedAnimation(
    const IVVertexContainerStlDataTexturedAnimation&) = default;
IVVertexContainerStlDataTexturedAnimation& IVVertexContainerStlDataTexturedAnimation::operator=(
    const IVVertexContainerStlDataTexturedAnimation&) = default;
IVVertexContainerStlDataTexturedAnimation::~IVVertexContainerStlDataTexturedAnimation() = default;

void IVVertexContainerStlDataTexturedAnimation::SetAnimationScale(float scale) {
  animationScale = scale;
  DestroyRenderOptimisations();
}

void IVVertexContainerStlDataTexturedAnimation::_Optimise(IIVVertexStream<IVVertexPNT>& stream) {
  if (!mask || !texture) return;
  stream.BeginTriangles();

  texture->_SpreadInvalidity();
  if (!texture->IsVectorValid()) texture->_ValidateVector();

  const MStlVectorMaskPoints& displacements = *mask;
  const float scale = animationScale;
  for (const MStlTriangle* t : texture->GetTriangles()) {
    // The list holds only mapped triangles once brought up to date; should the texture
    // still not answer for one, its corners take (0, 0) rather than any other
    // triangle's coordinates.
    MStlTextureCoordinates c;
    texture->GetCoordinates(t, c, true);
    IVVertexPNT v[3];
    for (int k = 0; k < 3; ++k) {
      IVDisplacePoint(v[k], *t->points[k], displacements, scale);
      v[k].nx = t->normal[0];
      v[k].ny = t->normal[1];
      v[k].nz = t->normal[2];
      v[k].u = c.u[k];
      v[k].v = c.v[k];
    }
    stream.AddTriangle(v[0], v[1], v[2]);
  }
  stream.End();
}
