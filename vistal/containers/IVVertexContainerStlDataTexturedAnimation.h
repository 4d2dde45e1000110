#pragma once
#include "vistal/Api.h"
#include "vistal/masks/MDataMask.h"
#include "vistal/containers/IVVertexContainerSTLData.h"

class MStlTexture;

// The triangles of one texture of a mesh, drawn with positions, normals and texture
// coordinates, every point moved by its displacement times an animation scale (see
// IVVertexContainerStlDataAnimation, its untextured partner).
class VISTAL_API IVVertexContainerStlDataTexturedAnimation : public IVVertexContainerSTLData<IVVertexPNT> {
public:
  // Mesh, displacements and texture (one of the mesh's) are not owned; they must
  // outlive the container. Starts at rest (scale 0).
  IVVertexContainerStlDataTexturedAnimation(MStlBase* stl, const MStlVectorMaskPoints* mask,
                                            const MStlTexture* texture);
  IVVertexContainerStlDataTexturedAnimation(const IVVertexContainerStlDataTexturedAnimation&);
  IVVertexContainerStlDataTexturedAnimation& operator=(const IVVertexContainerStlDataTexturedAnimation&);
  ~IVVertexContainerStlDataTexturedAnimation() override;

  // Drops what was recorded for the renderer, so the next render shows the change.
  void SetAnimationScale(float scale);

  float GetAnimationScale() const { return animationScale; }
  const MStlVectorMaskPoints* GetMask() const { return mask; }
  const MStlTexture* GetTexture() const { return texture; }

protected:
  // Nothing without displacements or a texture; otherwise one triangle batch with the
  // texture's triangles in the order of its list.
  void _Optimise(IIVVertexStream<IVVertexPNT>& stream) override;

private:
  float animationScale = 0.0f;
  const MStlVectorMaskPoints* mask;
  const MStlTexture* texture;
};
