#include "ui/spin_field.h"

#include <QLineEdit>
#include <algorithm>
#include <cstdlib>
#include <utility>

namespace tavilo::ui {

SpinField::SpinField(QWidget* parent) : QAbstractSpinBox(parent) {
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
  setKeyboardTracking(true);
  setAccelerated(false);
  connect(lineEdit(), &QLineEdit::textEdited, this, &SpinField::textEditedByUser);
}

QString SpinField::text() const {
  return lineEdit()->text();
}

void SpinField::showText(const QString& text) {
  QLineEdit* edit = lineEdit();
  if (edit->text() == text)
    return;
  const int cursor = edit->cursorPosition();
  const int lengthBefore = static_cast<int>(edit->text().size());
  edit->setText(text);
  // A refused character leaves the cursor where it was before the keystroke.
  const int shift = static_cast<int>(text.size()) - lengthBefore;
  edit->setCursorPosition(
      std::clamp(cursor + std::min(shift, 0), 0, static_cast<int>(text.size())));
}

void SpinField::setTypingAllowed(bool allowed) {
  lineEdit()->setReadOnly(!allowed);
}

template <typename Press>
void SpinField::holdingSteps(Press press) {
  holding_ = true;
  heldSteps_ = 0;
  press();
  holding_ = false;
  if (const int steps = std::exchange(heldSteps_, 0); steps != 0)
    stepBy(steps);
}

void SpinField::keyPressEvent(QKeyEvent* event) {
  holdingSteps([&] { QAbstractSpinBox::keyPressEvent(event); });
}

void SpinField::mousePressEvent(QMouseEvent* event) {
  holdingSteps([&] { QAbstractSpinBox::mousePressEvent(event); });
}

void SpinField::stepBy(int steps) {
  if (holding_) {
    heldSteps_ += steps;
    return;
  }
  const int direction = steps > 0 ? 1 : -1;
  // Page keys ask for ten steps; the model steps one at a time.
  for (int i = 0; i < std::min(std::abs(steps), 10); ++i)
    emit stepRequested(direction);
}

QValidator::State SpinField::validate(QString&, int&) const {
  return QValidator::Acceptable;
}

void SpinField::fixup(QString&) const {}

QAbstractSpinBox::StepEnabled SpinField::stepEnabled() const {
  if (isReadOnly() || !isEnabled())
    return StepNone;
  return StepUpEnabled | StepDownEnabled;
}

}  // namespace tavilo::ui
