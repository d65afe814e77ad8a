#include "ui/result_window.h"

#include <QCloseEvent>
#include <QPushButton>
#include <numeric>
#include <utility>

#include "model/program_texts.h"
#include "model/session.h"
#include "report/qt/report_output.h"
#include "ui/print_settings_window.h"
#include "ui/ui_support.h"
#include "ui/window_placement.h"

namespace tavilo::ui {
namespace {

// The spacer begins after "閉じる" and reaches "印刷の設定" at the right end
// of the tool bar (282 pixels wide in a window of the full width).
constexpr int kSpacerLeft = 200;
constexpr int kRightButtonWidth = 100;
constexpr int kSpacerCommandWidth = 80;

}  // namespace

ResultWindow::ResultWindow(Session& session, ResultWindowDialogs dialogs, QWidget* parent)
    : DocumentWindow(session, std::move(dialogs), parent) {
  buildToolBar();
  printSettingsWindow_ = new PrintSettingsWindow(session_, this);
  connect(printSettingsWindow_, &PrintSettingsWindow::closed, this, [this] {
    setEnabled(true);
    bringToFront(*this);
    setFocus(Qt::OtherFocusReason);
  });
}

ResultWindow::~ResultWindow() = default;

void ResultWindow::buildToolBar() {
  printButton_ = addToolButton(qs(kPrintCommand.caption), qs(kPrintCommand.hint), 0, 100);
  closeButton_ =
      addToolButton(qs(kCloseResultCommand.caption), qs(kCloseResultCommand.hint), 100, 100);
  spacer_ = addToolButton(QStringLiteral("　　　　　"), QString(), kSpacerLeft,
                          width() - kSpacerLeft - kRightButtonWidth);
  printSettingsButton_ =
      addToolButton(qs(kPrintSettingsCommand.caption), qs(kPrintSettingsCommand.hint),
                    width() - kRightButtonWidth, kRightButtonWidth);
  spacer_->setEnabled(false);
  previewButton_ = addToolBarCommand(qs(kReportPreviewCommand.caption),
                                     qs(kReportPreviewCommand.hint), kSpacerCommandWidth);
  pdfButton_ = addToolBarCommand(qs(kReportPdfCommand.caption), qs(kReportPdfCommand.hint),
                                 kSpacerCommandWidth);

  connect(printButton_, &QPushButton::clicked, this, &ResultWindow::print);
  connect(closeButton_, &QPushButton::clicked, this, &ResultWindow::closeReport);
  connect(previewButton_, &QPushButton::clicked, this, &ResultWindow::preview);
  connect(pdfButton_, &QPushButton::clicked, this, &ResultWindow::savePdf);
  connect(printSettingsButton_, &QPushButton::clicked, this, &ResultWindow::openPrintSettings);
}

QPushButton* ResultWindow::addToolBarCommand(const QString& caption, const QString& hint,
                                             int width) {
  QPushButton* button = addToolButton(caption, hint, 0, width);
  spacerCommands_.push_back(button);
  placeSpacerCommands();
  return button;
}

void ResultWindow::placeSpacerCommands() {
  if (spacer_ == nullptr || printSettingsButton_ == nullptr)
    return;
  const int taken = std::accumulate(spacerCommands_.begin(), spacerCommands_.end(), 0,
                                    [](int sum, const QPushButton* b) { return sum + b->width(); });
  const int right = std::max(kSpacerLeft, width() - kRightButtonWidth);
  printSettingsButton_->move(right, 0);
  const int spacerWidth = std::max(0, right - kSpacerLeft - taken);
  spacer_->setGeometry(kSpacerLeft, 0, spacerWidth, kToolButtonHeight);
  spacer_->setVisible(spacerWidth > 0);
  int left = kSpacerLeft + spacerWidth;
  for (QPushButton* button : spacerCommands_) {
    button->move(left, 0);
    left += button->width();
  }
}

void ResultWindow::showOutcome(const CalculationOutcome& outcome) {
  outcome_ = outcome;
  setWindowTitle(qs(kResultCaption));
  showImage([outcome](double ratio) { return renderScreenImage(outcome, ratio); });
}

void ResultWindow::closeReport() {
  hide();
  eraseImage();
  emit closed();
}

void ResultWindow::closeEvent(QCloseEvent* event) {
  // While the print settings dialog is shown the window is disabled and
  // stays; otherwise the title bar's close keeps the report until the next
  // calculation.
  if (!isEnabled()) {
    event->ignore();
    return;
  }
  event->accept();
  emit closed();
}

std::optional<PrintedDocument> ResultWindow::document() const {
  if (!outcome_)
    return std::nullopt;
  PrintedDocument d;
  const PrintJob job = printJobOf(session_);
  d.pdfProposal = proposedPdfPath(session_.paths().current, session_.folders().projects);
  d.name = reportDocumentTitle(job, d.pdfProposal.filename());
  d.print = [outcome = *outcome_, job](QPagedPaintDevice& device, const QRect& area) {
    printReport(device, area, outcome, job);
  };
  d.writePdf = [outcome = *outcome_, job](const std::filesystem::path& path) {
    writeReportPdf(path, outcome, job);
  };
  return d;
}

void ResultWindow::openPrintSettings() {
  setEnabled(false);
  printSettingsWindow_->open();
}

}  // namespace tavilo::ui
