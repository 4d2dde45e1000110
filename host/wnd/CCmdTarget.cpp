#include "host/wnd/CCmdTarget.h"

#include "host/wnd/CCmdUI.h"

CCmdTarget::~CCmdTarget() = default;

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id) {
  for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig_end; ++entry) {
      if (entry->nMessage == message && entry->nCode == code && entry->nID <= id && id <= entry->nLastID) return entry;
    }
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(GetMessageMap(), WM_COMMAND, UINT(nCode), nID);
  if (!entry) return FALSE;
  if (pHandlerInfo) {
    pHandlerInfo->pTarget = this;
    pHandlerInfo->pmf = entry->pfn;
    return TRUE;
  }
  if (entry->nSig != AfxSig_cmdUI) {
    entry->pfn(this, WPARAM(nID), reinterpret_cast<LPARAM>(pExtra));
    return TRUE;
  }
  // An update handler that calls ContinueRouting passes the command on to the next target.
  auto* cmdUI = static_cast<CCmdUI*>(pExtra);
  if (!cmdUI) return FALSE;
  cmdUI->m_bContinueRouting = FALSE;
  entry->pfn(this, WPARAM(nID), reinterpret_cast<LPARAM>(cmdUI));
  const BOOL handled = !cmdUI->m_bContinueRouting;
  cmdUI->m_bContinueRouting = FALSE;
  return handled;
}
