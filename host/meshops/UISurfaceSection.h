#pragma once
#include "host/HostApi.h"
#include "host/core/UISurface.h"
#include "host/mesh/MValidityField.h"
#include "host/meshops/MStlSlicerBase.h"
#include "host/render/IVVertex.h"

#include <memory>
#include <string>
#include <vector>

class ICutFaceParent;
class MStlBase;
class UIStlObject;

// The cut face of a mesh object with a clipping plane: the section of the object's mesh
// with the plane, filled.
//
// The renderer keeps a*x + b*y + c*z + d >= 0 of a clip plane whose (a, b, c) is the
// plane frame's normal N, so the object's remaining material lies on the +N side of the
// plane and the face that closes it looks the other way: the triangles face -N. They are
// drawn in the parent's material (opacity included), so that the face looks like the
// inside of the object, and in the same coordinates as the parent: the plane frame is
// taken in the parent's scene units.
//
// The face is drawn clipped by the object's other planes, and only the part of the
// section they keep is closed (MSectionCap): where the section runs out of the kept
// region through another plane, the outline follows that plane's line. So a mesh that
// is open only where other planes cut it away (a scan open at the neck, say) gets the
// same face as the closed mesh. The parent names those planes through ICutFaceParent;
// a parent without it is taken to have no other planes.
class VISTAL_HOST_API UISurfaceSection : public UISurface {
public:
  UISurfaceSection();
  // A copy follows the same parent and mesh.
  UISurfaceSection(const UISurfaceSection&);
  UISurfaceSection& operator=(const UISurfaceSection&);
  ~UISurfaceSection() override;

  // A new, not yet set up section surface; the caller owns it. Fits the clipping data's
  // surface-creator hook.
  static UISurface* Create();

  // Slices the parent's mesh with the frame's plane and fills the section within the
  // region the parent's other planes keep; answers whether that made a face. From then on
  // the face follows the mesh and those planes: once the parent's mesh is edited or
  // replaced, or the other planes are not the ones the face was made with, the face is
  // made again when next asked for (drawn, its triangles or box read), so that it stays
  // on the moving wall.
  // The section does not follow at all (IsSetUp false) for a parent that is not a mesh
  // object, a frame without a normal (nor edges spanning a plane) or texture mapping
  // mode 2 (back faces are shown instead of a face). A plane that misses the mesh (or
  // whose section the other planes cut away) makes no face for now (false), though an
  // edit may bring one. Mode 1 (full slice) gets the same face, untextured. The parent is
  // not owned and must outlive the surface; the mesh last cut stays alive with the surface.
  bool Setup(UIObjectMedical* parent, MFrame<float>& frame, int textureMappingMode) override;

  // Empty, or one line naming the mesh when the face had to close a section that ends
  // inside the kept region (the mesh is open there): the face is then closed by straight
  // edges, which may not be what the mesh would show closed. Up to date like the face.
  const std::string& GetWarning() const;

  // The filled section of the parent's mesh as it is now: three vertices per triangle,
  // scene units, each with the face's normal (-N).
  const std::vector<IVVertexPN>& GetTriangles() const;
  std::size_t GetNumTriangles() const { return GetTriangles().size() / 3; }

  void GetBoundingBox(M3DBoundingBox<float>& box, unsigned scene) const override;
  // The triangles, lit, in the parent's render material, placed by the surface's
  // coordinate system relative to `system` (the clipping state makes that follow the
  // parent's, UpdateCoordinateSystems); the renderer's material and matrix are restored
  // afterwards. Recorded once for the renderer, drawn again on every call
  // until the face is made again.
  void Render(IVRender& render, const MCoordinateSystem& system) override;

  const wchar_t* GetUserInterfaceTypeName() const override;

private:
  class FaceContainer;

  // Makes the face again when the parent's mesh was edited or replaced since it was cut,
  // or when the parent's other planes changed.
  void _Update() const;
  void _Follow(std::shared_ptr<MStlBase> mesh) const;
  void _Cut(const std::vector<MFrame<float>>& clipFrames) const;
  void _BuildFace() const;
  void _ClearFace() const;

  // The parent followed; null when the section follows nothing.
  const UIStlObject* mp_stl_object = nullptr;
  // The same parent when it names its other planes.
  const ICutFaceParent* mp_cut_face_parent = nullptr;
  // The plane in scene units: its unit normal and a point on it.
  MMPoint3d<double> m_normal, m_origin;
  // The mesh the face was cut from, and its edits: stale once that mesh was edited.
  mutable std::shared_ptr<MStlBase> m_cut_mesh;
  MValidityField m_cut_validity;
  // The section of that mesh with the plane, and the other planes the face was closed in.
  mutable MStlSlicerBase::Border m_section;
  mutable std::vector<MFrame<float>> m_clip_frames;
  mutable std::string m_warning;
  mutable std::vector<IVVertexPN> m_triangles;
  mutable M3DBoundingBox<float> m_box;
  std::unique_ptr<FaceContainer> m_container;
};
