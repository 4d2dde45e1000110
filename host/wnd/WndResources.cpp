// The program's resources (toolbars, bitmaps, cursors), cursors and bitmaps loaded from them.
#include "host/wnd/WndResources.h"

#include "host/gdi/WinGdi.h"
#include "host/wnd/IWndDesktop.h"
#include "host/wnd/WndFunctions.h"

#include <map>
#include <vector>

namespace {

enum class EKind { ToolBar, Bitmap, Cursor };

struct Registry {
  std::map<UINT, std::shared_ptr<const WndToolBarResource>> toolBars;
  std::map<UINT, std::shared_ptr<const MImageRGBA>> bitmaps;
  std::map<UINT, std::shared_ptr<const WndCursorResource>> cursors;
};

Registry& Resources() {
  static Registry registry;
  return registry;
}

bool KindOf(LPCWSTR type, EKind& kind) {
  if (!type || !IS_INTRESOURCE(type)) return false;
  const auto value = reinterpret_cast<std::uintptr_t>(type);
  if (value == reinterpret_cast<std::uintptr_t>(RT_TOOLBAR)) kind = EKind::ToolBar;
  else if (value == reinterpret_cast<std::uintptr_t>(RT_BITMAP)) kind = EKind::Bitmap;
  else if (value == reinterpret_cast<std::uintptr_t>(RT_GROUP_CURSOR) ||
           value == reinterpret_cast<std::uintptr_t>(RT_CURSOR))
    kind = EKind::Cursor;
  else return false;
  return true;
}

// The identifier of a resource name of the program's module; false for a string name or
// another module.
bool IdOf(HINSTANCE instance, LPCWSTR name, UINT& id) {
  if (!instance || instance != AfxGetResourceHandle() || !name || !IS_INTRESOURCE(name)) return false;
  id = UINT(reinterpret_cast<std::uintptr_t>(name));
  return true;
}

template <typename Map>
typename Map::mapped_type Find(const Map& map, HINSTANCE instance, LPCWSTR name) {
  UINT id = 0;
  if (!IdOf(instance, name, id)) return nullptr;
  auto it = map.find(id);
  return it == map.end() ? nullptr : it->second;
}

// A loaded cursor: a system cursor or a cursor resource. The handle is its place in the
// table plus one and stays valid for the life of the process.
struct Cursor {
  int systemId = 0;
  std::shared_ptr<const WndCursorResource> resource;
};

std::vector<Cursor>& CursorTable() {
  static std::vector<Cursor> table;
  return table;
}

HCURSOR CursorHandle(std::size_t index) { return reinterpret_cast<HCURSOR>(index + 1); }

const Cursor* LookupCursor(HCURSOR handle) {
  const auto value = reinterpret_cast<std::uintptr_t>(handle);
  auto& table = CursorTable();
  return value >= 1 && value <= table.size() ? &table[value - 1] : nullptr;
}

HCURSOR g_cursor = nullptr;

bool IsSystemCursor(int id) {
  switch (id) {
    case 32512: case 32513: case 32514: case 32515: case 32516: case 32642: case 32643:
    case 32644: case 32645: case 32646: case 32648: case 32649: case 32650: case 32651:
      return true;
    default: return false;
  }
}

}  // namespace

void SetToolBarResource(UINT id, SIZE buttonSize, std::vector<UINT> commands) {
  Resources().toolBars[id] = std::make_shared<const WndToolBarResource>(WndToolBarResource{buttonSize, std::move(commands)});
}

void SetBitmapResource(UINT id, MImageRGBA image) {
  Resources().bitmaps[id] = std::make_shared<const MImageRGBA>(std::move(image));
}

void SetCursorResource(UINT id, MImageRGBA image, POINT hotSpot) {
  Resources().cursors[id] = std::make_shared<const WndCursorResource>(WndCursorResource{std::move(image), hotSpot});
}

BOOL RemoveResource(UINT id, LPCWSTR type) {
  EKind kind;
  if (!KindOf(type, kind)) return FALSE;
  Registry& r = Resources();
  switch (kind) {
    case EKind::ToolBar: return r.toolBars.erase(id) ? TRUE : FALSE;
    case EKind::Bitmap: return r.bitmaps.erase(id) ? TRUE : FALSE;
    case EKind::Cursor: return r.cursors.erase(id) ? TRUE : FALSE;
  }
  return FALSE;
}

std::shared_ptr<const WndToolBarResource> FindToolBarResource(HINSTANCE instance, LPCWSTR name) {
  return Find(Resources().toolBars, instance, name);
}

std::shared_ptr<const MImageRGBA> FindBitmapResource(HINSTANCE instance, LPCWSTR name) {
  return Find(Resources().bitmaps, instance, name);
}

std::shared_ptr<const WndCursorResource> FindCursorResource(HINSTANCE instance, LPCWSTR name) {
  return Find(Resources().cursors, instance, name);
}

HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type) {
  // The program's module is the only one in the chain that holds resources.
  return AfxGetResourceHandle();
}

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
  if (!name || !IS_INTRESOURCE(name)) return nullptr;
  auto& table = CursorTable();
  if (!instance) {
    const int id = int(reinterpret_cast<std::uintptr_t>(name));
    if (!IsSystemCursor(id)) return nullptr;
    for (std::size_t i = 0; i < table.size(); ++i) {
      if (table[i].systemId == id) return CursorHandle(i);
    }
    table.push_back({id, nullptr});
    return CursorHandle(table.size() - 1);
  }
  auto resource = FindCursorResource(instance, name);
  if (!resource) return nullptr;
  // The same resource gives the same handle; a replaced resource a new one.
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].resource == resource) return CursorHandle(i);
  }
  table.push_back({0, std::move(resource)});
  return CursorHandle(table.size() - 1);
}

HCURSOR SetCursor(HCURSOR cursor) {
  const HCURSOR previous = g_cursor;
  const Cursor* entry = LookupCursor(cursor);
  if (cursor && !entry) return previous;
  g_cursor = cursor;
  if (IWndDesktop* desktop = GetWndDesktop()) {
    if (!entry) desktop->SetCursor(nullptr, 0, 0, 0);
    else if (entry->resource) {
      const WndCursorResource& r = *entry->resource;
      desktop->SetCursor(&r.image, int(r.hotSpot.x), int(r.hotSpot.y), 0);
    } else desktop->SetCursor(nullptr, 0, 0, entry->systemId);
  }
  return previous;
}

HCURSOR GetCursor() { return g_cursor; }

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
  auto image = FindBitmapResource(instance, name);
  if (!image || image->Empty()) return nullptr;
  // 32-bit rows need no padding; the bytes go blue, green, red, alpha.
  std::vector<std::uint8_t> bits(std::size_t(image->Width()) * image->Height() * 4);
  const std::uint8_t* in = image->Data();
  for (std::size_t i = 0; i < bits.size(); i += 4) {
    bits[i] = in[i + 2];
    bits[i + 1] = in[i + 1];
    bits[i + 2] = in[i];
    bits[i + 3] = in[i + 3];
  }
  return CreateBitmap(int(image->Width()), int(image->Height()), 1, 32, bits.data());
}
