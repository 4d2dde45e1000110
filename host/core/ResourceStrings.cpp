#include "host/core/ResourceStrings.h"

#include <forward_list>
#include <map>
#include <mutex>
#include <string>

namespace {
struct StringTable {
  StringTable() {
    using namespace ResourceStringIds;
    Set(kVolumeRendering, L"Volume Rendering");
    Set(kPreviewPan, L"Pan");
    Set(kPreviewRotate, L"Rotate");
    Set(kPreviewUnzoom, L"Zoom to fit");
    Set(kPreviewZoomRect, L"Zoom to rectangle");
  }

  // Replaced texts are kept, not freed, so that pointers handed out earlier stay valid.
  void Set(unsigned id, const wchar_t* text) {
    storage.emplace_front(text ? text : L"");
    ids[id] = storage.front().c_str();
  }

  std::mutex mutex;
  std::forward_list<std::wstring> storage;
  std::map<unsigned, const wchar_t*> ids;
};

StringTable& Table() {
  static StringTable table;
  return table;
}
}  // namespace

const wchar_t* GetResourceString(unsigned int id) {
  StringTable& t = Table();
  std::lock_guard lock(t.mutex);
  auto it = t.ids.find(id);
  return it == t.ids.end() ? L"" : it->second;
}

void SetResourceString(unsigned int id, const wchar_t* text) {
  StringTable& t = Table();
  std::lock_guard lock(t.mutex);
  t.Set(id, text);
}
