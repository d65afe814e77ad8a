#pragma once
// What a reaction of the input screen or the settings dialog asks its caller
// to do: show a message, or move the input focus to a control. The model
// never shows anything itself; the window shows a message box, the batch tool
// prints the text.

#include <string>
#include <utility>
#include <vector>

#include "model/form_fields.h"

namespace tavilo {

struct FormEvent {
  enum class Kind { Message, Focus };

  Kind kind = Kind::Message;
  FieldId field = FieldId::None;  // the control concerned, None for the window
  std::string text;               // the message; empty for a focus move

  bool operator==(const FormEvent&) const = default;
};

using FormEvents = std::vector<FormEvent>;

inline FormEvent messageEvent(FieldId field, std::string text) {
  return {FormEvent::Kind::Message, field, std::move(text)};
}
inline FormEvent focusEvent(FieldId field) {
  return {FormEvent::Kind::Focus, field, {}};
}

}  // namespace tavilo
