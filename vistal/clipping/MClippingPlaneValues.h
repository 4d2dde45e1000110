#pragma once
// What the undo of a clipping operation puts back into a plane: everything the host sets
// on it except the texture, which changes hands through SetTexture and is not an
// operation's to take back. Internal to the library.
#include "vistal/clipping/MClippingPlane.h"

struct MClippingPlaneValues {
  MFrame<float> frame;
  IUISliceSetWithNavigation::SLICE_TYPE slice_type = IUISliceSetWithNavigation::eSliceNone;
  IUISliceSetWithNavigation* slice_set = nullptr;
  MClippingPlane::ETextureMappingMode texture_mapping_mode = MClippingPlane::eTextureMappingNone;
  MClippingPlane::EClippedSide clipped_side = MClippingPlane::eClippedSideNormal;
  bool locked = false;

  static MClippingPlaneValues Of(const MClippingPlane& plane) {
    // Read from a copy: reading the frame overwrites the plane's work frame, which a
    // caller of GetClippingPlane may still hold.
    MClippingPlane copy(plane);
    return {copy.GetClippingPlane(false), copy.GetSliceType(),         copy.GetSliceSet(),
            copy.GetTextureMappingMode(), copy.GetClippedSide(), copy.IsLocked()};
  }

  void ApplyTo(MClippingPlane& plane) const {
    plane.SetClippingPlane(frame);
    plane.SetTextureMappingMode(texture_mapping_mode);
    plane.SetClippedSide(clipped_side);
    plane.SetLocked(locked);
    // A plane drops its slice set when given another slice type, and takes a set's type
    // with the set.
    if (IUISliceSetWithNavigation* current = plane.GetSliceSet(); current != slice_set) {
      if (current)
        plane.SetSliceType(current->GetSliceType() == IUISliceSetWithNavigation::eSliceNone
                               ? IUISliceSetWithNavigation::eSliceAxial
                               : IUISliceSetWithNavigation::eSliceNone);
      if (slice_set) {
        plane.SetSliceType(IUISliceSetWithNavigation::eSliceNone);
        plane.SetSliceSet(slice_set);
      }
    }
    plane.SetSliceType(slice_type);
  }

  bool operator==(const MClippingPlaneValues& o) const {
    return frame == o.frame && slice_type == o.slice_type && slice_set == o.slice_set &&
           texture_mapping_mode == o.texture_mapping_mode && clipped_side == o.clipped_side && locked == o.locked;
  }
};
