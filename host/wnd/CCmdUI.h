#pragma once
// MFC's command user-interface state: what an update-command-UI handler sets for one
// command (enabled, checked, radio, text) on the item that shows it (a menu item, a
// toolbar button).
#include "host/HostApi.h"
#include "host/wnd/WndTypes.h"

class CCmdTarget;
class CMenu;
class CWnd;

// The state an update handler sets for one command on the item that shows it.
class VISTAL_HOST_API CCmdUI {
public:
  CCmdUI() = default;

  UINT m_nID = 0;     // the command of the item being updated
  UINT m_nIndex = 0;  // the item's index in its menu or control
  CMenu* m_pMenu = nullptr;
  CWnd* m_pOther = nullptr;  // the control that shows the item (a toolbar)
  BOOL m_bEnableChanged = FALSE;
  BOOL m_bContinueRouting = FALSE;
  UINT m_nIndexMax = 0;  // the number of items

  virtual void Enable(BOOL on = TRUE);
  virtual void SetCheck(int check = 1);  // 0 unchecked, 1 checked, 2 indeterminate
  virtual void SetRadio(BOOL on = TRUE);
  virtual void SetText(LPCWSTR text);

  // Lets the command route on to the next target as if this handler had not handled it.
  void ContinueRouting() { m_bContinueRouting = TRUE; }

  // Asks the target's update handler for m_nID (CN_UPDATE_COMMAND_UI through OnCmdMsg);
  // with disableIfNoHandler and no handler that changed the enabled state, enables the
  // item exactly when the target has a command handler for it. TRUE when a handler ran.
  BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);
};
