#pragma once
// MFC's image list class.
#include "host/HostApi.h"
#include "host/gdi/CDC.h"
#include "host/gdi/CGdiObject.h"
#include "host/wnd/CObject.h"
#include "host/wnd/CommCtrl.h"

// A list of images of one size (see the ImageList_ functions of host/wnd/CommCtrl.h),
// with MFC's ownership rules: the object owns the list it holds and destroys it when it is
// destroyed, unless the list was taken back with Detach. FromHandle answers the object
// holding a list on this thread, or a temporary one that never destroys it and lives
// until DeleteTempMap.
class VISTAL_HOST_API CImageList : public CObject {
public:
  CImageList() = default;
  ~CImageList() override;

  HIMAGELIST m_hImageList = nullptr;

  operator HIMAGELIST() const { return m_hImageList; }
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }
  static CImageList* FromHandle(HIMAGELIST list);
  static void DeleteTempMap();

  // FALSE for a null list or while one is held.
  BOOL Attach(HIMAGELIST list);
  HIMAGELIST Detach();

  BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
  BOOL DeleteImageList();

  // The bitmap's images with the mask colour transparent (ImageList_AddMasked).
  int Add(CBitmap* bitmap, COLORREF mask);
  BOOL Remove(int image);
  int GetImageCount() const;
  COLORREF SetBkColor(COLORREF colour);
  COLORREF GetBkColor() const;

  BOOL Draw(CDC* dc, int image, POINT point, UINT style);
  BOOL DrawIndirect(IMAGELISTDRAWPARAMS* params);
};
