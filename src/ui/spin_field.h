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
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;

 signals:
  void stepRequested(int direction);  // +1 up, -1 down, once per step
  void textEditedByUser(const QString& text);

 protected:
  StepEnabled stepEnabled() const override;
};

}  // namespace tavilo::ui
