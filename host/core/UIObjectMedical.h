#pragma once
// A scene object of the medical application: a UIObject that belongs to some scenes and
// not to others, draws in one of several modes, and says which views it is offered in.
#include "host/HostApi.h"
#include "host/core/ISupportedByViewChild.h"
#include "host/framework/UIObject.h"

class VISTAL_HOST_API UIObjectMedical : public UIObject, public ISupportedByViewChild {
public:
  enum EDrawingMode : int {
    eDrawingModeNormal = 0,       // full detail, with selection highlights and handles
    eDrawingModePlain = 1,        // the object alone, without highlights or handles (previews)
    eDrawingModeHighlighted = 2,  // drawn as selected
  };

  // Present in every scene, drawn normally.
  UIObjectMedical();
  UIObjectMedical(const UIObjectMedical&);
  UIObjectMedical& operator=(const UIObjectMedical&);
  ~UIObjectMedical() override;

  virtual void SetDrawingMode(EDrawingMode mode) { m_drawing_mode = mode; }
  EDrawingMode GetDrawingMode() const { return m_drawing_mode; }

  // Whether the object belongs to a scene at all (visibility then shows or hides it
  // there). Scene 0xFFFFFFFF sets every scene; IsPresentInScene(0xFFFFFFFF) answers
  // whether the object is present in every scene.
  virtual void SetPresentInScene(unsigned scene, bool present);
  // Arguments the other way round would silently mean another scene; refuse them.
  void SetPresentInScene(bool, unsigned) = delete;
  bool IsPresentInScene(unsigned scene) const { return m_present.Get(scene); }

  // Visible in a scene only where also present.
  bool IsVisible(unsigned scene) const override;

  // Offered in every view unless a subclass narrows it.
  bool IsSupportedByViewChild(const IQNViewChild* viewChild) const override;

private:
  EDrawingMode m_drawing_mode = eDrawingModeNormal;
  MSceneFlags m_present{true};
};
