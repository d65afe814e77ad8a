// The notice, the overview window and the busy panel.

#include "ui/auxiliary_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>

#include "session_fixture.h"

namespace tavilo::ui {
namespace {

using testing::MessageLog;

// What the answering timer saw of the notice.
struct NoticeSeen {
  bool found = false;
  bool modal = false;
  QString title;
  QString lastLine;
  Qt::Alignment lastLineAlignment;
  int lines = 0;
  QPointer<QWidget> dialog;
  bool keptOpen = false;  // neither the close box nor Escape closed it
};

// Tries to close the notice by its window frame and by Escape, then answers
// it with "確　認" once it is up.
void confirmNoticeLater(NoticeSeen& seen) {
  QTimer::singleShot(0, [&seen] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) {
      confirmNoticeLater(seen);
      return;
    }
    seen.found = true;
    seen.modal = dialog->isModal();
    seen.title = dialog->windowTitle();
    seen.dialog = dialog;
    if (const auto* text = dialog->findChild<QTextEdit*>()) {
      const QTextBlock last = text->document()->lastBlock();
      seen.lines = text->document()->blockCount();
      seen.lastLine = last.text();
      seen.lastLineAlignment = last.blockFormat().alignment();
    }
    dialog->close();
    QTest::keyClick(dialog, Qt::Key_Escape);
    seen.keptOpen = dialog->isVisible();
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
      if (button->text() == QStringLiteral("確　認"))
        QTest::mouseClick(button, Qt::LeftButton);
    }
  });
}

TEST(NoticeTest, IsModalAndCanBeOpenedAgain) {
  for (int showing = 0; showing < 2; ++showing) {
    NoticeSeen seen;
    confirmNoticeLater(seen);
    showNotice(nullptr);
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(seen.title, "ご確認下さい");
    EXPECT_EQ(seen.lines, 15);
    EXPECT_EQ(seen.lastLine, "以上");
    EXPECT_TRUE(seen.lastLineAlignment & Qt::AlignRight);
    EXPECT_TRUE(seen.keptOpen) << "only 確　認 leaves the notice";
    EXPECT_TRUE(seen.dialog.isNull()) << "the notice is destroyed when it closes";
  }
}

bool writeFile(const QString& path, const QByteArray& content) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(content) == content.size();
}

TEST(OverviewTest, ReadsTheDocumentAnewEachTime) {
  QTemporaryDir data;
  const QString document = data.filePath(qs(kOverviewDocument));
  OverviewWindow window;
  ASSERT_TRUE(writeFile(document, "# 初版\n\n本文"));
  ASSERT_TRUE(window.showOverview(data.path().toStdString()));
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(window.browser()->toPlainText().contains("初版"));

  window.close();
  EXPECT_FALSE(window.isVisible());
  ASSERT_TRUE(writeFile(document, "# 改訂版\n\n本文"));
  ASSERT_TRUE(window.showOverview(data.path().toStdString()));
  EXPECT_TRUE(window.browser()->toPlainText().contains("改訂版"));
  EXPECT_FALSE(window.browser()->toPlainText().contains("初版"));
}

TEST(OverviewTest, ShowsTheProgramVersionBesideTheVerificationButton) {
  QTemporaryDir data;
  ASSERT_TRUE(writeFile(data.filePath(qs(kOverviewDocument)), "# 概要"));
  OverviewWindow window;
  window.setVersion("5.4");
  ASSERT_TRUE(window.showOverview(data.path().toStdString()));
  EXPECT_EQ(window.versionLabel()->text(), QStringLiteral("バージョン 5.4"));
  EXPECT_TRUE(window.versionLabel()->isVisible());
  const QRect button = window.verificationButton()->geometry();
  const QRect version = window.versionLabel()->geometry();
  EXPECT_GE(version.left(), button.right()) << "to the right of the button";
  EXPECT_GT(version.bottom(), button.top());
  EXPECT_LT(version.top(), button.bottom()) << "on the button's line";
  EXPECT_GE(button.top(), window.browser()->geometry().bottom()) << "under the document";
}

TEST(OverviewTest, MissingDocumentGivesOneMessageAndNoWindow) {
  QTemporaryDir data;
  MessageLog messages;
  OverviewWindow window;
  EXPECT_FALSE(window.showOverview(data.path().toStdString()));
  EXPECT_FALSE(window.isVisible());
  ASSERT_EQ(messages.texts.size(), 1);
  EXPECT_TRUE(messages.texts[0].contains("Tvl_general.md"));
}

TEST(OverviewTest, VerificationButtonOpensTheDocumentBesideTheDataFolder) {
  QTemporaryDir root;
  ASSERT_TRUE(QDir(root.path()).mkpath("Load_data") && QDir(root.path()).mkpath("docs"));
  ASSERT_TRUE(writeFile(root.filePath("Load_data/" + qs(kOverviewDocument)), "# 概要"));
  const QString pdf = root.filePath("docs/verification.pdf");
  ASSERT_TRUE(writeFile(pdf, "%PDF-1.4"));
  OverviewWindow window;
  QList<QUrl> opened;
  window.openDocument = [&opened](const QUrl& url) {
    opened.push_back(url);
    return true;
  };
  ASSERT_TRUE(window.showOverview(root.filePath("Load_data").toStdString()));
  EXPECT_EQ(window.verificationButton()->text(), qs(kVerificationButton));
  EXPECT_TRUE(window.verificationButton()->isVisible());
  window.verificationButton()->click();
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(QFileInfo(opened[0].toLocalFile()).canonicalFilePath(),
            QFileInfo(pdf).canonicalFilePath());

  // Without the document nothing is opened and the message names it.
  ASSERT_TRUE(QFile::remove(pdf));
  MessageLog messages;
  window.verificationButton()->click();
  EXPECT_EQ(opened.size(), 1);
  ASSERT_EQ(messages.texts.size(), 1);
  EXPECT_TRUE(messages.texts[0].contains("verification.pdf"));
}

TEST(BusyPanelTest, ShowsWhileItLivesWithTheWaitCursor) {
  QPointer<const QWidget> panel;
  {
    BusyPanel busy(qs(kBusyPrinting));
    panel = &busy.panel();
    EXPECT_TRUE(busy.panel().isVisible());
    EXPECT_EQ(busy.panel().size(), QSize(192, 73));
    ASSERT_NE(busy.panel().findChild<QLabel*>(), nullptr);
    EXPECT_EQ(busy.panel().findChild<QLabel*>()->text(), "　印刷中 ・・・");
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_TRUE(panel.isNull());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace tavilo::ui
