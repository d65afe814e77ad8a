// The desktop window built over a screen description with one field changed
// (changed_field.inc): the window shows the new caption and puts the control
// where the description says, with nothing of its own in between.

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>

#include "model/screen_description.h"
#include "session_fixture.h"
#include "ui/input_screen.h"
#include "ui/settings_window.h"

namespace tavilo::ui {
namespace {

#include "changed_field.inc"

QStringList labelTexts(const QWidget& parent) {
  QStringList texts;
  for (const QLabel* label : parent.findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
    texts << label->text();
  return texts;
}

TEST(ChangedField, TheWindowShowsTheChangedCaptionAndRectangle) {
  testing::StartedSession started;
  InputScreen screen(started.session, InputScreenDialogs{});

  QWidget* control = screen.fieldWidget(kChangedField);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->geometry(), QRect(kChangedX, kChangedY, kChangedWidth, kChangedHeight));

  const QGroupBox* deck = screen.groupBox(Group::Deck);
  ASSERT_NE(deck, nullptr);
  ASSERT_EQ(control->parentWidget(), deck);
  const QStringList texts = labelTexts(*deck);
  EXPECT_TRUE(texts.contains(QString::fromUtf8(kChangedCaption.data(), kChangedCaption.size())))
      << texts.join(QLatin1Char('|')).toStdString();
  EXPECT_FALSE(texts.contains(QStringLiteral("単位重量")));
  // The neighbours stand where they stood.
  EXPECT_EQ(screen.fieldWidget(FieldId::SurfaceTreatment)->geometry(), QRect(66, 45, 58, 21));
}

// The settings dialog's description too: the one button moved, the others
// where they stood.
TEST(ChangedField, TheSettingsDialogPutsTheChangedButtonWhereTheDescriptionSays) {
  testing::StartedSession started;
  SettingsWindow window(started.session);
  EXPECT_EQ(window.control(kChangedDialogField)->geometry(),
            QRect(kChangedDialogX, kChangedDialogY, kChangedDialogWidth, kChangedDialogHeight));
  EXPECT_EQ(window.control(FieldId::SettingsApplyButton)->geometry(), QRect(262, 382, 96, 32));
}

}  // namespace
}  // namespace tavilo::ui
