#pragma once
// The link between the input screen's model and its widgets. Each control is
// registered under its field; what the user does with it becomes the model's
// action, the model's messages become message boxes and its focus moves
// become the widget focus, and after every action only the controls the model
// reports as changed are redrawn. The binder holds no rule of its own.

#include <QObject>
#include <QPointer>
#include <array>
#include <functional>
#include <vector>

#include "model/input_form.h"

class QAbstractButton;
class QLabel;
class QWidget;

namespace tavilo::ui {

class FormBinder : public QObject {
  Q_OBJECT

 public:
  FormBinder(InputForm& form, QWidget* window);

  // A list, text field, spin field, check box, display label or button; its
  // kind comes from the field table. `caption` (optional) is the label whose
  // colour the model may set (the heavy-snow box).
  void bind(FieldId id, QWidget* widget);
  // The option buttons of a choice group in the order of its items; `click`
  // is the model's action for the item at a position.
  void bindChoice(FieldId id, std::vector<QAbstractButton*> buttons,
                  std::function<FormEvents(int position)> click);
  // One option button of a two-button group ("上欄へ入力", "下記値より算出").
  void bindOption(FieldId id, QAbstractButton* button, std::function<FormEvents()> click);
  // The label of a check box, whose colour the model sets.
  void bindCaption(FieldId id, QLabel* caption);

  QWidget* widget(FieldId id) const;

  // Carries out the model's messages and focus moves, then redraws what changed.
  void carryOut(const FormEvents& events);
  // Redraws what the model reports as changed and tells the window about
  // groups, window-wide states and pictures.
  void refresh();
  // True once for a button whose focus the model refused (a field being left
  // kept it); the click that follows must do nothing.
  bool takeRefusedClick(FieldId id);

 signals:
  void groupsChanged();
  void windowChanged();
  void picturesChanged();
  void buttonClicked(tavilo::FieldId id);
  // A control or the layout changed (after the widgets are redrawn).
  void formChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void connectWidget(FieldId id, QWidget* widget);
  void update(FieldId id);
  void styleChoice(FieldId id);
  FieldId fieldOf(QObject* object) const;
  void focusWidget(FieldId id);

  InputForm& form_;
  QWidget* window_;
  std::array<QPointer<QWidget>, kInputScreenFieldCount> widgets_{};
  std::array<std::vector<QAbstractButton*>, kInputScreenFieldCount> choiceButtons_{};
  std::array<QPointer<QLabel>, kInputScreenFieldCount> captions_{};
  // Qt focus moves made to follow the model must not be reported back to it.
  bool following_ = false;
  FieldId refusedClick_ = FieldId::None;
};

}  // namespace tavilo::ui
