#include "ui/result_window.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include "report/report_output.h"
#include "report/report_style.h"
#include "ui/ui_support.h"
#include "ui/window_placement.h"

namespace tavilo::ui {
namespace {

const QColor kWindowGround{210, 210, 224};
const QColor kToolBarColour{0, 64, 128};
const QColor kReportGround{kScreenBackground.red, kScreenBackground.green, kScreenBackground.blue};
constexpr int kToolButtonHeight = 24;

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

}  // namespace

ResultWindow::ResultWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
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
}

void ResultWindow::buildToolBar() {
  toolBar_ = new QWidget(this);
  toolBar_->setGeometry(0, 0, kClientWidth, kToolBarHeight);
  setColour(*toolBar_, QPalette::Window, kToolBarColour);
  toolBar_->setAutoFillBackground(true);

  printButton_ =
      addToolButton(QStringLiteral("印刷"), QStringLiteral("用紙をA4 縦に設定して下さい"), 0, 100);
  closeButton_ =
      addToolButton(QStringLiteral("閉じる"), QStringLiteral("条件入力へ戻る"), 100, 100);
  spacer_ = addToolButton(QStringLiteral("　　　　　"), QString(), 200, 282);
  printSettingsButton_ =
      addToolButton(QStringLiteral("印刷の設定"), QStringLiteral("件名・ページの設定"), 482, 100);
  spacer_->setEnabled(false);
  // Printing arrives with the print command; until then both stay disabled.
  printButton_->setEnabled(false);
  printSettingsButton_->setEnabled(false);

  connect(printButton_, &QPushButton::clicked, this, &ResultWindow::printRequested);
  connect(closeButton_, &QPushButton::clicked, this, &ResultWindow::closeReport);
  connect(printSettingsButton_, &QPushButton::clicked, this, &ResultWindow::printSettingsRequested);
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
  // The title bar's close keeps the report until the next calculation.
  event->accept();
  emit closed();
}

}  // namespace tavilo::ui
