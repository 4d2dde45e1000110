#pragma once
// An operation of the user interface: undoable, with a name for the undo history. Objects
// that keep no undo record for it are undone through the framework's table of inverse
// actions.
#include "host/framework/MOperation.h"

class VISTAL_HOST_API UIOperation : public MOperation {
public:
  // What a user-interface operation does unless its kind says otherwise: it is undoable,
  // changes the document, may move objects, and every view redraws.
  static constexpr std::uint32_t kDefaultFlags =
      eFlagUndoable | eFlagModifiesDocument | eFlagUpdateBoundingBoxes | eFlagRedrawAllViews;

  UIOperation();
  UIOperation(const UIOperation&) = default;
  UIOperation& operator=(const UIOperation&) = default;
  ~UIOperation() override;

  // Stores the code and resets the flags to kDefaultFlags.
  void SetAction(std::uint32_t action) override;
  // The action paired with this one in the inverse-action table, else the action itself.
  std::uint32_t GetInverseAction() const override;
  // Also writes / reads the operation's name.
  bool Save(std::ostream& os) const override;
  bool Load(std::istream& is) override;

  void SetActionString(const std::wstring& name) { m_action_string = name; }

  // The inverse-action table, process-wide: registering (a, b) makes each the inverse of
  // the other, replacing earlier pairs of either. The table starts with the pairs the
  // application knows: clipping planes added (82750) and removed (82751).
  static void SetInverseActions(std::uint32_t a, std::uint32_t b);
  // Forgets the pair of the action (both directions); no-op when it has none.
  static void ClearInverseAction(std::uint32_t action);

protected:
  std::wstring _GetActionString() const override;

private:
  std::wstring m_action_string;
};
