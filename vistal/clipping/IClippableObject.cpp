#include "vistal/clipping/IClippableObject.h"

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
    : IClippableObject(other), mp_clipping_data(new MClippingData(*other.mp_clipping_data)) {}

ISimpleClippableObjectImp& ISimpleClippableObjectImp::operator=(const ISimpleClippableObjectImp& other) {
  if (this != &other) *mp_clipping_data = *other.mp_clipping_data;
  return *this;
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
  return mp_clipping_data->DoOperation(operation);
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
  return slicer.GetBorder();
}

void ISimpleClippableObjectImp::_RenderStartClipping(IVRender& render, const MCoordinateSystem& system) {
  mp_clipping_data->_RenderStartClipping(render, system, nullptr);
}

void ISimpleClippableObjectImp::_RenderStopClipping(IVRender& render, const MCoordinateSystem& system) {
  mp_clipping_data->_RenderStopClipping(render, system);
}

void ISimpleClippableObjectImp::_RenderTextures(IVRender& render, const MCoordinateSystem& system) {
  mp_clipping_data->_RenderTextures(render, system);
}
