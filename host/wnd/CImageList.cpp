#include "host/wnd/CImageList.h"

#include <memory>
#include <unordered_map>

namespace {

// MFC's handle maps for image lists, one set per thread.
struct ImageListMaps {
  std::unordered_map<HIMAGELIST, CImageList*> permanent;
  std::unordered_map<HIMAGELIST, std::unique_ptr<CImageList>> temporary;

  ~ImageListMaps() { ClearTemporary(); }
  void ClearTemporary() {
    for (auto& entry : temporary) entry.second->m_hImageList = nullptr;  // not theirs to destroy
    temporary.clear();
  }
};

ImageListMaps& Maps() {
  thread_local ImageListMaps maps;
  return maps;
}

}  // namespace

CImageList::~CImageList() { DeleteImageList(); }

CImageList* CImageList::FromHandle(HIMAGELIST list) {
  if (!list) return nullptr;
  ImageListMaps& maps = Maps();
  if (auto found = maps.permanent.find(list); found != maps.permanent.end()) return found->second;
  auto& wrapper = maps.temporary[list];
  if (!wrapper) wrapper = std::make_unique<CImageList>();
  wrapper->m_hImageList = list;
  return wrapper.get();
}

void CImageList::DeleteTempMap() { Maps().ClearTemporary(); }

BOOL CImageList::Attach(HIMAGELIST list) {
  if (!list || m_hImageList) return FALSE;
  m_hImageList = list;
  Maps().permanent[list] = this;
  return TRUE;
}

HIMAGELIST CImageList::Detach() {
  HIMAGELIST list = m_hImageList;
  if (list) {
    ImageListMaps& maps = Maps();
    if (auto found = maps.permanent.find(list); found != maps.permanent.end() && found->second == this)
      maps.permanent.erase(found);
  }
  m_hImageList = nullptr;
  return list;
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
  return Attach(ImageList_Create(cx, cy, flags, initial, grow));
}

BOOL CImageList::DeleteImageList() {
  if (!m_hImageList) return FALSE;
  return ImageList_Destroy(Detach());
}

int CImageList::Add(CBitmap* bitmap, COLORREF mask) {
  return bitmap ? ImageList_AddMasked(m_hImageList, static_cast<HBITMAP>(bitmap->m_hObject), mask) : -1;
}

BOOL CImageList::Remove(int image) { return ImageList_Remove(m_hImageList, image); }

int CImageList::GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }

COLORREF CImageList::SetBkColor(COLORREF colour) { return ImageList_SetBkColor(m_hImageList, colour); }

COLORREF CImageList::GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }

BOOL CImageList::Draw(CDC* dc, int image, POINT point, UINT style) {
  return dc ? ImageList_Draw(m_hImageList, image, dc->m_hDC, point.x, point.y, style) : FALSE;
}

BOOL CImageList::DrawIndirect(IMAGELISTDRAWPARAMS* params) {
  if (!params) return FALSE;
  params->himl = m_hImageList;
  return ImageList_DrawIndirect(params);
}
