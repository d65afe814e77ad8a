#include "calc/print_settings.h"

namespace tavilo {

PageEdge pageEdgeOf(PageNumberPosition position) {
  switch (position) {
    case PageNumberPosition::BottomLeft:
    case PageNumberPosition::BottomCentre:
    case PageNumberPosition::BottomRight:
      return PageEdge::Bottom;
    default:
      return PageEdge::Top;
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
