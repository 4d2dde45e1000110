#include "host/framework/MOperation.h"

#include "host/framework/MUndoRecord.h"
#include "host/framework/UIObject.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <string>
#include <utility>

namespace {
constexpr const char* kSaveTag = "MOperation";
}

MUndoRecord::~MUndoRecord() = default;

// The records of one performance; `done` once the states after are taken.
struct MOperation::UndoRecords {
  std::vector<std::pair<UIObject*, std::unique_ptr<MUndoRecord>>> objects;
  std::unique_ptr<MUndoRecord> own;
  bool done = false;

  MUndoRecord* Of(const UIObject* object) const {
    for (const auto& entry : objects)
      if (entry.first == object) return entry.second.get();
    return nullptr;
  }
};

// Every object gets its turn, even after one declined.
template <typename Handle>
bool MOperation::_ForEachObject(bool backwards, Handle handle) {
  // Walks a copy, so that an object may edit the operation's list while it handles it:
  // objects removed meanwhile are skipped, objects added meanwhile wait for the next run.
  const std::vector<UIObject*> objects = m_objects;
  bool all = true;
  auto visit = [&](UIObject* o) {
    if (std::find(m_objects.begin(), m_objects.end(), o) != m_objects.end()) all = handle(o) && all;
  };
  if (backwards)
    std::for_each(objects.rbegin(), objects.rend(), visit);
  else
    std::for_each(objects.begin(), objects.end(), visit);
  return all;
}

MOperation::~MOperation() = default;

void MOperation::SetSenderID(std::uint32_t id) { m_sender_id = id; }

void MOperation::Reverse() {
  _DropUndoRecords();
  _SetAction(GetInverseAction());
  std::reverse(m_objects.begin(), m_objects.end());
}

void MOperation::SetAction(std::uint32_t action) {
  _DropUndoRecords();
  _SetAction(action);
}

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
  if (_LoadState(is)) {
    _DropUndoRecords();
    return true;
  }
  m_action = old_action;
  m_flags = old_flags;
  m_sender_id = old_sender;
  return false;
}

bool MOperation::Prepare() {
  _DropUndoRecords();
  if (!_PrepareOperation()) return false;
  std::shared_ptr<UndoRecords> records(new UndoRecords);
  for (UIObject* o : m_objects)
    if (std::unique_ptr<MUndoRecord> record = o->CreateUndoRecord(*this))
      records->objects.emplace_back(o, std::move(record));
  records->own = _CreateUndoRecord();
  m_undo = std::move(records);
  m_prepared = true;
  return true;
}

bool MOperation::Do() {
  if (!m_prepared && !Prepare()) return false;
  m_prepared = false;
  // Held here, so that an object that changes the operation while handling it cannot
  // take the records away half-way.
  const std::shared_ptr<UndoRecords> records = m_undo;
  const bool ok = _DoOperation();
  if (records) {
    for (auto& entry : records->objects) entry.second->TakeStateAfter();
    if (records->own) records->own->TakeStateAfter();
    records->done = true;
  }
  return ok;
}

bool MOperation::Undo() { return _UndoOperation(); }
bool MOperation::Redo() { return _RedoOperation(); }

std::wstring MOperation::_GetActionString() const { return {}; }

bool MOperation::_DoOperation() { return _Deliver(false); }

bool MOperation::_UndoOperation() {
  const std::shared_ptr<UndoRecords> records = m_undo && m_undo->done ? m_undo : nullptr;
  const std::uint32_t action = m_action;
  _SetAction(GetInverseAction());
  const bool ok = _ForEachObject(true, [&](UIObject* o) {
    MUndoRecord* record = records ? records->Of(o) : nullptr;
    if (!record) return o->DoOperation(*this);
    record->RestoreStateBefore();
    return true;
  });
  _SetAction(action);
  if (records && records->own) records->own->RestoreStateBefore();
  return ok;
}

bool MOperation::_RedoOperation() {
  const std::shared_ptr<UndoRecords> records = m_undo && m_undo->done ? m_undo : nullptr;
  if (records && records->own) records->own->RestoreStateAfter();
  return _ForEachObject(false, [&](UIObject* o) {
    MUndoRecord* record = records ? records->Of(o) : nullptr;
    if (!record) return o->DoOperation(*this);
    record->RestoreStateAfter();
    return true;
  });
}

bool MOperation::_PrepareOperation() { return m_action != 0; }

bool MOperation::_SaveState(std::ostream&) const { return true; }
bool MOperation::_LoadState(std::istream&) { return true; }

void MOperation::_SetAction(std::uint32_t action) { m_action = action; }

std::unique_ptr<MUndoRecord> MOperation::_CreateUndoRecord() { return nullptr; }

bool MOperation::_Deliver(bool backwards) {
  return _ForEachObject(backwards, [this](UIObject* o) { return o->DoOperation(*this); });
}

void MOperation::_DropUndoRecords() {
  m_undo.reset();
  m_prepared = false;
}
