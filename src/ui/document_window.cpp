#include "ui/document_window.h"

#include <QScreen>
#include <QScrollBar>
#include <QWindow>
#include <utility>

#include "report/report_style.h"
#include "ui/ui_support.h"
#include "ui/window_placement.h"

namespace tavilo::ui {
namespace {

const QColor kWindowGround{210, 210, 224};
const QColor kToolBarColour{0, 64, 128};
const QColor kPageGround{kScreenBackground.red, kScreenBackground.green, kScreenBackground.blue};

void fill(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, colour);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

}  // namespace

DocumentWindow::DocumentWindow(Session& session, ResultWindowDialogs dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      session_(session),
      dialogs_(std::move(dialogs)) {
  setFont(windowFont());
  fill(*this, kWindowGround);

  toolBar_ = new QWidget(this);
  fill(*toolBar_, kToolBarColour);

  scrollBox_ = new ImageScrollBox(this);
  fill(*scrollBox_->viewport(), kPageGround);
  imageView_ = new ImageView(image_, scrollBox_);
  imageView_->resize(0, 0);
  scrollBox_->setWidget(imageView_);
  fitToScreen();
}

void DocumentWindow::fitToScreen() {
  setFixedSize(clientSizeOnScreen(*this, QSize(kDocumentClientWidth, kDocumentClientHeight)));
  placeChildren();
}

void DocumentWindow::placeChildren() {
  toolBar_->setGeometry(0, 0, width(), kToolBarHeight);
  scrollBox_->setGeometry(0, kToolBarHeight, width(), height() - kToolBarHeight);
  layoutToolBar();
}

void DocumentWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  placeChildren();
}

void DocumentWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // A window dragged to a screen of another pixel ratio draws its image anew.
  if (QWindow* window = windowHandle()) {
    connect(window, &QWindow::screenChanged, this, &DocumentWindow::renderForScreen,
            Qt::UniqueConnection);
  }
}

void DocumentWindow::renderForScreen() {
  if (!render_ || image_.isNull() || image_.devicePixelRatio() == devicePixelRatioF())
    return;
  image_ = render_(devicePixelRatioF());
  imageView_->resize(image_.deviceIndependentSize().toSize());
  imageView_->update();
}

QPushButton* DocumentWindow::addToolButton(const QString& caption, const QString& hint, int left,
                                           int width) {
  return toolBarButton(*toolBar_, caption, hint, QRect(left, 0, width, kToolButtonHeight));
}

void DocumentWindow::showImage(ImageRenderer render) {
  render_ = std::move(render);
  if (!isVisible())
    fitToScreen();
  image_ = render_(devicePixelRatioF());
  imageView_->resize(image_.deviceIndependentSize().toSize());
  imageView_->update();
  scrollBox_->verticalScrollBar()->setValue(0);
  scrollBox_->horizontalScrollBar()->setValue(0);
  if (!isVisible())
    centreOnScreen(*this);
  show();
  bringToFront(*this);
}

void DocumentWindow::eraseImage() {
  image_.fill(kPageGround);
  imageView_->update();
}

void DocumentWindow::print() {
  if (const auto d = document())
    printDocument(this, dialogs_, *d);
}

void DocumentWindow::preview() {
  if (const auto d = document())
    previewDocument(this, dialogs_, *d);
}

void DocumentWindow::savePdf() {
  if (const auto d = document())
    saveDocumentAsPdf(this, dialogs_, *d);
}

}  // namespace tavilo::ui
