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

// The cells of the position options' grid (kPageNumberPositionPlaces).
constexpr int kOptionLeft = 12;
constexpr int kOptionTop = 16;
constexpr int kOptionWidth = 54;
constexpr int kOptionHeight = 20;

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

QLabel* label(QWidget* parent, const QString& text, const QRect& geometry) {
  auto* result = new QLabel(text, parent);
  result->setGeometry(geometry);
  return result;
}

}  // namespace

PrintSettingsWindow::PrintSettingsWindow(Session& session, QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(session) {
  setWindowTitle(qs(kPrintSettingsCaption));
  setFont(dialogFont());
  setFixedSize(kPrintSettingsClientWidth, kPrintSettingsClientHeight);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kDialogGround);
  setPalette(palette);
  setAutoFillBackground(true);
  buildNameRow();
  buildPositionGroup();
  buildNotesAndButtons();
  refresh();
}

void PrintSettingsWindow::buildNameRow() {
  label(this, qs(kProjectNameTitle), QRect(10, 6, 40, 16))->setFont(dialogFont(true));
  QLabel* note =
      label(this, qs(filledIn(kProjectNameLengthNote, std::to_string(kProjectNameMaxLength))),
            QRect(50, 6, 300, 16));
  setTextColour(*note, kNoteGrey);

  name_ = new QLineEdit(this);
  name_->setGeometry(12, 24, 442, 22);
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
}

void PrintSettingsWindow::buildPositionGroup() {
  positionGroup_ = new QGroupBox(qs(kPageNumberTitle), this);
  positionGroup_->setGeometry(8, 52, kPrintSettingsClientWidth - 16, 84);
  positionButtons_ = new QButtonGroup(this);
  for (std::size_t i = 0; i < positions_.size(); ++i) {
    auto* button = new QRadioButton(qs(kPageNumberPositionCaptions[i]), positionGroup_);
    button->setFont(windowFont(13));
    const GridPlace place = kPageNumberPositionPlaces[i];
    button->setGeometry(kOptionLeft + place.column * kOptionWidth,
                        kOptionTop + place.row * kOptionHeight, kOptionWidth, kOptionHeight);
    button->setToolTip(qs(kPageNumberHints[i == 0 ? 0 : 1]));
    positionButtons_->addButton(button, static_cast<int>(i));
    positions_[i] = button;
  }
  // Toggled rather than clicked: the arrow keys move the choice too.
  connect(positionButtons_, &QButtonGroup::idToggled, this, [this](int button, bool checked) {
    const PageNumberPosition position = kPageNumberPositions[static_cast<std::size_t>(button)];
    if (!checked || position == session_.printDialog().position())
      return;
    session_.printDialog().choosePosition(position, session_.printSettings());
    refresh();
  });
  buildNumberGroup();
}

void PrintSettingsWindow::buildNumberGroup() {
  numberGroup_ = new QGroupBox(qs(kNumberGroupTitle), positionGroup_);
  numberGroup_->setGeometry(186, 10, 250, 68);
  label(numberGroup_, qs(kNumberStyleCaption), QRect(10, 18, 56, 20));
  style_ = new QComboBox(numberGroup_);
  style_->setGeometry(70, 17, 130, 22);
  for (const std::string_view item : kPageNumberStyleItems)
    style_->addItem(qs(item));
  connect(style_, &QComboBox::activated, this, [this](int index) {
    session_.printDialog().chooseStyle(index, session_.printSettings());
    refresh();
  });

  label(numberGroup_, qs(kStartNumberCaption), QRect(10, 42, 56, 20));
  startNumber_ = new SpinField(numberGroup_);
  startNumber_->setGeometry(70, 41, 80, 22);
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
}

void PrintSettingsWindow::buildNotesAndButtons() {
  label(this, qs(kProjectNameEmptyNote), QRect(10, 142, 276, 16));
  label(this, qs(kPositionCancelNote), QRect(10, 160, 276, 16));

  confirm_ = new QPushButton(qs(kPrintSettingsConfirm.caption), this);
  confirm_->setGeometry(292, 144, 80, 30);
  confirm_->setToolTip(qs(kPrintSettingsConfirm.hint));
  cancel_ = new QPushButton(qs(kPrintSettingsCancel.caption), this);
  cancel_->setGeometry(378, 144, 80, 30);
  cancel_->setToolTip(qs(kPrintSettingsCancel.hint));
  for (QPushButton* button : {confirm_, cancel_})
    button->setAutoDefault(false);
  connect(confirm_, &QPushButton::clicked, this, &PrintSettingsWindow::confirm);
  connect(cancel_, &QPushButton::clicked, this, &PrintSettingsWindow::cancel);
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
