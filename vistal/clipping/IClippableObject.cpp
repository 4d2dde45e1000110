#include "vistal/clipping/IClippableObject.h"

#include "host/core/UIObjectMedical.h"
#include "host/mesh/MStlBase.h"
#include "vistal/clipping/ISimpleClippableObjectImp.h"
#include "vistal/clipping/MClippingData.h"

#include <memory>

IClippableObject::~IClippableObject() = default;

bool IClippableObject::IsClipped() {
  const MClippingData* data = GetClippingData();
  return data && data->IsClipped(nullptr);
}

bool IClippableObject::DoOperationClipping(MOperation& operation) { return _DoOperationClipping(operation); }

ISimpleClippableObjectImp::ISimpleClippableObjectImp(UIObjectMedical* object)
    : mp_clipping_data(new MClippingData(object)) {}

ISimpleClippableObjectImp::ISimpleClippableObjectImp(const ISimpleClippableObjectImp& other)
    : IClippableObject(other), mp_clipping_data(new MClippingData(*other._ClippingData())) {
  // The source is whole, so it can tell whether it clips itself.
  UIObjectMedical* sourceObject = dynamic_cast<UIObjectMedical*>(const_cast<ISimpleClippableObjectImp*>(&other));
  if (sourceObject && mp_clipping_data->_GetParent() == sourceObject) {
    mp_clipping_data->_SetParent(nullptr);
    m_clips_itself_unresolved = true;
  }
}

ISimpleClippableObjectImp& ISimpleClippableObjectImp::operator=(const ISimpleClippableObjectImp& other) {
  if (this == &other) return *this;
  MClippingData& data = *_ClippingData();
  UIObjectMedical* object = data._GetParent();
  data = *other._ClippingData();
  data._SetParent(object);
  return *this;
}

MClippingData* ISimpleClippableObjectImp::_ClippingData() const {
  if (m_clips_itself_unresolved) {
    // Null while the object is still being made or unmade: asked again next time.
    if (auto* object = dynamic_cast<UIObjectMedical*>(const_cast<ISimpleClippableObjectImp*>(this))) {
      mp_clipping_data->_SetParent(object);
      m_clips_itself_unresolved = false;
    }
  }
  return mp_clipping_data;
}

ISimpleClippableObjectImp::~ISimpleClippableObjectImp() { delete mp_clipping_data; }

std::list<UIObject*> ISimpleClippableObjectImp::GetClippingSurfaces() {
  MClippingData* data = GetClippingData();
  return data ? data->GetSurfaceList() : std::list<UIObject*>{};
}

void ISimpleClippableObjectImp::SetClippingBackFacesVisibility(bool visible) {
  if (mp_clipping_data) mp_clipping_data->SetShouldBackFacesVisible(visible);
}

bool ISimpleClippableObjectImp::_DoOperationClipping(MOperation& operation) {
  return _ClippingData()->DoOperation(operation);
}

M3dBorder<double, MStlSlicerBase::MSlicePointData> ISimpleClippableObjectImp::GetSlicedBorder(
    const MMPlaneEq<double>& plane) {
  MNewSlicer slicer;
  MStlBase* made = nullptr;
  _GetStlToSlice(made, plane);
  // The mesh goes even when slicing throws.
  std::unique_ptr<MStlBase> mesh(made);
  slicer.SetSliceStl(mesh.get());
  slicer.SetPlaneSliceMode(plane, false);
  slicer.Operate();
  mesh.reset();
  // The slice data pointed into the mesh just deleted: keep the coordinates only.
  M3dBorder<double, MStlSlicerBase::MSlicePointData> border = slicer.GetBorder();
  for (std::size_t i = 0; i < border.GetNumContours(); ++i)
    for (auto& p : border.GetContour(i).GetPoints()) {
      p.data.edge[0] = p.data.edge[1] = nullptr;
      p.data.triangle = nullptr;
    }
  return border;
}

void ISimpleClippableObjectImp::_RenderStartClipping(IVRender& render, const MCoordinateSystem& system) {
  _ClippingData()->_RenderStartClipping(render, system, nullptr);
}

void ISimpleClippableObjectImp::_RenderStopClipping(IVRender& render, const MCoordinateSystem& system) {
  _ClippingData()->_RenderStopClipping(render, system);
}

void ISimpleClippableObjectImp::_RenderTextures(IVRender& render, const MCoordinateSystem& system) {
  _ClippingData()->_RenderTextures(render, system);
}
