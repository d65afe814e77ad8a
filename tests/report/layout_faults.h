#pragma once
// The layout faults of pages drawn through the recording surface: texts that
// overprint each other, texts outside the printable area, frames that run
// through a text. The report's layout test and the verification document's
// pages share it.

#include <string>
#include <vector>

#include "recorded_report.h"
#include "report/recording_surface.h"

namespace tavilo::testing {

struct Faults {
  int overlaps = 0;
  int outside = 0;
  int struck = 0;
  std::vector<std::string> examples;
  void note(int& counter, const std::string& what) {
    ++counter;
    if (examples.size() < 6)
      examples.push_back(what);
  }
};

inline void checkTexts(const RecordingSurface& s, const std::string& pass, Faults& faults) {
  const bool paper = s.pixelsPerInch() != 72;
  for (int page = 1; page <= s.pageCount(); ++page) {
    std::vector<InkBox> boxes;
    for (const RecordedText& t : s.textsOnPage(page)) {
      if (const auto box = inkBoxOf(t, s.pixelsPerInch()))
        boxes.push_back(*box);
    }
    const std::string where = pass + " p" + std::to_string(page) + ": ";
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      const InkBox& a = boxes[i];
      if (a.left < 0 || a.top < 0 || a.right > s.width() || (paper && a.bottom > s.height()))
        faults.note(faults.outside, where + "outside: \"" + a.text + "\"");
      for (std::size_t j = i + 1; j < boxes.size(); ++j) {
        const InkBox& b = boxes[j];
        if (a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
          faults.note(faults.overlaps, where + "\"" + a.text + "\" over \"" + b.text + "\"");
      }
    }
    // A frame keeps every text wholly inside or wholly outside it.
    for (const RecordedRect& r : s.rects()) {
      if (r.filled || r.page != page)
        continue;
      for (const InkBox& a : boxes) {
        const bool acrossRows = a.left < r.right && r.left < a.right;
        const bool acrossColumns = a.top < r.bottom && r.top < a.bottom;
        const auto crosses = [](int low, int high, int edge) { return low < edge && edge < high; };
        if ((acrossRows &&
             (crosses(a.top, a.bottom, r.top) || crosses(a.top, a.bottom, r.bottom))) ||
            (acrossColumns &&
             (crosses(a.left, a.right, r.left) || crosses(a.left, a.right, r.right))))
          faults.note(faults.struck, where + "a frame runs through \"" + a.text + "\"");
      }
    }
  }
}

}  // namespace tavilo::testing
