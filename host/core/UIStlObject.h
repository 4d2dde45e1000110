#pragma once
#include "host/HostApi.h"
#include "host/core/UIObjectMedical.h"
#include "host/mesh/MValidityField.h"
#include "host/render/MMaterial.h"

#include <memory>
#include <string>
#include <utility>

class MStlBase;

// A mesh as a scene object: a triangle mesh of the mesh library with its material and
// opacity. Its coordinates are the mesh's, converted to scene units (integer units / IE).
class VISTAL_HOST_API UIStlObject : public UIObjectMedical {
public:
  // Without a mesh: no extent, nothing drawn.
  UIStlObject();
  explicit UIStlObject(std::shared_ptr<MStlBase> stl);
  // A copy shares the mesh and takes name, material and opacity; what was recorded for the
  // renderer is not shared.
  UIStlObject(const UIStlObject& other);
  UIStlObject& operator=(const UIStlObject& other);
  ~UIStlObject() override;

  // The mesh, owned or shared through the pointer. To show a mesh held elsewhere without
  // owning it, pass a non-owning pointer (std::shared_ptr<MStlBase>(std::shared_ptr<MStlBase>(), mesh));
  // that mesh must then outlive the object.
  void SetStl(std::shared_ptr<MStlBase> stl);
  MStlBase* GetStl() const { return m_stl.get(); }
  const std::shared_ptr<MStlBase>& GetStlShared() const { return m_stl; }

  // What messages about the object call it (a file name, say); empty until set.
  void SetName(std::string name) { m_name = std::move(name); }
  const std::string& GetName() const { return m_name; }

  void SetMaterial(const MMaterial& material) { m_material = material; }
  const MMaterial& GetMaterial() const { return m_material; }
  // Opacity in [0, 1] (values outside are clamped); 1 is opaque.
  void SetAlpha(float alpha);
  float GetAlpha() const { return m_alpha; }
  // The material the object draws with: its material with the alpha byte of the diffuse
  // colour made from the opacity (rounded to the nearest of 0..255).
  MMaterial GetRenderMaterial() const;

  // The mesh's box in scene units; nothing for an object without mesh or points.
  void GetBoundingBox(M3DBoundingBox<float>& box, unsigned scene) const override;
  // What the region keeps of the mesh's triangles, in scene units: each point of a
  // triangle that it keeps, the corners of the parts it keeps of the triangles it cuts,
  // and the points inside the mesh's box where three planes meet (corners of cut faces).
  void GetKeptPoints(std::vector<MMPoint3d<double>>& points, unsigned scene, const MClipRegion& region) const override;
  // The mesh's triangles, lit, with flat normals, in the render material, placed by the
  // object's coordinate system relative to `system`; the renderer's material and matrix
  // are restored afterwards. The vertices are recorded once and drawn again until the mesh
  // is edited or replaced.
  void Render(IVRender& render, const MCoordinateSystem& system) override;

  const wchar_t* GetUserInterfaceTypeName() const override;

private:
  class MeshContainer;

  void _Link();
  void _Unlink();

  std::shared_ptr<MStlBase> m_stl;
  std::string m_name;
  MMaterial m_material;
  float m_alpha = 1.0f;
  // Goes stale when the mesh is edited: what was recorded must then be recorded anew.
  MValidityField m_mesh_validity;
  std::unique_ptr<MeshContainer> m_container;
};
