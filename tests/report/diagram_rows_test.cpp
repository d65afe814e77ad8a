// The values of the load-case blocks of many varied projects, on the screen
// and on paper: every value stays in the band of its own row (the moments at
// the supports, then the deflections, then the shears, each row below the
// one before by at least the distance the rows are laid out with), the
// largest span moment stays 9 mm above the axis (5 mm for a sagging one),
// and no line of a diagram runs through a value.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "calc/case_titles.h"
#include "gui_application.h"
#include "recorded_report.h"
#include "report/diagram_section.h"
#include "report/label_layout.h"
#include "varied_projects.h"

namespace tavilo {
namespace {

using testing::InkBox;
using testing::inkBoxOf;

struct RowFaults {
  int rows = 0;     // a value in another row's band
  int largest = 0;  // a largest span moment nearer the axis than its place
  int crossed = 0;  // a line through a value
  int values = 0;   // values looked at
  std::vector<std::string> examples;
  void note(int& counter, const std::string& what) {
    ++counter;
    if (examples.size() < 30)
      examples.push_back(what);
  }
};

// The values of one block in the order the block draws them, row by row: the
// load figure's, the largest moment of every span, the moments at the ends of
// every span and at the overhang roots, the deflections of the spans and
// overhangs, and the shears at both ends of every span and at a left
// overhang's root. The rows below the axis stand beside their captions.
struct BlockValues {
  std::string label;
  double axisMm = 0;
  int deflectionCaption = 0;  // tops of the captions, device pixels
  int shearCaption = 0;
  std::vector<RecordedText> moments;  // at the supports, below the axis
  std::vector<RecordedText> largest;  // largest span moments, above it
  std::vector<bool> hogging;          // per span: the largest moment is positive
  std::vector<RecordedText> deflections;
  std::vector<RecordedText> shears;
  std::vector<RecordedText> all;  // every value, loads included
};

bool isCaption(const std::string& text) {
  return text == "応力図" || text == "Ｍ[kN･m]" || text == "(Ｑ[kN])" || text == "δ[mm]";
}

std::vector<BlockValues> blockValues(const RecordingSurface& s, const CalculationOutcome& o) {
  const bool screen = s.pixelsPerInch() == 72;
  const double k = s.pixelsPerInch() / 25.4;
  const std::vector<RecordedText> texts = s.textsOnPage(s.pageCount());
  const DesignConditions& c = o.conditions;
  const int spans = c.spanCount;
  const int overhangs = (c.leftOverhang > 0 ? 1 : 0) + (c.rightOverhang > 0 ? 1 : 0);
  const std::size_t shearCount = static_cast<std::size_t>(2 * spans + (c.leftOverhang > 0));
  const std::size_t deflectionCount = static_cast<std::size_t>(spans + overhangs);
  const std::size_t momentCount = static_cast<std::size_t>(3 * spans + overhangs);

  std::vector<std::size_t> titles;
  std::size_t from = 0;
  for (const DiagramBlock& block : o.diagrams.blocks) {
    const std::string title =
        screen ? blockTitleLine(diagramTitle(block.analysis)) : "■" + diagramTitle(block.analysis);
    while (from < texts.size() && texts[from].text != title)
      ++from;
    titles.push_back(from);
  }
  std::vector<BlockValues> result;
  for (std::size_t b = 0; b < titles.size(); ++b) {
    const std::size_t end = b + 1 < titles.size() ? titles[b + 1] : texts.size();
    BlockValues v;
    v.label = diagramTitle(o.diagrams.blocks[b].analysis);
    for (std::size_t i = titles[b]; i < end; ++i) {
      if (texts[i].text == "Ｍ[kN･m]")
        v.axisMm = std::round(texts[i].y / k - (screen ? 5.0 : 4.5));
      if (texts[i].text == "δ[mm]")
        v.deflectionCaption = texts[i].y;
      if (texts[i].text == "(Ｑ[kN])")
        v.shearCaption = texts[i].y;
    }
    for (std::size_t i = titles[b] + 1; i < end; ++i) {
      const RecordedText& t = texts[i];
      const double yMm = t.y / k;
      if (isCaption(t.text) || yMm < v.axisMm - 24 || yMm > v.axisMm + 30 || t.text == "－END－" ||
          t.text == kSampleSiteDataMark)
        continue;
      v.all.push_back(t);
    }
    const auto take = [&](std::vector<RecordedText>& row, std::size_t count, std::size_t& from) {
      row.assign(v.all.begin() + static_cast<std::ptrdiff_t>(from),
                 v.all.begin() + static_cast<std::ptrdiff_t>(from + count));
      from += count;
    };
    const std::size_t values = momentCount + deflectionCount + shearCount;
    if (v.all.size() < values)
      continue;
    std::size_t from = v.all.size() - values;
    take(v.largest, static_cast<std::size_t>(spans), from);
    take(v.moments, momentCount - static_cast<std::size_t>(spans), from);
    take(v.deflections, deflectionCount, from);
    take(v.shears, shearCount, from);
    for (int i = 0; i < spans; ++i)
      v.hogging.push_back(
          o.diagrams.blocks[b].analysis.spanDesignMoments[static_cast<std::size_t>(i)] > 0);
    result.push_back(std::move(v));
  }
  return result;
}

// Whether the segment from a to b passes through the digits of the value: its
// box less a margin, so that a line that only touches the em of a value,
// above or below its digits (a sixth of the em each), is clear.
bool crosses(PixelPoint a, PixelPoint b, const InkBox& box) {
  const int insetY = (box.bottom - box.top) / 6;
  return segmentCrosses(a, b, {box.left + 1, box.top + insetY, box.right - 1, box.bottom - insetY});
}

void checkBlocks(const RecordingSurface& s, const CalculationOutcome& o, const std::string& pass,
                 RowFaults& faults) {
  const double k = s.pixelsPerInch() / 25.4;
  const auto px = [&](double mm) { return static_cast<int>(mm * k); };
  const std::vector<RecordedLine> lines = s.linesOnPage(s.pageCount());
  for (const BlockValues& v : blockValues(s, o)) {
    const std::string where =
        pass + " block at " + std::to_string(static_cast<int>(v.axisMm)) + " mm: ";
    faults.values += static_cast<int>(v.all.size());
    // The rows stand beside their captions: a deflection's first line 2 mm
    // above its caption on the screen (0.5 mm on paper), a shear's level with
    // its own. The support moments keep above the deflections' first line by
    // the 3 mm the rows are laid out with, a deflection wholly above the
    // shears' first line, a shear at or below it.
    const bool screen = s.pixelsPerInch() == 72;
    const int deflectionLine = v.deflectionCaption - px(screen ? 2 : 0.5);
    const int shearLine = v.shearCaption;
    for (const RecordedText& t : v.moments) {
      if (t.y < px(v.axisMm) || t.y > deflectionLine - px(3) + 1)
        faults.note(faults.rows, where + "the moment \"" + t.text + "\" outside its row");
    }
    for (const RecordedText& t : v.deflections) {
      const auto box = inkBoxOf(t, s.pixelsPerInch());
      if (t.y < deflectionLine - 1 || (box && box->bottom > shearLine + 1))
        faults.note(faults.rows, where + "the deflection \"" + t.text + "\" outside its row");
    }
    for (const RecordedText& t : v.shears) {
      if (t.y < shearLine - 1)
        faults.note(faults.rows, where + "the shear \"" + t.text + "\" outside its row");
    }
    for (std::size_t i = 0; i < v.largest.size(); ++i) {
      const double place = v.hogging[i] ? 9 : 5;
      if (v.largest[i].y > px(v.axisMm - place) + 1)
        faults.note(faults.largest, where + "\"" + v.largest[i].text + "\" " +
                                        std::to_string(v.axisMm - v.largest[i].y / k) +
                                        " mm above the axis");
    }
    for (const RecordedText& t : v.all) {
      const auto box = inkBoxOf(t, s.pixelsPerInch());
      if (!box)
        continue;
      for (const RecordedLine& line : lines) {
        for (std::size_t i = 0; i + 1 < line.points.size(); ++i) {
          if (crosses(line.points[i], line.points[i + 1], *box)) {
            faults.note(faults.crossed, where + "a line through \"" + t.text + "\" at " +
                                            std::to_string(t.x) + "," + std::to_string(t.y) +
                                            " from " + std::to_string(line.points[i].x) + "," +
                                            std::to_string(line.points[i].y) + " to " +
                                            std::to_string(line.points[i + 1].x) + "," +
                                            std::to_string(line.points[i + 1].y) + " colour " +
                                            std::to_string(line.pen.color.red));
            i = line.points.size();
          }
        }
      }
    }
  }
}

// Under the load arrows of an uplift block the largest span moments keep
// their 9 mm above the axis: the arrows move up out of their way, and the
// curve below them stays clear of their digits (the check above).
TEST(DiagramRows, LargestMomentsOfUpliftBlocksStandNineMillimetresAboveTheAxis) {
  testing::ensureGuiApplication();
  int checked = 0;
  for (const char* name : {"ordinary-3span", "direct-1span", "heavy-snow-overhangs"}) {
    const testing::Sample sample = testing::calculateSample(name);
    RecordingSurface screen(72, kScreenImageWidth, 20000);
    {
      ReportCanvas canvas = beginReport(screen, {});
      drawCalculationReport(canvas, sample.outcome);
    }
    const auto paper = testing::printed(sample.outcome, sample.print);
    for (const RecordingSurface* s : {&screen, paper.get()}) {
      const double k = s->pixelsPerInch() / 25.4;
      for (const BlockValues& v : blockValues(*s, sample.outcome)) {
        if (v.label.find("負圧") == std::string::npos)
          continue;
        for (std::size_t i = 0; i < v.largest.size(); ++i) {
          if (!v.hogging[i])
            continue;
          EXPECT_NEAR(v.axisMm - v.largest[i].y / k, 9.0, 1 / k)
              << name << " " << v.label << " \"" << v.largest[i].text << "\" at "
              << s->pixelsPerInch() << " dpi";
          ++checked;
        }
      }
    }
  }
  EXPECT_GT(checked, 6);
}

TEST(DiagramRows, EveryValueKeepsToItsRowAndNoLineRunsThroughIt) {
  testing::ensureGuiApplication();
  const std::vector<testing::VariedProject> projects = testing::variedProjects();
  RowFaults faults;
  std::ostringstream report;
  int faulty = 0;
  for (const testing::VariedProject& p : projects) {
    const testing::Sample sample = testing::calculateVaried(p);
    const RowFaults before = faults;
    RecordingSurface screen(72, kScreenImageWidth, 20000);
    {
      ReportCanvas canvas = beginReport(screen, {});
      drawCalculationReport(canvas, sample.outcome);
    }
    checkBlocks(screen, sample.outcome, "screen", faults);
    checkBlocks(*testing::printed(sample.outcome, sample.print), sample.outcome, "paper", faults);
    if (faults.rows + faults.largest + faults.crossed ==
        before.rows + before.largest + before.crossed)
      continue;
    ++faulty;
    report << p.description() << "\n";
  }
  EXPECT_GT(faults.values, 240 * 2 * 4 * 8);
  EXPECT_EQ(faulty, 0) << faults.rows << " values in another row's band, " << faults.largest
                       << " largest span moments below their place, " << faults.crossed
                       << " values crossed by a line, in " << faulty << " of " << projects.size()
                       << " projects; for example\n"
                       <<
      [&] {
        std::string e;
        for (const std::string& x : faults.examples)
          e += "    " + x + "\n";
        return e;
      }() << report.str();
}

}  // namespace
}  // namespace tavilo
