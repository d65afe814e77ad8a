#include "ui/result_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <numeric>
#include <utility>

#include "report/report_output.h"
#include "report/report_style.h"
#include "ui/form/session.h"
#include "ui/print_settings_window.h"
#include "ui/ui_support.h"
#include "ui/window_placement.h"

namespace tavilo::ui {
namespace {

const QColor kWindowGround{210, 210, 224};
const QColor kToolBarColour{0, 64, 128};
const QColor kReportGround{kScreenBackground.red, kScreenBackground.green, kScreenBackground.blue};
constexpr int kToolButtonHeight = 24;
// The spacer's place between "閉じる" and "印刷の設定" when it stands alone.
constexpr int kSpacerLeft = 200;
constexpr int kSpacerWidth = 282;
constexpr int kSpacerCommandWidth = 80;

void setColour(QWidget& widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(role, colour);
  widget.setPalette(palette);
}

}  // namespace

ResultWindow::ResultWindow(Session& session, ResultWindowDialogs dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      session_(session),
      dialogs_(std::move(dialogs)) {
  setFont(windowFont());
  setFixedSize(kClientWidth, kClientHeight);
  setColour(*this, QPalette::Window, kWindowGround);
  setAutoFillBackground(true);
  buildToolBar();

  scrollBox_ = new ImageScrollBox(this);
  scrollBox_->setGeometry(0, kToolBarHeight, kClientWidth, kClientHeight - kToolBarHeight);
  setColour(*scrollBox_->viewport(), QPalette::Window, kReportGround);
  scrollBox_->viewport()->setAutoFillBackground(true);
  imageView_ = new ImageView(image_, scrollBox_);
  imageView_->resize(0, 0);
  scrollBox_->setWidget(imageView_);

  printSettingsWindow_ = new PrintSettingsWindow(session_, this);
  connect(printSettingsWindow_, &PrintSettingsWindow::closed, this, [this] {
    setEnabled(true);
    bringToFront(*this);
    setFocus(Qt::OtherFocusReason);
  });
}

ResultWindow::~ResultWindow() = default;

void ResultWindow::buildToolBar() {
  toolBar_ = new QWidget(this);
  toolBar_->setGeometry(0, 0, kClientWidth, kToolBarHeight);
  setColour(*toolBar_, QPalette::Window, kToolBarColour);
  toolBar_->setAutoFillBackground(true);

  printButton_ =
      addToolButton(QStringLiteral("印刷"), QStringLiteral("用紙をA4 縦に設定して下さい"), 0, 100);
  closeButton_ =
      addToolButton(QStringLiteral("閉じる"), QStringLiteral("条件入力へ戻る"), 100, 100);
  spacer_ = addToolButton(QStringLiteral("　　　　　"), QString(), kSpacerLeft, kSpacerWidth);
  printSettingsButton_ =
      addToolButton(QStringLiteral("印刷の設定"), QStringLiteral("件名・ページの設定"),
                    kSpacerLeft + kSpacerWidth, 100);
  spacer_->setEnabled(false);
  previewButton_ =
      addToolBarCommand(QStringLiteral("プレビュー"),
                        QStringLiteral("印刷される計算書を画面で確認します"), kSpacerCommandWidth);
  pdfButton_ =
      addToolBarCommand(QStringLiteral("PDF保存"),
                        QStringLiteral("計算書をPDFファイルに保存します"), kSpacerCommandWidth);

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
  const int taken = std::accumulate(spacerCommands_.begin(), spacerCommands_.end(), 0,
                                    [](int sum, const QPushButton* b) { return sum + b->width(); });
  const int spacerWidth = std::max(0, kSpacerWidth - taken);
  spacer_->setGeometry(kSpacerLeft, 0, spacerWidth, kToolButtonHeight);
  spacer_->setVisible(spacerWidth > 0);
  int left = kSpacerLeft + spacerWidth;
  for (QPushButton* button : spacerCommands_) {
    button->move(left, 0);
    left += button->width();
  }
}

QPushButton* ResultWindow::addToolButton(const QString& caption, const QString& hint, int left,
                                         int width) {
  return toolBarButton(*toolBar_, caption, hint, QRect(left, 0, width, kToolButtonHeight));
}

void ResultWindow::showOutcome(const CalculationOutcome& outcome) {
  outcome_ = outcome;
  image_ = renderScreenImage(outcome);
  imageView_->resize(image_.size());
  imageView_->update();
  scrollBox_->verticalScrollBar()->setValue(0);
  scrollBox_->horizontalScrollBar()->setValue(0);
  setWindowTitle(QStringLiteral("Tavilo for Win [計算結果の表示]"));
  if (!isVisible())
    centreOnScreen(*this);
  show();
  bringToFront(*this);
}

void ResultWindow::closeReport() {
  hide();
  image_.fill(kReportGround);
  imageView_->update();
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

PrintedDocument ResultWindow::document() const {
  PrintedDocument d;
  const PrintJob job = printJobOf(session_);
  d.pdfProposal = proposedPdfPath(session_.paths().current, session_.folders().projects);
  d.name = reportDocumentTitle(job, d.pdfProposal.filename().string());
  d.print = [outcome = *outcome_, job](QPagedPaintDevice& device, const QRect& area) {
    printReport(device, area, outcome, job);
  };
  d.writePdf = [outcome = *outcome_, job](const std::filesystem::path& path) {
    writeReportPdf(path.string(), outcome, job);
  };
  return d;
}

void ResultWindow::print() {
  if (outcome_)
    printDocument(this, dialogs_, document());
}

void ResultWindow::preview() {
  if (outcome_)
    previewDocument(this, dialogs_, document());
}

void ResultWindow::savePdf() {
  if (outcome_)
    saveDocumentAsPdf(this, dialogs_, document());
}

void ResultWindow::openPrintSettings() {
  setEnabled(false);
  printSettingsWindow_->open();
}

}  // namespace tavilo::ui
