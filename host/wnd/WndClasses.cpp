// Window classes and the program's module handle.
#include "host/wnd/Implementation/WndState.h"
#include "host/wnd/WndFunctions.h"

#include <cwchar>
#include <cwctype>
#include <set>
#include <string>

using wnd_impl::WndClassRecord;

namespace {

// The program's module: one address that stands for its instance and its resources.
char g_module;

std::wstring Folded(LPCWSTR name) {
  std::wstring out(name);
  for (wchar_t& c : out) c = wchar_t(std::towlower(wint_t(c)));
  return out;
}

struct ClassTable {
  std::map<std::pair<HINSTANCE, std::wstring>, std::shared_ptr<const WndClassRecord>> byName;
  ATOM nextAtom = 0xC000;  // where Windows starts registered class atoms
};

ClassTable& Classes() {
  static ClassTable table;
  return table;
}

std::shared_ptr<const WndClassRecord> FindByAtom(HINSTANCE instance, ATOM atom) {
  for (const auto& [key, record] : Classes().byName) {
    if (record->atom == atom && (key.first == instance || (record->cls.style & CS_GLOBALCLASS))) return record;
  }
  return nullptr;
}

}  // namespace

namespace wnd_impl {

std::shared_ptr<const WndClassRecord> FindClass(HINSTANCE instance, LPCWSTR name) {
  if (!name) return nullptr;
  if (IS_INTRESOURCE(name)) return FindByAtom(instance, ATOM(reinterpret_cast<std::uintptr_t>(name)));
  auto& table = Classes().byName;
  const std::wstring key = Folded(name);
  if (auto it = table.find({instance, key}); it != table.end()) return it->second;
  // A global class of any module serves every module.
  for (const auto& [k, record] : table) {
    if (k.second == key && (record->cls.style & CS_GLOBALCLASS)) return record;
  }
  return nullptr;
}

}  // namespace wnd_impl

ATOM RegisterClassW(const WNDCLASSW* wndClass) {
  if (!wndClass || !wndClass->lpszClassName || IS_INTRESOURCE(wndClass->lpszClassName) || !*wndClass->lpszClassName)
    return 0;
  ClassTable& table = Classes();
  const auto key = std::make_pair(wndClass->hInstance, Folded(wndClass->lpszClassName));
  if (table.byName.count(key)) return 0;  // already registered
  auto record = std::make_shared<WndClassRecord>();
  record->cls = *wndClass;
  record->name = wndClass->lpszClassName;
  record->cls.lpszClassName = record->name.c_str();
  if (wndClass->lpszMenuName && !IS_INTRESOURCE(wndClass->lpszMenuName)) {
    record->menuName = wndClass->lpszMenuName;
    record->cls.lpszMenuName = record->menuName.c_str();
  }
  record->atom = table.nextAtom++;
  table.byName[key] = record;
  return record->atom;
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance) {
  if (!className || IS_INTRESOURCE(className)) return FALSE;
  // Windows refuses while windows of the class exist.
  auto record = wnd_impl::FindClass(instance, className);
  if (!record) return FALSE;
  for (const auto& [hwnd, w] : wnd_impl::GetState().windows) {
    if (w->cls == record) return FALSE;
  }
  return Classes().byName.erase({instance, Folded(className)}) ? TRUE : FALSE;
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wndClass) {
  auto record = wnd_impl::FindClass(instance, className);
  if (!record || !wndClass) return FALSE;
  *wndClass = record->cls;
  return TRUE;
}

BOOL AfxRegisterClass(WNDCLASSW* wndClass) {
  if (!wndClass || !wndClass->lpszClassName) return FALSE;
  WNDCLASSW existing;
  if (GetClassInfoW(wndClass->hInstance, wndClass->lpszClassName, &existing)) return TRUE;
  return RegisterClassW(wndClass) != 0;
}

LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  // The name tells the settings apart, as MFC's "Afx:..." names do.
  wchar_t buffer[128];
  std::swprintf(buffer, 128, L"Afx:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()), classStyle,
                static_cast<void*>(cursor), static_cast<void*>(background), static_cast<void*>(icon));
  static std::set<std::wstring> names;
  const std::wstring& name = *names.insert(buffer).first;
  WNDCLASSW wc{};
  wc.style = classStyle;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = AfxGetInstanceHandle();
  wc.hIcon = icon;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = name.c_str();
  return AfxRegisterClass(&wc) ? name.c_str() : nullptr;
}

HINSTANCE AfxGetInstanceHandle() { return &g_module; }
HINSTANCE AfxGetResourceHandle() { return &g_module; }
