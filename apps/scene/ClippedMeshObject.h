#pragma once
// A mesh scene object that takes part in clipping: the host-side class that inherits the
// ready-made clippable implementation. Its render routine loads the clip planes around
// its own drawing and then draws the cut faces.
#include "host/core/UIStlObject.h"
#include "vistal/clipping/ISimpleClippableObjectImp.h"
#include "vistal/containers/IVVertexContainerStlDataAnimation.h"
#include "vistal/masks/MDataMask.h"

#include <memory>

// The world-to-eye matrix for vertices in a mesh's integer units: the linear part
// scaled by 1 / IE, the translation kept.
void MeshUnitsToEye(const float worldToEye[16], float unitsToEye[16]);

class ClippedMeshObject : public UIStlObject, public ISimpleClippableObjectImp {
public:
  explicit ClippedMeshObject(std::shared_ptr<MStlBase> stl);

  bool DoOperation(MOperation& operation) override;
  // Clipping operations are undone through the clipping state's record of its planes.
  std::unique_ptr<MUndoRecord> CreateUndoRecord(MOperation& operation) override;
  void Render(IVRender& render, const MCoordinateSystem& system) override;

  // Gives every point a displacement (integer units) and draws the mesh moved by it
  // times `scale` from now on; scale 0 draws it at rest.
  void SetDisplacement(float maxMillimetres);
  void SetDisplacementScale(float scale);

protected:
  // A copy of the object's mesh: the slicer's mesh is the caller's to delete.
  void _GetStlToSlice(MStlBase*& mesh, const MMPlaneEq<double>& plane) override;

private:
  std::unique_ptr<MStlVectorMaskPoints> m_displacement;
  std::unique_ptr<IVVertexContainerStlDataAnimation> m_animation;
};
