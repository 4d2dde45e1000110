// Operations: action codes and flags, delivery to scene objects, undo and redo.
#include "host/framework/MScene.h"
#include "host/framework/UIObject.h"
#include "host/framework/UIOperation.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// Who got which action, in order.
using Journal = std::vector<std::pair<std::string, std::uint32_t>>;

class JournalObject : public UIObject {
public:
  JournalObject(std::string name, Journal& journal, bool accepts = true)
      : m_name(std::move(name)), m_journal(journal), m_accepts(accepts) {}
  bool DoOperation(MOperation& op) override {
    m_journal.emplace_back(m_name, op.GetAction());
    if (on_operation) on_operation();
    return m_accepts;
  }
  std::function<void()> on_operation;

private:
  std::string m_name;
  Journal& m_journal;
  bool m_accepts;
};

TEST(SceneDelivery, EveryObjectGetsTheOperationInOrderEvenAfterOneDeclines) {
  Journal journal;
  JournalObject a("a", journal), b("b", journal, false), c("c", journal);
  MScene scene(4);
  scene.AddObject(&a);
  scene.AddObject(&b);
  scene.AddObject(nullptr);
  scene.AddObject(&c);
  scene.AddObject(&a);
  ASSERT_EQ(scene.GetObjects().size(), 3u);

  UIOperation op;
  op.SetAction(301);
  EXPECT_FALSE(scene.DeliverOperation(op));
  EXPECT_EQ(journal, (Journal{{"a", 301}, {"b", 301}, {"c", 301}}));

  scene.RemoveObject(&b);
  journal.clear();
  EXPECT_TRUE(scene.DeliverOperation(op));
  EXPECT_EQ(journal, (Journal{{"a", 301}, {"c", 301}}));
}

TEST(SceneDelivery, ObjectsRemovedDuringDeliveryAreSkippedAndAddedOnesWait) {
  Journal journal;
  JournalObject a("a", journal), b("b", journal), c("c", journal), late("late", journal);
  MScene scene;
  scene.AddObject(&a);
  scene.AddObject(&b);
  scene.AddObject(&c);
  a.on_operation = [&] {
    scene.RemoveObject(&b);
    scene.AddObject(&late);
  };
  MOperation op;
  op.SetAction(60540);
  scene.DeliverOperation(op);
  EXPECT_EQ(journal, (Journal{{"a", 60540}, {"c", 60540}}));
  EXPECT_TRUE(scene.Contains(&late));
}

TEST(Operation, UIOperationsResetTheirFlagsOnSetAction) {
  MOperation plain;
  plain.SetFlags(0x8);
  plain.SetAction(82753);
  EXPECT_EQ(plain.GetFlags(), 0x8u);  // the base leaves the flags alone

  UIOperation ui;
  ui.SetFlags(0);
  static_cast<MOperation&>(ui).SetAction(60100);  // virtual: the UI version runs
  EXPECT_EQ(ui.GetFlags(), UIOperation::kDefaultFlags);
  EXPECT_TRUE(ui.HasFlag(MOperation::eFlagUndoable | MOperation::eFlagRedrawAllViews));
}

TEST(Operation, DoUndoRedoDeliverToTheCarriedObjects) {
  Journal journal;
  JournalObject a("a", journal), b("b", journal);
  UIOperation op;
  op.AddObject(&a);
  op.AddObject(nullptr);
  op.AddObject(&b);
  op.AddObject(&a);
  ASSERT_EQ(op.GetObjects().size(), 2u);

  op.SetAction(82750);  // planes added; undone by removing them
  EXPECT_TRUE(op.Do());
  EXPECT_TRUE(op.Undo());
  EXPECT_EQ(op.GetAction(), 82750u);  // undo leaves the operation as it was
  EXPECT_TRUE(op.Redo());
  EXPECT_EQ(journal, (Journal{{"a", 82750}, {"b", 82750}, {"b", 82751}, {"a", 82751}, {"a", 82750}, {"b", 82750}}));

  // Reversed, it is its inverse, delivered in reverse order.
  op.Reverse();
  EXPECT_EQ(op.GetAction(), 82751u);
  journal.clear();
  op.Do();
  EXPECT_EQ(journal, (Journal{{"b", 82751}, {"a", 82751}}));

  op.RemoveObject(&a);
  journal.clear();
  op.Do();
  EXPECT_EQ(journal, (Journal{{"b", 82751}}));

  UIOperation none;  // without an action there is nothing to perform
  none.AddObject(&a);
  journal.clear();
  EXPECT_FALSE(none.Do());
  EXPECT_TRUE(journal.empty());
}

// An object whose one value is set to the action code of every operation it gets, and
// that keeps undo records of the value.
class ValueObject : public UIObject {
public:
  explicit ValueObject(int v) : value(v) {}
  int value;

  bool DoOperation(MOperation& op) override {
    value = int(op.GetAction());
    return true;
  }
  std::unique_ptr<MUndoRecord> CreateUndoRecord(MOperation&) override { return std::make_unique<Record>(value); }

private:
  class Record : public MUndoRecord {
  public:
    explicit Record(int& v) : m_value(v), m_before(v) {}
    void TakeStateAfter() override { m_after = m_value; }
    void RestoreStateBefore() override { m_value = m_before; }
    void RestoreStateAfter() override { m_value = m_after; }

  private:
    int& m_value;
    int m_before, m_after = 0;
  };
};

TEST(Operation, UndoAndRedoRestoreTheObjectsRecordsAndDeliverToObjectsWithout) {
  Journal journal;
  JournalObject plain("plain", journal);
  ValueObject a(5), b(6);
  UIOperation op;
  op.SetAction(82750);
  op.AddObject(&a);
  op.AddObject(&plain);
  op.AddObject(&b);
  ASSERT_TRUE(op.Do());
  EXPECT_EQ(a.value, 82750);
  a.value = 1;  // the next operation is undone first, back to this
  UIOperation next;
  next.SetAction(82753);  // its own inverse: delivering it again would not undo it
  next.AddObject(&a);
  ASSERT_TRUE(next.Do());
  EXPECT_TRUE(next.Undo());
  EXPECT_EQ(a.value, 1);
  EXPECT_TRUE(next.Redo());
  EXPECT_EQ(a.value, 82753);
  EXPECT_TRUE(next.Undo());

  EXPECT_TRUE(op.Undo());
  EXPECT_EQ(a.value, 5);
  EXPECT_EQ(b.value, 6);
  EXPECT_TRUE(op.Redo());
  EXPECT_EQ(a.value, 82750);
  EXPECT_EQ(b.value, 82750);
  // The object without a record got the inverse action, and the action again on redo.
  EXPECT_EQ(journal, (Journal{{"plain", 82750}, {"plain", 82751}, {"plain", 82750}}));

  // What the host changes between Prepare and Do is part of what Undo puts back.
  UIOperation set;
  set.SetAction(7);
  set.AddObject(&a);
  ASSERT_TRUE(set.Prepare());
  a.value = 99;
  ASSERT_TRUE(set.Do());
  EXPECT_TRUE(set.Undo());
  EXPECT_EQ(a.value, 82750);
  // A changed operation has no records: it is undone by its inverse action.
  set.SetAction(8);
  EXPECT_TRUE(set.Undo());
  EXPECT_EQ(a.value, 8);
}

TEST(Operation, InverseActionsComeFromTheTableOfPairsElseTheCodeItself) {
  MOperation plain;
  plain.SetAction(82750);
  EXPECT_EQ(plain.GetInverseAction(), 82750u);  // only UI operations consult the table

  auto inverse = [op = UIOperation()](std::uint32_t action) mutable {
    op.SetAction(action);
    return op.GetInverseAction();
  };
  EXPECT_EQ(inverse(82751), 82750u);
  EXPECT_EQ(inverse(82752), 82752u);
  UIOperation::SetInverseActions(9100, 9101);
  EXPECT_EQ(inverse(9101), 9100u);
  UIOperation::SetInverseActions(9100, 9102);  // re-pairing frees the old partner
  EXPECT_EQ(inverse(9101), 9101u);
  EXPECT_EQ(inverse(9102), 9100u);
  UIOperation::ClearInverseAction(9102);
  EXPECT_EQ(inverse(9102), 9102u);
  EXPECT_EQ(inverse(9100), 9100u);
}

}  // namespace
