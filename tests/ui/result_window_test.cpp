// The result window with the report of a real calculation.

#include "ui/result_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "session_fixture.h"

namespace tavilo::ui {
namespace {

using testing::StartedSession;

const QColor kReportGround(230, 237, 240);

class ResultWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const CalculateResult result = started.session.calculate();
    ASSERT_TRUE(result.outcome.has_value());
    window.showOutcome(*result.outcome);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  // Wheel notches over the report; negative turns it towards the user. A
  // synthesized wheel event does not travel up from the image, so it goes to
  // the scroll box's viewport, where the image's own wheel events end up.
  void turnWheel(int notches) {
    QWidget* viewport = window.scrollBox()->viewport();
    const QPointF at(100, 100);
    QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
  }

  static bool isBlank(const QImage& image) {
    QImage blank(image.size(), image.format());
    blank.fill(kReportGround);
    return image == blank;
  }

  StartedSession started;
  ResultWindow window{started.session, ResultWindowDialogs{}};
};

TEST_F(ResultWindowTest, ShowsTheReportAndScrollsOneNotchBy120Pixels) {
  EXPECT_EQ(window.windowTitle(), "Tavilo for Win [計算結果の表示]");
  EXPECT_EQ(window.size(), QSize(582, 698));
  EXPECT_EQ(window.scrollBox()->geometry(), QRect(0, 25, 582, 673));
  EXPECT_EQ(window.reportImage().width(), 565);
  EXPECT_GE(window.reportImage().height(), 3350);
  EXPECT_FALSE(isBlank(window.reportImage()));

  // "プレビュー" and "PDF保存" stand in the spacer, which keeps its place.
  const std::vector<std::pair<QPushButton*, QRect>> toolBar = {
      {window.printButton(), QRect(0, 0, 100, 24)},
      {window.closeButton(), QRect(100, 0, 100, 24)},
      {window.spacer(), QRect(200, 0, 122, 24)},
      {window.previewButton(), QRect(322, 0, 80, 24)},
      {window.pdfButton(), QRect(402, 0, 80, 24)},
      {window.printSettingsButton(), QRect(482, 0, 100, 24)}};
  for (const auto& [button, place] : toolBar) {
    EXPECT_EQ(button->geometry(), place) << button->text().toStdString();
    EXPECT_EQ(button->isEnabled(), button != window.spacer()) << button->text().toStdString();
  }

  QScrollBar* bar = window.scrollBox()->verticalScrollBar();
  EXPECT_EQ(bar->value(), 0);
  turnWheel(-1);
  EXPECT_EQ(bar->value(), 120);
  turnWheel(-2);
  EXPECT_EQ(bar->value(), 360);
  turnWheel(1);
  EXPECT_EQ(bar->value(), 240);
}

TEST_F(ResultWindowTest, CloseButtonErasesTheReportTheTitleBarKeepsIt) {
  QSignalSpy closed(&window, &ResultWindow::closed);
  const QImage report = window.reportImage();

  window.close();  // the title bar's close box
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(closed.count(), 1);
  EXPECT_EQ(window.reportImage(), report);

  window.show();
  QTest::mouseClick(window.closeButton(), Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(closed.count(), 2);
  EXPECT_EQ(window.reportImage().size(), report.size());
  EXPECT_TRUE(isBlank(window.reportImage()));
}

}  // namespace
}  // namespace tavilo::ui
