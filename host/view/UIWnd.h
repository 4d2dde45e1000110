#pragma once
#include "host/HostApi.h"
#include "host/wnd/CWnd.h"

class MOperation;

// The framework's view: a child window that shows one scene of the document and carries
// out operations for it.
class VISTAL_HOST_API UIWnd : public CWnd {
public:
  // The window class of the framework's views, registered by the first Create.
  static constexpr const wchar_t* kClassName = L"UIWnd";
  static constexpr unsigned kNoScene = 0xFFFFFFFF;

  UIWnd();
  ~UIWnd() override;

  using CWnd::Create;
  // A child window of the framework's view class; FALSE when it cannot be made.
  virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  // The scene the view shows; kNoScene until one is set.
  unsigned GetActiveScene() const { return m_active_scene; }
  virtual void SetActiveScene(unsigned scene);

  // Performs the operation on its objects (MOperation::Do); views add the operations they
  // carry out themselves. Answers whether it was carried out.
  virtual bool DoOperation(MOperation& operation);

protected:
  DECLARE_MESSAGE_MAP()

  unsigned m_active_scene = kNoScene;
};
