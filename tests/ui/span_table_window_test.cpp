// "スパン表" from the result window: the table of the report shown, in its
// own window that prints and saves like the report.

#include "ui/span_table_window.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <string>

#include "session_fixture.h"
#include "ui/desktop.h"
#include "ui/result_window.h"

namespace tavilo::ui {
namespace {

namespace fs = std::filesystem;

std::string pdfText(const fs::path& pdf) {
  std::string text;
  FILE* pipe = popen(("pdftotext '" + pdf.string() + "' - 2>/dev/null").c_str(), "r");
  if (pipe == nullptr)
    return text;
  char buffer[4096];
  while (const std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
    text.append(buffer, n);
  pclose(pipe);
  return text;
}

QPushButton* commandOf(QWidget& window, const QString& caption) {
  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    if (button->text() == caption)
      return button;
  }
  return nullptr;
}

TEST(SpanTableWindow, ShowsTheTableOfTheReportShownAndSavesItAsPdf) {
  testing::StartedSession started;
  testing::MessageLog messages;
  const fs::path pdf = started.folder() / "table.pdf";
  ResultWindowDialogs dialogs;
  dialogs.choosePdfFile = [&pdf](QWidget*, const fs::path&) { return std::optional(pdf); };
  Desktop desktop(started.session, InputScreenDialogs{}, dialogs);
  const fs::path project = fs::path(TAVILO_SOURCE_DIR) / "examples" / "heavy-snow-overhangs.tvl";
  ASSERT_TRUE(started.session.load(project).completed());
  desktop.inputScreen().calculate();
  ASSERT_TRUE(desktop.resultWindow().isVisible());

  QPushButton* spanTable = commandOf(desktop.resultWindow(), QStringLiteral("スパン表"));
  ASSERT_NE(spanTable, nullptr);
  QTest::mouseClick(spanTable, Qt::LeftButton);
  SpanTableWindow& window = desktop.spanTableWindow();
  ASSERT_TRUE(window.isVisible()) << messages.texts.join("\n").toStdString();
  ASSERT_TRUE(window.table());
  const DesignConditions& c = started.session.lastOutcome()->conditions;
  const SpanTableCell& own = window.table()->cell(c.deckType, c.spanCount);
  EXPECT_TRUE(own.isProject);
  ASSERT_TRUE(own.span);
  EXPECT_GE(*own.span, c.spanLengths[0]) << "the project's own span passes, so the longest does";
  EXPECT_EQ(window.tableImage().width(), 565);

  QTest::mouseClick(window.pdfButton(), Qt::LeftButton);
  ASSERT_TRUE(fs::exists(pdf)) << messages.texts.join("\n").toStdString();
  if (std::system("command -v pdftotext >/dev/null 2>&1") == 0) {
    EXPECT_NE(pdfText(pdf).find("スパン表"), std::string::npos);
  }

  QTest::mouseClick(desktop.resultWindow().closeButton(), Qt::LeftButton);
  EXPECT_FALSE(window.isVisible()) << "back at the input screen the table is put away";
  EXPECT_EQ(proposedSpanTablePdfPath(project, "/docs"),
            project.parent_path() / "heavy-snow-overhangs_スパン表.pdf");
}

}  // namespace
}  // namespace tavilo::ui
