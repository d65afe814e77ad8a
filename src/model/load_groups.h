#pragma once
// The load groups of the input screen: the finishing and live loads, and the
// wind and snow loads entered directly. The calculation method decides which
// layout the screen takes: wind and snow derived from the site, or the direct
// load group in their place.

#include "model/form_controls.h"

namespace tavilo {

class LoadGroups {
 public:
  int layoutMethod() const { return layoutMethod_; }
  const ScreenLayout& layout() const { return layoutFor(layoutMethod_); }
  bool directLoads() const { return layoutMethod_ == 1; }

  // Switches to the layout of the calculation method (0 or 1); a control
  // that has just been hidden gives the focus to the deck type.
  [[nodiscard]] FormEvents setLayout(FormControls& controls, int calcMethod);

 private:
  int layoutMethod_ = 0;
};

}  // namespace tavilo
