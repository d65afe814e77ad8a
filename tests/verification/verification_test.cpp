// The verification document as the test suite sees it: every row agrees
// within its tolerance, the committed Markdown holds exactly the values of
// this build, a wrong formula is caught, and the pages print without
// overprinting or leaving the paper.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "../report/layout_faults.h"
#include "calc/beam_solver.h"
#include "calc/catalogue.h"
#include "report/qt/painter_surface.h"
#include "report/recording_surface.h"
#include "report/report_canvas.h"
#include "report/report_passes.h"
#include "verification_document.h"
#include "verification_pages.h"

namespace tavilo {
namespace {

using verification::Document;
using verification::Row;

const std::filesystem::path kSource(TAVILO_SOURCE_DIR);

const Document& document() {
  static const Document built = verification::buildDocument(TAVILO_VERSION, kSource);
  return built;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(VerificationDocument, EveryRowAgreesWithinItsTolerance) {
  int rows = 0;
  for (const auto& section : document().sections) {
    EXPECT_FALSE(section.cases.empty()) << section.heading;
    for (const auto& c : section.cases) {
      for (const Row& row : c.rows) {
        ++rows;
        EXPECT_TRUE(row.agrees) << section.heading << " / " << c.title << " / " << row.item
                                << ": reference " << row.reference << ", Tavilo " << row.program;
      }
    }
  }
  EXPECT_EQ(document().summary().rows, rows);
  EXPECT_GT(rows, 150);
  EXPECT_EQ(document().sections.size(), 5u);
}

// The committed document cannot drift from the program: any value that
// moved shows as a line that differs. Regenerate with
// scripts/generate-verification after a change meant to move results.
TEST(VerificationDocument, TheCommittedMarkdownHoldsTheValuesOfThisBuild) {
  const std::string committed = readFile(kSource / "docs" / "verification.md");
  const std::string generated = verification::markdownOf(document());
  if (committed == generated)
    return;
  std::istringstream a(committed), b(generated);
  std::string left, right;
  for (int line = 1;; ++line) {
    const bool moreLeft = static_cast<bool>(std::getline(a, left));
    const bool moreRight = static_cast<bool>(std::getline(b, right));
    if (!moreLeft && !moreRight)
      break;
    if (left != right || moreLeft != moreRight) {
      ADD_FAILURE() << "docs/verification.md line " << line << " differs:\n  committed: " << left
                    << "\n  this build: " << right;
      return;
    }
  }
}

TEST(VerificationDocument, AWrongFormulaMakesItsRowFail) {
  // The simple span of the document: 5wL⁴/384EI against the beam kernel.
  BeamModel m;
  m.memberCount = 1;
  m.spans[0] = 2500;
  m.area[0] = 978.4;
  m.inertia[0] = kDeckSections[0].inertiaCm4 * 10000;
  m.lineLoads[0] = -1.0;
  const double ei = 205000 * m.inertia[0];
  const double program = spanDeflection(m, analyseBeam(m), 0, 1.0, false).deflection;
  const auto rounded = [](double d) { return std::ceil(d * 10000 - 1e-9) / 10000; };

  const double right = verification::closed::simpleSpanDeflection(1.0, 2500, ei);
  EXPECT_TRUE(verification::closedFormRow("δ", "", rounded(right), program, 4).agrees);
  const double wrong = 5 * std::pow(2500.0, 4) / (385 * ei);
  const Row caught = verification::closedFormRow("δ", "", rounded(wrong), program, 4);
  EXPECT_FALSE(caught.agrees);
  EXPECT_GT(caught.relativeDifference, 1e-3);

  // One such row fails the whole document, and the summary says so.
  Document broken = document();
  broken.sections[1].cases[0].rows.push_back(caught);
  EXPECT_EQ(broken.summary().disagreeing, 1);
  EXPECT_NE(verification::markdownOf(broken), verification::markdownOf(document()));

  // A worked example's figure must be repeated to its last printed digit.
  EXPECT_TRUE(verification::printedRow("Er", "", "0.83021", 0.83021).agrees);
  EXPECT_FALSE(verification::printedRow("Er", "", "0.83021", 0.83022).agrees);
  EXPECT_FALSE(verification::verdictRow("σ", "", true, false).agrees);
}

// A formula such as θ=⌊atan(|H2−H1|/D)⌋ holds the table's own separator.
TEST(VerificationDocument, MarkdownTablesKeepTheirColumnsWhateverACellHolds) {
  Document d;
  d.version = "9.9";
  verification::Case c;
  c.title = "試験";
  c.source = "手計算";
  c.rows = {verification::closedFormRow("θ", "⌊atan(|H2−H1|/D)⌋", 14, 14, 0, "°"),
            verification::textRow("|a|", "b\nc", "x", "x")};
  d.sections = {{"1. 試験", "説明", {c}}};
  std::istringstream lines(verification::markdownOf(d));
  int rows = 0;
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("| θ") && !line.starts_with("| \\|a"))
      continue;
    ++rows;
    int separators = 0;
    for (std::size_t i = 0; i < line.size(); ++i)
      separators += line[i] == '|' && (i == 0 || line[i - 1] != '\\');
    EXPECT_EQ(separators, 8) << line;
  }
  EXPECT_EQ(rows, 2);
}

TEST(VerificationPages, PrintWithoutOverprintingOrLeavingThePaper) {
  const QRect area = a4PrintableArea(kPdfResolution);
  RecordingSurface paper(kPdfResolution, area.width(), area.height());
  ReportSetup setup;
  setup.device = ReportDevice::kPrinter;
  setup.printSettings.pageNumberPosition = PageNumberPosition::BottomCentre;
  drawPrintPass(paper, setup, [](ReportCanvas& canvas) {
    verification::drawVerificationPages(canvas, document());
  });
  testing::Faults faults;
  testing::checkTexts(paper, "verification", faults);
  EXPECT_EQ(faults.overlaps + faults.outside + faults.struck, 0)
      << ::testing::PrintToString(faults.examples);
  EXPECT_GE(paper.pageCount(), 5);
  bool titled = false;
  for (const RecordedText& t : paper.textsOnPage(1))
    titled = titled || t.text == verification::kDocumentTitle;
  EXPECT_TRUE(titled);
}

}  // namespace
}  // namespace tavilo
