#pragma once
// One plane that cuts the objects of a 3D scene: its frame, the side it removes, how its
// cut face is drawn, an optional cut-face texture and an optional slice set it follows.
#include "host/core/IUISliceSetWithNavigation.h"
#include "host/framework/MFrame.h"
#include "host/framework/MMPlaneEq.h"
#include "host/render/IVTexture.h"
#include "vistal/Api.h"

#include <memory>

class VISTAL_API MClippingPlane {
public:
  enum EClippedSide : int {
    eClippedSideNormal = 0,
    eClippedSidePositive = 1,
    eClippedSideReversed = 2,  // the normal is reversed whenever the plane is read for clipping
    eClippedSideNone = 3,      // the plane does not count as clipping
  };
  enum ETextureMappingMode : int {
    eTextureMappingNone = 0,
    eTextureMappingFullSlice = 1,  // left out of the clip planes unless clipping to the full slice
    eTextureMappingBackFaces = 2,  // no cut face; back faces are shown instead
  };

  MClippingPlane();
  // Copies share the texture: it is released and deleted once, when the last plane
  // holding it goes.
  MClippingPlane(const MClippingPlane&);
  MClippingPlane& operator=(const MClippingPlane&);
  virtual ~MClippingPlane();

  void SetClippingPlane(const MFrame<float>& frame);
  // The plane frame, with the normal reversed when read for clipping with clipped side 2.
  // The reference is to a work frame that the next call overwrites.
  MFrame<float>& GetClippingPlane(bool forClipping);
  // Normalised equation, positive on the side the (possibly reversed) normal points to.
  MMPlaneEq<float> GetPlaneEquation();
  void Invert();

  bool SetSliceSet(IUISliceSetWithNavigation* set);
  IUISliceSetWithNavigation* GetSliceSet() { return m_slice_set; }
  void SetSliceType(IUISliceSetWithNavigation::SLICE_TYPE type);
  IUISliceSetWithNavigation::SLICE_TYPE GetSliceType() { return m_slice_type; }

  void SetTextureMappingMode(ETextureMappingMode mode) { m_texture_mapping_mode = mode; }
  ETextureMappingMode GetTextureMappingMode() const { return m_texture_mapping_mode; }
  void SetClippedSide(EClippedSide side) { m_clipped_side = side; }
  EClippedSide GetClippedSide() const { return m_clipped_side; }

  // Takes ownership of the texture. The texture set before is neither released nor
  // deleted: its ownership passes back to the caller, also from every copy sharing it
  // (they keep the pointer but no longer delete it).
  void SetTexture(IVTexture* texture);
  IVTexture* GetTexture() const { return m_texture ? m_texture->texture : nullptr; }

  void SetLocked(bool locked) { m_locked = locked; }
  bool IsLocked() const { return m_locked; }

private:
  // One texture shared by a plane and its copies.
  struct TextureOwner {
    IVTexture* texture;
    bool owned = true;
    ~TextureOwner();
  };

  MFrame<float> m_plane;
  MFrame<float> m_work_frame;
  IUISliceSetWithNavigation::SLICE_TYPE m_slice_type = IUISliceSetWithNavigation::eSliceNone;
  IUISliceSetWithNavigation* m_slice_set = nullptr;
  ETextureMappingMode m_texture_mapping_mode = eTextureMappingNone;
  EClippedSide m_clipped_side = eClippedSideNormal;
  std::shared_ptr<TextureOwner> m_texture;
  bool m_locked = false;
};
