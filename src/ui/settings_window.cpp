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
#include <utility>

#include "calc/coefficient_settings.h"
#include "model/program_texts.h"
#include "model/screen_description.h"
#include "model/session.h"
#include "ui/spin_field.h"
#include "ui/ui_support.h"
#include "ui/window_placement.h"

namespace tavilo::ui {
namespace {

constexpr int kTitleFrameHeight = kDialogFrameHeight;
constexpr int kDialogHeight = kSettingsDialogHeight;
constexpr int kSettingsClientWidth = 468;
constexpr int kSettingsClientHeight = kDialogHeight - kTitleFrameHeight;

// One row of ratios: caption, then per load a field followed by its letter.
constexpr int kRowCaptionLeft = 10;
constexpr int kRowCaptionWidth = 92;
constexpr int kFirstTermLeft = 104;
constexpr int kTermPitch = 80;
constexpr int kRatioFieldWidth = 46;
constexpr int kRowHeight = 22;
constexpr int kRowPitch = 24;
constexpr int kFirstRowTop = 20;
constexpr int kCaseHeight = kFirstRowTop + static_cast<int>(kLoadRatioRows.size()) * kRowPitch + 2;

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

QLabel* label(QWidget* parent, const QString& text, const QRect& geometry) {
  auto* result = new QLabel(text, parent);
  result->setGeometry(geometry);
  return result;
}

}  // namespace

SettingsWindow::SettingsWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(session) {
  setWindowTitle(qs(kSettingsDialogCaption));
  setFont(windowFont());
  setFixedSize(kSettingsClientWidth, kSettingsClientHeight);
  buildMethodGroup();
  buildRatioGroup();
  buildMaxLengthGroup();
  buildButtons();
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget*, QWidget* now) { onFocusChanged(now); });
  refresh();
}

SettingsWindow::~SettingsWindow() {
  disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void SettingsWindow::buildMethodGroup() {
  auto* group = new QGroupBox(qs(kSettingsMethodTitle), this);
  group->setGeometry(8, 4, kSettingsClientWidth - 16, 62);
  methodGroup_ = new QButtonGroup(this);
  constexpr std::array<FieldId, 2> kChoices = {FieldId::SettingsMethodNotices,
                                               FieldId::SettingsMethodDirect};
  for (int method = 0; method < 2; ++method) {
    const FieldId id = kChoices[static_cast<std::size_t>(method)];
    auto* button = new QRadioButton(caption(id), group);
    button->setGeometry(16, 16 + 20 * method, 340, 20);
    methodGroup_->addButton(button, method);
    methodButtons_[static_cast<std::size_t>(method)] = button;
    registerControl(id, button);
  }
  // Toggled rather than clicked: the arrow keys move the choice too.
  connect(methodGroup_, &QButtonGroup::idToggled, this, [this](int method, bool checked) {
    if (checked && method != session_.settingsDialog().methodChoice())
      onMethodClicked(method);
  });
}

void SettingsWindow::buildRatioGroup() {
  auto* group = new QGroupBox(qs(kSettingsRatioTitle), this);
  group->setGeometry(8, 70, kSettingsClientWidth - 16, 2 * kCaseHeight + 52);
  QWidget* ordinary = buildRatioCase(group, RatioSet::Ordinary);
  ordinary->move(8, 16);
  QWidget* heavySnow = buildRatioCase(group, RatioSet::HeavySnow);
  heavySnow->move(8, 20 + kCaseHeight);
  label(group, qs(kRatioLegend), QRect(16, 24 + 2 * kCaseHeight, kSettingsClientWidth - 48, 20));
}

QWidget* SettingsWindow::buildRatioCase(QWidget* parent, RatioSet set) {
  auto* group = new QGroupBox(qs(kRatioSetTitles[static_cast<std::size_t>(set)]), parent);
  group->resize(kSettingsClientWidth - 32, kCaseHeight);
  for (std::size_t r = 0; r < kLoadRatioRows.size(); ++r) {
    const LoadRatioRow& row = kLoadRatioRows[r];
    const int top = kFirstRowTop + static_cast<int>(r) * kRowPitch;
    label(group, qs(row.caption), QRect(kRowCaptionLeft, top, kRowCaptionWidth, kRowHeight));
    for (int load = 0; load < row.loadCount; ++load) {
      const int position = ratioPosition(set, row, static_cast<RatioLoad>(load));
      const FieldId id = ratioField(position);
      const int left = kFirstTermLeft + load * kTermPitch;
      auto* edit = new QLineEdit(group);
      edit->setGeometry(left, top, kRatioFieldWidth, kRowHeight);
      // The length limit and the key filter belong to the model, which also
      // sees pasted text before any of it is cut off.
      edit->setAttribute(Qt::WA_InputMethodEnabled, false);
      edit->setReadOnly(SettingsDialog::isReadOnlyRatio(position));
      styleRatioField(*edit);
      connect(edit, &QLineEdit::textEdited, this,
              [this, id](const QString& text) { onRatioEdited(id, text); });
      filterTypedKeys(*edit, [this, id](char32_t key) {
        return session_.settingsDialog().acceptsKey(id, key);
      });
      registerControl(id, edit);
      // The row reads ratio·Ｇ ＋ ratio·Ｐ ＋ ratio·Ｓ (＋ ratio·Ｗ).
      const bool followed = load + 1 < row.loadCount;
      const QString letter = qs(kRatioLoadLetters[static_cast<std::size_t>(load)]) +
                             (followed ? qs(kRatioPlus) : QString());
      label(group, letter,
            QRect(left + kRatioFieldWidth + 3, top, kTermPitch - kRatioFieldWidth - 3, kRowHeight));
    }
  }
  return group;
}

void SettingsWindow::buildMaxLengthGroup() {
  auto* group = new QGroupBox(caption(FieldId::SettingsMaxDeckLength), this);
  group->setGeometry(8, 70 + 2 * kCaseHeight + 56, kSettingsClientWidth - 16, 52);
  maxLength_ = new SpinField(group);
  maxLength_->setGeometry(16, 20, 100, kRowHeight);
  label(group, qs(kMillimetres), QRect(122, 20, 40, kRowHeight));
  connect(maxLength_, &SpinField::textEditedByUser, this, &SettingsWindow::onMaxLengthEdited);
  connect(maxLength_, &SpinField::stepRequested, this, &SettingsWindow::onMaxLengthStep);
  filterTypedKeys(*maxLength_, acceptsDigitsKey);
  registerControl(FieldId::SettingsMaxDeckLength, maxLength_);
}

void SettingsWindow::buildButtons() {
  constexpr int kTop = kSettingsClientHeight - 40;
  auto* pNote = label(this, qs(kSettingsNotes[0]), QRect(10, kTop - 2, 130, 18));
  auto* sameNote = label(this, qs(kSettingsNotes[1]), QRect(10, kTop + 16, 130, 18));
  for (QLabel* note : {pNote, sameNote}) {
    QPalette palette = note->palette();
    palette.setColor(QPalette::WindowText, kNavy);
    note->setPalette(palette);
  }
  struct DialogButton {
    FieldId id;
    int left;
    int width;
    void (SettingsWindow::*action)();
  };
  const std::array<DialogButton, 3> buttons = {{
      {FieldId::SettingsResetButton, 146, 108, &SettingsWindow::reset},
      {FieldId::SettingsApplyButton, 262, 96, &SettingsWindow::apply},
      {FieldId::SettingsCancelButton, 364, 96, &SettingsWindow::cancel},
  }};
  for (const DialogButton& entry : buttons) {
    auto* button = new QPushButton(caption(entry.id), this);
    button->setGeometry(entry.left, kTop, entry.width, 32);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, entry.action);
    registerControl(entry.id, button);
  }
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
