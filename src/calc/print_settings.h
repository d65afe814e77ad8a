#pragma once
// The print settings of the report: project name box, page numbers. They are
// edited in the print settings dialog and stored in the project file.

#include <string>

namespace tavilo {

inline constexpr const char* kNoProjectName = "件名を入力";

struct PrintSettings {
  std::string projectName = kNoProjectName;  // the default text means "no name box"
  int pageNumberPosition = 0;  // 0 none; 10/11/12 top left/centre/right; 20/21/22 bottom
  int pageNumberStyle = 0;     // 0 "1,2,3･･･", 1 "-1-,-2-,-3-･･･"
  std::string startNumber = "1";
};

}  // namespace tavilo
