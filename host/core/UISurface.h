#pragma once
// The cut face of a clipped object with one clipping plane. Set up with the parent object,
// the plane's frame and how the face is textured, it draws as a flat face in the plane.
// This class draws the frame's whole rectangle; the slicing subclass replaces that with
// the section of the parent's mesh, filled.
#include "host/HostApi.h"
#include "host/core/UIObjectMedical.h"
#include "host/framework/MFrame.h"

class VISTAL_HOST_API UISurface : public UIObjectMedical {
public:
  UISurface();
  UISurface(const UISurface&);
  UISurface& operator=(const UISurface&);
  ~UISurface() override;

  // `textureMappingMode` takes the clipping plane's texture-mapping enumeration as its
  // integer value (0 none, 1 full slice, 2 back faces shown instead of a face); the host
  // core is built before the clipping classes, so it cannot name their type. The parent
  // is not owned and must outlive the surface. Answers whether a face could be made:
  // false for a null parent or a degenerate frame (no face is drawn then).
  virtual bool Setup(UIObjectMedical* parent, MFrame<float>& frame, int textureMappingMode);

  UIObjectMedical* GetParent() const { return mp_parent; }
  const MFrame<float>& GetFrame() const { return m_frame; }
  int GetTextureMappingMode() const { return m_texture_mapping_mode; }
  bool IsSetUp() const { return m_set_up; }

  // The frame's rectangle.
  void GetBoundingBox(M3DBoundingBox<float>& box, unsigned scene) const override;
  // Two triangles over the frame's rectangle, facing along its normal, lit, placed by the
  // surface's coordinate system relative to `system` (the renderer's matrix is restored).
  void Render(IVRender& render, const MCoordinateSystem& system) override;

  const wchar_t* GetUserInterfaceTypeName() const override;

private:
  UIObjectMedical* mp_parent = nullptr;
  MFrame<float> m_frame;
  int m_texture_mapping_mode = 0;
  bool m_set_up = false;
};
