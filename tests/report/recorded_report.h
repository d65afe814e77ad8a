#pragma once
// The report as the recording surface keeps it, for the layout tests: where
// the ink of a recorded text lies, and the report printed onto an A4 PDF page.

#include <QRect>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "report/formatters.h"
#include "report/qt/painter_surface.h"
#include "report/recording_surface.h"
#include "report/report_canvas.h"
#include "report/report_driver.h"

namespace tavilo::testing {

struct InkBox {
  int left, top, right, bottom;
  std::string text;
};

// Where the ink of a text lies: its extent without leading and trailing
// blanks (half-width or ideographic), one em high, by the recording
// surface's width rule.
inline std::optional<InkBox> inkBoxOf(const RecordedText& t, int ppi) {
  std::string_view ink = t.text;
  std::size_t lead = 0;
  for (bool trimmed = true; trimmed;) {
    trimmed = false;
    for (const std::string_view blank : {" ", "　"}) {
      if (ink.starts_with(blank)) {
        ink.remove_prefix(blank.size());
        lead += blank.size();
        trimmed = true;
      }
      if (ink.ends_with(blank)) {
        ink.remove_suffix(blank.size());
        trimmed = true;
      }
    }
  }
  if (ink.empty())
    return std::nullopt;
  const auto width = [&](std::string_view text) {
    return shiftJisByteCount(text) * t.font.sizePt * ppi / 72 / 2;
  };
  const int left = t.x + width(std::string_view(t.text).substr(0, lead));
  return InkBox{left, t.y, t.x + width(std::string_view(t.text).substr(0, lead + ink.size())),
                t.y + (t.font.sizePt * ppi + 36) / 72, t.text};
}

// The report printed onto the printable area of an A4 PDF page at 600 dpi.
inline std::unique_ptr<RecordingSurface> printed(const CalculationOutcome& outcome,
                                                 const PrintSettings& print,
                                                 std::string projectFilePath = {}) {
  const QRect area = a4PrintableArea(600);
  auto paper = std::make_unique<RecordingSurface>(600, area.width(), area.height());
  ReportSetup setup;
  setup.device = ReportDevice::kPrinter;
  setup.printSettings = print;
  setup.projectFilePath = std::move(projectFilePath);
  ReportCanvas canvas = beginReport(*paper, std::move(setup));
  drawCalculationReport(canvas, outcome);
  return paper;
}

}  // namespace tavilo::testing
