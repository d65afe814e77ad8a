#pragma once
// The deck group of the input screen: deck type, surface treatment, unit
// weight and the joints at the ends and at intermediate supports. The unit
// weight follows the catalogue, or the user where the treatment is "他".

#include "model/form_controls.h"

namespace tavilo {

struct DeckAndJoints {
  // Whether the unit weight field takes typing: only for the treatment "他".
  static bool unitWeightTyped(const FormControls& controls);
  // The deck type or the surface treatment changed: the catalogue's unit
  // weight, or an empty field that takes the focus.
  [[nodiscard]] static FormEvents unitWeightChanged(FormControls& controls);
};

}  // namespace tavilo
