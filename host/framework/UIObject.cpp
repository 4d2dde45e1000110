#include "host/framework/UIObject.h"

#include "host/framework/MClipRegion.h"
#include "host/framework/MTransformRepository.h"

IRender::~IRender() = default;

void IRender::GetKeptPoints(std::vector<MMPoint3d<double>>& points, unsigned scene, const MClipRegion& region) const {
  M3DBoundingBox<float> box;
  GetBoundingBox(box, scene);
  if (!box.IsValid()) return;
  region.AddKeptBox({box.xmin, box.xmax, box.ymin, box.ymax, box.zmin, box.zmax}, points);
}

UIObject::UIObject() = default;

UIObject::UIObject(const UIObject& other)
    : IRender(other), m_coordinate_system(_PlacedLike(other.m_coordinate_system)), m_visible(other.m_visible) {}

UIObject& UIObject::operator=(const UIObject& other) {
  if (this != &other) {
    m_coordinate_system = _PlacedLike(other.m_coordinate_system);
    m_visible = other.m_visible;
  }
  return *this;
}

UIObject::~UIObject() = default;

MCoordinateSystem UIObject::_PlacedLike(const MCoordinateSystem& other) {
  MCoordinateSystem system;
  MTransformRepositoryCoordinateSystem* mine = system.GetInternalSystem();
  const MTransformRepositoryCoordinateSystem* theirs = other.GetInternalSystem();
  // A fresh system has no children, so it cannot become its own ancestor here.
  mine->SetDependent(theirs->GetParent());
  mine->SetLocalTransform(theirs->GetLocalTransform());
  return system;
}

void UIObject::SetVisible(bool visible, unsigned scene) { m_visible.Set(visible, scene); }
bool UIObject::IsVisible(unsigned scene) const { return m_visible.Get(scene); }

bool UIObject::DoOperation(MOperation&) { return true; }

std::unique_ptr<MUndoRecord> UIObject::CreateUndoRecord(MOperation&) { return nullptr; }

const wchar_t* UIObject::GetUserInterfaceTypeName() const { return L"Object"; }

void UIObject::GetBoundingBox(M3DBoundingBox<float>&, unsigned) const {}
void UIObject::Render(IVRender&, const MCoordinateSystem&) {}
void UIObject::RenderGDI(CDC&, const MCoordinateSystem&) {}
