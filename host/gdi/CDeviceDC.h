#pragma once
// A device context of its own on a drawing device, the way a program gets one for an
// image or a printer page.
#include "host/HostApi.h"
#include "host/gdi/CDC.h"
#include "host/gdi/IGdiDevice.h"
#include "host/gdi/WinGdi.h"

// A CDC that creates a context on the device and deletes it when destroyed (the CDC
// destructor). The device must outlive it.
class VISTAL_HOST_API CDeviceDC : public CDC {
public:
  explicit CDeviceDC(IGdiDevice& device) { Attach(::CreateDeviceDC(device)); }
};
