// Painting: update regions, device contexts on window images, WM_PAINT and the composition
// of top-level windows.
#include "host/gdi/CDC.h"
#include "host/gdi/WinGdi.h"
#include "host/gdi/WinUser.h"
#include "host/wnd/CClientDC.h"
#include "host/wnd/CPaintDC.h"
#include "host/wnd/CWnd.h"
#include "host/wnd/Implementation/WndState.h"
#include "host/wnd/WndFunctions.h"

#include <algorithm>
#include <cstring>

using namespace wnd_impl;

namespace wnd_impl {

void Invalidate(Window* w, const RECT* rect, bool erase) {
  const RECT client{0, 0, Width(w->client), Height(w->client)};
  const RECT area = rect ? Intersect(*rect, client) : client;
  if (IsEmpty(area)) return;
  w->update = w->invalid ? Union(w->update, area) : area;
  w->invalid = true;
  w->erase = w->erase || erase;
}

void ResizeImage(Window* w, bool repaint) {
  const unsigned width = unsigned(Width(w->client));
  const unsigned height = unsigned(Height(w->client));
  const MImageRGBA& old = *w->image;
  if (old.Width() == width && old.Height() == height) return;
  auto image = std::make_unique<MImageRGBA>(width, height);
  // Opaque black until painted; what fits of the old pixels stays.
  for (std::size_t i = 3; i < std::size_t(width) * height * 4; i += 4) image->Data()[i] = 0xFF;
  const unsigned keepW = std::min(width, old.Width());
  const unsigned keepH = std::min(height, old.Height());
  for (unsigned y = 0; y < keepH; ++y) std::memcpy(image->Pixel(0, y), old.Pixel(0, y), std::size_t(keepW) * 4);
  const bool whole = ((w->cls->cls.style & CS_HREDRAW) && width != old.Width()) ||
                     ((w->cls->cls.style & CS_VREDRAW) && height != old.Height());
  if (repaint) {
    if (whole) {
      Invalidate(w, nullptr, true);
    } else {
      const RECT right{LONG(keepW), 0, LONG(width), LONG(height)};
      const RECT bottom{0, LONG(keepH), LONG(width), LONG(height)};
      Invalidate(w, &right, true);
      Invalidate(w, &bottom, true);
    }
  }
  // Drop the parts of the update region that are no longer inside.
  if (w->invalid) {
    w->update = Intersect(w->update, RECT{0, 0, LONG(width), LONG(height)});
    w->invalid = !IsEmpty(w->update);
  }
  // A device open on the old image keeps it until the device closes (an image made since
  // the device opened has no device on it).
  if (w->device && !w->retired) w->retired = std::move(w->image);
  w->image = std::move(image);
  MarkChanged(w);
}

void CloseDevice(Window* w) {
  for (auto& dc : w->ownedDCs) dc->Detach();
  w->ownedDCs.clear();
  for (HDC hdc : w->dcs) ::DeleteDC(hdc);
  w->dcs.clear();
  w->device.reset();
  w->retired.reset();
}

}  // namespace wnd_impl

HDC GetDC(HWND hwnd) {
  Window* w = Lookup(hwnd);
  if (!w) return nullptr;
  if (!w->device) {
    IWndDesktop* desktop = GetWndDesktop();
    if (!desktop) return nullptr;
    w->device = desktop->CreateDevice(*w->image);
    if (!w->device) return nullptr;
  }
  HDC hdc = CreateDeviceDC(*w->device);
  if (hdc) w->dcs.push_back(hdc);
  else if (w->dcs.empty()) w->device.reset();
  return hdc;
}

int ReleaseDC(HWND hwnd, HDC hdc) {
  Window* w = Lookup(hwnd);
  if (!w || !hdc) return 0;
  auto it = std::find(w->dcs.begin(), w->dcs.end(), hdc);
  if (it == w->dcs.end()) return 0;
  w->dcs.erase(it);
  ::DeleteDC(hdc);
  if (w->dcs.empty()) {
    // Devices may keep their own surface until they end: the pixels land now.
    w->device.reset();
    w->retired.reset();
    MarkChanged(w);
  }
  return 1;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
  Window* w = Lookup(hwnd);
  if (!w || !paint) return nullptr;
  *paint = PAINTSTRUCT{};
  paint->rcPaint = w->invalid ? w->update : RECT{0, 0, 0, 0};
  const bool erase = w->invalid && w->erase;
  w->invalid = false;
  w->erase = false;
  w->update = {0, 0, 0, 0};
  paint->hdc = GetDC(hwnd);
  w->painting = true;
  w->paintRect = paint->rcPaint;
  if (erase) paint->fErase = paint->hdc ? !Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) : TRUE;
  return paint->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
  Window* w = Lookup(hwnd);
  if (!w || !paint) return FALSE;
  w->painting = false;
  if (paint->hdc) ReleaseDC(hwnd, paint->hdc);
  return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  Window* w = Lookup(hwnd);
  if (!w) return FALSE;
  Invalidate(w, rect, erase != FALSE);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  Window* w = Lookup(hwnd);
  if (!w) return FALSE;
  // The update region is one rectangle: a part validated leaves it whole.
  const RECT covered = rect ? Intersect(*rect, w->update) : w->update;
  if (!rect || (covered.left == w->update.left && covered.top == w->update.top &&
                covered.right == w->update.right && covered.bottom == w->update.bottom)) {
    w->invalid = false;
    w->erase = false;
    w->update = {0, 0, 0, 0};
  }
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  Window* w = Lookup(hwnd);
  if (!w) return FALSE;
  if (rect) *rect = w->invalid ? w->update : RECT{0, 0, 0, 0};
  if (erase && w->invalid && w->erase) {
    if (HDC hdc = GetDC(hwnd)) {
      w->erase = !Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
      ReleaseDC(hwnd, hdc);
    }
  }
  w = Lookup(hwnd);
  return w && w->invalid ? TRUE : FALSE;
}

namespace {

// WM_PAINT for an invalid window; a handler that leaves it invalid is not asked again
// until the next invalidation, so a round always ends.
void PaintNow(HWND hwnd) {
  Window* w = Lookup(hwnd);
  if (!w || !w->invalid || !IsShown(w)) return;
  Send(hwnd, WM_PAINT, 0, 0);
  if ((w = Lookup(hwnd)) && w->invalid) ValidateRect(hwnd, nullptr);
}

void PaintTree(HWND hwnd) {
  Window* w = Lookup(hwnd);
  if (!w || !(w->style & WS_VISIBLE)) return;
  if (w->ncPaint) {
    w->ncPaint = false;
    w->frameDrawn = false;
    Send(hwnd, WM_NCPAINT, 1, 0);
  }
  PaintNow(hwnd);
  if (!(w = Lookup(hwnd))) return;
  const std::vector<HWND> children = w->children;
  for (HWND child : children) PaintTree(child);
}

void Put(MImageRGBA& out, LONG x, LONG y, COLORREF colour) {
  std::uint8_t* p = out.Pixel(unsigned(x), unsigned(y));
  p[0] = GetRValue(colour);
  p[1] = GetGValue(colour);
  p[2] = GetBValue(colour);
  p[3] = 0xFF;
}

// One ring of a frame: the top and left lines in one colour, the bottom and right lines
// (with the far corners) in the other, as Windows draws its 3D edges.
void Ring(MImageRGBA& out, const RECT& r, const RECT& clip, COLORREF topLeft, COLORREF bottomRight) {
  if (IsEmpty(r)) return;
  auto line = [&](RECT part, COLORREF colour) {
    part = Intersect(part, clip);
    for (LONG y = part.top; y < part.bottom; ++y)
      for (LONG x = part.left; x < part.right; ++x) Put(out, x, y, colour);
  };
  line({r.left, r.top, r.right - 1, r.top + 1}, topLeft);         // top, without the far corner
  line({r.left, r.top + 1, r.left + 1, r.bottom - 1}, topLeft);   // left
  line({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);   // bottom, both corners
  line({r.right - 1, r.top, r.right, r.bottom - 1}, bottomRight);  // right, with the top corner
}

RECT Deflate(const RECT& r, LONG n) { return {r.left + n, r.top + n, r.right - n, r.bottom - n}; }

void DrawFrame(const Window* w, MImageRGBA& out, RECT r, const RECT& clip) {
  if (w->style & WS_BORDER) {
    const COLORREF c = GetSysColor(COLOR_WINDOWFRAME);
    Ring(out, r, clip, c, c);
    r = Deflate(r, 1);
  }
  if (w->exStyle & WS_EX_STATICEDGE) {
    Ring(out, r, clip, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    r = Deflate(r, 1);
  }
  if (w->exStyle & WS_EX_CLIENTEDGE) {
    // Sunken: shadow over highlight outside, dark shadow over light inside.
    Ring(out, r, clip, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    Ring(out, Deflate(r, 1), clip, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
  }
}

// Copies the window's image to `at` (its client origin in `out`), inside `clip`.
void Blit(const MImageRGBA& image, MImageRGBA& out, POINT at, const RECT& clip) {
  const RECT area = Intersect(RECT{at.x, at.y, at.x + LONG(image.Width()), at.y + LONG(image.Height())}, clip);
  for (LONG y = area.top; y < area.bottom; ++y) {
    const std::uint8_t* in = image.Pixel(unsigned(area.left - at.x), unsigned(y - at.y));
    std::uint8_t* o = out.Pixel(unsigned(area.left), unsigned(y));
    for (LONG x = area.left; x < area.right; ++x, in += 4, o += 4) {
      o[0] = in[0];
      o[1] = in[1];
      o[2] = in[2];
      o[3] = 0xFF;
    }
  }
}

// Children over their parent, later siblings over earlier ones, each inside its parent's
// client area; `origin` is w's client origin in `out`, `clip` its client area there.
void ComposeChildren(const Window* w, MImageRGBA& out, POINT origin, const RECT& clip) {
  for (HWND hwnd : w->children) {
    const Window* child = Lookup(hwnd);
    if (!child || !(child->style & WS_VISIBLE)) continue;
    if (child->frameDrawn) DrawFrame(child, out, Offset(child->window, origin.x, origin.y), clip);
    const POINT at{origin.x + child->client.left, origin.y + child->client.top};
    const RECT childClip = Intersect(Offset(child->client, origin.x, origin.y), clip);
    Blit(*child->image, out, at, childClip);
    if (!IsEmpty(childClip)) ComposeChildren(child, out, at, childClip);
  }
}

}  // namespace

namespace wnd_impl {

void PaintWindows() {
  const std::vector<HWND> tops = GetState().topLevels;
  for (HWND top : tops) PaintTree(top);
}

bool ComposeWindow(Window* w, MImageRGBA& pixels) {
  if (!w) return false;
  const unsigned width = unsigned(Width(w->client));
  const unsigned height = unsigned(Height(w->client));
  pixels = MImageRGBA(width, height);
  const RECT clip{0, 0, LONG(width), LONG(height)};
  Blit(*w->image, pixels, {0, 0}, clip);
  ComposeChildren(w, pixels, {0, 0}, clip);
  return true;
}

void PresentWindows() {
  IWndDesktop* desktop = GetWndDesktop();
  if (!desktop) return;
  const std::vector<HWND> tops = GetState().topLevels;
  for (HWND hwnd : tops) {
    Window* w = Lookup(hwnd);
    if (!w || !w->changed || !(w->style & WS_VISIBLE) || !w->native) continue;
    w->changed = false;
    MImageRGBA pixels;
    ComposeWindow(w, pixels);
    desktop->Present(w->native, pixels);
  }
}

}  // namespace wnd_impl

BOOL UpdateWindow(HWND hwnd) {
  if (!Lookup(hwnd)) return FALSE;
  PaintNow(hwnd);
  return TRUE;
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->GetSafeHwnd() : nullptr) {
  if (HDC hdc = ::GetDC(m_hWnd)) Attach(hdc);
}

CClientDC::~CClientDC() {
  if (HDC hdc = Detach()) ::ReleaseDC(m_hWnd, hdc);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd ? wnd->GetSafeHwnd() : nullptr) {
  if (HDC hdc = ::BeginPaint(m_hWnd, &m_ps)) Attach(hdc);
}

CPaintDC::~CPaintDC() {
  Detach();
  ::EndPaint(m_hWnd, &m_ps);
}
