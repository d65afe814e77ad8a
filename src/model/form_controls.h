#pragma once
// The controls of the input screen as the group models see them: each
// control's text, choice, items, hint, enabled and shown state, which groups
// are shown and where the focus stands. The input screen model owns them and
// carries out what a group asks for (a text put into a field with its change
// reaction, a focus move with the exit rule of the control left), so that
// each group's reactions are written once, against this interface.

#include <array>
#include <string>
#include <vector>

#include "model/form_events.h"
#include "model/form_fields.h"

namespace tavilo {

struct FieldState {
  std::string text;
  int index = -1;
  bool enabled = true;
  bool visible = true;
  std::string hint;
  std::vector<std::string> items;
  bool operator==(const FieldState&) const = default;
};

class FormControls {
 public:
  const std::string& text(FieldId id) const;
  int index(FieldId id) const;  // chosen item, -1 for none; 1/0 for options and check boxes
  const std::vector<std::string>& items(FieldId id) const;
  // The integer a spin field holds: its text read as an integer (the minimum
  // when it is not one), brought into the field's range.
  int spinValue(FieldId id) const;
  bool isEnabled(FieldId id) const;
  bool isShown(FieldId id) const;  // the control and every group around it are shown
  bool isGroupShown(Group group) const;
  FieldId focus() const { return focus_; }

  FieldState& state(FieldId id) { return fields_[fieldIndex(id)]; }
  const FieldState& state(FieldId id) const { return fields_[fieldIndex(id)]; }
  void showGroup(Group group, bool shown) { groupShown_[static_cast<std::size_t>(group)] = shown; }

  // A text put into a field, followed by the field's change reaction.
  virtual void assignText(FieldId id, std::string text, FormEvents& out) = 0;
  // A spin value brought into the field's range, then put as its text.
  void putSpinValue(FieldId id, int value, FormEvents& out);
  // The focus moved to a shown, enabled control, once the control losing it
  // lets it go.
  virtual void moveFocus(FieldId id, FormEvents& out) = 0;

 protected:
  FormControls() = default;
  FormControls(const FormControls&) = default;
  FormControls& operator=(const FormControls&) = default;
  ~FormControls() = default;
  bool isScreenField(FieldId id) const { return fieldIndex(id) < kInputScreenFieldCount; }

  std::array<FieldState, kInputScreenFieldCount> fields_;
  std::array<bool, kGroupCount> groupShown_{};
  FieldId focus_ = FieldId::DeckType;
};

inline void append(FormEvents& out, FormEvents more) {
  out.insert(out.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

}  // namespace tavilo
