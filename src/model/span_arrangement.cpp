// The span group of the input screen: one to four span fields built one step
// at a time, the overhang fields, the arrangement picture and the correction
// of the overhang lengths when their fields are left.

#include <string>

#include "calc/numbers.h"
#include "model/input_form.h"

namespace tavilo {
namespace {

constexpr int kMaxOverhangLength = 1000;

}  // namespace

FormEvents InputForm::arrangementChanged() {
  FormEvents out;
  onArrangementChanged(out);
  return out;
}

FormEvents InputForm::leftOverhangExit() {
  FormEvents out;
  if (onOverhangExit(FieldId::LeftOverhang, out)) {
    focus_ = FieldId::LeftOverhang;
  }
  return out;
}

FormEvents InputForm::rightOverhangExit() {
  FormEvents out;
  if (onOverhangExit(FieldId::RightOverhang, out)) {
    focus_ = FieldId::RightOverhang;
  }
  return out;
}

void InputForm::onArrangementChanged(FormEvents& out) {
  const int count = spinValue(FieldId::SpanCount);
  const int code = overhangCode_;

  arrangementPicture_ = std::string(arrangementPictureName(count, code));

  const bool left = overhangOnLeft(code);
  const bool right = overhangOnRight(code);
  state(FieldId::LeftOverhang).visible = left;
  state(FieldId::RightOverhang).visible = right;

  if (count > shownSpanCount_) {
    // A new span starts with the length of the span before it.
    for (int n = shownSpanCount_ + 1; n <= count; ++n) {
      state(spanField(n)).visible = true;
      state(spanField(n)).text = state(spanField(n - 1)).text;
    }
    shownSpanCount_ = count;
    moveFocus(spanField(count), out);
    return;
  }
  shownSpanCount_ = count;
  if (count == 4)
    return;
  for (int n = count + 1; n <= 4; ++n)
    state(spanField(n)).visible = false;
  moveFocus(spanField(count), out);
}

bool InputForm::onOverhangExit(FieldId id, FormEvents& out) {
  // The right overhang may be short (down to 1 mm); the left one needs 200 mm,
  // which the input check before a calculation enforces.
  const bool leftSide = id == FieldId::LeftOverhang;
  const std::string_view rangeText =
      leftSide ? "計算可能な範囲(Min-Max) 200～1000" : "計算可能な範囲(Min-Max) 1～1000";
  const std::string_view replacement = leftSide ? "200" : "250";
  const auto length = parseInteger(text(id));
  if (!length) {
    out.push_back(
        messageEvent(id, "『はね出し』部の値を入力して下さい。 \n" + std::string(rangeText)));
    out.push_back(focusEvent(id));
    assignText(id, std::string(replacement), out);
    return true;
  }
  if (*length > kMaxOverhangLength) {
    out.push_back(messageEvent(id, "計算可能な『はね出し』部の最大値は、1000 mmです"));
    out.push_back(focusEvent(id));
    assignText(id, std::to_string(kMaxOverhangLength), out);
    return true;
  }
  return false;
}

}  // namespace tavilo
