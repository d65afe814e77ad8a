#include "ui/settings_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <map>
#include <utility>

#include "model/dialog_description.h"
#include "model/program_texts.h"
#include "model/session.h"
#include "ui/spin_field.h"
#include "ui/ui_support.h"
#include "ui/window_placement.h"

namespace tavilo::ui {
namespace {

QString caption(FieldId id) {
  return qs(fieldInfo(id).caption);
}

void setHint(QWidget& widget, const Hint& hint) {
  widget.setToolTip(qs(hint.shortText));
}

// White text on the dark blue ground, as every ratio field shows it.
void styleRatioField(QLineEdit& edit) {
  QPalette palette = edit.palette();
  palette.setColor(QPalette::Base, kScreenBlue);
  palette.setColor(QPalette::Text, Qt::white);
  palette.setColor(QPalette::Highlight, Qt::white);
  palette.setColor(QPalette::HighlightedText, kScreenBlue);
  edit.setPalette(palette);
}

QRect qRect(const Rect& r) {
  return QRect(r.x, r.y, r.width, r.height);
}

}  // namespace

SettingsWindow::SettingsWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(session) {
  setWindowTitle(qs(kSettingsDialogCaption));
  setFont(windowFont());
  build();
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget*, QWidget* now) { onFocusChanged(now); });
  refresh();
}

SettingsWindow::~SettingsWindow() {
  disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void SettingsWindow::build() {
  const DialogDescription& description = settingsDialogDescription();
  setFixedSize(description.clientWidth, description.clientHeight);
  std::map<DialogFrame, QWidget*> frames{{DialogFrame::Client, this}};
  methodGroup_ = new QButtonGroup(this);
  for (const DialogPiece& piece : description.pieces) {
    QWidget* parent = frames.at(piece.parent);
    QWidget* widget = nullptr;
    switch (piece.kind) {
      case DialogPieceKind::Frame:
        widget = new QGroupBox(qs(piece.text), parent);
        frames[piece.frame] = widget;
        break;
      case DialogPieceKind::Caption:
        widget = new QLabel(qs(piece.text), parent);
        break;
      case DialogPieceKind::Note: {
        widget = new QLabel(qs(piece.text), parent);
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, kNavy);
        widget->setPalette(palette);
        break;
      }
      case DialogPieceKind::Control:
        widget = buildControl(piece.field, parent);
        registerControl(piece.field, widget);
        break;
    }
    widget->setGeometry(qRect(piece.rect));
  }
  // Toggled rather than clicked: the arrow keys move the choice too.
  connect(methodGroup_, &QButtonGroup::idToggled, this, [this](int method, bool checked) {
    if (checked && method != session_.settingsDialog().methodChoice())
      onMethodClicked(method);
  });
}

QWidget* SettingsWindow::buildControl(FieldId id, QWidget* parent) {
  switch (fieldInfo(id).kind) {
    case FieldKind::Option: {
      auto* button = new QRadioButton(caption(id), parent);
      const int method = id == FieldId::SettingsMethodDirect ? 1 : 0;
      methodGroup_->addButton(button, method);
      methodButtons_[static_cast<std::size_t>(method)] = button;
      return button;
    }
    case FieldKind::Spin:
      maxLength_ = new SpinField(parent);
      connect(maxLength_, &SpinField::textEditedByUser, this, &SettingsWindow::onMaxLengthEdited);
      connect(maxLength_, &SpinField::stepRequested, this, &SettingsWindow::onMaxLengthStep);
      filterTypedKeys(*maxLength_, acceptsDigitsKey);
      return maxLength_;
    case FieldKind::Button: {
      auto* button = new QPushButton(caption(id), parent);
      button->setAutoDefault(false);
      void (SettingsWindow::*action)() = id == FieldId::SettingsResetButton ? &SettingsWindow::reset
                                         : id == FieldId::SettingsApplyButton
                                             ? &SettingsWindow::apply
                                             : &SettingsWindow::cancel;
      connect(button, &QPushButton::clicked, this, action);
      return button;
    }
    default:
      return buildRatioField(id, parent);
  }
}

QWidget* SettingsWindow::buildRatioField(FieldId id, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  // The length limit and the key filter belong to the model, which also
  // sees pasted text before any of it is cut off.
  edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  edit->setReadOnly(SettingsDialog::isReadOnlyRatio(ratioPositionOf(id)));
  styleRatioField(*edit);
  connect(edit, &QLineEdit::textEdited, this,
          [this, id](const QString& text) { onRatioEdited(id, text); });
  filterTypedKeys(
      *edit, [this, id](char32_t key) { return session_.settingsDialog().acceptsKey(id, key); });
  return edit;
}

void SettingsWindow::registerControl(FieldId id, QWidget* widget) {
  controls_[fieldIndex(id)] = widget;
  setHint(*widget, session_.settingsDialog().hint(id));
}

QWidget* SettingsWindow::control(FieldId id) const {
  return id == FieldId::None ? nullptr : controls_[fieldIndex(id)];
}

void SettingsWindow::open() {
  session_.openSettings();
  refresh();
  centreOnScreen(*this);
  show();
  bringToFront(*this);
  focusControl(session_.settingsDialog().focus());
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
  // Only "  設    定" and " キャンセル" leave the dialog.
  event->ignore();
}

void SettingsWindow::onFocusChanged(QWidget* now) {
  for (QWidget* widget = now; widget != nullptr && widget != this;
       widget = widget->parentWidget()) {
    const auto found = std::find(controls_.begin(), controls_.end(), widget);
    if (found == controls_.end())
      continue;
    session_.settingsDialog().focusField(static_cast<FieldId>(found - controls_.begin()));
    refresh();
    return;
  }
}

void SettingsWindow::onRatioEdited(FieldId id, const QString& text) {
  session_.settingsDialog().editText(id, utf8(text));
  refresh(id);
}

void SettingsWindow::onMaxLengthEdited(const QString& text) {
  session_.settingsDialog().editText(FieldId::SettingsMaxDeckLength, utf8(text));
  refresh(FieldId::SettingsMaxDeckLength);
}

void SettingsWindow::onMaxLengthStep(int direction) {
  session_.settingsDialog().stepSpin(FieldId::SettingsMaxDeckLength, direction);
  refresh();
}

void SettingsWindow::onMethodClicked(int method) {
  session_.settingsDialog().clickMethod(method);
  refresh();
}

void SettingsWindow::apply() {
  FormEvents events = session_.applySettings();
  refresh();
  if (session_.settingsDialog().isVisible()) {
    // A ratio that is not a number: the dialog stays open on that field.
    carryOut(events);
    return;
  }
  hide();
  emit closed(std::move(events));
}

void SettingsWindow::cancel() {
  FormEvents events = session_.cancelSettings();
  refresh();
  hide();
  emit closed(std::move(events));
}

void SettingsWindow::reset() {
  session_.resetSettings();
  refresh();
}

void SettingsWindow::refresh(FieldId edited) {
  for (const FieldId id : session_.settingsDialog().takeChangedFields()) {
    if (id == FieldId::SettingsMethodNotices) {
      showMethod();
    } else if (id != edited) {
      showField(id);
    }
  }
  if (edited != FieldId::None)
    showField(edited);
}

void SettingsWindow::showField(FieldId id) {
  const QString text = qs(session_.settingsDialog().text(id));
  if (id == FieldId::SettingsMaxDeckLength) {
    maxLength_->showText(text);
    return;
  }
  if (auto* edit = qobject_cast<QLineEdit*>(control(id)))
    showLineText(*edit, text);
}

void SettingsWindow::showMethod() {
  const int chosen = session_.settingsDialog().methodChoice();
  for (int method = 0; method < 2; ++method) {
    QRadioButton& button = *methodButtons_[static_cast<std::size_t>(method)];
    const bool isChosen = method == chosen;
    button.setChecked(isChosen);
    // The chosen method in bold navy, the other in plain black.
    button.setFont(windowFont(12, isChosen));
    QPalette palette = button.palette();
    palette.setColor(QPalette::WindowText, isChosen ? kNavy : QColor(Qt::black));
    palette.setColor(QPalette::ButtonText, isChosen ? kNavy : QColor(Qt::black));
    button.setPalette(palette);
  }
}

void SettingsWindow::carryOut(const FormEvents& events) {
  for (const FormEvent& event : events) {
    if (event.kind == FormEvent::Kind::Message) {
      showMessage(this, qs(event.text));
    } else {
      focusControl(event.field);
    }
  }
}

void SettingsWindow::focusControl(FieldId id) {
  if (QWidget* widget = control(id)) {
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
      edit->selectAll();
  }
}

}  // namespace tavilo::ui
