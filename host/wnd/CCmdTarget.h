#pragma once
// MFC's command target: the class that owns a message map.
#include "host/HostApi.h"
#include "host/wnd/AfxMsgMap.h"
#include "host/wnd/CObject.h"

class VISTAL_HOST_API CCmdTarget : public CObject {
public:
  CCmdTarget() = default;
  ~CCmdTarget() override;

  // Routes a command through the message maps of this object's class and its bases: the
  // first ON_COMMAND or ON_COMMAND_RANGE entry (nCode CN_COMMAND) or ON_UPDATE_COMMAND_UI
  // entry (nCode CN_UPDATE_COMMAND_UI, pExtra the CCmdUI) whose identifiers take nID. With
  // pHandlerInfo it only fills that in and calls nothing. An update handler that calls
  // CCmdUI::ContinueRouting counts as not handling the command. TRUE when handled.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;

  // The first entry of the class's map chain that matches, or null.
  static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id);
};
