#include "ui/span_table_window.h"

#include <QPushButton>
#include <algorithm>
#include <utility>

#include "model/program_texts.h"
#include "model/session.h"
#include "platform/utf8_path.h"
#include "report/qt/report_output.h"
#include "ui/ui_support.h"

namespace tavilo::ui {
namespace {

// The spacer between "PDF保存" and "閉じる", which stands at the right end.
constexpr int kSpacerLeft = 300;
constexpr int kCloseWidth = 100;

}  // namespace

std::filesystem::path proposedSpanTablePdfPath(const std::filesystem::path& projectFile,
                                               const std::filesystem::path& defaultFolder) {
  const std::string name = std::string(kSpanTableName) + ".pdf";
  if (projectFile.empty() || !projectFile.has_stem())
    return defaultFolder / name;
  return projectFile.parent_path() / pathFromUtf8(utf8FromPath(projectFile.stem()) + "_" + name);
}

SpanTableWindow::SpanTableWindow(Session& session, ResultWindowDialogs dialogs, QWidget* parent)
    : DocumentWindow(session, std::move(dialogs), parent) {
  setWindowTitle(qs(kSpanTableCaption));
  printButton_ = addToolButton(qs(kPrintCommand.caption), qs(kPrintCommand.hint), 0, 100);
  previewButton_ = addToolButton(qs(kSpanTablePreviewCommand.caption),
                                 qs(kSpanTablePreviewCommand.hint), 100, 100);
  pdfButton_ =
      addToolButton(qs(kSpanTablePdfCommand.caption), qs(kSpanTablePdfCommand.hint), 200, 100);
  spacer_ = addToolButton(QStringLiteral("　　　　　"), QString(), kSpacerLeft,
                          width() - kSpacerLeft - kCloseWidth);
  spacer_->setEnabled(false);
  closeButton_ = addToolButton(qs(kCloseSpanTableCommand.caption), qs(kCloseSpanTableCommand.hint),
                               width() - kCloseWidth, kCloseWidth);

  connect(printButton_, &QPushButton::clicked, this, &SpanTableWindow::print);
  connect(previewButton_, &QPushButton::clicked, this, &SpanTableWindow::preview);
  connect(pdfButton_, &QPushButton::clicked, this, &SpanTableWindow::savePdf);
  connect(closeButton_, &QPushButton::clicked, this, &SpanTableWindow::close);
}

void SpanTableWindow::layoutToolBar() {
  if (spacer_ == nullptr || closeButton_ == nullptr)
    return;
  const int right = std::max(kSpacerLeft, width() - kCloseWidth);
  spacer_->setGeometry(kSpacerLeft, 0, right - kSpacerLeft, kToolButtonHeight);
  closeButton_->move(right, 0);
}

void SpanTableWindow::showTable(SpanTable table) {
  table_ = std::move(table);
  showImage([table = *table_](double ratio) { return renderSpanTableImage(table, ratio); });
}

std::optional<PrintedDocument> SpanTableWindow::document() const {
  if (!table_)
    return std::nullopt;
  PrintedDocument d;
  const PrintJob job = printJobOf(session_);
  d.name = std::string(kSpanTableName);
  d.pdfProposal = proposedSpanTablePdfPath(session_.paths().current, session_.folders().projects);
  d.print = [table = *table_, job](QPagedPaintDevice& device, const QRect& area) {
    printSpanTable(device, area, table, job);
  };
  d.writePdf = [table = *table_, job](const std::filesystem::path& path) {
    writeSpanTablePdf(path, table, job);
  };
  return d;
}

}  // namespace tavilo::ui
