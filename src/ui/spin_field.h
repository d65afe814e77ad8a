#pragma once
// A spin field whose rules belong to a model: the arrows, the ▲ and ▼ keys and
// the wheel only ask for a step, and typing only reports the new text. The
// model answers with the text to show, so the widget itself never corrects,
// clamps or refuses anything.

#include <QAbstractSpinBox>

namespace tavilo::ui {

class SpinField : public QAbstractSpinBox {
  Q_OBJECT

 public:
  explicit SpinField(QWidget* parent = nullptr);

  QString text() const;
  // Shows the model's text, keeping the cursor where the user left it.
  void showText(const QString& text);
  // A field that takes no typing still steps with its arrows and keys.
  void setTypingAllowed(bool allowed);

  void stepBy(int steps) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;

 signals:
  void stepRequested(int direction);  // +1 up, -1 down, once per step
  void textEditedByUser(const QString& text);

 protected:
  StepEnabled stepEnabled() const override;

 private:
  // Runs Qt's handling of a press with the steps it asks for held back, then
  // asks for them. Qt starts its auto-repeat timer only after the first step;
  // when that step moves the focus away (a new span field takes it), the
  // focus loss would come before the timer and leave it running, and a
  // running timer makes Qt ignore the ▲ and ▼ keys for good.
  template <typename Press>
  void holdingSteps(Press press);

  bool holding_ = false;
  int heldSteps_ = 0;
};

}  // namespace tavilo::ui
