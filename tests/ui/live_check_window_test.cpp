// The live check panel beside the input screen, driven through the real
// widgets: it follows typing on the next turn of the event loop, shows the
// input check's message instead of stale figures, and a deck chosen in it
// becomes the screen's deck.

#include "ui/live_check_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <string>
#include <tuple>

#include "calc/catalogue.h"
#include "session_fixture.h"
#include "ui/desktop.h"
#include "ui/input_screen.h"

namespace tavilo::ui {
namespace {

using testing::StartedSession;

class LiveCheckWindowTest : public ::testing::Test {
 protected:
  LiveCheckWindowTest()
      : desktop(started.session, noDialogs()),
        screen(desktop.inputScreen()),
        panel(desktop.liveCheckWindow()) {}

  static InputScreenDialogs noDialogs() {
    InputScreenDialogs d;
    d.chooseProjectToOpen = [](QWidget*, const std::filesystem::path&) { return std::nullopt; };
    d.chooseProjectToSave = [](QWidget*, const SaveLocation&) { return std::nullopt; };
    d.askToSaveChanges = [](QWidget*) { return SaveAnswer::kCancel; };
    return d;
  }

  void SetUp() override {
    screen.show();
    screen.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
  }

  // Replaces the text of a field by typing, as a user does.
  void type(FieldId id, const QString& keys) {
    auto* edit = qobject_cast<QLineEdit*>(screen.fieldWidget(id));
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    if (keys.isEmpty())
      QTest::keyClick(edit, Qt::Key_Backspace);
    else
      QTest::keyClicks(edit, keys);
  }

  void caughtUp() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return !panel.updatePending(); }, 2000));
  }

  QTreeWidgetItem* deckItem(int deckType) {
    QTreeWidget* list = panel.deckList();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      if (list->topLevelItem(i)->data(0, Qt::UserRole).toInt() == deckType)
        return list->topLevelItem(i);
    }
    return nullptr;
  }

  StartedSession started;
  Desktop desktop;
  InputScreen& screen;
  LiveCheckWindow& panel;
};

TEST_F(LiveCheckWindowTest, AFailingSpanTurnsThePanelNgBeforeCalculating) {
  ASSERT_TRUE(QTest::qWaitFor([this] { return panel.isVisible(); }, 2000));
  // Beside the screen, or on a display too narrow for both, within it.
  const QRect room = screen.screen()->availableGeometry();
  if (room.width() >=
      screen.frameGeometry().width() + kLivePanelLayout.gap + panel.frameGeometry().width())
    EXPECT_GT(panel.x(), screen.frameGeometry().right());
  else
    EXPECT_TRUE(panel.frameGeometry().left() >= room.left() &&
                panel.frameGeometry().right() <= room.right())
        << "the panel stays on the display: " << panel.frameGeometry().left() << ".."
        << panel.frameGeometry().right() << " in " << room.left() << ".." << room.right();
  const int before = panel.updateCount();
  type(FieldId::Span1, QStringLiteral("9000"));
  // Typing only asks: the four keystrokes wait for one update.
  EXPECT_TRUE(panel.updatePending());
  EXPECT_EQ(panel.updateCount(), before);
  caughtUp();
  EXPECT_EQ(panel.updateCount(), before + 1);

  EXPECT_FALSE(started.session.lastOutcome()) << "nothing was calculated by 計　算";
  EXPECT_TRUE(panel.verdictLabel()->isVisibleTo(&panel));
  EXPECT_TRUE(panel.verdictLabel()->text().contains(QStringLiteral("NGです")))
      << panel.verdictLabel()->text().toStdString();
  const LiveCheckPanel& shown = panel.shown();
  ASSERT_TRUE(shown.calculated);
  const auto exceeded = std::find_if(shown.checks.begin(), shown.checks.end(),
                                     [](const PanelCheckRow& row) { return row.exceeded; });
  ASSERT_NE(exceeded, shown.checks.end());
  EXPECT_NE(exceeded->where.find("スパン1"), std::string::npos) << exceeded->where;
  EXPECT_TRUE(panel.checksBox()->isVisibleTo(&panel));
}

TEST_F(LiveCheckWindowTest, AClearedFieldShowsTheInputCheckAndNoFigures) {
  type(FieldId::Span1, QString());
  caughtUp();
  EXPECT_TRUE(panel.refusalLabel()->isVisibleTo(&panel));
  EXPECT_TRUE(panel.refusalLabel()->text().contains(QStringLiteral("スパン1の長さ")))
      << panel.refusalLabel()->text().toStdString();
  EXPECT_FALSE(panel.verdictLabel()->isVisibleTo(&panel));
  EXPECT_FALSE(panel.checksBox()->isVisibleTo(&panel));
  EXPECT_TRUE(panel.shown().checks.empty());
  // The field named is a link to it.
  screen.fieldWidget(FieldId::Span2)->setFocus();
  emit panel.refusalFieldLink()->linkActivated(QStringLiteral("field"));
  EXPECT_EQ(started.session.form().focus(), FieldId::Span1);

  type(FieldId::Span1, QStringLiteral("2000"));
  caughtUp();
  EXPECT_FALSE(panel.refusalLabel()->isVisibleTo(&panel));
  EXPECT_TRUE(panel.checksBox()->isVisibleTo(&panel));
}

TEST_F(LiveCheckWindowTest, ChoosingTheLightestPassingDeckChangesTheScreenUnsaved) {
  // The shortest span on a 100 mm grid at which the lightest deck fails.
  int span = 1000;
  for (InputForm form = started.session.form(); span < 8000; span += 100) {
    std::ignore = form.typeText(FieldId::Span1, std::to_string(span));
    if (!runLiveCheck(form, started.session.settings()).decks.front().ok)
      break;
  }
  type(FieldId::Span1, QString::number(span));
  caughtUp();
  const auto lightest = std::find_if(panel.shown().decks.begin(), panel.shown().decks.end(),
                                     [](const PanelDeckRow& row) { return row.lightestPassing; });
  ASSERT_NE(lightest, panel.shown().decks.end());
  ASSERT_NE(lightest->deckType, 0);
  started.session.save(started.folder() / "live.tvl");
  ASSERT_FALSE(started.session.hasUnsavedChanges());

  QTreeWidgetItem* item = deckItem(lightest->deckType);
  ASSERT_NE(item, nullptr);
  QTreeWidget* list = panel.deckList();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
  auto* deck = qobject_cast<QComboBox*>(screen.fieldWidget(FieldId::DeckType));
  auto* weight = qobject_cast<QLineEdit*>(screen.fieldWidget(FieldId::UnitWeight));
  EXPECT_EQ(deck->currentIndex(), lightest->deckType);
  EXPECT_EQ(
      weight->text().toStdString(),
      std::to_string(kDeckSections[static_cast<std::size_t>(lightest->deckType)].unitWeights[0]));
  EXPECT_TRUE(started.session.hasUnsavedChanges());
  caughtUp();
  EXPECT_TRUE(panel.shown().ok);
  EXPECT_NE(deckItem(lightest->deckType)->text(3).toStdString().find("現在"), std::string::npos);

  // Enter on a row chooses it too.
  list->setFocus();
  list->setCurrentItem(deckItem(0));
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(deck->currentIndex(), 0);
}

TEST_F(LiveCheckWindowTest, HidingIsRememberedInTheSettingsFolder) {
  panel.rememberIn(started.folder());
  ASSERT_TRUE(panel.panelWanted());
  panel.close();
  EXPECT_FALSE(panel.panelWanted());
  EXPECT_FALSE(livePanelRemembered(started.folder()));
  ASSERT_TRUE(QTest::qWaitFor([this] { return !panel.isVisible(); }, 2000));
  // Hidden, it calculates nothing while the user types.
  const int before = panel.updateCount();
  type(FieldId::Span1, QString());
  QTest::qWait(50);
  EXPECT_EQ(panel.updateCount(), before);
  // F9 on the screen brings it back, up to date.
  QTest::keyClick(&screen, Qt::Key_F9);
  EXPECT_TRUE(panel.panelWanted());
  EXPECT_TRUE(livePanelRemembered(started.folder()));
  EXPECT_TRUE(panel.isVisible());
  EXPECT_FALSE(panel.shown().calculated);
}

}  // namespace
}  // namespace tavilo::ui
