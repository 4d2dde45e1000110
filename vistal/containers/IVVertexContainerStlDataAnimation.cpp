#include "vistal/containers/IVVertexContainerStlDataAnimation.h"

#include "host/mesh/MStlTexture.h"
#include "host/mesh/MStlTextureFactory.h"
#include "host/mesh/MStlTraversal.h"
#include "vistal/containers/Implementation/IVDisplacedVertex.h"

IVVertexContainerStlDataAnimation::IVVertexContainerStlDataAnimation(MStlBase* stl, const MStlVectorMaskPoints* mask_)
    : IVVertexContainerSTLData<IVVertexPN>(stl), mask(mask_) {}

IVVertexContainerStlDataAnimation::IVVertexContainerStlDataAnimation(const IVVertexContainerStlDataAnimation&) =
    default;
IVVertexContainerStlDataAnimation& IVVertexContainerStlDataAnimation::operator=(
    const IVVertexContainerStlDataAnimation&) = default;
IVVertexContainerStlDataAnimation::~IVVertexContainerStlDataAnimation() = default;

void IVVertexContainerStlDataAnimation::SetAnimationScale(float scale) {
  animationScale = scale;
  DestroyRenderOptimisations();
}

void IVVertexContainerStlDataAnimation::SetSkipTextures(bool skip) {
  skipTextures = skip;
  DestroyRenderOptimisations();
}

void IVVertexContainerStlDataAnimation::_Optimise(IIVVertexStream<IVVertexPN>& stream) {
  if (!mask || !m_stl) return;
  stream.BeginTriangles();

  // Reading the factory without creating one: a mesh that never had textures has no
  // textured triangles to skip, and drawing does not add a factory to the host's mesh.
  const MStlTexture* skipped = nullptr;
  if (skipTextures)
    if (const MStlTextureFactory* factory = m_stl->GetTextureFactory())
      if (!factory->GetTextures().empty()) skipped = factory->GetTextures().front();

  const MStlVectorMaskPoints& displacements = *mask;
  const float scale = animationScale;
  MStlTextureCoordinates unused;
  ForEachTriangle(*m_stl, [&](const MStlTriangle& t) {
    if (skipped && skipped->GetCoordinates(&t, unused, false)) return;
    IVVertexPN v[3];
    for (int k = 0; k < 3; ++k) {
      IVDisplacePoint(v[k], *t.points[k], displacements, scale);
      v[k].nx = t.normal[0];
      v[k].ny = t.normal[1];
      v[k].nz = t.normal[2];
    }
    stream.AddTriangle(v[0], v[1], v[2]);
  });
  stream.End();
}
