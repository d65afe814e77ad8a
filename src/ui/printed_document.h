#pragma once
// What the windows that show a printable document share: the print dialog,
// the preview and the PDF save dialog (replaceable, so that the tests answer
// them and record the printer pass), the three commands that use them, and
// the scroll box that shows a document's screen image.

#include <QImage>
#include <QRect>
#include <QScrollArea>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "report/qt/report_output.h"

class QPagedPaintDevice;
class QPrinter;
class QPushButton;

namespace tavilo {
class Session;
}

namespace tavilo::ui {

// The paper of one print job: the device the printer pass paints on and the
// part of each page it may use, in the device's pixels.
struct PrintTarget {
  std::shared_ptr<QPagedPaintDevice> device;
  QRect printableArea;
};

// The platform dialogs and the printer behind the tool bar, replaceable so
// that the tests answer the dialogs and record the printer pass.
struct ResultWindowDialogs {
  // The print dialog over a printer proposed A4 portrait; nothing when the
  // user cancels.
  std::function<std::optional<PrintTarget>(QWidget* parent)> choosePrinter;
  // The preview window over a printer proposed A4 portrait: it calls `paint`
  // for every printer it renders the pages on (its own print button
  // included) and returns when it is closed.
  std::function<void(QWidget* parent, const std::function<void(QPrinter&)>& paint)> preview;
  // The save dialog for the PDF, starting at `proposal`; nothing when cancelled.
  std::function<std::optional<std::filesystem::path>(QWidget* parent,
                                                     const std::filesystem::path& proposal)>
      choosePdfFile;

  static ResultWindowDialogs platform();
};

// The name the PDF save dialog proposes: the project file's name with ".pdf"
// in its folder, else "計算書.pdf" in `defaultFolder`.
std::filesystem::path proposedPdfPath(const std::filesystem::path& projectFile,
                                      const std::filesystem::path& defaultFolder);

// The print job of the session's print settings, naming its project file.
PrintJob printJobOf(const Session& session);

// One document the print commands take: the printer pass onto a device's
// printable area and the PDF writer, both throwing UserError on failure.
struct PrintedDocument {
  std::string name;                   // the print job's name
  std::filesystem::path pdfProposal;  // where the PDF save dialog starts
  std::function<void(QPagedPaintDevice&, const QRect&)> print;
  std::function<void(const std::filesystem::path&)> writePdf;
};

// "印刷": the print dialog, then the busy panel "　印刷中 ・・・" while the
// printer pass runs; a cancelled dialog prints nothing. Errors are shown.
void printDocument(QWidget* owner, const ResultWindowDialogs& dialogs, const PrintedDocument& d);
// "プレビュー": the preview runs the same printer pass.
void previewDocument(QWidget* owner, const ResultWindowDialogs& dialogs, const PrintedDocument& d);
// "PDF保存": the save dialog, then the PDF writer. Errors are shown.
void saveDocumentAsPdf(QWidget* owner, const ResultWindowDialogs& dialogs,
                       const PrintedDocument& d);

// A button of a document window's tool bar at its place: the window face
// 13 px high, navy while usable, its hint as tooltip.
QPushButton* toolBarButton(QWidget& toolBar, const QString& caption, const QString& hint,
                           const QRect& place);

// Shows an image kept by its owner, without a copy of its own.
class ImageView : public QWidget {
 public:
  ImageView(const QImage& image, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage& image_;
};

// The scroll box of a document: one wheel notch (delta 120) scrolls exactly
// 120 pixels whatever the desktop's wheel setting, and the document moves
// while a scroll bar's thumb is dragged.
class ImageScrollBox : public QScrollArea {
 public:
  explicit ImageScrollBox(QWidget* parent);

 protected:
  void wheelEvent(QWheelEvent* event) override;
};

}  // namespace tavilo::ui
