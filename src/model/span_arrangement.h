#pragma once
// The span group of the input screen: one to four span fields built one step
// at a time, the overhang fields, the arrangement picture and the correction
// of the overhang lengths when their fields are left.

#include <string>

#include "calc/codes.h"
#include "model/form_controls.h"

namespace tavilo {

class SpanArrangement {
 public:
  SpanArrangement();

  int overhangCode() const { return overhangCode_; }
  int shownSpanCount() const { return shownSpanCount_; }
  const std::string& arrangementPicture() const { return arrangementPicture_; }

  // The span count or the overhang arrangement changed: the span and
  // overhang fields shown, a new span field filled and focused.
  [[nodiscard]] FormEvents arrangementChanged(FormControls& controls);
  // The overhang list chose an item (0 none, 1 left end).
  [[nodiscard]] FormEvents overhangChosen(FormControls& controls, int itemIndex);
  // Overhang arrangement 0 to 3 (2 and 3 come only from project files; the
  // list then shows "有り"); anything else counts as 0.
  [[nodiscard]] FormEvents setOverhangCode(FormControls& controls, int code);
  // The span count moved to `target` one step at a time, as the arrows would.
  [[nodiscard]] FormEvents stepSpanCountTo(FormControls& controls, int target);
  // The exit rule of an overhang length field: a missing or too long length
  // is corrected with a message, and the field keeps the focus; no events
  // when the field may be left.
  [[nodiscard]] FormEvents overhangExit(FormControls& controls, FieldId id);

 private:
  int overhangCode_ = kOverhangNone;
  int shownSpanCount_ = 1;
  std::string arrangementPicture_;
};

}  // namespace tavilo
