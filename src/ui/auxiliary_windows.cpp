#include "ui/auxiliary_windows.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>
#include <array>

#include "model/program_texts.h"
#include "model/screen_description.h"
#include "model/verification_document.h"
#include "report/qt/qt_path.h"
#include "ui/ui_support.h"
#include "ui/window_placement.h"

namespace tavilo::ui {
namespace {

constexpr Qt::WindowFlags kOnTopPanelFlags =
    Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;

void setColour(QWidget& widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(role, colour);
  widget.setPalette(palette);
}

void paintBlue(QWidget& widget) {
  setColour(widget, QPalette::Window, kScreenBlue);
  setColour(widget, QPalette::WindowText, Qt::white);
  widget.setAutoFillBackground(true);
}

QLabel* whiteLabel(QWidget* parent, const QString& text, const QFont& font, const QRect& geometry,
                   Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* label = new QLabel(text, parent);
  label->setFont(font);
  label->setGeometry(geometry);
  label->setAlignment(alignment);
  setColour(*label, QPalette::WindowText, Qt::white);
  return label;
}

void fillNoticeText(QTextEdit& box) {
  QTextCursor cursor(box.document());
  QTextBlockFormat left;
  left.setAlignment(Qt::AlignLeft);
  QTextBlockFormat right;
  right.setAlignment(Qt::AlignRight);
  for (std::size_t i = 0; i < kNoticeLines.size(); ++i) {
    if (i > 0)
      cursor.insertBlock();
    cursor.setBlockFormat(i + 1 == kNoticeLines.size() ? right : left);
    cursor.insertText(qs(kNoticeLines[i]));
  }
  box.moveCursor(QTextCursor::Start);
}

}  // namespace

// ---- Splash

SplashWindow::SplashWindow(const QString& version, QWidget* parent)
    : QWidget(parent, kOnTopPanelFlags) {
  constexpr int kWidth = 380;
  constexpr int kHeight = 190;
  setFont(windowFont());
  setFixedSize(kWidth, kHeight);
  paintBlue(*this);
  setCursor(Qt::WaitCursor);

  QFont productFont = windowFont(30, true);
  productFont.setItalic(true);
  whiteLabel(this, qs(kSplashProduct), productFont, QRect(24, 22, 340, 44));
  whiteLabel(this, qs(kSplashVersionPrefix) + version, windowFont(14), QRect(28, 70, 200, 20));
  auto* rule = new QFrame(this);
  rule->setGeometry(24, 100, kWidth - 48, 2);
  rule->setAutoFillBackground(true);
  setColour(*rule, QPalette::Window, Qt::white);
  whiteLabel(this, qs(kSplashStarting), windowFont(13), QRect(28, 114, 320, 20));
  whiteLabel(this, qs(kMakerName), windowFont(12, true), QRect(24, kHeight - 32, kWidth - 48, 18),
             Qt::AlignRight | Qt::AlignVCenter);
}

void SplashWindow::present() {
  centreOnScreen(*this);
  show();
  bringToFront(*this, false);
  repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// ---- Terms-of-use notice

// The notice is left only through "確　認": its frame has no close box, but a
// window manager may draw one, and Escape would close it too. Either would end
// a first run's notice as if it had been confirmed, and the marker would keep
// it from ever appearing again.
class NoticeDialog : public QDialog {
 public:
  using QDialog::QDialog;
  void reject() override {}
};

void showNotice(QWidget* parent) {
  constexpr int kWidth = 480;
  constexpr int kBandHeight = 60;
  constexpr int kTextTop = kBandHeight + 10;
  constexpr int kTextHeight = 232;
  constexpr int kHeight = kTextTop + kTextHeight + 50;

  NoticeDialog dialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                  Qt::WindowStaysOnTopHint);
  dialog.setWindowTitle(qs(kNoticeCaption));
  dialog.setModal(true);
  dialog.setFont(windowFont());
  dialog.setFixedSize(kWidth, kHeight);

  auto* band = new QWidget(&dialog);
  band->setGeometry(0, 0, kWidth, kBandHeight);
  paintBlue(*band);
  whiteLabel(band, qs(kNoticeHeading), windowFont(16, true), QRect(16, 8, kWidth - 32, 26));
  whiteLabel(band, qs(kMakerName), windowFont(12), QRect(32, 36, kWidth - 48, 18));

  auto* text = new QTextEdit(&dialog);
  text->setGeometry(10, kTextTop, kWidth - 20, kTextHeight);
  text->setReadOnly(true);
  text->setLineWrapMode(QTextEdit::NoWrap);
  fillNoticeText(*text);

  auto* confirm = new QPushButton(qs(kNoticeConfirm), &dialog);
  confirm->setGeometry((kWidth - 100) / 2, kHeight - 40, 100, 30);
  confirm->setDefault(true);
  QObject::connect(confirm, &QPushButton::clicked, &dialog, &QDialog::accept);

  centreOn(dialog, parent);
  confirm->setFocus();
  dialog.exec();
}

// ---- Overview

OverviewWindow::OverviewWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
  setWindowTitle(qs(kOverviewCaption));
  setFont(windowFont());
  browser_ = new QTextBrowser(this);
  verificationButton_ = new QPushButton(qs(kVerificationButton), this);
  verificationButton_->setToolTip(qs(kVerificationHint));
  openDocument = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  connect(verificationButton_, &QPushButton::clicked, this,
          &OverviewWindow::openVerificationDocument);
  versionLabel_ = new QLabel(this);
  versionLabel_->setContentsMargins(8, 0, 8, 0);
  versionLabel_->hide();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  auto* foot = new QHBoxLayout;
  foot->addWidget(verificationButton_, 1);
  foot->addWidget(versionLabel_);
  layout->addLayout(foot);
  resize(clientSizeOnScreen(*this, kPreferredSize));
  browser_->setReadOnly(true);
  browser_->setOpenLinks(false);
  browser_->document()->setDocumentMargin(10);
  browser_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  browser_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void OverviewWindow::setVersion(std::string_view version) {
  versionLabel_->setText(qs(filledIn(kOverviewVersion, version)));
  versionLabel_->setVisible(!version.empty());
}

bool OverviewWindow::showOverview(const std::filesystem::path& dataFolder) {
  dataFolder_ = dataFolder;
  const QString path = qStringFromPath(dataFolder / kOverviewDocument);
  QFile file(path);
  if (!QFileInfo(path).isFile()) {
    showMessage(parentWidget(), qs(kOverviewMissing).arg(path));
    return false;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    showMessage(parentWidget(), qs(kOverviewUnreadable).arg(path));
    return false;
  }
  browser_->setMarkdown(QString::fromUtf8(file.readAll()));
  browser_->moveCursor(QTextCursor::Start);
  if (!isVisible()) {
    resize(clientSizeOnScreen(*this, kPreferredSize));
    centreOnScreen(*this);
  }
  show();
  bringToFront(*this);
  return true;
}

void OverviewWindow::openVerificationDocument() {
  const QString path = qStringFromPath(verificationDocumentPath(dataFolder_));
  if (!QFileInfo(path).isFile()) {
    showMessage(this, qs(kVerificationMissing).arg(path));
    return;
  }
  if (!openDocument(QUrl::fromLocalFile(path)))
    showMessage(this, qs(kVerificationNoViewer).arg(path));
}

// ---- Fire resistance

FireResistanceWindow::FireResistanceWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
  setWindowTitle(qs(kFireResistanceCaption));
  setFont(windowFont());
  picture_ = QPixmap(QStringLiteral(":/resources/") + qs(kFireResistancePicture));
  auto* view = new QLabel;
  view->setPixmap(picture_);
  view->resize(picture_.size());
  // On a screen too small for the figure it scrolls.
  auto* scroll = new QScrollArea(this);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(view);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll);
  setFixedSize(clientSizeOnScreen(*this, picture_.size()));
}

void FireResistanceWindow::showAndFocus() {
  if (!isVisible()) {
    setFixedSize(clientSizeOnScreen(*this, picture_.size()));
    placeAtScreenTopLeft(*this);
  }
  show();
  bringToFront(*this);
  setFocus(Qt::OtherFocusReason);
}

// ---- Busy panel

BusyPanel::BusyPanel(const QString& caption) {
  constexpr int kWidth = 192;
  constexpr int kHeight = 73;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  auto panel = std::make_unique<QWidget>(nullptr, kOnTopPanelFlags);
  panel->setFixedSize(kWidth, kHeight);
  panel->setFont(windowFont());
  paintBlue(*panel);
  whiteLabel(panel.get(), caption, windowFont(14, true), QRect(0, 0, kWidth, kHeight),
             Qt::AlignCenter);
  panel_ = std::move(panel);
  centreOnScreen(*panel_);
  panel_->show();
  bringToFront(*panel_, false);
  // The work that follows blocks the event loop: draw the panel now.
  panel_->repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

BusyPanel::~BusyPanel() {
  panel_->hide();
  panel_.reset();
  QApplication::restoreOverrideCursor();
}

}  // namespace tavilo::ui
