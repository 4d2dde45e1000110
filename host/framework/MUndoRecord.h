#pragma once
// What undoing and redoing one performance of an operation needs from a scene object (or
// from the operation itself): the state the operation touches as it was before and as it
// was after. An operation asks for its records when it is prepared, so the record starts
// with the state before; once the operation has been delivered, the record is told to take
// the state after. Undo puts the state before back and Redo the state after, instead of
// delivering an inverse action.
#include "host/HostApi.h"

class VISTAL_HOST_API MUndoRecord {
public:
  MUndoRecord() = default;
  MUndoRecord(const MUndoRecord&) = delete;
  MUndoRecord& operator=(const MUndoRecord&) = delete;
  virtual ~MUndoRecord();

  // Called once, after the operation has been delivered.
  virtual void TakeStateAfter() = 0;
  virtual void RestoreStateBefore() = 0;
  virtual void RestoreStateAfter() = 0;
};
