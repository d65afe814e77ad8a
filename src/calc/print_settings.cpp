#include "calc/print_settings.h"

namespace tavilo {

bool numbersAt(PageNumberPosition position, PageEdge edge) {
  switch (position) {
    case PageNumberPosition::None:
      return false;
    case PageNumberPosition::TopLeft:
    case PageNumberPosition::TopCentre:
    case PageNumberPosition::TopRight:
      return edge == PageEdge::Top;
    default:
      return edge == PageEdge::Bottom;
  }
}

PageColumn pageColumnOf(PageNumberPosition position) {
  switch (position) {
    case PageNumberPosition::TopCentre:
    case PageNumberPosition::BottomCentre:
      return PageColumn::Centre;
    case PageNumberPosition::TopRight:
    case PageNumberPosition::BottomRight:
      return PageColumn::Right;
    default:
      return PageColumn::Left;
  }
}

}  // namespace tavilo
