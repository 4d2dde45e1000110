#include "host/wnd/IWndDesktop.h"

IWndDesktop::~IWndDesktop() = default;

namespace {
// The windows of a program live on one desktop, set once by the program before it makes
// windows; a plain global like the framework's other process-wide state.
IWndDesktop* g_desktop = nullptr;
}  // namespace

IWndDesktop* GetWndDesktop() { return g_desktop; }
void SetWndDesktop(IWndDesktop* desktop) { g_desktop = desktop; }
