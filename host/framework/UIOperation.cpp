#include "host/framework/UIOperation.h"

#include <istream>
#include <map>
#include <mutex>
#include <ostream>

namespace {
struct InverseTable {
  std::mutex mutex;
  std::map<std::uint32_t, std::uint32_t> pairs{{82750, 82751}, {82751, 82750}};
};

InverseTable& Table() {
  static InverseTable table;
  return table;
}

// Removes the action's pair in both directions; the caller holds the lock.
void Unpair(std::map<std::uint32_t, std::uint32_t>& pairs, std::uint32_t action) {
  auto it = pairs.find(action);
  if (it == pairs.end()) return;
  const std::uint32_t other = it->second;
  pairs.erase(it);
  auto back = pairs.find(other);
  if (back != pairs.end() && back->second == action) pairs.erase(back);
}
}  // namespace

UIOperation::UIOperation() { m_flags = kDefaultFlags; }
UIOperation::~UIOperation() = default;

void UIOperation::SetAction(std::uint32_t action) {
  MOperation::SetAction(action);
  m_flags = kDefaultFlags;
}

std::uint32_t UIOperation::GetInverseAction() const {
  InverseTable& t = Table();
  std::lock_guard lock(t.mutex);
  auto it = t.pairs.find(m_action);
  return it == t.pairs.end() ? m_action : it->second;
}

void UIOperation::SetInverseActions(std::uint32_t a, std::uint32_t b) {
  InverseTable& t = Table();
  std::lock_guard lock(t.mutex);
  Unpair(t.pairs, a);
  Unpair(t.pairs, b);
  t.pairs[a] = b;
  t.pairs[b] = a;
}

void UIOperation::ClearInverseAction(std::uint32_t action) {
  InverseTable& t = Table();
  std::lock_guard lock(t.mutex);
  Unpair(t.pairs, action);
}

// The name goes as its length and its code units, so that any wide text survives.
bool UIOperation::Save(std::ostream& os) const {
  if (!MOperation::Save(os)) return false;
  os << m_action_string.size();
  for (wchar_t c : m_action_string) os << ' ' << static_cast<std::uint32_t>(c);
  os << '\n';
  return bool(os);
}

bool UIOperation::Load(std::istream& is) {
  const UIOperation before = *this;
  if (!MOperation::Load(is)) return false;
  std::size_t n = 0;
  std::wstring name;
  bool ok = bool(is >> n) && n <= (std::size_t(1) << 20);
  for (std::size_t i = 0; ok && i < n; ++i) {
    std::uint32_t c = 0;
    ok = bool(is >> c);
    name.push_back(static_cast<wchar_t>(c));
  }
  if (!ok) {
    *this = before;
    return false;
  }
  m_action_string = std::move(name);
  return true;
}

std::wstring UIOperation::_GetActionString() const { return m_action_string; }
