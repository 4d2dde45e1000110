#pragma once
// The cut face of a mesh object with a clipping plane: the section of the object's mesh
// with the plane, filled.
//
// The renderer keeps a*x + b*y + c*z + d >= 0 of a clip plane whose (a, b, c) is the
// plane frame's normal N, so the object's remaining material lies on the +N side of the
// plane and the face that closes it looks the other way: the triangles face -N. They are
// drawn in the parent's material (opacity included), so that the face looks like the
// inside of the object, and in the same coordinates as the parent: the plane frame is
// taken in the parent's scene units.
#include "host/HostApi.h"
#include "host/core/UISurface.h"
#include "host/render/IVVertex.h"

#include <memory>
#include <vector>

class UIStlObject;

class VISTAL_HOST_API UISurfaceSection : public UISurface {
public:
  UISurfaceSection();
  UISurfaceSection(const UISurfaceSection&);
  UISurfaceSection& operator=(const UISurfaceSection&);
  ~UISurfaceSection() override;

  // A new, not yet set up section surface; the caller owns it. Fits the clipping data's
  // surface-creator hook.
  static UISurface* Create();

  // Slices the parent's mesh with the frame's plane and fills the closed contours. Answers
  // false, and draws nothing, when no face could be made: a parent that is not a mesh
  // object or has no mesh, a frame without a normal (nor edges spanning a plane), texture
  // mapping mode 2 (back faces are shown instead of a face), or a plane that leaves no
  // closed contour. Mode 1 (full slice) gets the same face, untextured. The parent is not
  // owned and must outlive the surface.
  bool Setup(UIObjectMedical* parent, MFrame<float>& frame, int textureMappingMode) override;

  // The filled section: three vertices per triangle, scene units, each with the face's
  // normal (-N).
  const std::vector<IVVertexPN>& GetTriangles() const { return m_triangles; }
  std::size_t GetNumTriangles() const { return m_triangles.size() / 3; }

  void GetBoundingBox(M3DBoundingBox<float>& box, unsigned scene) const override;
  // The triangles, lit, in the parent's render material, placed by the surface's
  // coordinate system relative to `system` (the clipping state makes that follow the
  // parent's, UpdateCoordinateSystems); the renderer's material and matrix are restored
  // afterwards. Recorded once for the renderer, drawn again on every call.
  void Render(IVRender& render, const MCoordinateSystem& system) override;

  const wchar_t* GetUserInterfaceTypeName() const override;

private:
  class FaceContainer;

  bool _BuildFace(UIObjectMedical* parent, const MFrame<float>& frame, int textureMappingMode);

  const UIStlObject* mp_stl_object = nullptr;
  std::vector<IVVertexPN> m_triangles;
  M3DBoundingBox<float> m_box;
  std::unique_ptr<FaceContainer> m_container;
};
