#include "ui/printed_document.h"

#include <QApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "calc/errors.h"
#include "model/program_texts.h"
#include "model/session.h"
#include "platform/utf8_path.h"
#include "ui/auxiliary_windows.h"
#include "ui/ui_support.h"

namespace tavilo::ui {
namespace {

// The print dialog's paper is the user's choice; A4 portrait is what the
// report is laid out for, and what the print button's hint asks for.
void proposeA4Portrait(QPrinter& printer) {
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
}

class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

PrintJob printJobOf(const Session& session) {
  PrintJob job;
  job.printSettings = session.printSettings();
  job.projectFilePath = session.paths().current;
  return job;
}

std::filesystem::path proposedPdfPath(const std::filesystem::path& projectFile,
                                      const std::filesystem::path& defaultFolder) {
  if (projectFile.empty() || !projectFile.has_stem())
    return defaultFolder / pathFromUtf8(std::string(kReportPdfStem) + ".pdf");
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
    dialog.setWindowTitle(qs(kPreviewCaption));
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
    const QString filter = qs(kPdfFileType) + QStringLiteral("(*.pdf);;") + qs(kAllFilesType) +
                           QStringLiteral("(*.*)");
    return chooseFileToSave(parent, qs(kSavePdfTitle), proposal, filter, QStringLiteral("pdf"));
  };
  return d;
}

void printDocument(QWidget* owner, const ResultWindowDialogs& dialogs, const PrintedDocument& d) {
  if (!dialogs.choosePrinter)
    return;
  const std::optional<PrintTarget> target = dialogs.choosePrinter(owner);
  if (!target || !target->device)
    return;
  auto* printer = dynamic_cast<QPrinter*>(target->device.get());
  if (printer != nullptr)
    printer->setDocName(qs(d.name));
  try {
    const BusyPanel busy(qs(kBusyPrinting));
    d.print(*target->device, target->printableArea);
    if (printer != nullptr && printer->printerState() == QPrinter::Error)
      throw UserError(std::string(kPrinterFailed));
  } catch (const UserError& error) {
    // The busy panel is gone before the message appears.
    showMessage(owner, qs(error.what()));
  }
}

void previewDocument(QWidget* owner, const ResultWindowDialogs& dialogs, const PrintedDocument& d) {
  if (!dialogs.preview)
    return;
  dialogs.preview(owner, [owner, &d](QPrinter& printer) {
    try {
      d.print(printer, QRect(0, 0, printer.width(), printer.height()));
    } catch (const UserError& error) {
      showMessage(owner, qs(error.what()));
    }
  });
}

void saveDocumentAsPdf(QWidget* owner, const ResultWindowDialogs& dialogs,
                       const PrintedDocument& d) {
  if (!dialogs.choosePdfFile)
    return;
  const std::optional<std::filesystem::path> chosen = dialogs.choosePdfFile(owner, d.pdfProposal);
  if (!chosen)
    return;
  std::filesystem::path path = *chosen;
  // The platform's dialog adds the extension itself; this covers any other.
  if (!path.has_extension())
    path += ".pdf";
  try {
    const WaitCursor busy;
    d.writePdf(path);
  } catch (const UserError& error) {
    showMessage(owner, qs(error.what()));
  }
}

QPushButton* toolBarButton(QWidget& toolBar, const QString& caption, const QString& hint,
                           const QRect& place) {
  auto* button = new QPushButton(caption, &toolBar);
  button->setGeometry(place);
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

ImageView::ImageView(const QImage& image, QWidget* parent) : QWidget(parent), image_(image) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // The image may hold more pixels than the widget (a HiDPI image): the
  // part shown is taken in the image's own pixels.
  const QRect shown = event->rect();
  const qreal ratio = image_.devicePixelRatio();
  const QRectF source(shown.x() * ratio, shown.y() * ratio, shown.width() * ratio,
                      shown.height() * ratio);
  painter.drawImage(QRectF(shown), image_, source);
}

ImageScrollBox::ImageScrollBox(QWidget* parent) : QScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(false);
  verticalScrollBar()->setTracking(true);
  horizontalScrollBar()->setTracking(true);
}

void ImageScrollBox::wheelEvent(QWheelEvent* event) {
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(bar->value() - event->angleDelta().y());
  event->accept();
}

}  // namespace tavilo::ui
