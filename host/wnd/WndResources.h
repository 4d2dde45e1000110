#pragma once
// The resources of the program's module: toolbars, bitmaps and cursors that the host
// program registers before it makes windows (the library carries none of its own). They
// are found through AfxFindResourceHandle and loaded with LoadBitmapW, LoadCursorW and
// CToolBar::LoadToolBar. Strings stay in host/core's string table.
#include "host/HostApi.h"
#include "host/render/MImageRGBA.h"
#include "host/wnd/WndTypes.h"

#include <memory>
#include <vector>

// A toolbar: the size of one button's image in its bitmap (the bitmap resource of the same
// identifier holds the images side by side) and the command of each button in order, 0 for
// a separator.
struct WndToolBarResource {
  SIZE buttonSize{16, 15};
  std::vector<UINT> commands;
};

// A cursor picture with its hot spot.
struct WndCursorResource {
  MImageRGBA image;
  POINT hotSpot{0, 0};
};

// Adds or replaces a resource of the program's module.
VISTAL_HOST_API void SetToolBarResource(UINT id, SIZE buttonSize, std::vector<UINT> commands);
VISTAL_HOST_API void SetBitmapResource(UINT id, MImageRGBA image);
VISTAL_HOST_API void SetCursorResource(UINT id, MImageRGBA image, POINT hotSpot);
// Takes a resource of the type (RT_TOOLBAR, RT_BITMAP, RT_GROUP_CURSOR) away; FALSE when
// there was none.
VISTAL_HOST_API BOOL RemoveResource(UINT id, LPCWSTR type);

// A resource of the instance by its name (MAKEINTRESOURCEW(id)); null when it holds none.
// What is answered stays valid when the resource is replaced or removed.
VISTAL_HOST_API std::shared_ptr<const WndToolBarResource> FindToolBarResource(HINSTANCE instance, LPCWSTR name);
VISTAL_HOST_API std::shared_ptr<const MImageRGBA> FindBitmapResource(HINSTANCE instance, LPCWSTR name);
VISTAL_HOST_API std::shared_ptr<const WndCursorResource> FindCursorResource(HINSTANCE instance, LPCWSTR name);
