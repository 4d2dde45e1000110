#pragma once
#include "host/HostApi.h"
#include "host/framework/MFrame.h"
#include "host/framework/UIObject.h"

// A slice of the image data as a scene object: a planar rectangle (its frame, in the
// object's own coordinates) that views show while it is attached to them. The views make
// it visible or hidden with UIObject::SetVisible; its extent is its frame's rectangle.
class VISTAL_HOST_API UISlice : public UIObject {
public:
  // A unit square in the object's xy plane, at its origin.
  UISlice();
  explicit UISlice(const MFrame<float>& frame);
  UISlice(const UISlice& other) = default;
  UISlice& operator=(const UISlice& other) = default;
  ~UISlice() override;

  const MFrame<float>& GetFrame() const { return m_frame; }
  void SetFrame(const MFrame<float>& frame) { m_frame = frame; }

  const wchar_t* GetUserInterfaceTypeName() const override;
  // Adds the four corners of the frame.
  void GetBoundingBox(M3DBoundingBox<float>& box, unsigned scene) const override;

private:
  MFrame<float> m_frame;
};
