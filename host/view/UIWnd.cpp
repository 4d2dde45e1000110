#include "host/view/UIWnd.h"

#include "host/framework/MOperation.h"
#include "host/wnd/WndFunctions.h"

BEGIN_MESSAGE_MAP(UIWnd, CWnd)
END_MESSAGE_MAP()

UIWnd::UIWnd() = default;
UIWnd::~UIWnd() = default;

BOOL UIWnd::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  // Registered by the first view; AfxRegisterClass leaves a registered class as it is.
  WNDCLASSW wc{};
  wc.style = CS_VREDRAW | CS_HREDRAW;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = AfxGetInstanceHandle();
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = nullptr;  // a view paints all of its client area itself
  wc.lpszClassName = kClassName;
  if (!AfxRegisterClass(&wc)) return FALSE;
  // A view is always a visible child that keeps its own children's pixels.
  return CreateEx(0, kClassName, L"", style | WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, rect,
                  parent, id);
}

void UIWnd::SetActiveScene(unsigned scene) {
  m_active_scene = scene;
  if (GetSafeHwnd()) Invalidate(FALSE);
}

bool UIWnd::DoOperation(MOperation& operation) { return operation.Do(); }
