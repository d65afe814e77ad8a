#include "ui/print_settings_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QInputMethod>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <map>

#include "model/dialog_description.h"
#include "model/program_texts.h"
#include "model/session.h"
#include "ui/spin_field.h"
#include "ui/ui_support.h"
#include "ui/window_placement.h"

namespace tavilo::ui {
namespace {

const QColor kDialogGround{240, 240, 240};
const QColor kNoteGrey{64, 64, 64};
const QColor kNameGround{0, 103, 153};
const QColor kCheckedCaption{204, 0, 68};

// The dialog's face: Tahoma where it is installed, else the face of the
// other windows.
QFont dialogFont(bool bold = false) {
  if (!QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
    return windowFont(11, bold);
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(11);
  font.setBold(bold);
  return font;
}

void setTextColour(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::ButtonText, colour);
  widget.setPalette(palette);
}

QRect qRect(const Rect& r) {
  return QRect(r.x, r.y, r.width, r.height);
}

}  // namespace

PrintSettingsWindow::PrintSettingsWindow(Session& session, QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(session) {
  setWindowTitle(qs(kPrintSettingsCaption));
  setFont(dialogFont());
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kDialogGround);
  setPalette(palette);
  setAutoFillBackground(true);
  build();
  refresh();
}

void PrintSettingsWindow::build() {
  const DialogDescription& description = printSettingsDialogDescription();
  setFixedSize(description.clientWidth, description.clientHeight);
  std::map<DialogFrame, QWidget*> frames{{DialogFrame::Client, this}};
  positionButtons_ = new QButtonGroup(this);
  for (const DialogPiece& piece : description.pieces) {
    QWidget* parent = frames.at(piece.parent);
    QWidget* widget = nullptr;
    switch (piece.kind) {
      case DialogPieceKind::Frame: {
        auto* group = new QGroupBox(qs(piece.text), parent);
        (piece.frame == DialogFrame::NumberGroup ? numberGroup_ : positionGroup_) = group;
        frames[piece.frame] = widget = group;
        break;
      }
      case DialogPieceKind::Caption:
      case DialogPieceKind::Note:
        widget = new QLabel(qs(piece.text), parent);
        if (piece.strong)
          widget->setFont(dialogFont(true));
        if (piece.kind == DialogPieceKind::Note)
          setTextColour(*widget, kNoteGrey);
        break;
      case DialogPieceKind::Control:
        widget = buildControl(piece, parent);
        break;
    }
    widget->setGeometry(qRect(piece.rect));
  }
  // Toggled rather than clicked: the arrow keys move the choice too.
  connect(positionButtons_, &QButtonGroup::idToggled, this, [this](int button, bool checked) {
    const PageNumberPosition position = kPageNumberPositions[static_cast<std::size_t>(button)];
    if (!checked || position == session_.printDialog().position())
      return;
    session_.printDialog().choosePosition(position, session_.printSettings());
    refresh();
  });
}

QWidget* PrintSettingsWindow::buildControl(const DialogPiece& piece, QWidget* parent) {
  switch (piece.control) {
    case DialogControl::ProjectName:
      return buildNameField(parent);
    case DialogControl::PageNumberPlace: {
      const auto i = static_cast<std::size_t>(piece.index);
      auto* button = new QRadioButton(qs(piece.text), parent);
      button->setFont(windowFont(13));
      button->setToolTip(qs(kPageNumberHints[i == 0 ? 0 : 1]));
      positionButtons_->addButton(button, piece.index);
      positions_[i] = button;
      return button;
    }
    case DialogControl::PageNumberStyle:
      style_ = new QComboBox(parent);
      for (const std::string_view item : kPageNumberStyleItems)
        style_->addItem(qs(item));
      connect(style_, &QComboBox::activated, this, [this](int index) {
        session_.printDialog().chooseStyle(index, session_.printSettings());
        refresh();
      });
      return style_;
    case DialogControl::StartNumber:
      return buildStartNumber(parent);
    case DialogControl::Confirm:
    case DialogControl::Cancel: {
      const bool confirming = piece.control == DialogControl::Confirm;
      auto* button = new QPushButton(qs(piece.text), parent);
      button->setToolTip(qs(confirming ? kPrintSettingsConfirm.hint : kPrintSettingsCancel.hint));
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this,
              confirming ? &PrintSettingsWindow::confirm : &PrintSettingsWindow::cancel);
      (confirming ? confirm_ : cancel_) = button;
      return button;
    }
    case DialogControl::Field:
      break;
  }
  return new QWidget(parent);
}

QWidget* PrintSettingsWindow::buildNameField(QWidget* parent) {
  name_ = new QLineEdit(parent);
  name_->setToolTip(qs(kProjectNameHint));
  // The model counts characters, not UTF-16 units, and also cuts what is
  // pasted; the field itself sets no limit of its own.
  QPalette palette = name_->palette();
  palette.setColor(QPalette::Base, kNameGround);
  palette.setColor(QPalette::Text, Qt::white);
  palette.setColor(QPalette::Highlight, Qt::white);
  palette.setColor(QPalette::HighlightedText, kNameGround);
  name_->setPalette(palette);
  name_->installEventFilter(this);
  connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
    session_.printDialog().editName(utf8(text));
    showLineText(*name_, qs(session_.printDialog().nameText()));
  });
  return name_;
}

QWidget* PrintSettingsWindow::buildStartNumber(QWidget* parent) {
  startNumber_ = new SpinField(parent);
  startNumber_->setToolTip(qs(kStartNumberHint));
  // Digits only: the input method would offer nothing the field keeps.
  if (auto* edit = startNumber_->findChild<QLineEdit*>())
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  filterTypedKeys(*startNumber_, acceptsDigitsKey);
  connect(startNumber_, &SpinField::textEditedByUser, this, [this](const QString& text) {
    session_.printDialog().editStartNumber(utf8(text));
    startNumber_->showText(qs(session_.printDialog().startNumberText()));
  });
  connect(startNumber_, &SpinField::stepRequested, this, [this](int direction) {
    session_.printDialog().stepStartNumber(direction);
    refresh();
  });
  connect(startNumber_, &SpinField::editingFinished, this, [this] {
    session_.printDialog().leaveStartNumber();
    refresh();
  });
  return startNumber_;
}

void PrintSettingsWindow::open() {
  session_.openPrintSettings();
  refresh();
  // Shown over a disabled owner, whose state a child window would inherit.
  setEnabled(true);
  centreOnScreen(*this);
  show();
  bringToFront(*this);
  name_->setFocus(Qt::OtherFocusReason);
}

void PrintSettingsWindow::confirm() {
  // Text still being composed belongs to the name that is confirmed.
  QGuiApplication::inputMethod()->commit();
  session_.confirmPrintSettings();
  leave();
}

void PrintSettingsWindow::cancel() {
  QGuiApplication::inputMethod()->reset();
  session_.cancelPrintSettings();
  leave();
}

void PrintSettingsWindow::leave() {
  refresh();
  name_->setFocus(Qt::OtherFocusReason);
  QGuiApplication::inputMethod()->hide();
  hide();
  emit closed();
}

void PrintSettingsWindow::closeEvent(QCloseEvent* event) {
  // Only "    設　定" and " キャンセル" leave the dialog.
  event->ignore();
}

bool PrintSettingsWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == name_ && event->type() == QEvent::MouseButtonPress) {
    session_.printDialog().clickNameField();
    showLineText(*name_, qs(session_.printDialog().nameText()));
  }
  return QWidget::eventFilter(watched, event);
}

void PrintSettingsWindow::refresh() {
  const PrintSettingsDialog& model = session_.printDialog();
  showLineText(*name_, qs(model.nameText()));
  for (std::size_t i = 0; i < positions_.size(); ++i) {
    QRadioButton& button = *positions_[i];
    const bool checked = kPageNumberPositions[i] == model.position();
    if (checked)
      button.setChecked(true);
    setTextColour(button, checked ? kCheckedCaption : kNavy);
  }
  numberGroup_->setEnabled(model.numberGroupEnabled());
  style_->setCurrentIndex(model.styleIndex());
  startNumber_->showText(qs(model.startNumberText()));
}

}  // namespace tavilo::ui
