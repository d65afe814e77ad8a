#pragma once
// The codes that project files and the batch command's JSON store for the
// choices of the program. Inside the program every choice is an enumeration
// or a flag; it becomes a code only where a file is written and is decoded
// where one is read.

#include <optional>
#include <string_view>

#include "calc/codes.h"
#include "calc/load_cases.h"
#include "calc/print_settings.h"

namespace tavilo {

// Roof type: 3 片流れ屋根, 4 切妻屋根, 5 円弧屋根, 6 独立上屋.
int roofTypeCode(RoofType roofType);
std::optional<RoofType> roofTypeFromCode(int code);

// Roof class: 0 pitched, 1 arched, 2 canopy.
int roofClassCode(RoofClass roofClass);

// Wind side: "Ps" positive pressure, "Ms" negative pressure.
std::string_view windSideCode(WindSide side);

// Page numbers: 0 none; 10, 11, 12 top left, centre, right; 20, 21, 22 the
// same at the bottom.
int pageNumberPositionCode(PageNumberPosition position);
std::optional<PageNumberPosition> pageNumberPositionFromCode(int code);

// A flag: 1 or 0.
constexpr int flagCode(bool flag) {
  return flag ? 1 : 0;
}

}  // namespace tavilo
