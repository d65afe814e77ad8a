// The input screen and the desktop driven through their real widgets, as a
// user types, pastes, steps and clicks.

#include "ui/input_screen.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <fstream>
#include <iterator>

#include "persistence/text_file.h"
#include "session_fixture.h"
#include "ui/auxiliary_windows.h"
#include "ui/desktop.h"
#include "ui/result_window.h"
#include "ui/settings_window.h"
#include "ui/spin_field.h"

namespace tavilo::ui {
namespace {

namespace fs = std::filesystem;
using testing::MessageLog;
using testing::StartedSession;

std::string readBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Answers the screen's dialogs as the test says and counts what was asked.
struct ScriptedDialogs {
  std::optional<fs::path> toOpen;
  std::optional<fs::path> toSave;
  SaveAnswer answer = SaveAnswer::kCancel;
  int questions = 0;
  int busyPanels = 0;

  InputScreenDialogs dialogs() {
    InputScreenDialogs d;
    d.chooseProjectToOpen = [this](QWidget*, const fs::path&) { return toOpen; };
    d.chooseProjectToSave = [this](QWidget*, const SaveLocation&) { return toSave; };
    d.askToSaveChanges = [this](QWidget*) {
      ++questions;
      return answer;
    };
    d.busyWhileCalculating = [this] {
      ++busyPanels;
      return std::make_shared<BusyPanel>();
    };
    return d;
  }
};

class InputScreenTest : public ::testing::Test {
 protected:
  InputScreenTest() : desktop(started.session, script.dialogs()), screen(desktop.inputScreen()) {}

  void SetUp() override {
    screen.show();
    screen.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
  }

  InputForm& form() { return started.session.form(); }
  QWidget* widget(FieldId id) { return screen.fieldWidget(id); }
  QLineEdit* edit(FieldId id) { return qobject_cast<QLineEdit*>(widget(id)); }
  SpinField* spin(FieldId id) { return qobject_cast<SpinField*>(widget(id)); }
  QComboBox* list(FieldId id) { return qobject_cast<QComboBox*>(widget(id)); }

  void focus(QWidget* w) {
    w->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
  }
  // Selects the field's text and types over it.
  void retype(FieldId id, const char* keys) {
    QWidget* w = widget(id);
    focus(w);
    if (auto* e = edit(id))
      e->selectAll();
    else if (auto* s = spin(id))
      s->selectAll();
    QTest::keyClick(w, Qt::Key_Backspace);
    QTest::keyClicks(w, QString::fromUtf8(keys));
  }
  void choose(FieldId id, int index) {
    QComboBox* box = list(id);
    focus(box);
    box->setCurrentIndex(index);
    emit box->activated(index);
  }
  // The option button with this caption, in the group with this title when
  // the caption stands in two groups ("切妻屋根").
  QRadioButton* option(const char* caption, const char* group = nullptr) {
    for (QRadioButton* button : screen.findChildren<QRadioButton*>()) {
      const auto* box = qobject_cast<QGroupBox*>(button->parentWidget());
      if (button->text() == QString::fromUtf8(caption) &&
          (group == nullptr || (box != nullptr && box->title() == QString::fromUtf8(group))))
        return button;
    }
    return nullptr;
  }
  void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  void clickCommand(FieldId id) { click(qobject_cast<QAbstractButton*>(widget(id))); }

  StartedSession started;
  ScriptedDialogs script;
  MessageLog messages;
  Desktop desktop;
  InputScreen& screen;
};

TEST_F(InputScreenTest, TypedPastedAndSteppedValuesReachTheModelAndComeBack) {
  retype(FieldId::EavesHeightH1, "12.5");
  EXPECT_EQ(form().text(FieldId::EavesHeightH1), "125") << "the point is refused as it is typed";
  EXPECT_EQ(edit(FieldId::EavesHeightH1)->text(), "125");

  QApplication::clipboard()->setText(QStringLiteral("3,000 mm"));
  focus(widget(FieldId::Span1));
  edit(FieldId::Span1)->selectAll();
  QTest::keyClick(widget(FieldId::Span1), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(form().text(FieldId::Span1), "3000") << "a paste passes the same filter";
  EXPECT_EQ(edit(FieldId::Span1)->text(), "3000");

  focus(widget(FieldId::SnowDepth));
  QTest::keyClick(widget(FieldId::SnowDepth), Qt::Key_Up);
  EXPECT_EQ(form().text(FieldId::SnowDepth), "150");
  retype(FieldId::SnowDepth, "99");
  EXPECT_EQ(spin(FieldId::SnowUnitWeight)->text(), "20") << "the heavy-snow rule follows typing";
  EXPECT_FALSE(qobject_cast<QAbstractButton*>(widget(FieldId::HeavySnow))->isChecked());

  retype(FieldId::FinishingLoad, "95000");
  focus(widget(FieldId::LiveLoad));
  EXPECT_EQ(spin(FieldId::FinishingLoad)->text(), "9000") << "brought into range on leaving";

  QEvent enter(QEvent::Enter);
  QApplication::sendEvent(widget(FieldId::Prefecture), &enter);
  EXPECT_EQ(screen.statusBar()->text(), QStringLiteral("風荷重、積雪荷重の計算に使用します。"));
  EXPECT_EQ(widget(FieldId::Prefecture)->toolTip(), QStringLiteral("多雪地域判定に使用"));
}

TEST_F(InputScreenTest, RefusedKeyTypedOverASelectionChangesNothing) {
  for (const FieldId id : {FieldId::SpanDirectionLengthD, FieldId::FinishingLoad}) {
    const std::string before = form().text(id);
    focus(widget(id));
    if (auto* e = edit(id))
      e->selectAll();
    else
      spin(id)->selectAll();
    QTest::keyClick(widget(id), Qt::Key_X);
    QTest::keyClick(widget(id), Qt::Key_Period);
    EXPECT_EQ(form().text(id), before) << static_cast<int>(id);
    const QString shown = edit(id) != nullptr ? edit(id)->text() : spin(id)->text();
    EXPECT_EQ(shown, qs(before));
  }
  // A digit still replaces the selection, and Tab still leaves the field.
  edit(FieldId::SpanDirectionLengthD)->selectAll();
  QTest::keyClicks(widget(FieldId::SpanDirectionLengthD), QStringLiteral("7"));
  EXPECT_EQ(form().text(FieldId::SpanDirectionLengthD), "7");
  QTest::keyClick(widget(FieldId::SpanDirectionLengthD), Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), widget(FieldId::SpanDirectionLengthD));
}

TEST_F(InputScreenTest, UnitWeightTakesTypingOnlyWithOther) {
  retype(FieldId::UnitWeight, "5");
  EXPECT_EQ(edit(FieldId::UnitWeight)->text(), "127");
  choose(FieldId::SurfaceTreatment, kSurfaceTreatmentOther);
  EXPECT_EQ(edit(FieldId::UnitWeight)->text(), "");
  EXPECT_EQ(QApplication::focusWidget(), widget(FieldId::UnitWeight));
  QTest::keyClicks(widget(FieldId::UnitWeight), QStringLiteral("1a5"));
  EXPECT_EQ(form().text(FieldId::UnitWeight), "15");
}

TEST_F(InputScreenTest, SpanCountStepsBuildTheSpanFields) {
  retype(FieldId::Span1, "3000");
  QWidget* count = widget(FieldId::SpanCount);
  focus(count);
  QTest::keyClicks(count, QStringLiteral("3"));
  EXPECT_EQ(form().spinValue(FieldId::SpanCount), 1) << "the span count takes no typing";
  QTest::keyClick(count, Qt::Key_Up);
  focus(count);
  QTest::keyClick(count, Qt::Key_Up);
  EXPECT_TRUE(widget(FieldId::Span3)->isVisible());
  EXPECT_EQ(edit(FieldId::Span2)->text(), "3000");
  EXPECT_EQ(edit(FieldId::Span3)->text(), "3000");
  focus(count);
  QTest::keyClick(count, Qt::Key_Down);
  EXPECT_FALSE(widget(FieldId::Span3)->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), widget(FieldId::Span2));
  EXPECT_EQ(screen.arrangementPicture()->pixmap().toImage(),
            QPixmap(QStringLiteral(":/resources/arrangement_s2_none.png")).toImage())
      << "the picture of two spans without overhang";
}

// A click on an arrow that shows a new span moves the focus to that span's
// field before the press is over; the ▲ and ▼ keys must still step the count
// once it has the focus again, also after Qt's auto-repeat delay.
TEST_F(InputScreenTest, SpanCountKeysStillStepAfterAnArrowClick) {
  auto* count = spin(FieldId::SpanCount);
  QWindow* window = screen.windowHandle();
  const auto at = [&](QPoint point) { return count->mapTo(&screen, point); };
  const QPoint upArrow = at(QPoint(count->width() - 6, 4));
  const QPoint text = at(QPoint(8, count->height() / 2));
  QTest::mouseClick(window, Qt::LeftButton, {}, text);
  QTest::mouseClick(window, Qt::LeftButton, {}, upArrow);
  ASSERT_EQ(form().spinValue(FieldId::SpanCount), 2);
  EXPECT_EQ(QApplication::focusWidget(), widget(FieldId::Span2));
  QTest::qWait(count->style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatThreshold) + 300);
  EXPECT_EQ(form().spinValue(FieldId::SpanCount), 2) << "one click, one step";

  QTest::mouseClick(window, Qt::LeftButton, {}, text);
  QTest::keyClick(window, Qt::Key_Up);
  EXPECT_EQ(form().spinValue(FieldId::SpanCount), 3);
  QTest::mouseClick(window, Qt::LeftButton, {}, text);
  QTest::keyClick(window, Qt::Key_Down);
  EXPECT_EQ(form().spinValue(FieldId::SpanCount), 2);
}

TEST_F(InputScreenTest, OverhangFieldsCorrectTheirLengthWhenLeft) {
  choose(FieldId::Overhang, 1);
  ASSERT_TRUE(widget(FieldId::LeftOverhang)->isVisible());
  retype(FieldId::LeftOverhang, "1200");
  focus(widget(FieldId::Span1));
  ASSERT_EQ(messages.texts.size(), 1);
  EXPECT_EQ(messages.texts[0], QStringLiteral("計算可能な『はね出し』部の最大値は、1000 mmです"));
  EXPECT_EQ(edit(FieldId::LeftOverhang)->text(), "1000");
  EXPECT_EQ(QApplication::focusWidget(), widget(FieldId::LeftOverhang)) << "the field keeps it";

  retype(FieldId::LeftOverhang, "");
  clickCommand(FieldId::CalculateButton);
  ASSERT_EQ(messages.texts.size(), 2) << "one message, although the button was also clicked";
  EXPECT_TRUE(messages.texts[1].startsWith(QStringLiteral("『はね出し』部の値を入力して下さい。")));
  EXPECT_EQ(edit(FieldId::LeftOverhang)->text(), "200");
  EXPECT_EQ(script.busyPanels, 0);
}

TEST_F(InputScreenTest, RoofTypeSwapsTheShapeGroupsKeepingTheLastChoice) {
  click(option("風下解放型"));
  click(option("独立上屋"));
  EXPECT_FALSE(screen.groupBox(Group::BuildingShape)->isVisible());
  EXPECT_TRUE(screen.groupBox(Group::RoofShape)->isVisible());
  EXPECT_TRUE(option("独立上屋")->styleSheet().contains("bold")) << "the chosen item is bold";
  EXPECT_FALSE(option("片流れ屋根")->styleSheet().contains("bold"));
  click(option("切妻屋根", "屋根の種類"));
  EXPECT_EQ(form().roofType(), RoofType::Gable);
  EXPECT_TRUE(screen.groupBox(Group::BuildingShape)->isVisible());
  EXPECT_FALSE(screen.groupBox(Group::RoofShape)->isVisible());
  EXPECT_TRUE(option("風下解放型")->isChecked());
  EXPECT_EQ(form().buildingShapeCode(), 2);
}

TEST_F(InputScreenTest, BothLayoutsHaveTheirSizes) {
  EXPECT_EQ(screen.size(), QSize(791, 580));
  EXPECT_TRUE(screen.groupBox(Group::Wind)->isVisible());
  desktop.settingsWindow().open();
  screen.carryOut({});
  EXPECT_FALSE(screen.isEnabled()) << "the screen waits for the dialog";
  for (QRadioButton* b : desktop.settingsWindow().findChildren<QRadioButton*>())
    if (b->text() == QStringLiteral("風・雪荷重値を直接入力する"))
      b->click();
  qobject_cast<QAbstractButton*>(desktop.settingsWindow().control(FieldId::SettingsApplyButton))
      ->click();
  EXPECT_TRUE(screen.isEnabled());
  EXPECT_EQ(screen.size(), QSize(791, 378));
  EXPECT_FALSE(screen.groupBox(Group::Wind)->isVisible());
  EXPECT_TRUE(screen.groupBox(Group::DirectLoad)->isVisible());
  EXPECT_EQ(screen.groupBox(Group::OtherLoads)->geometry().top(), 110);
  EXPECT_EQ(screen.groupBox(Group::Span)->geometry().top(), 210);
}

TEST_F(InputScreenTest, LoadThenSaveReproducesTheFile) {
  const fs::path example = fs::path(TAVILO_SOURCE_DIR) / "examples" / "heavy-snow-overhangs.tvl";
  script.toOpen = example;
  clickCommand(FieldId::LoadButton);
  EXPECT_EQ(screen.windowTitle(), QStringLiteral("Tavilo for win [%1]").arg(qs(example.string())));
  EXPECT_TRUE(widget(FieldId::RightOverhang)->isVisible());
  EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join("\n").toStdString();

  script.toSave = started.folder() / "copy.tvl";
  clickCommand(FieldId::SaveButton);
  EXPECT_EQ(readBytes(*script.toSave), readBytes(example));
  EXPECT_EQ(screen.windowTitle(),
            QStringLiteral("Tavilo for win [%1]").arg(qs(script.toSave->string())));
}

TEST_F(InputScreenTest, UnsavedInputsAreNotLostWithoutAQuestion) {
  screen.close();
  EXPECT_EQ(script.questions, 0) << "nothing to save at start";
  screen.show();

  retype(FieldId::EavesHeightH1, "9000");
  script.answer = SaveAnswer::kCancel;
  EXPECT_FALSE(screen.close());
  EXPECT_EQ(script.questions, 1);
  EXPECT_TRUE(screen.isVisible());

  script.answer = SaveAnswer::kCancel;
  script.toOpen = fs::path(TAVILO_SOURCE_DIR) / "examples" / "ordinary-3span.tvl";
  clickCommand(FieldId::LoadButton);
  EXPECT_EQ(form().text(FieldId::EavesHeightH1), "9000") << "a cancelled question loads nothing";

  script.answer = SaveAnswer::kSave;
  script.toSave = started.folder() / "kept.tvl";
  EXPECT_TRUE(screen.close());
  EXPECT_TRUE(fs::exists(*script.toSave)) << "saved before closing";
}

TEST_F(InputScreenTest, CalculateShowsTheBusyPanelThenTheResultWindow) {
  clickCommand(FieldId::CalculateButton);
  EXPECT_EQ(script.busyPanels, 1);
  EXPECT_TRUE(desktop.resultWindow().isVisible());
  EXPECT_FALSE(screen.isVisible()) << "the input screen waits for the result window";
  EXPECT_FALSE(desktop.resultWindow().reportImage().isNull());
  click(desktop.resultWindow().closeButton());
  EXPECT_TRUE(screen.isVisible());
}

TEST(DesktopStartUp, FirstRunShowsTheNoticeBeforeAnythingThenWritesTheMarker) {
  StartedSession started;
  const fs::path home = started.folder() / "home";
  StartUpOptions options;
  options.version = "5.4";
  options.environment = {home.string(), ""};
  options.splashWait = std::chrono::milliseconds(0);
  bool noticeSeen = false;
  bool screenShownBeforeNotice = true;
  QTimer::singleShot(0, [&] {
    QWidget* notice = QApplication::activeModalWidget();
    if (notice == nullptr)
      return;
    noticeSeen = true;
    // One list: each call of topLevelWidgets() makes a new one.
    const QWidgetList windows = QApplication::topLevelWidgets();
    screenShownBeforeNotice = std::any_of(windows.begin(), windows.end(), [](QWidget* w) {
      return qobject_cast<InputScreen*>(w) && w->isVisible();
    });
    for (QPushButton* b : notice->findChildren<QPushButton*>())
      b->click();
  });
  const auto desktop = startDesktop(started.session, options);
  EXPECT_TRUE(noticeSeen);
  EXPECT_FALSE(screenShownBeforeNotice);
  const fs::path marker = home / ".config" / "Morenta_DeckPlate" / "tavilo.dat";
  EXPECT_EQ(readBytes(marker), std::string("\x91\x01\x00\x00", 4));
  EXPECT_TRUE(desktop->inputScreen().isVisible());
  EXPECT_EQ(desktop->inputScreen().statusBar()->text().right(7), QStringLiteral("ver.5.4"));
}

// An office's table with a V0 outside the notice's values: the desktop
// starts with it and says so, naming the file and the line.
TEST(DesktopStartUp, WindSpeedOutsideTheNoticeIsShownAtStartUp) {
  QTemporaryDir scratch;
  const fs::path data = fs::path(scratch.path().toStdString()) / "Load_data";
  fs::create_directories(data);
  const fs::path shipped = fs::path(TAVILO_SOURCE_DIR) / "Load_data";
  fs::copy_file(shipped / "Data_SnowfallV.csv", data / "Data_SnowfallV.csv");
  std::vector<std::string> lines = readTextLines(shipped / "Data_Address.csv");
  lines.push_back("99,ｼｹﾝ,北海道,試験町,1,5,0,0,0");
  writeTextLines(data / "Data_Address.csv", lines);
  Session session({data.parent_path(), data, data.parent_path()});
  StartUpOptions options;
  options.version = "5.4";
  options.environment = {(data.parent_path() / "home").string(), ""};
  options.splashWait = std::chrono::milliseconds(0);
  QTimer::singleShot(0, [] {
    if (QWidget* notice = QApplication::activeModalWidget()) {
      for (QPushButton* b : notice->findChildren<QPushButton*>())
        b->click();
    }
  });
  MessageLog messages;
  const auto desktop = startDesktop(session, options);
  ASSERT_EQ(messages.texts.size(), 1);
  const std::string shown = messages.texts[0].toStdString();
  EXPECT_NE(shown.find((data / "Data_Address.csv").string()), std::string::npos) << shown;
  EXPECT_NE(shown.find(std::to_string(lines.size()) + " 行目「5」"), std::string::npos) << shown;
  EXPECT_TRUE(desktop->inputScreen().isVisible());
}

// "tavilo PROJECT.tvl", as the file manager starts it: the notice of a first
// start comes first, then the project is loaded as データ読込 loads it, and a
// file that cannot be loaded gets the message データ読込 would show.
TEST(DesktopStartUp, ProjectOfTheCommandLineIsOpenedAfterTheNotice) {
  StartedSession started;
  const fs::path project = started.folder() / "屋根（東棟）.tvl";
  fs::copy_file(fs::path(TAVILO_SOURCE_DIR) / "examples" / "heavy-snow-overhangs.tvl", project);
  Session expected({started.folder(), TAVILO_SOURCE_DIR "/Load_data", started.folder()});
  std::ignore = expected.startUp("5.4");
  ASSERT_TRUE(expected.load(project).completed());

  StartUpOptions options;
  options.version = "5.4";
  options.environment = {(started.folder() / "home").string(), ""};
  options.splashWait = std::chrono::milliseconds(0);
  options.project = project;
  bool noticeSeen = false;
  bool loadedBeforeNotice = true;
  QTimer::singleShot(0, [&] {
    QWidget* notice = QApplication::activeModalWidget();
    if (notice == nullptr)
      return;
    noticeSeen = true;
    loadedBeforeNotice = !started.session.paths().current.empty();
    for (QPushButton* b : notice->findChildren<QPushButton*>())
      b->click();
  });
  const auto desktop = startDesktop(started.session, options);
  EXPECT_TRUE(noticeSeen);
  EXPECT_FALSE(loadedBeforeNotice);
  EXPECT_EQ(started.session.paths().current, project);
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const auto id = static_cast<FieldId>(i);
    EXPECT_EQ(started.session.form().text(id), expected.form().text(id)) << i;
    EXPECT_EQ(started.session.form().index(id), expected.form().index(id)) << i;
  }
  EXPECT_FALSE(started.session.hasUnsavedChanges());

  StartedSession second;
  MessageLog messages;
  options.environment = {(started.folder() / "home").string(), ""};  // the notice is answered
  options.project = second.folder() / "none.tvl";
  const auto refused = startDesktop(second.session, options);
  ASSERT_EQ(messages.texts.size(), 1);
  EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("none.tvl")))
      << messages.texts[0].toStdString();
  EXPECT_TRUE(refused->inputScreen().isVisible());
}

}  // namespace
}  // namespace tavilo::ui

namespace tavilo::ui {
namespace {

TEST(InputScreenPictures, AMissingPictureFileIsReportedAndThePreviousPictureStays) {
  QTemporaryDir scratch;
  const fs::path data = fs::path(scratch.path().toStdString()) / "Load_data";
  fs::create_directories(data);
  for (const char* table : {"Data_Address.csv", "Data_SnowfallV.csv"})
    fs::copy_file(fs::path(TAVILO_SOURCE_DIR) / "Load_data" / table, data / table);
  Session session({data.parent_path(), data, data.parent_path()});
  std::ignore = session.startUp("5.4");
  InputScreenDialogs none;
  InputScreen screen(session, none);
  screen.show();
  MessageLog messages;
  const QImage before = screen.choicePicture(FieldId::RoofType)->pixmap().toImage();
  for (QRadioButton* b : screen.findChildren<QRadioButton*>()) {
    if (b->text() == QStringLiteral("円弧屋根"))
      QTest::mouseClick(b, Qt::LeftButton);
  }
  ASSERT_EQ(messages.texts.size(), 1);
  EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("Circular_arc_roof.bmp")));
  EXPECT_EQ(screen.choicePicture(FieldId::RoofType)->pixmap().toImage(), before);
  EXPECT_EQ(session.form().roofType(), RoofType::Arched) << "the choice itself is made";
}

// The shipped tables are samples: the site group says so in red under the
// district; the same rows without the marker (an office's own) show nothing.
TEST(InputScreenSiteData, SampleTablesAreNoticedUnderTheSiteGroup) {
  QTemporaryDir scratch;
  const fs::path data = fs::path(scratch.path().toStdString()) / "Load_data";
  fs::create_directories(data);
  for (const bool sample : {true, false}) {
    for (const char* table : {"Data_Address.csv", "Data_SnowfallV.csv"}) {
      std::vector<std::string> lines =
          readTextLines(fs::path(TAVILO_SOURCE_DIR) / "Load_data" / table);
      if (!sample)
        lines.front() = lines.front().substr(0, lines.front().rfind(",見本データ"));
      writeTextLines(data / table, lines);
    }
    Session session({data.parent_path(), data, data.parent_path()});
    std::ignore = session.startUp("5.4");
    InputScreenDialogs none;
    InputScreen screen(session, none);
    screen.show();
    QLabel* notice = screen.siteDataNotice();
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->isVisible(), sample);
    if (!sample)
      continue;
    EXPECT_EQ(notice->text(),
              QStringLiteral("所在地データは見本です。\n実際の設計には使用できません。"));
    EXPECT_EQ(notice->palette().color(QPalette::WindowText), QColor(204, 0, 0));
    // Wholly inside the site group, below the district list.
    QWidget* group = notice->parentWidget();
    EXPECT_TRUE(group->rect().contains(notice->geometry()));
    EXPECT_GT(notice->geometry().top(), screen.fieldWidget(FieldId::District)->geometry().bottom());
    const QRect needed =
        notice->fontMetrics().boundingRect(notice->rect(), Qt::TextWordWrap, notice->text());
    EXPECT_LE(needed.height(), notice->height()) << needed.width() << " x " << needed.height();
    EXPECT_LE(needed.width(), notice->width());
  }
}

}  // namespace
}  // namespace tavilo::ui
