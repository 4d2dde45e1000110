#pragma once
#include "host/core/IUIUpdatable.h"
#include "host/core/UIObjectMedical.h"
#include "host/framework/MColorTransferFunction.h"
#include "vistal/Api.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>

class IQNViewChild;
class MOperation;
class UIVolumeRenderingImp;

// The scene object of a volume rendering in the 3D views. It keeps the rendering's state:
// the colour transfer function over 16-bit voxel values (shared with whoever handed it
// in), the preset last chosen, the request to rebuild the image data, and the host-side
// implementation object that does the rendering and reads the request.
//
// The request is raised by ReInitImageData and by the host operations that change the
// image data (DoUpdateUI); only the host side lowers it.
class VISTAL_API UIVolumeRendering : public UIObjectMedical, public IUIUpdatable {
public:
  // The host numbers its presets; the object stores whatever it is given.
  enum ETransferFunctionPreset : std::int32_t {
    eTransferFunctionPresetNone = 0,
  };

  using TransferFunction = MColorTransferFunction<unsigned short>;

  // No transfer function, preset 0, no implementation object, no request.
  UIVolumeRendering();
  // Shares the transfer function (no new function) and takes over the implementation
  // pointer, the preset and the request.
  UIVolumeRendering(const UIVolumeRendering& other);
  UIVolumeRendering& operator=(const UIVolumeRendering& other);
  // Drops this object's reference to the transfer function.
  ~UIVolumeRendering() override;

  // The host's name for the object's kind (string resource 7622); the host owns the text.
  const wchar_t* GetUserInterfaceTypeName() const override;
  // Offered in 3D views only.
  bool IsSupportedByViewChild(const IQNViewChild* viewChild) const override;

  // Replaces the transfer function; preset and request stay as they are.
  virtual void SetNewTransferFunction(boost::shared_ptr<TransferFunction> function);
  // Stores the preset; building a function for it is the host's business.
  virtual void SetTransferFunctionPreset(ETransferFunctionPreset preset);
  virtual ETransferFunctionPreset GetTransferFunctionPreset();

  // Empty until a function is set.
  boost::shared_ptr<TransferFunction> GetTransferFunction();
  // Asks the renderer to rebuild its image data.
  void ReInitImageData();
  bool IsReInitImageDataRequested() const { return m_reinit_image_data; }
  // Null until the host links its implementation object; not owned.
  UIVolumeRenderingImp* GetUIVolumeRenderingImp();

  // Raises the request on the operations that change the image data; `data` is unused.
  void DoUpdateUI(const MOperation& operation, void* data) override;

protected:
  // The host-side implementation links itself and lowers the request once it has rebuilt.
  friend class UIVolumeRenderingImp;

  boost::shared_ptr<TransferFunction> m_transfer_function;
  bool m_reinit_image_data = false;
  UIVolumeRenderingImp* m_imp = nullptr;
  ETransferFunctionPreset m_preset = eTransferFunctionPresetNone;
};
