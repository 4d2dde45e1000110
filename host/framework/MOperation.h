#pragma once
#include "host/HostApi.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class MUndoRecord;
class UIObject;

// The framework's undoable operation. An operation carries an action code and a flag
// word, and the scene objects it acts on; performing it delivers it to each of those
// objects through UIObject::DoOperation. Undo and redo put back the states that the objects
// (and the operation) recorded around the performance; an object without a record gets
// the inverse action delivered instead, and on redo the operation again. The protected
// hooks are where subclasses change how an operation is prepared, performed, saved and
// named.
class VISTAL_HOST_API MOperation {
public:
  // Flag bits. What a view does after an operation: the framework reads them; an
  // operation's kind sets them in SetAction.
  enum EFlags : std::uint32_t {
    eFlagUndoable = 0x1,              // goes into the undo history
    eFlagModifiesDocument = 0x2,      // marks the document changed
    eFlagUpdateBoundingBoxes = 0x8,   // object extents may have changed: views re-fit their cameras
    eFlagRedraw3DViews = 0x10000,     // only the 3D views need a redraw
    eFlagRedrawAllViews = 0x20000,    // every view, 2D slices included, needs a redraw
  };

  MOperation() = default;
  MOperation(const MOperation&) = default;
  MOperation& operator=(const MOperation&) = default;
  virtual ~MOperation();

  // Who sent the operation (a view or a tool), for listeners that ignore their own.
  virtual void SetSenderID(std::uint32_t id);
  // Turns the operation into its own inverse: the inverse action, the objects in reverse
  // order (undo runs back to front). Undo records are dropped.
  virtual void Reverse();
  // Stores the action code; subclasses also set the flags their kind of operation needs.
  // The code is the system's 32-bit action word. Undo records taken before are dropped:
  // they were made for the old action.
  virtual void SetAction(std::uint32_t action);
  // The action that undoes this one. An operation of this base class is its own inverse
  // (a view change is undone by delivering the same action with the saved state).
  virtual std::uint32_t GetInverseAction() const;
  // A name for menus and the undo history: the subclass's name, else "Action <code>".
  virtual std::wstring GetActionString() const;
  // The objects the operation is delivered to, in the order added; not owned. Null and
  // repeated objects are ignored. A removed object is no longer undone or redone.
  virtual void AddObject(UIObject* object);
  virtual void RemoveObject(UIObject* object);
  // Writes / reads the action, the flags and the sender, then the subclass's state
  // (_SaveState / _LoadState). Load answers false, and leaves the operation as it was,
  // when the stream does not hold a saved operation. Undo records are not saved; a loaded
  // operation has none.
  virtual bool Save(std::ostream& os) const;
  virtual bool Load(std::istream& is);

  std::uint32_t GetAction() const { return m_action; }
  std::uint32_t GetFlags() const { return m_flags; }
  void SetFlags(std::uint32_t flags) { m_flags = flags; }
  bool HasFlag(std::uint32_t flag) const { return (m_flags & flag) == flag; }
  std::uint32_t GetSenderID() const { return m_sender_id; }
  const std::vector<UIObject*>& GetObjects() const { return m_objects; }

  // Checks that the operation can be performed and takes the undo records: the
  // operation's own and one from each object that supplies one, each holding the state
  // before. Do prepares unless Prepare was called since the last Do; a host that changes
  // something the operation is about (a clipping plane's frame, say) calls Prepare before
  // the change, so that Undo puts back what was there before it. False, with no records
  // taken, when the operation cannot be performed.
  bool Prepare();
  // Perform, undo and redo. Each answers whether every object accepted the operation (an
  // object whose record is restored accepts). Do performs nothing when preparing fails;
  // after delivering it has every record take the state after. Undo restores the states
  // before (objects in reverse order, then the operation's own), Redo the states after
  // (the operation's own first). Without records, as before any Do or after the
  // operation was changed, Undo delivers the inverse action and Redo the action.
  bool Do();
  bool Undo();
  bool Redo();

protected:
  virtual std::wstring _GetActionString() const;
  virtual bool _DoOperation();
  // Delivers the operation with its inverse action, objects in reverse order, and puts
  // the action back afterwards.
  virtual bool _UndoOperation();
  virtual bool _RedoOperation();
  // Checks that the operation can be performed; subclasses gather here what performing
  // needs. This base answers false for an operation without an action (code 0).
  virtual bool _PrepareOperation();
  // Subclass state for Save / Load; this base has none.
  virtual bool _SaveState(std::ostream& os) const;
  virtual bool _LoadState(std::istream& is);
  // Stores the code only, without the flag changes of SetAction (used while undoing).
  virtual void _SetAction(std::uint32_t action);
  // The operation's own undo record, for state it carries rather than its objects (null:
  // none). Asked by Prepare after the objects.
  virtual std::unique_ptr<MUndoRecord> _CreateUndoRecord();

  // Delivers the operation to the objects in the given order.
  bool _Deliver(bool backwards);

  std::uint32_t m_action = 0;
  std::uint32_t m_flags = 0;
  std::uint32_t m_sender_id = 0;
  std::vector<UIObject*> m_objects;

private:
  struct UndoRecords;
  // Copies share the records of the performance they were copied after; a copy that is
  // performed takes records of its own.
  std::shared_ptr<UndoRecords> m_undo;
  bool m_prepared = false;  // Prepare has taken records that the next Do uses

  // Each object in the given order gets `handle`, unless it was removed meanwhile.
  template <typename Handle>
  bool _ForEachObject(bool backwards, Handle handle);
  void _DropUndoRecords();
};
