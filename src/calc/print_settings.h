#pragma once
// The print settings of the report: project name box, page numbers. They are
// edited in the print settings dialog and stored in the project file.

#include <array>
#include <string>

namespace tavilo {

inline constexpr const char* kNoProjectName = "件名を入力";

// Where the page numbers stand, in the order of the dialog's option buttons.
enum class PageNumberPosition {
  None,
  TopLeft,
  TopCentre,
  TopRight,
  BottomLeft,
  BottomCentre,
  BottomRight,
};
inline constexpr std::array<PageNumberPosition, 7> kPageNumberPositions = {
    PageNumberPosition::None,       PageNumberPosition::TopLeft,
    PageNumberPosition::TopCentre,  PageNumberPosition::TopRight,
    PageNumberPosition::BottomLeft, PageNumberPosition::BottomCentre,
    PageNumberPosition::BottomRight};

enum class PageEdge { Top, Bottom };
enum class PageColumn { Left, Centre, Right };
// Whether page numbers stand at the edge: never for None.
bool numbersAt(PageNumberPosition position, PageEdge edge);
// The column of a position other than None.
PageColumn pageColumnOf(PageNumberPosition position);

struct PrintSettings {
  std::string projectName = kNoProjectName;  // the default text means "no name box"
  PageNumberPosition pageNumberPosition = PageNumberPosition::None;
  int pageNumberStyle = 0;  // 0 "1,2,3･･･", 1 "-1-,-2-,-3-･･･"
  std::string startNumber = "1";
};

}  // namespace tavilo
