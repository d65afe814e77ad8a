#pragma once
// How many spans the prepared conditions hold and which overhangs they have,
// as the analysis and the diagram section read them.

#include <algorithm>
#include <cstddef>

#include "calc/design_conditions.h"

namespace tavilo {

inline std::size_t spanSlots(const DesignConditions& c) {
  return static_cast<std::size_t>(std::clamp(c.spanCount, 1, kMaxSpans));
}

inline bool hasLeftOverhang(const DesignConditions& c) {
  return c.leftOverhang > 0;
}

inline bool hasRightOverhang(const DesignConditions& c) {
  return c.rightOverhang > 0;
}

}  // namespace tavilo
