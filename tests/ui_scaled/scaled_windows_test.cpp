// Every window of the desktop on a screen that is too small for the result
// window: wholly on the screen, its tool bar in reach, the report image drawn
// at the screen's pixel ratio.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "../ui/session_fixture.h"
#include "persistence/settings_folder.h"
#include "ui/auxiliary_windows.h"
#include "ui/desktop.h"
#include "ui/input_screen.h"
#include "ui/print_settings_window.h"
#include "ui/result_window.h"
#include "ui/settings_window.h"
#include "ui/span_table_window.h"

namespace tavilo::ui {
namespace {

using testing::StartedSession;

QRect screenArea() {
  return QGuiApplication::primaryScreen()->availableGeometry();
}

void expectOnScreen(const QWidget& window, const char* name) {
  SCOPED_TRACE(name);
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(screenArea().contains(window.frameGeometry()))
      << window.frameGeometry().x() << "," << window.frameGeometry().y() << " "
      << window.frameGeometry().width() << "x" << window.frameGeometry().height();
}

// The tool bar spans the window and every button of it lies on the screen.
void expectToolBarInReach(const DocumentWindow& window) {
  const QWidget* bar = window.toolBar();
  ASSERT_TRUE(bar->isVisible());
  EXPECT_EQ(bar->geometry(), QRect(0, 0, window.width(), DocumentWindow::kToolBarHeight));
  for (const QPushButton* button : bar->findChildren<QPushButton*>()) {
    if (!button->isVisible())
      continue;
    const QRect global(button->mapToGlobal(QPoint(0, 0)), button->size());
    EXPECT_TRUE(bar->rect().contains(button->geometry())) << button->text().toStdString();
    EXPECT_TRUE(screenArea().contains(global)) << button->text().toStdString();
  }
  // The scroll box takes what is left below the tool bar.
  EXPECT_EQ(window.scrollBox()->geometry(),
            QRect(0, DocumentWindow::kToolBarHeight, window.width(),
                  window.height() - DocumentWindow::kToolBarHeight));
}

class ScaledScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
    ASSERT_EQ(screenArea().size(), QSize(800, 600));
    StartUpOptions options;
    options.splashWait = std::chrono::milliseconds(0);
    options.environment = {started.folder().string(), ""};
    std::ignore = ensureSettingsFolder(options.environment, [] {});
    options.dialogs.askToSaveChanges = [](QWidget*) { return SaveAnswer::kDiscard; };
    desktop = startDesktop(started.session, std::move(options));
  }

  StartedSession started;
  std::unique_ptr<Desktop> desktop;
};

TEST_F(ScaledScreenTest, ResultAndSpanTableWindowsFitTheScreenWithTheirToolBars) {
  InputScreen& screen = desktop->inputScreen();
  std::ignore = started.session.load(std::filesystem::path(TAVILO_SOURCE_DIR) / "examples" /
                                     "heavy-snow-overhangs.tvl");
  screen.calculate();
  ResultWindow& result = desktop->resultWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&result));
  expectOnScreen(result, "result window");
  expectToolBarInReach(result);
  // As wide as the text gives it, as high as the screen allows.
  EXPECT_EQ(result.width(), DocumentWindow::kDocumentClientWidth);
  EXPECT_LT(result.height(), DocumentWindow::kDocumentClientHeight);
  EXPECT_GT(result.height(), 500);
  // The report image has the screen's two pixels per pixel.
  EXPECT_EQ(result.reportImage().devicePixelRatio(), 2.0);
  EXPECT_EQ(result.reportImage().width(), 2 * 565);
  // Its end is still reached by scrolling.
  QScrollBar* bar = result.scrollBox()->verticalScrollBar();
  EXPECT_EQ(bar->maximum(),
            result.reportImage().height() / 2 - result.scrollBox()->viewport()->height());

  desktop->showSpanTable();
  SpanTableWindow& table = desktop->spanTableWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&table));
  expectOnScreen(table, "span table window");
  expectToolBarInReach(table);
  EXPECT_EQ(table.tableImage().devicePixelRatio(), 2.0);
}

TEST_F(ScaledScreenTest, EveryOtherWindowAndDialogLiesOnTheScreen) {
  InputScreen& screen = desktop->inputScreen();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
  // The input screen is as high as the screen: its title bar stays in reach.
  EXPECT_TRUE(screenArea().contains(screen.frameGeometry().topLeft()));

  desktop->settingsWindow().open();
  expectOnScreen(desktop->settingsWindow(), "settings dialog");
  desktop->settingsWindow().hide();

  ASSERT_TRUE(desktop->overviewWindow().showOverview(started.session.folders().data));
  expectOnScreen(desktop->overviewWindow(), "overview");
  desktop->overviewWindow().hide();

  desktop->fireResistanceWindow().showAndFocus();
  expectOnScreen(desktop->fireResistanceWindow(), "fire resistance");
  desktop->fireResistanceWindow().hide();

  testing::MessageLog messages;
  screen.calculate();
  ASSERT_TRUE(messages.texts.isEmpty()) << messages.texts.join("\n").toStdString();
  ResultWindow& result = desktop->resultWindow();
  result.openPrintSettings();
  expectOnScreen(result.printSettingsWindow(), "print settings");
  result.printSettingsWindow().hide();
  result.setEnabled(true);

  bool noticeSeen = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (QWidget* notice = QApplication::activeModalWidget()) {
      poll.stop();
      noticeSeen = true;
      expectOnScreen(*notice, "notice");
      for (QPushButton* b : notice->findChildren<QPushButton*>())
        b->click();
    }
  });
  poll.start(20);
  showNotice(&screen);
  EXPECT_TRUE(noticeSeen);
}

}  // namespace
}  // namespace tavilo::ui
