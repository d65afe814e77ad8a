// Qt's own dialogs on a Japanese desktop (LANG=ja_JP.UTF-8): the test is run
// with that language by its own ctest entry and skipped under any other.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLocale>
#include <QPushButton>
#include <QTranslator>

#include "ui/ui_support.h"

namespace tavilo::ui {
namespace {

TEST(QtTranslations, FileDialogSpeaksTheDesktopsJapanese) {
  if (QLocale::system().language() != QLocale::Japanese)
    GTEST_SKIP() << "run with LANG=ja_JP.UTF-8";
  const std::unique_ptr<QTranslator> translator = qtTranslator(QLocale::system());
  ASSERT_NE(translator, nullptr) << "Debian's qt6-translations-l10n is not installed";
  QCoreApplication::installTranslator(translator.get());

  QFileDialog dialog(nullptr, QStringLiteral("データ読込"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  const auto* buttons = dialog.findChild<QDialogButtonBox*>();
  ASSERT_NE(buttons, nullptr);
  EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
  EXPECT_TRUE(buttons->button(QDialogButtonBox::Open)->text().startsWith(QStringLiteral("開く")))
      << buttons->button(QDialogButtonBox::Open)->text().toStdString();

  QCoreApplication::removeTranslator(translator.get());
}

}  // namespace
}  // namespace tavilo::ui
