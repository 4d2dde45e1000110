#pragma once
#include "host/core/IUISliceSetWithNavigation.h"
#include "host/framework/UIOperation.h"
#include "vistal/Api.h"

#include <cstdint>
#include <memory>
#include <vector>

class MClippingPlane;

// The clipping action codes.
enum EClippingAction : std::uint32_t {
  eClippingAddPlanes = 82750,
  eClippingRemovePlanes = 82751,
  eClippingClearPlanes = 82752,
  eClippingPlanesChanged = 82753,
  eClippingInvalidatePlanes = 82754,  // their cut faces must be remade
  eClippingOther = 82755,             // a clipping action the clipping state does not act on
};

// The undoable operation that carries clipping changes to the scene objects: the planes
// it applies to and one of the clipping action codes. Each clippable object's clipping
// state applies it to its plane list. For undo, the operation records its planes' values
// (frame, sides, modes, slice association; not the texture) and each clipping state its
// plane list: a host that changes a plane for a clipping action prepares the operation
// (Prepare) before changing the plane, so that Undo gives the old values back.
class VISTAL_API UIOperationClipping : public UIOperation {
public:
  UIOperationClipping();
  UIOperationClipping(const UIOperationClipping&);
  UIOperationClipping& operator=(const UIOperationClipping&);
  // The planes are not deleted, whatever the delete-planes setting says: that is the host's call.
  ~UIOperationClipping() override;

  // A clipping action only redraws the 3D views and moves no object: the flag word loses
  // the bounding-box update and the all-views redraw and gains the 3D-views redraw.
  // The range test sees the 32-bit action word, as stored.
  void SetAction(std::uint32_t action) override;

  // Whether the action is one of the clipping action codes.
  static bool IsClippingAction(std::uint32_t action) {
    return action >= eClippingAddPlanes && action <= eClippingOther;
  }

  void AddClippingPlane(MClippingPlane* plane) { m_planes.push_back(plane); }
  unsigned int GetNumClippingPlanes() { return unsigned(m_planes.size()); }
  MClippingPlane* GetClippingPlane(unsigned int index) { return m_planes[index]; }
  std::vector<MClippingPlane*>::iterator FirstClippingPlane() { return m_planes.begin(); }
  std::vector<MClippingPlane*>::iterator LastClippingPlane() { return m_planes.end(); }

  void SetAllClippedObjectsNeeded(bool needed) { m_all_clipped_objects_needed = needed; }
  bool AreAllClippedObjectsNeeded() const { return m_all_clipped_objects_needed; }
  void SetNervesNeeded(bool needed) { m_nerves_needed = needed; }
  bool AreNervesNeed() const { return m_nerves_needed; }
  void SetDeletePlanes(bool del) { m_delete_planes = del; }
  bool NeedToDeletePlanes() const { return m_delete_planes; }
  void SetSliceType(IUISliceSetWithNavigation::SLICE_TYPE type) { m_slice_type = type; }
  IUISliceSetWithNavigation::SLICE_TYPE GetSliceType() { return m_slice_type; }

protected:
  // The values of the operation's planes, for the clipping action codes; null otherwise.
  std::unique_ptr<MUndoRecord> _CreateUndoRecord() override;

private:
  std::vector<MClippingPlane*> m_planes;
  bool m_all_clipped_objects_needed = true;
  bool m_nerves_needed = true;
  bool m_delete_planes = false;
  IUISliceSetWithNavigation::SLICE_TYPE m_slice_type = IUISliceSetWithNavigation::eSliceNone;
};
