#pragma once
#include "host/HostApi.h"
#include "host/framework/IRender.h"
#include "host/framework/MCoordinateSystem.h"
#include "host/framework/MSceneFlags.h"
#include "host/framework/MUndoRecord.h"

#include <memory>

class MOperation;

// The framework's scene object: it has its own coordinate system, a visibility per scene,
// draws through its IRender interface and reacts to operations delivered to it.
class VISTAL_HOST_API UIObject : public IRender {
public:
  static constexpr unsigned kAllScenes = MSceneFlags::kAllScenes;

  // Visible in every scene, in a new coordinate system at the world's origin.
  UIObject();
  // A copy sits where the original sits (same parent system, same placement) but in a
  // coordinate system of its own, so moving one does not move the other.
  UIObject(const UIObject& other);
  UIObject& operator=(const UIObject& other);
  ~UIObject() override;

  MCoordinateSystem& GetCoordinateSystem() { return m_coordinate_system; }
  const MCoordinateSystem& GetCoordinateSystem() const { return m_coordinate_system; }

  // Scene 0xFFFFFFFF sets every scene; IsVisible(0xFFFFFFFF) answers whether the object
  // is visible in every scene.
  virtual void SetVisible(bool visible, unsigned scene);
  bool IsVisible(unsigned scene) const override;

  // The object's interface for the views.
  IRender* GetRender() { return this; }

  // Reacts to an operation the framework delivers; answers whether it was accepted.
  // A plain object has nothing to change and accepts everything.
  virtual bool DoOperation(MOperation& operation);
  // Asked before the operation is delivered: a record of the state of this object that
  // the operation may change, so that undo and redo can put it back. Null (what a plain
  // object answers) leaves the object to be undone by the inverse action.
  virtual std::unique_ptr<MUndoRecord> CreateUndoRecord(MOperation& operation);

  // The kind of object as the user interface names it.
  virtual const wchar_t* GetUserInterfaceTypeName() const;

  // A plain object has no geometry: no extent, nothing to draw.
  void GetBoundingBox(M3DBoundingBox<float>& box, unsigned scene) const override;
  void Render(IVRender& render, const MCoordinateSystem& system) override;
  void RenderGDI(CDC& dc, const MCoordinateSystem& system) override;

private:
  static MCoordinateSystem _PlacedLike(const MCoordinateSystem& other);

  MCoordinateSystem m_coordinate_system;
  MSceneFlags m_visible{true};
};
