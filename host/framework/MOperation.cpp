#include "host/framework/MOperation.h"

#include "host/framework/UIObject.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <string>

namespace {
constexpr const char* kSaveTag = "MOperation";
}

MOperation::~MOperation() = default;

void MOperation::SetSenderID(std::uint32_t id) { m_sender_id = id; }

void MOperation::Reverse() {
  _SetAction(GetInverseAction());
  std::reverse(m_objects.begin(), m_objects.end());
}

void MOperation::SetAction(std::uint32_t action) { _SetAction(action); }

std::uint32_t MOperation::GetInverseAction() const { return m_action; }

std::wstring MOperation::GetActionString() const {
  std::wstring name = _GetActionString();
  return name.empty() ? L"Action " + std::to_wstring(m_action) : name;
}

void MOperation::AddObject(UIObject* object) {
  if (object && std::find(m_objects.begin(), m_objects.end(), object) == m_objects.end()) m_objects.push_back(object);
}

void MOperation::RemoveObject(UIObject* object) { std::erase(m_objects, object); }

bool MOperation::Save(std::ostream& os) const {
  os << kSaveTag << ' ' << m_action << ' ' << m_flags << ' ' << m_sender_id << '\n';
  return _SaveState(os) && bool(os);
}

bool MOperation::Load(std::istream& is) {
  std::string tag;
  std::uint32_t action = 0, flags = 0, sender = 0;
  if (!(is >> tag >> action >> flags >> sender) || tag != kSaveTag) return false;
  const std::uint32_t old_action = m_action, old_flags = m_flags, old_sender = m_sender_id;
  m_action = action;
  m_flags = flags;
  m_sender_id = sender;
  if (_LoadState(is)) return true;
  m_action = old_action;
  m_flags = old_flags;
  m_sender_id = old_sender;
  return false;
}

bool MOperation::Do() { return _PrepareOperation() && _DoOperation(); }
bool MOperation::Undo() { return _UndoOperation(); }
bool MOperation::Redo() { return _RedoOperation(); }

std::wstring MOperation::_GetActionString() const { return {}; }

bool MOperation::_DoOperation() { return _Deliver(false); }

bool MOperation::_UndoOperation() {
  const std::uint32_t action = m_action;
  _SetAction(GetInverseAction());
  const bool ok = _Deliver(true);
  _SetAction(action);
  return ok;
}

bool MOperation::_RedoOperation() { return _Deliver(false); }

bool MOperation::_PrepareOperation() { return m_action != 0; }

bool MOperation::_SaveState(std::ostream&) const { return true; }
bool MOperation::_LoadState(std::istream&) { return true; }

void MOperation::_SetAction(std::uint32_t action) { m_action = action; }

// Every object gets the operation, even after one declined it.
bool MOperation::_Deliver(bool backwards) {
  // Walks a copy, so that an object may edit the operation's list while it handles it:
  // objects removed meanwhile are skipped, objects added meanwhile wait for the next run.
  const std::vector<UIObject*> objects = m_objects;
  bool all = true;
  auto deliver = [&](UIObject* o) {
    if (std::find(m_objects.begin(), m_objects.end(), o) != m_objects.end()) all = o->DoOperation(*this) && all;
  };
  if (backwards)
    std::for_each(objects.rbegin(), objects.rend(), deliver);
  else
    std::for_each(objects.begin(), objects.end(), deliver);
  return all;
}
