#include "ui/result_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <numeric>
#include <utility>

#include "calc/errors.h"
#include "report/report_output.h"
#include "report/report_style.h"
#include "ui/auxiliary_windows.h"
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
constexpr const char* kDefaultPdfName = "計算書.pdf";

// Paints the report image as it is, without a copy of its own.
class ReportImageView : public QWidget {
 public:
  ReportImageView(const QImage& image, QWidget* parent) : QWidget(parent), image_(image) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    painter.drawImage(event->rect(), image_, event->rect());
  }

 private:
  const QImage& image_;
};

// The scroll box: the position moves by the wheel delta itself, so one notch
// (delta 120) scrolls exactly 120 pixels whatever the desktop's wheel setting.
class ReportScrollBox : public QScrollArea {
 public:
  using QScrollArea::QScrollArea;

 protected:
  void wheelEvent(QWheelEvent* event) override {
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() - event->angleDelta().y());
    event->accept();
  }
};

void setColour(QWidget& widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(role, colour);
  widget.setPalette(palette);
}

// The print dialog's paper is the user's choice; A4 portrait is what the
// report is laid out for, and what the print button's hint asks for.
void proposeA4Portrait(QPrinter& printer) {
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
}

PrintJob printJobOf(const Session& session) {
  PrintJob job;
  job.printSettings = session.printSettings();
  job.projectFilePath = session.paths().current.string();
  return job;
}

class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

std::filesystem::path proposedPdfPath(const std::filesystem::path& projectFile,
                                      const std::filesystem::path& defaultFolder) {
  if (projectFile.empty() || !projectFile.has_stem())
    return defaultFolder / kDefaultPdfName;
  std::filesystem::path name = projectFile.stem();
  name += ".pdf";
  return projectFile.parent_path() / name;
}

ResultWindowDialogs ResultWindowDialogs::platform() {
  ResultWindowDialogs d;
  d.choosePrinter = [](QWidget* parent) -> std::optional<PrintTarget> {
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    proposeA4Portrait(*printer);
    QPrintDialog dialog(printer.get(), parent);
    // The report is printed whole: no page range, selection or current page.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCollateCopies);
    if (dialog.exec() != QDialog::Accepted)
      return std::nullopt;
    return PrintTarget{printer, QRect(0, 0, printer->width(), printer->height())};
  };
  d.preview = [](QWidget* parent, const std::function<void(QPrinter&)>& paint) {
    QPrinter printer(QPrinter::HighResolution);
    proposeA4Portrait(printer);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー"));
    if (const QScreen* screen = dialog.screen()) {
      const QRect area = screen->availableGeometry();
      dialog.resize(std::min(area.width(), 760), std::min(area.height() - 40, 980));
    }
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* target) { paint(*target); });
    dialog.exec();
  };
  d.choosePdfFile =
      [](QWidget* parent,
         const std::filesystem::path& proposal) -> std::optional<std::filesystem::path> {
    return chooseFileToSave(parent, QStringLiteral("PDF保存"), proposal,
                            QStringLiteral("PDFファイル(*.pdf);;全てのファイル(*.*)"),
                            QStringLiteral("pdf"));
  };
  return d;
}

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

  scrollBox_ = new ReportScrollBox(this);
  scrollBox_->setGeometry(0, kToolBarHeight, kClientWidth, kClientHeight - kToolBarHeight);
  scrollBox_->setFrameShape(QFrame::NoFrame);
  scrollBox_->setWidgetResizable(false);
  setColour(*scrollBox_->viewport(), QPalette::Window, kReportGround);
  scrollBox_->viewport()->setAutoFillBackground(true);
  // The report moves while the thumb is dragged, not only when it is let go.
  scrollBox_->verticalScrollBar()->setTracking(true);
  scrollBox_->horizontalScrollBar()->setTracking(true);
  imageView_ = new ReportImageView(image_, scrollBox_);
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
  auto* button = new QPushButton(caption, toolBar_);
  button->setGeometry(left, 0, width, kToolButtonHeight);
  button->setFont(windowFont(13));
  button->setToolTip(hint);
  button->setAutoDefault(false);
  button->setFocusPolicy(Qt::TabFocus);
  // Navy while usable; a disabled button keeps the style's grey.
  QPalette palette = button->palette();
  palette.setColor(QPalette::Active, QPalette::ButtonText, kNavy);
  palette.setColor(QPalette::Inactive, QPalette::ButtonText, kNavy);
  button->setPalette(palette);
  return button;
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

void ResultWindow::print() {
  if (!outcome_ || !dialogs_.choosePrinter)
    return;
  const std::optional<PrintTarget> target = dialogs_.choosePrinter(this);
  if (!target || !target->device)
    return;
  const PrintJob job = printJobOf(session_);
  auto* printer = dynamic_cast<QPrinter*>(target->device.get());
  if (printer != nullptr)
    printer->setDocName(qs(reportDocumentTitle(job, kDefaultPdfName)));
  try {
    const BusyPanel busy(QString::fromUtf8(BusyPanel::kPrinting));
    printReport(*target->device, target->printableArea, *outcome_, job);
    if (printer != nullptr && printer->printerState() == QPrinter::Error)
      throw UserError("プリンタでの印刷に失敗しました。プリンタの状態を確認して下さい。");
  } catch (const UserError& error) {
    // The busy panel is gone before the message appears.
    showMessage(this, qs(error.what()));
  }
}

void ResultWindow::preview() {
  if (!outcome_ || !dialogs_.preview)
    return;
  dialogs_.preview(this, [this](QPrinter& printer) { paintOnPrinter(printer); });
}

void ResultWindow::paintOnPrinter(QPrinter& printer) {
  try {
    printReport(printer, QRect(0, 0, printer.width(), printer.height()), *outcome_,
                printJobOf(session_));
  } catch (const UserError& error) {
    showMessage(this, qs(error.what()));
  }
}

void ResultWindow::savePdf() {
  if (!outcome_ || !dialogs_.choosePdfFile)
    return;
  const std::optional<std::filesystem::path> chosen = dialogs_.choosePdfFile(
      this, proposedPdfPath(session_.paths().current, session_.folders().projects));
  if (!chosen)
    return;
  std::filesystem::path path = *chosen;
  // The platform's dialog adds the extension itself; this covers any other.
  if (!path.has_extension())
    path += ".pdf";
  try {
    const WaitCursor busy;
    writeReportPdf(path.string(), *outcome_, printJobOf(session_));
  } catch (const UserError& error) {
    showMessage(this, qs(error.what()));
  }
}

void ResultWindow::openPrintSettings() {
  setEnabled(false);
  printSettingsWindow_->open();
}

}  // namespace tavilo::ui
