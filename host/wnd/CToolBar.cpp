#include "host/wnd/CToolBar.h"

#include "host/gdi/WinUser.h"
#include "host/wnd/CPaintDC.h"
#include "host/wnd/WndFunctions.h"
#include "host/wnd/WndResources.h"

#include <cstdint>
#include <utility>

namespace {

// A separator's width, the common control's default.
constexpr int kSeparatorWidth = 8;

// A one-pixel frame: `topLeft` along the top and left edges, `bottomRight` along the others.
void Draw3dRect(CDC& dc, const CRect& r, COLORREF topLeft, COLORREF bottomRight) {
  dc.FillSolidRect(r.left, r.top, r.Width() - 1, 1, topLeft);
  dc.FillSolidRect(r.left, r.top, 1, r.Height() - 1, topLeft);
  dc.FillSolidRect(r.right - 1, r.top, 1, r.Height(), bottomRight);
  dc.FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, bottomRight);
}

COLORREF Average(COLORREF a, COLORREF b) {
  return RGB((GetRValue(a) + GetRValue(b) + 1) / 2, (GetGValue(a) + GetGValue(b) + 1) / 2,
             (GetBValue(a) + GetBValue(b) + 1) / 2);
}

LPCWSTR RegisterToolBarClass() {
  WNDCLASSW wndClass{};
  if (GetClassInfoW(AfxGetInstanceHandle(), TOOLBARCLASSNAMEW, &wndClass)) return TOOLBARCLASSNAMEW;
  wndClass.lpfnWndProc = DefWindowProcW;
  wndClass.hInstance = AfxGetInstanceHandle();
  wndClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wndClass.hbrBackground = reinterpret_cast<HBRUSH>(std::uintptr_t(COLOR_BTNFACE + 1));
  wndClass.lpszClassName = TOOLBARCLASSNAMEW;
  return AfxRegisterClass(&wndClass) ? TOOLBARCLASSNAMEW : nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(CToolBar, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_CAPTURECHANGED()
  ON_MESSAGE(TB_BUTTONCOUNT, &CToolBar::OnButtonCount)
  ON_MESSAGE(TB_DELETEBUTTON, &CToolBar::OnDeleteButton)
  ON_MESSAGE(TB_COMMANDTOINDEX, &CToolBar::OnCommandToIndex)
  ON_MESSAGE(TB_GETITEMRECT, &CToolBar::OnGetItemRect)
  ON_MESSAGE(TB_SETIMAGELIST, &CToolBar::OnSetImageList)
  ON_MESSAGE(TB_GETIMAGELIST, &CToolBar::OnGetImageList)
END_MESSAGE_MAP()

CToolBar::~CToolBar() = default;

BOOL CToolBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, CRect borders, UINT id) {
  LPCWSTR className = RegisterToolBarClass();
  if (!className || !parent) return FALSE;
  m_dwStyle = style & 0xFFFF;
  m_borders = borders;
  // The bar styles stay the toolbar's own; the window gets the control styles in their place.
  const DWORD windowStyle = (style & 0xFFFF0000) | WS_CHILD | (ctrlStyle & 0xFFFF);
  // Empty at first: the parent places it, sized from its buttons.
  return CWnd::CreateEx(0, className, nullptr, windowStyle, CRect(0, 0, 0, 0), parent, id);
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id) {
  return CreateEx(parent, TBSTYLE_FLAT, style, CRect(0, 0, 0, 0), id);
}

BOOL CToolBar::LoadToolBar(UINT id) { return LoadToolBar(MAKEINTRESOURCEW(id)); }

BOOL CToolBar::LoadToolBar(LPCWSTR name) {
  if (!m_hWnd) return FALSE;
  const auto resource = FindToolBarResource(AfxFindResourceHandle(name, RT_TOOLBAR), name);
  if (!resource) return FALSE;
  // As MFC's LoadToolBar: the image plus 7 pixels each way (23 by 23 for 16 by 16 images).
  const SIZE image = resource->buttonSize;
  SetSizes({image.cx + 7, image.cy + 7}, image);
  return SetButtons(resource->commands.data(), int(resource->commands.size()));
}

BOOL CToolBar::SetButtons(const UINT* ids, int count) {
  if (count < 0 || (count > 0 && !ids)) return FALSE;
  m_buttons.clear();
  int image = 0;
  for (int i = 0; i < count; ++i) {
    Button& button = m_buttons.emplace_back();
    button.id = ids[i];
    if (ids[i] == ID_SEPARATOR)
      button.style = TBBS_SEPARATOR;
    else
      button.image = image++;
  }
  m_hot = m_pressed = -1;
  if (m_hWnd) Invalidate();
  return TRUE;
}

void CToolBar::SetSizes(SIZE button, SIZE image) {
  m_sizeButton = button;
  m_sizeImage = image;
  if (m_hWnd) Invalidate();
}

UINT CToolBar::GetItemID(int index) const {
  if (index < 0 || index >= GetCount()) return 0;
  const Button& button = m_buttons[std::size_t(index)];
  return (button.style & TBBS_SEPARATOR) ? 0 : button.id;
}

void CToolBar::GetItemRect(int index, LPRECT rect) const {
  if (!rect) return;
  *rect = RECT{0, 0, 0, 0};
  if (index < 0 || index >= GetCount()) return;
  int x = m_borders.left;
  for (int i = 0;; ++i) {
    const Button& button = m_buttons[std::size_t(i)];
    const int width = (button.style & TBBS_HIDDEN) ? 0 : (button.style & TBBS_SEPARATOR) ? kSeparatorWidth
                                                                                            : m_sizeButton.cx;
    if (i == index) {
      *rect = RECT{x, m_borders.top, x + width, m_borders.top + m_sizeButton.cy};
      return;
    }
    x += width;
  }
}

UINT CToolBar::GetButtonStyle(int index) const {
  return index >= 0 && index < GetCount() ? m_buttons[std::size_t(index)].style : 0;
}

void CToolBar::SetButtonStyle(int index, UINT style) {
  if (index < 0 || index >= GetCount()) return;
  Button& button = m_buttons[std::size_t(index)];
  const UINT changed = button.style ^ style;
  if (!changed) return;
  button.style = style;
  if (!m_hWnd) return;
  if (changed & (TBBS_SEPARATOR | TBBS_HIDDEN))
    Invalidate();  // the buttons after it move
  else
    InvalidateButton(index);
}

void CToolBar::GetButtonInfo(int index, UINT& id, UINT& style, int& image) const {
  if (index < 0 || index >= GetCount()) {
    id = style = 0, image = -1;
    return;
  }
  const Button& button = m_buttons[std::size_t(index)];
  id = button.id, style = button.style, image = button.image;
}

void CToolBar::SetButtonInfo(int index, UINT id, UINT style, int image) {
  if (index < 0 || index >= GetCount()) return;
  m_buttons[std::size_t(index)] = {id, style, image};
  if (m_hWnd) Invalidate();
}

int CToolBar::CommandToIndex(UINT id) const {
  for (int i = 0; i < GetCount(); ++i)
    if (GetItemID(i) == id && id != 0) return i;
  return -1;
}

int CToolBar::HitTest(CPoint point) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (m_buttons[std::size_t(i)].style & (TBBS_SEPARATOR | TBBS_HIDDEN)) continue;
    CRect rect;
    GetItemRect(i, &rect);
    if (rect.PtInRect(point)) return i;
  }
  return -1;
}

bool CToolBar::IsEnabledButton(int index) const {
  return index >= 0 && index < GetCount() &&
         !(m_buttons[std::size_t(index)].style & (TBBS_SEPARATOR | TBBS_HIDDEN | TBBS_DISABLED));
}

void CToolBar::InvalidateButton(int index) {
  CRect rect;
  GetItemRect(index, &rect);
  if (!rect.IsRectEmpty()) InvalidateRect(&rect, FALSE);
}

BOOL CToolBar::OnEraseBkgnd(CDC*) { return TRUE; }  // OnPaint covers every pixel

void CToolBar::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
  for (int i = 0; i < GetCount(); ++i) DrawButton(dc, i);
}

void CToolBar::DrawButton(CDC& dc, int index) {
  const Button& button = m_buttons[std::size_t(index)];
  CRect r;
  GetItemRect(index, &r);
  if (r.IsRectEmpty()) return;
  const COLORREF face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW),
                 highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  if (button.style & TBBS_SEPARATOR) {
    // An etched line down the middle.
    const int x = r.left + r.Width() / 2 - 1;
    dc.FillSolidRect(x, r.top + 2, 1, r.Height() - 4, shadow);
    dc.FillSolidRect(x + 1, r.top + 2, 1, r.Height() - 4, highlight);
    return;
  }
  const bool disabled = button.style & TBBS_DISABLED;
  const bool checked = button.style & TBBS_CHECKED;
  const bool sunken = checked || (button.style & TBBS_PRESSED);
  const bool hot = index == m_hot && !disabled;
  // Flat buttons: a raised frame under the mouse, a sunken one while pressed or checked, and
  // a checked button not under the mouse lit between face and highlight.
  if (checked && !hot && !(button.style & TBBS_PRESSED)) {
    CRect inside = r;
    inside.DeflateRect(1, 1);
    dc.FillSolidRect(&inside, Average(face, highlight));
  }
  if (sunken)
    Draw3dRect(dc, r, shadow, highlight);
  else if (hot)
    Draw3dRect(dc, r, highlight, shadow);

  int cx = 0, cy = 0;
  if (!m_imageList || button.image < 0 || !ImageList_GetIconSize(m_imageList, &cx, &cy)) return;
  IMAGELISTDRAWPARAMS params{};
  params.cbSize = sizeof(params);
  params.himl = m_imageList;
  params.i = button.image;
  params.hdcDst = dc.m_hDC;
  // Centred, and one pixel down and to the right when sunken, as a pressed key.
  params.x = r.left + (r.Width() - cx) / 2 + (sunken ? 1 : 0);
  params.y = r.top + (r.Height() - cy) / 2 + (sunken ? 1 : 0);
  params.rgbBk = params.rgbFg = CLR_DEFAULT;
  params.fStyle = ILD_TRANSPARENT;
  // Disabled: grey and faded into the face; indeterminate: faded.
  if (disabled) params.fState = ILS_SATURATE | ILS_ALPHA, params.Frame = 128;
  else if (button.style & TBBS_INDETERMINATE) params.fState = ILS_ALPHA, params.Frame = 128;
  ImageList_DrawIndirect(&params);
}

void CToolBar::OnMouseMove(UINT, CPoint point) {
  const int under = HitTest(point);
  if (m_pressed >= 0) {
    // While the button is held the press shows only with the mouse over the button.
    UINT style = m_buttons[std::size_t(m_pressed)].style & ~TBBS_PRESSED;
    if (under == m_pressed) style |= TBBS_PRESSED;
    SetButtonStyle(m_pressed, style);
    return;
  }
  const int hot = IsEnabledButton(under) ? under : -1;
  if (hot != m_hot) {
    if (m_hot >= 0) InvalidateButton(m_hot);
    if (hot >= 0) InvalidateButton(hot);
    m_hot = hot;
  }
  // The capture tells when the mouse leaves the hot button's toolbar.
  if (m_hot >= 0 && GetCapture() != this)
    SetCapture();
  else if (m_hot < 0 && GetCapture() == this)
    ReleaseCapture();
}

void CToolBar::OnLButtonDown(UINT, CPoint point) {
  const int under = HitTest(point);
  if (!IsEnabledButton(under)) return;
  if (GetCapture() != this) SetCapture();
  m_pressed = m_hot = under;
  SetButtonStyle(under, m_buttons[std::size_t(under)].style | TBBS_PRESSED);
}

void CToolBar::OnLButtonUp(UINT, CPoint point) {
  if (m_pressed < 0) return;
  const int index = std::exchange(m_pressed, -1);
  const int under = HitTest(point);
  UINT style = m_buttons[std::size_t(index)].style & ~TBBS_PRESSED;
  const bool clicked = under == index && IsEnabledButton(index);
  if (clicked && (style & TBBS_CHECKBOX)) {
    if ((style & TBBS_CHECKGROUP) == TBBS_CHECKGROUP) {
      // One of a group: it becomes the checked one, its neighbours in the group unchecked.
      for (int step : {-1, 1})
        for (int i = index + step; i >= 0 && i < GetCount(); i += step) {
          const UINT other = m_buttons[std::size_t(i)].style;
          if ((other & TBBS_CHECKGROUP) != TBBS_CHECKGROUP) break;
          SetButtonStyle(i, other & ~TBBS_CHECKED);
        }
      style |= TBBS_CHECKED;
    } else {
      style ^= TBBS_CHECKED;
    }
  }
  SetButtonStyle(index, style);
  m_hot = IsEnabledButton(under) ? under : -1;
  if (m_hot < 0 && GetCapture() == this) ReleaseCapture();
  // Last: the owner's command handler may destroy the toolbar.
  if (clicked) {
    if (CWnd* owner = GetOwner())
      owner->SendMessage(WM_COMMAND, MAKEWPARAM(WORD(m_buttons[std::size_t(index)].id), BN_CLICKED),
                         reinterpret_cast<LPARAM>(m_hWnd));
  }
}

void CToolBar::OnCaptureChanged(CWnd* wnd) {
  if (wnd == this) return;
  if (m_pressed >= 0) SetButtonStyle(m_pressed, m_buttons[std::size_t(m_pressed)].style & ~TBBS_PRESSED);
  if (m_hot >= 0) InvalidateButton(m_hot);
  m_pressed = m_hot = -1;
}

LRESULT CToolBar::OnButtonCount(WPARAM, LPARAM) { return GetCount(); }

LRESULT CToolBar::OnDeleteButton(WPARAM index, LPARAM) {
  if (index >= WPARAM(GetCount())) return FALSE;
  m_buttons.erase(m_buttons.begin() + std::ptrdiff_t(index));
  m_hot = m_pressed = -1;
  Invalidate();
  return TRUE;
}

LRESULT CToolBar::OnCommandToIndex(WPARAM id, LPARAM) { return CommandToIndex(UINT(id)); }

LRESULT CToolBar::OnGetItemRect(WPARAM index, LPARAM rect) {
  if (index >= WPARAM(GetCount()) || !rect) return FALSE;
  GetItemRect(int(index), reinterpret_cast<RECT*>(rect));
  return TRUE;
}

LRESULT CToolBar::OnSetImageList(WPARAM, LPARAM list) {
  HIMAGELIST before = std::exchange(m_imageList, reinterpret_cast<HIMAGELIST>(list));
  Invalidate();
  return reinterpret_cast<LRESULT>(before);
}

LRESULT CToolBar::OnGetImageList(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_imageList); }
