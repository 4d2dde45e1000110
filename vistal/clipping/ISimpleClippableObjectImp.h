#pragma once
#include "host/framework/MMPlaneEq.h"
#include "host/meshops/M3dBorder.h"
#include "host/meshops/MNewSlicer.h"
#include "vistal/clipping/IClippableObject.h"

class IVRender;
class MCoordinateSystem;
class MStlBase;
class UIObjectMedical;

// The ready-made clippable object: it owns one clipping state for its object and cuts
// the object's mesh with a plane into section contours.
class VISTAL_API ISimpleClippableObjectImp : public IClippableObject {
public:
  explicit ISimpleClippableObjectImp(UIObjectMedical* object);
  // A copy gets its own clipping state, a copy of the source's (same planes and flags,
  // cut faces made anew), so that each deletes only its own. When the source clips
  // itself (a scene object that inherits this class and passed `this`), the copy clips
  // itself too, never the source. Assignment takes the planes and flags and keeps the
  // object clipped.
  ISimpleClippableObjectImp(const ISimpleClippableObjectImp& other);
  ISimpleClippableObjectImp& operator=(const ISimpleClippableObjectImp& other);
  ~ISimpleClippableObjectImp() override;

  MClippingData* GetClippingData() override { return _ClippingData(); }
  const MClippingData* GetClippingData() const override { return _ClippingData(); }
  std::list<UIObject*> GetClippingSurfaces() override;
  void SetClippingBackFacesVisibility(bool visible) override;

  // The section of the object's mesh with the plane (in the mesh's integer units), as
  // contours; empty when the object gives no mesh or the plane misses it. The mesh that
  // was cut is gone when this returns, so the points carry their coordinates only: the
  // element pointers of their slice data (edges, triangle) are null.
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
  // The clipping data, made to clip this object first where a copy is still waiting for it.
  MClippingData* _ClippingData() const;

  MClippingData* mp_clipping_data;
  // A copy of an object that clips itself: while this part is being copied the object it
  // belongs to is not made yet, so the clipping data learns it on first use.
  mutable bool m_clips_itself_unresolved = false;
};
