// Printing from the result window and the print settings dialog, driven
// through their widgets. The printer is a PDF writer into memory; its pages
// are read back with their word boxes (pdftotext -bbox).

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <deque>

#include "report/design_page.h"
#include "report/qt/painter_surface.h"
#include "session_fixture.h"
#include "ui/auxiliary_windows.h"
#include "ui/print_settings_window.h"
#include "ui/result_window.h"
#include "ui/spin_field.h"

namespace tavilo::ui {
namespace {

namespace fs = std::filesystem;
using testing::MessageLog;
using testing::StartedSession;

constexpr int kDpi = 600;

// A word of a printed page, at millimetres from the sheet's top-left corner.
struct Word {
  QString text;
  double left;
  double top;
};
using Page = std::vector<Word>;

// The pages of a PDF with their words.
std::vector<Page> readPages(const QByteArray& pdf) {
  QTemporaryFile file;
  if (!file.open() || file.write(pdf) != pdf.size() || !file.flush())
    return {};
  FILE* pipe =
      popen(("pdftotext -bbox '" + file.fileName().toStdString() + "' - 2>/dev/null").c_str(), "r");
  QByteArray out;
  char chunk[4096];
  for (std::size_t n; pipe != nullptr && (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
    out.append(chunk, static_cast<qsizetype>(n));
  if (pipe != nullptr)
    pclose(pipe);
  static const QRegularExpression tag(
      R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>)re");
  constexpr double kMmPerPoint = 25.4 / 72;
  std::vector<Page> pages;
  for (auto it = tag.globalMatch(QString::fromUtf8(out)); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    if (m.captured(1).isEmpty())
      pages.emplace_back();
    else
      pages.back().push_back({m.captured(3), m.captured(1).toDouble() * kMmPerPoint,
                              m.captured(2).toDouble() * kMmPerPoint});
  }
  return pages;
}

bool pageHasText(const Page& page, const QString& text) {
  QString all;
  for (const Word& word : page)
    all += word.text;
  return all.contains(text);
}

// The printable area on the sheet, in millimetres.
QRectF area() {
  const QRect pixels = a4PrintableArea(kDpi);
  const double mm = 25.4 / kDpi;
  return {pixels.left() * mm, pixels.top() * mm, pixels.width() * mm, pixels.height() * mm};
}

// The words that read as page numbers within 10 mm of the area's top or bottom.
std::vector<Word> pageNumbers(const Page& page) {
  static const QRegularExpression number(QStringLiteral("^-?\\d+-?$"));
  std::vector<Word> found;
  for (const Word& word : page) {
    if ((word.top < area().top() + 10 || word.top > area().bottom() - 10) &&
        number.match(word.text).hasMatch())
      found.push_back(word);
  }
  return found;
}

// Pages 1 and 2 each carry one number, `first` and the next, starting
// `left` mm from the sheet's left edge, in the top or the bottom band.
void expectNumbers(const std::vector<Page>& pages, int first, bool hyphens, double left, bool top) {
  ASSERT_GE(pages.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const std::vector<Word> numbers = pageNumbers(pages[i]);
    ASSERT_EQ(numbers.size(), 1u) << "page " << i + 1;
    const QString digits = QString::number(first + static_cast<int>(i));
    EXPECT_EQ(numbers[0].text, hyphens ? "-" + digits + "-" : digits) << "page " << i + 1;
    EXPECT_NEAR(numbers[0].left, left, 0.3) << "page " << i + 1;
    EXPECT_EQ(numbers[0].top < area().center().y(), top) << "page " << i + 1;
  }
}

bool busyPanelShown() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    for (const QLabel* label : window->findChildren<QLabel*>()) {
      if (window->isVisible() && label->text() == qs(kBusyPrinting))
        return true;
    }
  }
  return false;
}

// The tests' printer: an A4 PDF into memory that notes at every new page
// whether the busy panel and the hourglass are up; jammed, it refuses pages.
class RecordingPrinter : public QPdfWriter {
 public:
  RecordingPrinter(QIODevice* device, bool jammed) : QPdfWriter(device), jammed_(jammed) {
    setResolution(kDpi);
    setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
  }
  bool newPage() override {
    const QCursor* cursor = QApplication::overrideCursor();
    busyThroughout = busyThroughout && busyPanelShown() && cursor != nullptr &&
                     cursor->shape() == Qt::WaitCursor;
    return !jammed_ && QPdfWriter::newPage();
  }
  bool busyThroughout = true;

 private:
  bool jammed_;
};

class PrintingTest : public ::testing::Test {
 protected:
  PrintingTest() : window(started.session, dialogs()) {}

  void SetUp() override {
    havePdftotext = std::system("command -v pdftotext >/dev/null 2>&1") == 0;
    window.showOutcome(*started.session.calculate().outcome);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    screenImage = window.reportImage();
  }

  ResultWindowDialogs dialogs() {
    ResultWindowDialogs d = ResultWindowDialogs::platform();
    d.choosePrinter = [this](QWidget*) -> std::optional<PrintTarget> {
      ++printDialogs;
      if (!acceptPrintDialog)
        return std::nullopt;
      jobs.emplace_back().open(QIODevice::WriteOnly);
      printer = std::make_shared<RecordingPrinter>(&jobs.back(), jammed);
      return PrintTarget{printer, a4PrintableArea(kDpi)};
    };
    d.choosePdfFile = [this](QWidget*, const fs::path& proposal) {
      pdfProposals.push_back(proposal);
      return pdfChoice;
    };
    return d;
  }

  PrintSettingsWindow& dialog() { return window.printSettingsWindow(); }
  QRadioButton& position(std::size_t index) { return *dialog().positionButton(index); }

  void openSettings() {
    QTest::mouseClick(window.printSettingsButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog()));
  }
  void confirm() { QTest::mouseClick(dialog().confirmButton(), Qt::LeftButton); }

  // A click into the field, then text as an input method hands it over.
  void typeName(const QString& text) {
    QTest::mouseClick(dialog().nameField(), Qt::LeftButton);
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(dialog().nameField(), &event);
  }

  void typeStartNumber(const char* keys) {
    dialog().startNumberField()->setFocus();
    dialog().startNumberField()->selectAll();
    QTest::keyClicks(dialog().startNumberField(), QString::fromLatin1(keys));
  }

  void chooseStyle(int index) {
    QComboBox& list = *dialog().styleList();
    if (list.currentIndex() != index)
      QTest::keyClick(&list, list.currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
  }

  std::vector<Page> print() {
    QTest::mouseClick(window.printButton(), Qt::LeftButton);
    return readPages(jobs.back().data());
  }

  StartedSession started;
  bool havePdftotext = false;
  int printDialogs = 0;
  bool acceptPrintDialog = true;
  bool jammed = false;
  std::deque<QBuffer> jobs;
  std::shared_ptr<RecordingPrinter> printer;
  std::vector<fs::path> pdfProposals;
  std::optional<fs::path> pdfChoice;
  ResultWindow window;
  QImage screenImage;
};

TEST_F(PrintingTest, DialogShowsTheModelAndHandsBackToTheResultWindow) {
  openSettings();
  EXPECT_EQ(dialog().size(), QSize(466, 185));
  EXPECT_FALSE(window.isEnabled());
  EXPECT_EQ(QApplication::focusWidget(), dialog().nameField());
  EXPECT_EQ(dialog().nameField()->text(), "件名を入力");
  // "無し" above the right column of the top and bottom rows.
  EXPECT_EQ(position(0).x(), position(3).x());
  EXPECT_LT(position(0).y(), position(3).y());
  EXPECT_LT(position(3).y(), position(6).y());
  EXPECT_FALSE(dialog().numberGroup()->isEnabled());

  // The click empties the placeholder; the name keeps 65 characters.
  typeName(QString(70, QChar(u'棟')));
  EXPECT_EQ(dialog().nameField()->text(), QString(65, QChar(u'棟')));
  // A position counts at once, lights up and opens the number group.
  position(6).click();
  EXPECT_EQ(started.session.printSettings().pageNumberPosition, PageNumberPosition::BottomRight);
  EXPECT_EQ(position(6).palette().color(QPalette::WindowText), QColor(204, 0, 68));
  EXPECT_EQ(position(0).palette().color(QPalette::WindowText), QColor(0, 0, 128));
  EXPECT_TRUE(dialog().numberGroup()->isEnabled());
  typeStartNumber("12a");
  EXPECT_EQ(dialog().startNumberField()->text(), "12");

  confirm();
  EXPECT_FALSE(dialog().isVisible());
  EXPECT_TRUE(window.isEnabled());
  EXPECT_EQ(dialog().focusWidget(), dialog().nameField());
  EXPECT_EQ(qs(started.session.printSettings().projectName), QString(65, QChar(u'棟')));
  EXPECT_EQ(started.session.printSettings().startNumber, "12");
}

TEST_F(PrintingTest, PagesCarryTheNumbersAndNameAsSetAndTheScreenNone) {
  if (!havePdftotext)
    GTEST_SKIP() << "pdftotext is not installed";
  // 下-中, "-1-,-2-,-3-･･･" from 5: centred at the foot, 1 mm per character.
  openSettings();
  typeName(QStringLiteral("倉庫A棟"));
  position(5).click();
  chooseStyle(1);
  typeStartNumber("5");
  confirm();
  std::vector<Page> pages = print();
  expectNumbers(pages, 5, true, area().left() + (area().width() - 3) / 2, false);
  EXPECT_TRUE(pageHasText(pages[0], QStringLiteral("物件名：倉庫A棟")));
  EXPECT_TRUE(printer->busyThroughout);
  EXPECT_FALSE(busyPanelShown());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // 上-右 with four digits: 4 + 12 mm left of the right edge, 6 mm below the
  // top. An emptied name is no name: page 1 has no box.
  openSettings();
  dialog().nameField()->selectAll();
  QTest::keyClick(dialog().nameField(), Qt::Key_Delete);
  position(3).click();
  chooseStyle(0);
  typeStartNumber("1000");
  confirm();
  EXPECT_EQ(started.session.printSettings().projectName, kNoProjectName);
  pages = print();
  expectNumbers(pages, 1000, false, area().right() - 16, true);
  EXPECT_NEAR(pageNumbers(pages[1]).at(0).top - area().top(), 6, 0.5);
  EXPECT_FALSE(pageHasText(pages[0], QStringLiteral("物件名")));

  // 下-左 chosen and then cancelled still counts.
  openSettings();
  position(4).click();
  QTest::mouseClick(dialog().cancelButton(), Qt::LeftButton);
  expectNumbers(print(), 1000, false, area().left() + 5, false);

  // "無し" confirmed: no numbers on any page.
  openSettings();
  position(0).click();
  confirm();
  for (const Page& page : print())
    EXPECT_TRUE(pageNumbers(page).empty());

  // Neither printing nor the settings ever reach the screen image.
  EXPECT_EQ(window.reportImage(), screenImage);
  window.showOutcome(*started.session.lastOutcome());
  EXPECT_EQ(window.reportImage(), screenImage);
}

TEST_F(PrintingTest, CancelledDialogPrintsNothingAndAPrinterFailureIsReported) {
  MessageLog messages;
  acceptPrintDialog = false;
  QTest::mouseClick(window.printButton(), Qt::LeftButton);
  EXPECT_EQ(printDialogs, 1);
  EXPECT_TRUE(jobs.empty());
  EXPECT_TRUE(messages.texts.isEmpty());

  acceptPrintDialog = true;
  jammed = true;
  QTest::mouseClick(window.printButton(), Qt::LeftButton);
  ASSERT_EQ(messages.texts.size(), 1);
  EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("プリンタ")));
  EXPECT_FALSE(busyPanelShown());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(window.reportImage(), screenImage);
}

TEST_F(PrintingTest, PreviewShowsThePrintedPagesAndThePdfIsSavedWhereProposed) {
  if (!havePdftotext)
    GTEST_SKIP() << "pdftotext is not installed";
  MessageLog messages;
  const std::vector<Page> printed = print();
  // The platform's preview over the same printer pass, read while it is shown.
  int previewPages = -1;
  QTimer::singleShot(0, [&previewPages] {
    if (auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
      previewPages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
      preview->reject();
    }
  });
  QTest::mouseClick(window.previewButton(), Qt::LeftButton);
  EXPECT_EQ(previewPages, static_cast<int>(printed.size()));

  // Without a project file "計算書.pdf" in the project folder is proposed; a
  // name typed without an extension receives ".pdf".
  pdfChoice = started.folder() / "控え";
  QTest::mouseClick(window.pdfButton(), Qt::LeftButton);
  EXPECT_EQ(pdfProposals.at(0), started.folder() / "計算書.pdf");
  QFile saved(qs((started.folder() / "控え.pdf").string()));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  const std::vector<Page> pages = readPages(saved.readAll());
  ASSERT_EQ(pages.size(), printed.size());
  const CalculationOutcome& outcome = *started.session.lastOutcome();
  const QString title = qs(reportTitleText(outcome.conditions.deckName, outcome.facts));
  EXPECT_TRUE(pageHasText(pages[0], title.simplified().remove(QLatin1Char(' '))));

  // With a project file, its name beside it; a missing folder is reported
  // and nothing is written.
  started.session.save(started.folder() / "倉庫.tvl");
  pdfChoice = started.folder() / "無い" / "倉庫.pdf";
  QTest::mouseClick(window.pdfButton(), Qt::LeftButton);
  EXPECT_EQ(pdfProposals.at(1), started.folder() / "倉庫.pdf");
  ASSERT_EQ(messages.texts.size(), 1);
  EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("書き込めません")));
  EXPECT_FALSE(fs::exists(*pdfChoice));
}

}  // namespace
}  // namespace tavilo::ui
