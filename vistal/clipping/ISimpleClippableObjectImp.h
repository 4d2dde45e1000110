#pragma once
// The ready-made clippable object: it owns one clipping state for its object and cuts
// the object's mesh with a plane into section contours.
#include "host/framework/MMPlaneEq.h"
#include "host/meshops/M3dBorder.h"
#include "host/meshops/MNewSlicer.h"
#include "vistal/clipping/IClippableObject.h"

class IVRender;
class MCoordinateSystem;
class MStlBase;
class UIObjectMedical;

class VISTAL_API ISimpleClippableObjectImp : public IClippableObject {
public:
  explicit ISimpleClippableObjectImp(UIObjectMedical* object);
  // A copy gets its own clipping state, a copy of the source's (same planes, cut faces
  // made anew), so that each deletes only its own.
  ISimpleClippableObjectImp(const ISimpleClippableObjectImp& other);
  ISimpleClippableObjectImp& operator=(const ISimpleClippableObjectImp& other);
  ~ISimpleClippableObjectImp() override;

  MClippingData* GetClippingData() override { return mp_clipping_data; }
  const MClippingData* GetClippingData() const override { return mp_clipping_data; }
  std::list<UIObject*> GetClippingSurfaces() override;
  void SetClippingBackFacesVisibility(bool visible) override;

  // The section of the object's mesh with the plane (in the mesh's integer units), as
  // contours; empty when the object gives no mesh or the plane misses it.
  M3dBorder<double, MStlSlicerBase::MSlicePointData> GetSlicedBorder(const MMPlaneEq<double>& plane);

protected:
  bool _DoOperationClipping(MOperation& operation) override;

  // What a host class's render routine calls around drawing its own geometry: load the
  // planes into the clip slots, switch them off again, then draw the cut faces.
  void _RenderStartClipping(IVRender& render, const MCoordinateSystem& system);
  void _RenderStopClipping(IVRender& render, const MCoordinateSystem& system);
  void _RenderTextures(IVRender& render, const MCoordinateSystem& system);
  // Stores a newly made mesh to slice in `mesh` (null on entry), or leaves it null. The
  // caller owns and deletes the mesh.
  virtual void _GetStlToSlice(MStlBase*& mesh, const MMPlaneEq<double>& plane) = 0;

private:
  MClippingData* mp_clipping_data;
};
