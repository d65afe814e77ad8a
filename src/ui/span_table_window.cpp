#include "ui/span_table_window.h"

#include <QPushButton>
#include <QScrollBar>
#include <utility>

#include "report/report_output.h"
#include "report/report_style.h"
#include "ui/form/session.h"
#include "ui/ui_support.h"
#include "ui/window_placement.h"

namespace tavilo::ui {
namespace {

const QColor kWindowGround{210, 210, 224};
const QColor kToolBarColour{0, 64, 128};
const QColor kPageGround{kScreenBackground.red, kScreenBackground.green, kScreenBackground.blue};
constexpr int kButtonHeight = 24;
constexpr const char* kTableName = "スパン表";

void fill(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, colour);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

}  // namespace

std::filesystem::path proposedSpanTablePdfPath(const std::filesystem::path& projectFile,
                                               const std::filesystem::path& defaultFolder) {
  const std::string name = std::string(kTableName) + ".pdf";
  if (projectFile.empty() || !projectFile.has_stem())
    return defaultFolder / name;
  return projectFile.parent_path() / (projectFile.stem().string() + "_" + name);
}

SpanTableWindow::SpanTableWindow(Session& session, ResultWindowDialogs dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      session_(session),
      dialogs_(std::move(dialogs)) {
  setFont(windowFont());
  setFixedSize(kClientWidth, kClientHeight);
  setWindowTitle(QStringLiteral("Tavilo for Win [スパン表]"));
  fill(*this, kWindowGround);

  auto* toolBar = new QWidget(this);
  toolBar->setGeometry(0, 0, kClientWidth, kToolBarHeight);
  fill(*toolBar, kToolBarColour);
  printButton_ =
      toolBarButton(*toolBar, QStringLiteral("印刷"), QStringLiteral("用紙をA4 縦に設定して下さい"),
                    QRect(0, 0, 100, kButtonHeight));
  previewButton_ = toolBarButton(*toolBar, QStringLiteral("プレビュー"),
                                 QStringLiteral("印刷されるスパン表を画面で確認します"),
                                 QRect(100, 0, 100, kButtonHeight));
  pdfButton_ = toolBarButton(*toolBar, QStringLiteral("PDF保存"),
                             QStringLiteral("スパン表をPDFファイルに保存します"),
                             QRect(200, 0, 100, kButtonHeight));
  QPushButton* spacer = toolBarButton(*toolBar, QStringLiteral("　　　　　"), QString(),
                                      QRect(300, 0, 182, kButtonHeight));
  spacer->setEnabled(false);
  closeButton_ =
      toolBarButton(*toolBar, QStringLiteral("閉じる"), QStringLiteral("計算結果の表示へ戻る"),
                    QRect(482, 0, 100, kButtonHeight));

  scrollBox_ = new ImageScrollBox(this);
  scrollBox_->setGeometry(0, kToolBarHeight, kClientWidth, kClientHeight - kToolBarHeight);
  fill(*scrollBox_->viewport(), kPageGround);
  imageView_ = new ImageView(image_, scrollBox_);
  imageView_->resize(0, 0);
  scrollBox_->setWidget(imageView_);

  connect(printButton_, &QPushButton::clicked, this, &SpanTableWindow::print);
  connect(previewButton_, &QPushButton::clicked, this, &SpanTableWindow::preview);
  connect(pdfButton_, &QPushButton::clicked, this, &SpanTableWindow::savePdf);
  connect(closeButton_, &QPushButton::clicked, this, &SpanTableWindow::close);
}

void SpanTableWindow::showTable(SpanTable table) {
  table_ = std::move(table);
  image_ = renderSpanTableImage(*table_);
  imageView_->resize(image_.size());
  imageView_->update();
  scrollBox_->verticalScrollBar()->setValue(0);
  if (!isVisible())
    centreOnScreen(*this);
  show();
  bringToFront(*this);
}

PrintedDocument SpanTableWindow::document() const {
  PrintedDocument d;
  const PrintJob job = printJobOf(session_);
  d.name = kTableName;
  d.pdfProposal = proposedSpanTablePdfPath(session_.paths().current, session_.folders().projects);
  d.print = [table = *table_, job](QPagedPaintDevice& device, const QRect& area) {
    printSpanTable(device, area, table, job);
  };
  d.writePdf = [table = *table_, job](const std::filesystem::path& path) {
    writeSpanTablePdf(path.string(), table, job);
  };
  return d;
}

void SpanTableWindow::print() {
  if (table_)
    printDocument(this, dialogs_, document());
}

void SpanTableWindow::preview() {
  if (table_)
    previewDocument(this, dialogs_, document());
}

void SpanTableWindow::savePdf() {
  if (table_)
    saveDocumentAsPdf(this, dialogs_, document());
}

}  // namespace tavilo::ui
