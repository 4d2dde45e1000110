#pragma once
#include "host/core/UIStlObject.h"
#include "host/meshops/ICutFaceParent.h"
#include "vistal/clipping/ISimpleClippableObjectImp.h"
#include "vistal/masks/MDataMask.h"
#include "scene/SceneApi.h"

#include <memory>
#include <string>
#include <vector>

// The world-to-eye matrix for vertices in a mesh's integer units: the linear part
// scaled by 1 / IE, the translation kept.
VISTAL_SCENE_API void MeshUnitsToEye(const float worldToEye[16], float unitsToEye[16]);

// A mesh scene object that takes part in clipping: the host-side class that inherits the
// ready-made clippable implementation. Its render routine loads the clip planes around
// its own drawing and then draws the cut faces. It tells each cut face which planes clip
// it, so that the face closes its section within what those planes keep.
class VISTAL_SCENE_API ClippedMeshObject : public UIStlObject, public ISimpleClippableObjectImp, public ICutFaceParent {
public:
  explicit ClippedMeshObject(std::shared_ptr<MStlBase> stl);

  bool DoOperation(MOperation& operation) override;
  // Clipping operations are undone through the clipping state's record of its planes.
  std::unique_ptr<MUndoRecord> CreateUndoRecord(MOperation& operation) override;
  void Render(IVRender& render, const MCoordinateSystem& system) override;
  // What its clip planes and the region leave of the mesh: what the object draws.
  void GetKeptPoints(std::vector<MMPoint3d<double>>& points, unsigned scene, const MClipRegion& region) const override;

  // The frames of the planes that the clipping data draws the face of the plane with
  // frame `face` clipped by.
  bool GetCutFaceClipFrames(const MFrame<float>& face, std::vector<MFrame<float>>& frames) const override;
  // The warnings of the cut faces made so far, each different one once.
  std::vector<std::string> GetCutFaceWarnings();

  // Gives every point of the mesh a displacement of up to `maxMillimetres`, kept in a
  // mask of the mesh, and from then on shows a copy of the mesh of its own with every
  // point moved by its displacement times the scale. The moved copy is the object's
  // mesh: it is drawn, cut and capped, so the cut faces stay on the wall. The mesh
  // handed in stays where it is.
  void SetDisplacement(float maxMillimetres);
  // 0 (until set) puts the points at rest, 1 moves them by their whole displacement.
  void SetDisplacementScale(float scale);
  float GetDisplacementScale() const { return m_scale; }

  // Draws the back faces too, lit like the front in the same material: an open mesh (a
  // scanned surface) shows its back through its rim and holes. Off until set.
  void SetTwoSided(bool twoSided) { m_two_sided = twoSided; }

protected:
  // A copy of the object's mesh: the slicer's mesh is the caller's to delete.
  void _GetStlToSlice(MStlBase*& mesh, const MMPlaneEq<double>& plane) override;

private:
  // Moves the points of the object's copy of the mesh to where the scale puts them.
  void _Pose();

  // Once displaced: the mesh at rest, and its points' displacements in integer units.
  std::shared_ptr<MStlBase> m_rest;
  std::unique_ptr<MStlVectorMaskPoints> m_displacement;
  float m_scale = 0.0f;
  bool m_two_sided = false;
};
