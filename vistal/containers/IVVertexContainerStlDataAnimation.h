#pragma once
// A mesh drawn with positions and normals, every point moved by its displacement times
// an animation scale; scale 0 shows the mesh at rest. Positions stay in the mesh's
// integer units, and each triangle keeps its stored face normal.
//
// Paired with IVVertexContainerStlDataTexturedAnimation on a mesh whose textured
// triangles all belong to its first texture: this container told to skip textured
// triangles and the textured one for that texture together draw each triangle once.
#include "vistal/Api.h"
#include "vistal/masks/MDataMask.h"
#include "vistal/containers/IVVertexContainerSTLData.h"

class VISTAL_API IVVertexContainerStlDataAnimation : public IVVertexContainerSTLData<IVVertexPN> {
public:
  // Neither the mesh nor the displacements are owned; both must outlive the container.
  // Starts at rest (scale 0), drawing every triangle.
  IVVertexContainerStlDataAnimation(MStlBase* stl, const MStlVectorMaskPoints* mask);
  IVVertexContainerStlDataAnimation(const IVVertexContainerStlDataAnimation&);
  IVVertexContainerStlDataAnimation& operator=(const IVVertexContainerStlDataAnimation&);
  ~IVVertexContainerStlDataAnimation() override;

  // Both setters drop what was recorded for the renderer, so the next render shows the
  // change. A change of the displacements themselves shows once the host calls
  // DestroyRenderOptimisations, or at every render in dynamic mode.
  void SetAnimationScale(float scale);
  // True leaves out the triangles that the mesh's first texture maps.
  void SetSkipTextures(bool skip);

  float GetAnimationScale() const { return animationScale; }
  bool GetSkipTextures() const { return skipTextures; }
  const MStlVectorMaskPoints* GetMask() const { return mask; }

protected:
  // Nothing without a mesh or displacements; otherwise one triangle batch, the mesh's
  // triangles in traversal order.
  void _Optimise(IIVVertexStream<IVVertexPN>& stream) override;

private:
  float animationScale = 0.0f;
  const MStlVectorMaskPoints* mask;
  bool skipTextures = false;
};
