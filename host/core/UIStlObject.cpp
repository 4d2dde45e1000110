#include "host/core/UIStlObject.h"

#include "host/framework/MClipRegion.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlTraversal.h"
#include "host/mesh/MStlUnits.h"
#include "host/render/IVRenderPlacement.h"
#include "host/render/IVVertexContainerSTLData.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// The mesh's triangles as lit vertices in scene units, each with its triangle's normal.
class UIStlObject::MeshContainer final : public IVVertexContainerSTLData<IVVertexPN> {
public:
  using IVVertexContainerSTLData<IVVertexPN>::IVVertexContainerSTLData;

protected:
  void _Optimise(IIVVertexStream<IVVertexPN>& stream) override {
    if (!m_stl) return;
    // Handed over a few thousand triangles at a time: few calls, little extra memory.
    constexpr std::size_t kChunk = 4096;
    std::vector<IVVertexPN> chunk;
    chunk.reserve(3 * kChunk);
    const double scale = 1.0 / static_cast<double>(IE);
    stream.BeginTriangles();
    ForEachTriangle(*m_stl, [&](const MStlTriangle& t) {
      for (const MStlPoint* p : t.points)
        chunk.push_back({float(p->x * scale), float(p->y * scale), float(p->z * scale), t.normal[0], t.normal[1],
                         t.normal[2]});
      if (chunk.size() == 3 * kChunk) {
        stream.AddTriangles(chunk.data(), kChunk);
        chunk.clear();
      }
    });
    if (!chunk.empty()) stream.AddTriangles(chunk.data(), chunk.size() / 3);
    stream.End();
  }
};

UIStlObject::UIStlObject() : m_container(std::make_unique<MeshContainer>(nullptr)) {}

UIStlObject::UIStlObject(std::shared_ptr<MStlBase> stl) : UIStlObject() { SetStl(std::move(stl)); }

UIStlObject::UIStlObject(const UIStlObject& other)
    : UIObjectMedical(other),
      m_name(other.m_name),
      m_material(other.m_material),
      m_alpha(other.m_alpha),
      m_container(std::make_unique<MeshContainer>(nullptr)) {
  SetStl(other.m_stl);
}

UIStlObject& UIStlObject::operator=(const UIStlObject& other) {
  if (this == &other) return *this;
  UIObjectMedical::operator=(other);
  m_name = other.m_name;
  m_material = other.m_material;
  m_alpha = other.m_alpha;
  SetStl(other.m_stl);
  return *this;
}

UIStlObject::~UIStlObject() { _Unlink(); }

void UIStlObject::SetStl(std::shared_ptr<MStlBase> stl) {
  _Unlink();
  m_stl = std::move(stl);
  m_container->SetStl(m_stl.get());
  _Link();
}

void UIStlObject::_Link() {
  m_mesh_validity.SetInvalid();
  if (m_stl) m_stl->GetValidity().AddDependant(m_mesh_validity);
}

void UIStlObject::_Unlink() {
  if (m_stl) m_stl->GetValidity().RemoveDependant(m_mesh_validity);
}

void UIStlObject::SetAlpha(float alpha) {
  m_alpha = std::isnan(alpha) ? 1.0f : std::clamp(alpha, 0.0f, 1.0f);
}

MMaterial UIStlObject::GetRenderMaterial() const {
  MMaterial m = m_material;
  const COLORREF a = static_cast<COLORREF>(std::lround(m_alpha * 255.0f));
  m.SetDiffuse((m.GetDiffuse() & 0x00FFFFFFu) | (a << 24));
  return m;
}

void UIStlObject::GetBoundingBox(M3DBoundingBox<float>& box, unsigned) const {
  if (m_stl) box.Add(m_stl->GetBoundingBox());
}

void UIStlObject::GetKeptPoints(std::vector<MMPoint3d<double>>& points, unsigned,
                                const MClipRegion& region) const {
  if (!m_stl || m_stl->GetNumPoints() == 0) return;
  const double scale = 1.0 / static_cast<double>(IE);
  auto scene = [scale](const MStlPoint& p) { return MMPoint3d<double>(p.x * scale, p.y * scale, p.z * scale); };
  // Each kept point once, found by its slot (the point's number in the mesh): 0 not yet
  // seen, 1 kept, 2 cut away.
  const std::uint32_t count = m_stl->GetNumPoints();
  std::vector<std::uint8_t> state(count, 0);
  auto kept = [&](const MStlPoint& p) {
    const std::uint32_t i = p.GetMaskIndex();
    if (i >= count) {
      const bool k = region.Keeps(scene(p));
      if (k) points.push_back(scene(p));
      return k;
    }
    if (state[i] == 0) {
      state[i] = region.Keeps(scene(p)) ? 1 : 2;
      if (state[i] == 1) points.push_back(scene(p));
    }
    return state[i] == 1;
  };
  MMPoint3d<double> corners[3];
  ForEachTriangle(*m_stl, [&](const MStlTriangle& t) {
    const bool k0 = kept(*t.points[0]), k1 = kept(*t.points[1]), k2 = kept(*t.points[2]);
    if (k0 && k1 && k2) return;
    // A triangle with a corner cut away may still cross the region.
    for (int i = 0; i < 3; ++i) corners[i] = scene(*t.points[i]);
    region.AddKeptPolygon(corners, 3, points);
  });
  if (!region.KeepsEverything()) {
    const M3DBoundingBox<float> box = m_stl->GetBoundingBox();
    region.AddInnerCorners({box.xmin, box.xmax, box.ymin, box.ymax, box.zmin, box.zmax}, points);
  }
}

void UIStlObject::Render(IVRender& render, const MCoordinateSystem& system) {
  if (!m_stl) return;
  m_stl->_SpreadInvalidity();
  if (!m_mesh_validity.IsValid()) {
    m_container->DestroyRenderOptimisations();
    m_mesh_validity.SetValid();
  }
  const IVRenderPlacement placed(render, GetCoordinateSystem(), system);
  IVRender::Memento saved;
  render.SaveState(saved);
  render.SetMaterial(GetRenderMaterial());
  m_container->Render(render);
  render.RestoreState(saved, IVRender::eMemoMaterial);
}

const wchar_t* UIStlObject::GetUserInterfaceTypeName() const { return L"Mesh"; }
