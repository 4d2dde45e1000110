#include "host/gdi/CGdiObject.h"

#include "host/gdi/CDC.h"
#include "host/gdi/WinGdi.h"
#include "host/gdi/WinUser.h"

#include <memory>
#include <unordered_map>

namespace {

// MFC's handle maps, one set per thread: the objects that own a handle, and the
// wrappers made for handles that nobody here owns.
struct HandleMaps {
  std::unordered_map<HGDIOBJ, CGdiObject*> permanent;
  std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>> temporary;

  ~HandleMaps() { ClearTemporary(); }
  void ClearTemporary() {
    // A wrapper must not delete a handle it never owned.
    for (auto& entry : temporary) entry.second->m_hObject = nullptr;
    temporary.clear();
  }
};

HandleMaps& Maps() {
  thread_local HandleMaps maps;
  return maps;
}

// The object type that a wrapper's class stands for.
DWORD WrapperType(const CGdiObject* wrapper) {
  if (dynamic_cast<const CPen*>(wrapper)) return OBJ_PEN;
  if (dynamic_cast<const CBrush*>(wrapper)) return OBJ_BRUSH;
  if (dynamic_cast<const CFont*>(wrapper)) return OBJ_FONT;
  if (dynamic_cast<const CBitmap*>(wrapper)) return OBJ_BITMAP;
  return 0;
}

std::unique_ptr<CGdiObject> MakeWrapper(DWORD type) {
  switch (type) {
    case OBJ_PEN: return std::make_unique<CPen>();
    case OBJ_BRUSH: return std::make_unique<CBrush>();
    case OBJ_FONT: return std::make_unique<CFont>();
    case OBJ_BITMAP: return std::make_unique<CBitmap>();
    default: return std::make_unique<CGdiObject>();
  }
}

}  // namespace

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle) {
  if (!handle) return nullptr;
  HandleMaps& maps = Maps();
  if (auto found = maps.permanent.find(handle); found != maps.permanent.end()) return found->second;
  // A handle value may come back for an object of another type once the first is deleted.
  const DWORD type = ::GetObjectType(handle);
  auto& wrapper = maps.temporary[handle];
  if (!wrapper || WrapperType(wrapper.get()) != type) {
    if (wrapper) wrapper->m_hObject = nullptr;
    wrapper = MakeWrapper(type);
  }
  wrapper->m_hObject = handle;
  return wrapper.get();
}

void CGdiObject::DeleteTempMap() { Maps().ClearTemporary(); }

BOOL CGdiObject::Attach(HGDIOBJ handle) {
  if (!handle || m_hObject) return 0;
  m_hObject = handle;
  Maps().permanent[handle] = this;
  return 1;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ handle = m_hObject;
  if (handle) {
    HandleMaps& maps = Maps();
    if (auto found = maps.permanent.find(handle); found != maps.permanent.end() && found->second == this)
      maps.permanent.erase(found);
  }
  m_hObject = nullptr;
  return handle;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return 0;
  return ::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int index) { return Attach(::GetStockObject(index)); }

int CGdiObject::GetObject(int size, void* buffer) const { return ::GetObjectW(m_hObject, size, buffer); }

UINT CGdiObject::GetObjectType() const { return ::GetObjectType(m_hObject); }

CPen::CPen(int style, int width, COLORREF colour) { CreatePen(style, width, colour); }

CPen* CPen::FromHandle(HPEN pen) { return static_cast<CPen*>(CGdiObject::FromHandle(pen)); }

BOOL CPen::CreatePen(int style, int width, COLORREF colour) { return Attach(::CreatePen(style, width, colour)); }

BOOL CPen::CreatePenIndirect(const LOGPEN* pen) { return Attach(::CreatePenIndirect(pen)); }

int CPen::GetLogPen(LOGPEN* pen) const { return GetObject(sizeof(LOGPEN), pen); }

CBrush::CBrush(COLORREF colour) { CreateSolidBrush(colour); }

CBrush::CBrush(CBitmap* pattern) { CreatePatternBrush(pattern); }

CBrush* CBrush::FromHandle(HBRUSH brush) { return static_cast<CBrush*>(CGdiObject::FromHandle(brush)); }

BOOL CBrush::CreateSolidBrush(COLORREF colour) { return Attach(::CreateSolidBrush(colour)); }

BOOL CBrush::CreatePatternBrush(CBitmap* pattern) {
  return pattern ? Attach(::CreatePatternBrush(static_cast<HBITMAP>(pattern->m_hObject))) : 0;
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* brush) { return Attach(::CreateBrushIndirect(brush)); }

BOOL CBrush::CreateSysColorBrush(int index) { return Attach(::GetSysColorBrush(index)); }

int CBrush::GetLogBrush(LOGBRUSH* brush) const { return GetObject(sizeof(LOGBRUSH), brush); }

CFont* CFont::FromHandle(HFONT font) { return static_cast<CFont*>(CGdiObject::FromHandle(font)); }

BOOL CFont::CreateFontIndirect(const LOGFONTW* font) { return Attach(::CreateFontIndirectW(font)); }

int CFont::GetLogFont(LOGFONTW* font) const { return GetObject(sizeof(LOGFONTW), font); }

CBitmap* CBitmap::FromHandle(HBITMAP bitmap) { return static_cast<CBitmap*>(CGdiObject::FromHandle(bitmap)); }

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  return dc ? Attach(::CreateCompatibleBitmap(dc->m_hAttribDC, width, height)) : 0;
}

int CBitmap::GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof(BITMAP), bitmap); }

DWORD CBitmap::GetBitmapBits(DWORD size, void* bits) const {
  return DWORD(::GetBitmapBits(static_cast<HBITMAP>(m_hObject), LONG(size & 0x7FFFFFFF), bits));
}

DWORD CBitmap::SetBitmapBits(DWORD size, const void* bits) {
  return DWORD(::SetBitmapBits(static_cast<HBITMAP>(m_hObject), size, bits));
}
