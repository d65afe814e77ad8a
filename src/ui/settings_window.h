#pragma once
// The window of the settings dialog "係数等の定義": the method choice, the 22
// load ratios and the maximum deck length. It only shows the session's
// dialog model and passes on what the user does; the model filters the keys,
// keeps the P ratios equal to G and decides what apply and cancel do.

#include <QWidget>
#include <array>

#include "model/form_events.h"
#include "model/form_fields.h"

class QAbstractButton;
class QButtonGroup;
class QLineEdit;
class QRadioButton;

namespace tavilo {
class Session;
}

namespace tavilo::ui {

class SpinField;

class SettingsWindow : public QWidget {
  Q_OBJECT

 public:
  explicit SettingsWindow(Session& session, QWidget* parent = nullptr);
  // Stops following the application's focus before the widgets go: their
  // destruction moves the focus, which must not reach a half-destroyed window.
  ~SettingsWindow() override;

  // The "設　定" command: opens the dialog model (which disables the input
  // screen) and shows the window centred on the screen.
  void open();

  // The control that stands for a field of the dialog, or nullptr.
  QWidget* control(FieldId id) const;

 signals:
  // After "  設    定" succeeded or " キャンセル": what the input screen has
  // to carry out (its layout and enabled state it reads from the model).
  void closed(tavilo::FormEvents events);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The dialog as its description has it, in the description's order.
  void build();
  QWidget* buildControl(FieldId id, QWidget* parent);
  QWidget* buildRatioField(FieldId id, QWidget* parent);
  void registerControl(FieldId id, QWidget* widget);

  void onFocusChanged(QWidget* now);
  void onRatioEdited(FieldId id, const QString& text);
  void onMaxLengthEdited(const QString& text);
  void onMaxLengthStep(int direction);
  void onMethodClicked(int method);
  void apply();
  void cancel();
  void reset();

  // Shows what the model changed; `edited` is shown even when the model kept
  // its text, so that a refused keystroke disappears again.
  void refresh(FieldId edited = FieldId::None);
  void showField(FieldId id);
  void showMethod();
  void carryOut(const FormEvents& events);
  void focusControl(FieldId id);

  Session& session_;
  std::array<QWidget*, kFieldCount> controls_{};
  std::array<QRadioButton*, 2> methodButtons_{};
  QButtonGroup* methodGroup_ = nullptr;
  SpinField* maxLength_ = nullptr;
};

}  // namespace tavilo::ui
