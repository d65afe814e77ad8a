#include "model/span_arrangement.h"

#include <string>

#include "calc/numbers.h"

namespace tavilo {
namespace {

constexpr int kMaxOverhangLength = 1000;

}  // namespace

SpanArrangement::SpanArrangement()
    : arrangementPicture_(arrangementPictureName(1, kOverhangNone)) {}

FormEvents SpanArrangement::arrangementChanged(FormControls& controls) {
  FormEvents out;
  const int count = controls.spinValue(FieldId::SpanCount);
  const int code = overhangCode_;

  arrangementPicture_ = std::string(arrangementPictureName(count, code));

  const bool left = overhangOnLeft(code);
  const bool right = overhangOnRight(code);
  controls.state(FieldId::LeftOverhang).visible = left;
  controls.state(FieldId::RightOverhang).visible = right;

  if (count > shownSpanCount_) {
    // A new span starts with the length of the span before it.
    for (int n = shownSpanCount_ + 1; n <= count; ++n) {
      controls.state(spanField(n)).visible = true;
      controls.state(spanField(n)).text = controls.state(spanField(n - 1)).text;
    }
    shownSpanCount_ = count;
    controls.moveFocus(spanField(count), out);
    return out;
  }
  shownSpanCount_ = count;
  if (count == 4)
    return out;
  for (int n = count + 1; n <= 4; ++n)
    controls.state(spanField(n)).visible = false;
  controls.moveFocus(spanField(count), out);
  return out;
}

FormEvents SpanArrangement::overhangChosen(FormControls& controls, int itemIndex) {
  overhangCode_ = itemIndex;
  return arrangementChanged(controls);
}

FormEvents SpanArrangement::setOverhangCode(FormControls& controls, int code) {
  overhangCode_ = code >= kOverhangNone && code <= kOverhangBoth ? code : kOverhangNone;
  FieldState& list = controls.state(FieldId::Overhang);
  list.index = overhangCode_ == kOverhangNone ? 0 : 1;
  list.text = list.items[static_cast<std::size_t>(list.index)];
  return arrangementChanged(controls);
}

FormEvents SpanArrangement::stepSpanCountTo(FormControls& controls, int target) {
  FormEvents out;
  for (int current = controls.spinValue(FieldId::SpanCount); current != target;
       current += current < target ? 1 : -1) {
    controls.state(FieldId::SpanCount).text =
        std::to_string(current < target ? current + 1 : current - 1);
    append(out, arrangementChanged(controls));
  }
  return out;
}

FormEvents SpanArrangement::overhangExit(FormControls& controls, FieldId id) {
  FormEvents out;
  // The right overhang may be short (down to 1 mm); the left one needs 200 mm,
  // which the input check before a calculation enforces.
  const bool leftSide = id == FieldId::LeftOverhang;
  const std::string_view rangeText =
      leftSide ? "計算可能な範囲(Min-Max) 200～1000" : "計算可能な範囲(Min-Max) 1～1000";
  const std::string_view replacement = leftSide ? "200" : "250";
  const auto length = parseInteger(controls.text(id));
  if (!length) {
    out.push_back(
        messageEvent(id, "『はね出し』部の値を入力して下さい。 \n" + std::string(rangeText)));
    out.push_back(focusEvent(id));
    controls.assignText(id, std::string(replacement), out);
    return out;
  }
  if (*length > kMaxOverhangLength) {
    out.push_back(messageEvent(id, "計算可能な『はね出し』部の最大値は、1000 mmです"));
    out.push_back(focusEvent(id));
    controls.assignText(id, std::to_string(kMaxOverhangLength), out);
  }
  return out;
}

}  // namespace tavilo
