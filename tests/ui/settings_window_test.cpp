// The settings dialog window driven through its real controls.

#include "ui/settings_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "session_fixture.h"
#include "ui/spin_field.h"

namespace tavilo::ui {
namespace {

using testing::MessageLog;
using testing::StartedSession;

class SettingsWindowTest : public ::testing::Test {
 protected:
  SettingsWindowTest() : window(started.session) {}

  void SetUp() override {
    window.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  Session& session() { return started.session; }
  QLineEdit& ratio(int position) {
    return *qobject_cast<QLineEdit*>(window.control(ratioField(position)));
  }
  SpinField& maxLength() {
    return *qobject_cast<SpinField*>(window.control(FieldId::SettingsMaxDeckLength));
  }
  // A click on a control; on an option button, on its circle.
  void click(FieldId id) {
    QWidget* control = window.control(id);
    const QPoint at = qobject_cast<QRadioButton*>(control) != nullptr
                          ? QPoint(8, control->height() / 2)
                          : control->rect().center();
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, at);
  }
  // Replaces the whole text of a ratio field by typing, as a user does
  // after selecting it.
  void retype(int position, const char* keys) {
    QLineEdit& edit = ratio(position);
    edit.setFocus();
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClicks(&edit, QString::fromUtf8(keys));
  }

  StartedSession started;
  SettingsWindow window;
};

TEST_F(SettingsWindowTest, TypedPastedAndSteppedValuesPassThroughTheModel) {
  // Typing: refused keys vanish again, the read-only P follows G as the
  // characters arrive.
  retype(0, "0.8a");
  EXPECT_EQ(ratio(0).text(), "0.8");
  EXPECT_EQ(ratio(1).text(), "0.8");
  EXPECT_EQ(session().settingsDialog().ratioText(1), "0.8");
  EXPECT_TRUE(ratio(1).isReadOnly());

  // A refused key typed over a selection leaves the selected text alone.
  ratio(3).setFocus();
  ratio(3).selectAll();
  QTest::keyClick(&ratio(3), Qt::Key_Minus);
  EXPECT_EQ(ratio(3).text(), "1");
  EXPECT_EQ(session().settingsDialog().ratioText(3), "1");
  maxLength().setFocus();
  maxLength().selectAll();
  QTest::keyClick(&maxLength(), Qt::Key_Period);
  EXPECT_EQ(maxLength().text(), "12000");

  // Pasting: the model filters the whole text before it keeps 8 characters.
  QApplication::clipboard()->setText(QStringLiteral("x12.3456789"));
  ratio(18).setFocus();
  ratio(18).selectAll();
  QTest::keyClick(&ratio(18), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(ratio(18).text(), "12.34567");
  EXPECT_EQ(ratio(19).text(), "12.34567");

  // The arrow key steps by 50; a typed length out of range is brought into
  // range when the field is left.
  maxLength().setFocus();
  QTest::keyClick(&maxLength(), Qt::Key_Up);
  EXPECT_EQ(maxLength().text(), "12050");
  maxLength().selectAll();
  QTest::keyClicks(&maxLength(), "99999");
  EXPECT_EQ(session().settingsDialog().text(FieldId::SettingsMaxDeckLength), "99999");
  ratio(3).setFocus();
  EXPECT_EQ(maxLength().text(), "90000");

  // The title bar offers no way out.
  EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.height(), 422);
}

TEST_F(SettingsWindowTest, CancelResetAndApply) {
  QSignalSpy closed(&window, &SettingsWindow::closed);

  // Cancel restores the applied values.
  retype(0, "0.5");
  click(FieldId::SettingsCancelButton);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(closed.count(), 1);
  EXPECT_EQ(ratio(0).text(), "1");
  EXPECT_EQ(ratio(1).text(), "1");
  EXPECT_EQ(session().settings().loadRatios[0], 1.0);

  // Apply a ratio, then reset and cancel: the applied ratio survives.
  window.open();
  retype(13, "0.6");
  click(FieldId::SettingsApplyButton);
  ASSERT_EQ(closed.count(), 2);
  EXPECT_EQ(session().settings().loadRatios[13], 0.6);
  window.open();
  click(FieldId::SettingsMethodDirect);
  click(FieldId::SettingsResetButton);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(ratio(13).text(), "0.7");
  EXPECT_TRUE(
      qobject_cast<QRadioButton*>(window.control(FieldId::SettingsMethodNotices))->isChecked());
  click(FieldId::SettingsCancelButton);
  EXPECT_EQ(session().settings().loadRatios[13], 0.6);
  EXPECT_EQ(session().settings().calcMethod, kCalcMethodNotices);
  EXPECT_EQ(ratio(13).text(), "0.6");

  // Apply the direct method: bold navy choice, settings and the screen's layout.
  window.open();
  EXPECT_FALSE(session().form().screenEnabled());
  click(FieldId::SettingsMethodDirect);
  auto* direct = qobject_cast<QRadioButton*>(window.control(FieldId::SettingsMethodDirect));
  auto* notices = qobject_cast<QRadioButton*>(window.control(FieldId::SettingsMethodNotices));
  EXPECT_TRUE(direct->font().bold());
  EXPECT_FALSE(notices->font().bold());
  click(FieldId::SettingsApplyButton);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(session().settings().calcMethod, kCalcMethodDirect);
  EXPECT_EQ(session().form().layoutMethod(), kCalcMethodDirect);
  EXPECT_TRUE(session().form().screenEnabled());
  ASSERT_EQ(closed.count(), 4);
  const auto events = closed.last().at(0).value<FormEvents>();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, FormEvent::Kind::Focus);
}

TEST_F(SettingsWindowTest, BadRatioKeepsTheDialogOpenOnThatField) {
  QSignalSpy closed(&window, &SettingsWindow::closed);
  MessageLog messages;
  retype(9, "1..2");
  retype(14, "0.9");
  click(FieldId::SettingsApplyButton);

  EXPECT_EQ(messages.texts.size(), 1);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(closed.count(), 0);
  EXPECT_EQ(window.focusWidget(), &ratio(9));
  EXPECT_EQ(session().settings().loadRatios[14], 1.0);
  EXPECT_FALSE(session().form().screenEnabled());
}

}  // namespace
}  // namespace tavilo::ui
