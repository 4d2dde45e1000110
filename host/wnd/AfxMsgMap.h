#pragma once
// MFC's message maps: a static table of entries per class, chained to the table of its base
// class, and the macros that build it. An entry calls its handler through a small function
// that the macro writes for the class, so a handler whose signature does not fit fails to
// compile.
//
//   class CMyWnd : public CWnd { ... DECLARE_MESSAGE_MAP() };
//   BEGIN_MESSAGE_MAP(CMyWnd, CWnd)
//     ON_WM_SIZE()
//     ON_COMMAND(ID_GO, &CMyWnd::OnGo)
//   END_MESSAGE_MAP()
//
// ON_WM_* entries need the complete CWnd (host/wnd/CWnd.h) where the map is written.
#include "host/wnd/WndTypes.h"

class CCmdTarget;
class CCmdUI;

// What an entry does when it matches.
enum AfxSig : UINT {
  AfxSig_end = 0,  // ends a table
  AfxSig_msg,      // a window message; the handler's result is the message's result
  AfxSig_cmd,      // a command or a command range; wParam carries the command identifier
  AfxSig_cmdUI,    // an update-command-UI handler; lParam carries the CCmdUI
};

// Calls one entry's handler on the target.
using AFX_PMSG = LRESULT (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // window message, or WM_COMMAND for commands
  UINT nCode;     // command notification code (CN_COMMAND, CN_UPDATE_COMMAND_UI)
  UINT nID;       // first and last command identifier of a command entry
  UINT nLastID;
  UINT nSig;      // AfxSig
  AFX_PMSG pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root map
  const AFX_MSGMAP_ENTRY* lpEntries;     // ends with an AfxSig_end entry
};

// Filled by OnCmdMsg when it is asked only whether a handler exists.
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  AFX_PMSG pmf;
};

#define DECLARE_MESSAGE_MAP()                                    \
protected:                                                       \
  static const AFX_MSGMAP* GetThisMessageMap();                  \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                     \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
    using ThisClass [[maybe_unused]] = theClass;                                    \
    using TheBaseClass = baseClass;                                                 \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                  \
    {0, 0, 0, 0, AfxSig_end, nullptr}};                                                    \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                    \
  }

// Entry helpers: the handler call as a function of the target and the message parameters.
#define AFX_MSG_THUNK(body) [](CCmdTarget * afxTarget, WPARAM wParam, LPARAM lParam) -> LRESULT { \
    [[maybe_unused]] auto* afxThis = static_cast<ThisClass*>(afxTarget);                       \
    (void)wParam;                                                                              \
    (void)lParam;                                                                              \
    body                                                                                       \
  }
#define AFX_MSG_ENTRY(message, body) {message, 0, 0, 0, AfxSig_msg, AFX_MSG_THUNK(body)},
#define AFX_MSG_POINT(lParam) CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))

// Commands (WM_COMMAND through OnCmdMsg). memberFxn is written &Class::Handler.
#define ON_COMMAND(id, memberFxn)                                     \
  {WM_COMMAND, UINT(CN_COMMAND), UINT(id), UINT(id), AfxSig_cmd,      \
   AFX_MSG_THUNK((afxThis->*(memberFxn))(); return 0;)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                       \
  {WM_COMMAND, UINT(CN_COMMAND), UINT(id), UINT(idLast), AfxSig_cmd,  \
   AFX_MSG_THUNK((afxThis->*(memberFxn))(UINT(wParam)); return 0;)},
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                     \
  {WM_COMMAND, UINT(CN_UPDATE_COMMAND_UI), UINT(id), UINT(id), AfxSig_cmdUI,    \
   AFX_MSG_THUNK((afxThis->*(memberFxn))(reinterpret_cast<CCmdUI*>(lParam)); return 0;)},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                       \
  {WM_COMMAND, UINT(CN_UPDATE_COMMAND_UI), UINT(id), UINT(idLast), AfxSig_cmdUI, \
   AFX_MSG_THUNK((afxThis->*(memberFxn))(reinterpret_cast<CCmdUI*>(lParam)); return 0;)},
// Any message to LRESULT Handler(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) \
  AFX_MSG_ENTRY(UINT(message), return (afxThis->*(memberFxn))(wParam, lParam);)

// Window messages, to the handlers of CWnd's names and signatures.
#define ON_WM_CREATE() AFX_MSG_ENTRY(WM_CREATE, return afxThis->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));)
#define ON_WM_DESTROY() AFX_MSG_ENTRY(WM_DESTROY, afxThis->OnDestroy(); return 0;)
#define ON_WM_NCDESTROY() AFX_MSG_ENTRY(WM_NCDESTROY, afxThis->OnNcDestroy(); return 0;)
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, afxThis->OnClose(); return 0;)
#define ON_WM_SIZE() \
  AFX_MSG_ENTRY(WM_SIZE, afxThis->OnSize(UINT(wParam), int(LOWORD(lParam)), int(HIWORD(lParam))); return 0;)
#define ON_WM_TIMER() AFX_MSG_ENTRY(WM_TIMER, afxThis->OnTimer(UINT_PTR(wParam)); return 0;)
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, afxThis->OnPaint(); return 0;)
#define ON_WM_ERASEBKGND() \
  AFX_MSG_ENTRY(WM_ERASEBKGND, return afxThis->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));)
#define ON_WM_NCCALCSIZE()                                                                            \
  AFX_MSG_ENTRY(WM_NCCALCSIZE,                                                                        \
                afxThis->OnNcCalcSize(BOOL(wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)); return 0;)
#define ON_WM_NCPAINT() AFX_MSG_ENTRY(WM_NCPAINT, afxThis->OnNcPaint(); return 0;)
#define ON_WM_MOUSEMOVE() \
  AFX_MSG_ENTRY(WM_MOUSEMOVE, afxThis->OnMouseMove(UINT(wParam), AFX_MSG_POINT(lParam)); return 0;)
#define ON_WM_LBUTTONDOWN() \
  AFX_MSG_ENTRY(WM_LBUTTONDOWN, afxThis->OnLButtonDown(UINT(wParam), AFX_MSG_POINT(lParam)); return 0;)
#define ON_WM_LBUTTONUP() \
  AFX_MSG_ENTRY(WM_LBUTTONUP, afxThis->OnLButtonUp(UINT(wParam), AFX_MSG_POINT(lParam)); return 0;)
#define ON_WM_RBUTTONDOWN() \
  AFX_MSG_ENTRY(WM_RBUTTONDOWN, afxThis->OnRButtonDown(UINT(wParam), AFX_MSG_POINT(lParam)); return 0;)
#define ON_WM_RBUTTONUP() \
  AFX_MSG_ENTRY(WM_RBUTTONUP, afxThis->OnRButtonUp(UINT(wParam), AFX_MSG_POINT(lParam)); return 0;)
#define ON_WM_MBUTTONDOWN() \
  AFX_MSG_ENTRY(WM_MBUTTONDOWN, afxThis->OnMButtonDown(UINT(wParam), AFX_MSG_POINT(lParam)); return 0;)
#define ON_WM_MBUTTONUP() \
  AFX_MSG_ENTRY(WM_MBUTTONUP, afxThis->OnMButtonUp(UINT(wParam), AFX_MSG_POINT(lParam)); return 0;)
#define ON_WM_MOUSEWHEEL()                                                                          \
  AFX_MSG_ENTRY(WM_MOUSEWHEEL, return afxThis->OnMouseWheel(UINT(GET_KEYSTATE_WPARAM(wParam)),      \
                                                            GET_WHEEL_DELTA_WPARAM(wParam), AFX_MSG_POINT(lParam));)
#define ON_WM_KEYDOWN()                                                                                   \
  AFX_MSG_ENTRY(WM_KEYDOWN,                                                                               \
                afxThis->OnKeyDown(UINT(wParam), UINT(LOWORD(lParam)), UINT(HIWORD(lParam))); return 0;)
#define ON_WM_KEYUP()                                                                                     \
  AFX_MSG_ENTRY(WM_KEYUP, afxThis->OnKeyUp(UINT(wParam), UINT(LOWORD(lParam)), UINT(HIWORD(lParam))); return 0;)
#define ON_WM_SETCURSOR()                                                                              \
  AFX_MSG_ENTRY(WM_SETCURSOR, return afxThis->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), \
                                                          UINT(LOWORD(lParam)), UINT(HIWORD(lParam)));)
#define ON_WM_CAPTURECHANGED()                                                                           \
  AFX_MSG_ENTRY(WM_CAPTURECHANGED,                                                                       \
                afxThis->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(lParam))); return 0;)
