// The terminal summary of tavilo-calc and the printed report never disagree:
// σ, δ and the deflection limits read the same in both, for many projects.

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "../report/varied_projects.h"
#include "app/batch_command.h"
#include "report/recording_surface.h"
#include "report/report_canvas.h"
#include "report/report_driver.h"

namespace tavilo {
namespace {

// The groups of every match of the pattern in the lines, in order.
std::vector<std::string> values(const std::vector<std::string>& lines, const std::string& pattern) {
  std::vector<std::string> found;
  const std::regex re(pattern);
  for (const std::string& line : lines) {
    std::smatch m;
    if (std::regex_search(line, m, re)) {
      for (std::size_t i = 1; i < m.size(); ++i) {
        if (m[i].matched)
          found.push_back(m[i]);
      }
    }
  }
  return found;
}

// The report's lines: every text, with the pieces that continue a line joined to it.
std::vector<std::string> reportLines(const CalculationOutcome& outcome) {
  RecordingSurface screen(72, 565, 20000);
  ReportCanvas canvas = beginReport(screen, {});
  drawCalculationReport(canvas, outcome);
  std::vector<std::string> lines;
  const RecordedText* before = nullptr;
  for (const RecordedText& t : screen.texts()) {
    if (before != nullptr && t.y == before->y && t.x == before->endX)
      lines.back() += t.text;
    else
      lines.push_back(t.text);
    before = &t;
  }
  return lines;
}

TEST(SummaryAndReport, ChecksReadTheSameOnTheTerminalAndInTheReport) {
  const std::vector<testing::VariedProject> projects = testing::variedProjects();
  int compared = 0;
  for (std::size_t i = 0; i < projects.size(); i += 3) {
    SCOPED_TRACE(projects[i].description());
    const testing::Sample sample = testing::calculateVaried(projects[i]);
    std::vector<std::string> summary;
    std::istringstream text(summaryText(sample.outcome, sample.path));
    for (std::string line; std::getline(text, line);)
      summary.push_back(line);
    const std::vector<std::string> report = reportLines(sample.outcome);

    EXPECT_EQ(values(summary, R"(応力度 σ = (\S+) N)"),
              values(report, R"(^σ= Mmax/Z = \S+ = (\S+?)[ <>])"));
    const std::vector<std::string> deflections =
        values(summary, R"(たわみ δ = (\S+) mm [<>] L/(\S+) = (\S+) mm)");
    EXPECT_EQ(deflections, values(report, R"(^最大たわみδmax = *(\S+) [<>] L/ *(\S+) = *(\S+)㎜)"));
    EXPECT_EQ(values(summary, R"(: σ = (\S+) N/mm² \S+, δ = (\S+) mm)"),
              values(report, R"(^(?:σ= M/Z = \S+ = (\S+?)|たわみδ = (\S+)) [<>])"));
    compared += static_cast<int>(deflections.size());
  }
  EXPECT_GT(compared, 300);
}

}  // namespace
}  // namespace tavilo
