#pragma once
#include "vistal/Api.h"

#include <list>
#include <map>
#include <memory>
#include <vector>

class IVRender;
class MClippingPlane;
class MCoordinateSystem;
class MOperation;
class MUndoRecord;
class UIObject;
class UIObjectMedical;
class UISurface;

// The clipping state of one clippable scene object: the planes acting on it and, per
// plane, the cached cut-face surface made for the object and that plane. Clipping
// operations change the plane list; some framework operations make every cached face
// stale. The render operations load the planes into the renderer's user clip planes
// and draw each plane's cut face clipped by the others.
class VISTAL_API MClippingData {
public:
  // Makes a new cut-face surface; installed by the host. Null: no cut faces are made.
  using SurfaceCreator = UISurface* (*)();
  static SurfaceCreator mp_surface_creator;

  explicit MClippingData(UIObjectMedical* parent);
  // Cut faces are caches that the next texture pass makes again, so a copy lists the same
  // planes with no surfaces: no surface is ever owned twice. Assignment deletes the
  // surfaces it had.
  MClippingData(const MClippingData& other);
  MClippingData& operator=(const MClippingData& other);
  virtual ~MClippingData();

  void SetDrawFullPlane(bool on) { m_draw_full_plane = on; }
  void SetClipToFullSlice(bool on) { m_clip_to_full_slice = on; }
  void SetShouldBackFacesVisible(bool on) { m_should_back_faces_visible = on; }
  // The back-faces flag is on and some plane shows back faces instead of a cut face.
  bool ShouldBeBackFacesVisible() const;

  // Applies clipping operations and drops stale cut faces; always answers true.
  bool DoOperation(MOperation& operation);
  // For a clipping operation, a record of the plane list for undo and redo, which the host
  // object hands the framework from its UIObject::CreateUndoRecord; null for other
  // operations. Restoring a list keeps the cut faces of planes that stayed as they were and
  // drops those of planes whose values the performance changed. The record holds plane
  // addresses: the planes must outlive it, as they must outlive the operation.
  std::unique_ptr<MUndoRecord> CreateUndoRecord(MOperation& operation);
  // With a plane: whether it is listed and clips; with null: whether any listed plane clips.
  bool IsClipped(MClippingPlane* plane) const;
  // Makes each cut face's coordinate system follow the parent's.
  void UpdateCoordinateSystems();
  // Deletes every cached cut face; the planes stay.
  void DestroyRenderOptimizations();
  // The cached cut faces, in plane order; none is made.
  std::list<UIObject*> GetSurfaceList();

  // The listed planes with their cached faces (for the host's inspection).
  const std::map<MClippingPlane*, UISurface*>& GetPlanes() const { return m_planes; }
  // The planes that clip `plane`'s cut face when the texture pass draws it, in the order
  // they are loaded: none for a face drawn unclipped (full-slice mode with draw full plane
  // on), else every other listed plane that loads as a clip plane. A cut face that
  // closes its section along these planes' lines stays right however they move; the
  // renderer's slot count is not applied here.
  std::vector<MClippingPlane*> GetCutFaceClippingPlanes(const MClippingPlane* plane) const;

protected:
  // The clippable-object implementation draws through the render operations for the
  // host classes that inherit it.
  friend class ISimpleClippableObjectImp;

  UIObjectMedical* _GetParent() { return mp_parent; }
  // Cut faces made for another parent are dropped.
  void _SetParent(UIObjectMedical* parent);

  void _AddClippingPlane(MClippingPlane* plane);
  void _RemoveClippingPlane(MClippingPlane* plane);
  void _ChangeClippingPlane(MClippingPlane* plane);
  void _InvalidateClippingPlane(MClippingPlane* plane);
  void _ClearClippingPlanesList();

  // Loads the planes (all but `leftOut`) into the renderer's clip slots in plane order and
  // disables the slots left over. Planes beyond the renderer's slots (GetNumClipPlanes)
  // are not applied and nothing reports it: the object is drawn as if they were not
  // listed. A host that lets users add planes should refuse more than the renderer has.
  void _RenderStartClipping(IVRender& render, const MCoordinateSystem& system, const MClippingPlane* leftOut);
  // Disables every clip slot.
  void _RenderStopClipping(IVRender& render, const MCoordinateSystem& system);
  // Draws every plane's cut face, clipped by the other planes.
  void _RenderTextures(IVRender& render, const MCoordinateSystem& system);
  // A new cut face for the plane, owned by the caller, or null without a surface creator.
  UISurface* _CalculateSurface(MClippingPlane* plane);

private:
  class UndoRecord;

  bool _AnyPlaneShowsBackFaces() const;
  // Whether a listed plane goes into a clip slot when the planes are loaded.
  bool _LoadsAsClipPlane(const MClippingPlane& plane) const;
  // Whether the plane's cut face is drawn with no clip plane at all.
  bool _DrawsCutFaceUnclipped(const MClippingPlane& plane) const;
  void _DropSurface(UISurface*& surface);

  std::map<MClippingPlane*, UISurface*> m_planes;
  UIObjectMedical* mp_parent;
  bool m_draw_full_plane = false;
  bool m_clip_to_full_slice = true;
  bool m_should_back_faces_visible = true;
};
