// The report of many varied projects, drawn on the screen and on paper through
// the recording surface: no two texts overprint each other, no frame runs
// through a text (the page numbers at the foot of a framed page included) and
// no text leaves the printable area (the image, or the A4 sheet less 5 mm on
// every side).

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "gui_application.h"
#include "layout_faults.h"
#include "recorded_report.h"
#include "report/formatters.h"
#include "report/qt/painter_surface.h"
#include "report/qt/report_output.h"
#include "report/recording_surface.h"
#include "report/report_canvas.h"
#include "report/report_driver.h"
#include "report/report_style.h"
#include "varied_projects.h"

namespace tavilo {
namespace {

using testing::checkTexts;
using testing::Faults;
using testing::InkBox;
using testing::inkBoxOf;
using testing::printed;

// The roof sketch of the detail page (its grey lines) stays inside the page
// frame, the outline 183 mm wide.
void checkSketchInFrame(const RecordingSurface& s, Faults& faults) {
  const int frameWidth = static_cast<int>(183 * s.pixelsPerInch() / 25.4);
  for (const RecordedRect& frame : s.rects()) {
    if (frame.filled || std::abs(frame.right - frame.left - frameWidth) > 2)
      continue;
    for (const RecordedLine& line : s.linesOnPage(frame.page)) {
      for (const PixelPoint& p : line.points) {
        if (line.pen.color == kGreyLineColor &&
            (p.x < frame.left || p.x > frame.right || p.y < frame.top || p.y > frame.bottom)) {
          faults.note(faults.outside, "paper: the roof sketch leaves the frame");
        }
      }
    }
  }
}

Faults layoutFaults(const testing::Sample& sample) {
  Faults faults;
  RecordingSurface screen(72, kScreenImageWidth, 20000);
  {
    ReportCanvas canvas = beginReport(screen, {});
    drawCalculationReport(canvas, sample.outcome);
  }
  checkTexts(screen, "screen", faults);

  const auto paper = printed(sample.outcome, sample.print,
                             "/home/engineer/Documents/構造計算/2024年度/大規模物流倉庫新築工事/"
                             "屋根デッキプレート/" +
                                 sample.path.filename().string());
  checkTexts(*paper, "paper", faults);
  checkSketchInFrame(*paper, faults);
  return faults;
}

TEST(ReportLayout, VariedProjectsPrintWithoutOverprintingOrLeavingThePaper) {
  testing::ensureGuiApplication();
  const std::vector<testing::VariedProject> projects = testing::variedProjects();
  int faulty = 0;
  int overlaps = 0;
  int outside = 0;
  int struck = 0;
  std::ostringstream report;
  for (const testing::VariedProject& p : projects) {
    const Faults faults = layoutFaults(testing::calculateVaried(p));
    overlaps += faults.overlaps;
    outside += faults.outside;
    struck += faults.struck;
    if (faults.overlaps + faults.outside + faults.struck == 0)
      continue;
    ++faulty;
    report << p.description() << "\n";
    for (const std::string& e : faults.examples)
      report << "    " << e << "\n";
  }
  EXPECT_EQ(faulty, 0) << overlaps << " overlapping pairs, " << struck
                       << " texts struck through by a frame and " << outside
                       << " texts or sketches outside, in " << faulty << " of " << projects.size()
                       << " projects\n"
                       << report.str();
}

// A report drawn from the shipped sample tables says so on every printed
// page, beside the page number wherever it stands, and at the end of the
// screen image; loads entered directly take nothing from the tables.
TEST(ReportLayout, SampleSiteDataAreMarkedOnEveryPage) {
  testing::ensureGuiApplication();
  const std::string mark(kSampleSiteDataMark);
  for (const PageNumberPosition position :
       {PageNumberPosition::None, PageNumberPosition::BottomLeft, PageNumberPosition::BottomCentre,
        PageNumberPosition::BottomRight}) {
    testing::Sample sample = testing::calculateSample("heavy-snow-overhangs");
    ASSERT_TRUE(sample.outcome.facts.sampleSiteData);
    sample.print.pageNumberPosition = position;
    const auto paper = printed(sample.outcome, sample.print);
    for (int page = 1; page <= paper->pageCount(); ++page) {
      int marks = 0;
      for (const RecordedText& t : paper->textsOnPage(page)) {
        if (t.text != mark)
          continue;
        ++marks;
        EXPECT_TRUE(t.font.bold);
        EXPECT_GT(t.y, paper->height() - 600 / 25.4 * 12) << "page " << page;
      }
      EXPECT_EQ(marks, 1) << "position " << pageNumberPositionCode(position) << " page " << page;
    }
  }

  RecordingSurface screen(72, kScreenImageWidth, 20000);
  {
    ReportCanvas canvas = beginReport(screen, {});
    drawCalculationReport(canvas, testing::calculateSample("ordinary-3span").outcome);
  }
  const RecordedText* end = screen.findText("－END－");
  const RecordedText* onScreen = screen.findText(mark);
  ASSERT_NE(end, nullptr);
  ASSERT_NE(onScreen, nullptr);
  EXPECT_EQ(onScreen->y, end->y);
  EXPECT_EQ(onScreen->font.color, kFailColor);

  const testing::Sample direct = testing::calculateSample("direct-1span");
  EXPECT_FALSE(direct.outcome.facts.sampleSiteData);
  const auto paper = printed(direct.outcome, direct.print);
  EXPECT_EQ(paper->findText(mark), nullptr);
}

}  // namespace
}  // namespace tavilo
