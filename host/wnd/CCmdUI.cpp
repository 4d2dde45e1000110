#include "host/wnd/CCmdUI.h"

#include "host/wnd/CCmdTarget.h"
#include "host/wnd/CToolBar.h"
#include "host/wnd/CWnd.h"

namespace {

// USER32's messages for a control that shows a command: a check box and a text.
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETDLGCODE = 0x0087;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr LRESULT DLGC_BUTTON = 0x2000;

// The toolbar whose button this command UI updates, if m_pOther is one.
CToolBar* ToolBarOf(const CCmdUI& ui) { return dynamic_cast<CToolBar*>(ui.m_pOther); }

}  // namespace

void CCmdUI::Enable(BOOL on) {
  if (CToolBar* toolBar = ToolBarOf(*this)) {
    // A disabled button cannot stay pressed.
    UINT style = toolBar->GetButtonStyle(int(m_nIndex)) & ~TBBS_DISABLED;
    if (!on) style = (style | TBBS_DISABLED) & ~TBBS_PRESSED;
    toolBar->SetButtonStyle(int(m_nIndex), style);
  } else if (m_pOther) {
    m_pOther->EnableWindow(on);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check) {
  if (CToolBar* toolBar = ToolBarOf(*this)) {
    // 1 checked, 2 indeterminate; the button becomes a check box either way.
    UINT style = toolBar->GetButtonStyle(int(m_nIndex)) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
    if (check == 1) style |= TBBS_CHECKED;
    else if (check == 2) style |= TBBS_INDETERMINATE;
    toolBar->SetButtonStyle(int(m_nIndex), style | TBBS_CHECKBOX);
  } else if (m_pOther && (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)) {
    m_pOther->SendMessage(BM_SETCHECK, WPARAM(check));
  }
}

void CCmdUI::SetRadio(BOOL on) { SetCheck(on ? 1 : 0); }

void CCmdUI::SetText(LPCWSTR text) {
  // Toolbar buttons show no text.
  if (m_pOther && !ToolBarOf(*this)) m_pOther->SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler) {
  if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF || !target) return TRUE;  // nothing to update
  m_bEnableChanged = FALSE;
  const BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
  if (disableIfNoHandler && !m_bEnableChanged) {
    // No update handler said: enabled exactly when a command handler exists.
    AFX_CMDHANDLERINFO info{nullptr, nullptr};
    Enable(target->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
  }
  return handled;
}
