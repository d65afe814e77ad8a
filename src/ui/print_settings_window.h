#pragma once
// The window of the print settings dialog "印刷用設定": the project name, the
// seven page-number positions, the number style and the start number. It only
// shows the session's dialog model and passes on what the user does; the
// model cuts the name at 65 characters, keeps the start number to digits and
// decides what confirm and cancel keep.

#include <QWidget>
#include <array>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavilo {
class Session;
struct DialogPiece;
}  // namespace tavilo

namespace tavilo::ui {

class SpinField;

class PrintSettingsWindow : public QWidget {
  Q_OBJECT

 public:
  // A child window of `owner` stays in front of it; the owner is disabled
  // while the dialog is shown, the dialog itself is not.
  explicit PrintSettingsWindow(Session& session, QWidget* owner = nullptr);

  // "印刷の設定": shows the stored project name, centred on the screen, with
  // the input focus in the name field. The caller disables its window first.
  void open();

  QLineEdit* nameField() const { return name_; }
  // In the order "無し", "上-左", "上-中", "上-右", "下-左", "下-中", "下-右".
  QRadioButton* positionButton(std::size_t index) const { return positions_[index]; }
  QGroupBox* positionGroup() const { return positionGroup_; }
  QGroupBox* numberGroup() const { return numberGroup_; }
  QComboBox* styleList() const { return style_; }
  SpinField* startNumberField() const { return startNumber_; }
  QPushButton* confirmButton() const { return confirm_; }
  QPushButton* cancelButton() const { return cancel_; }

 signals:
  // After "    設　定" or " キャンセル": the dialog is hidden.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The dialog as its description has it, in the description's order.
  void build();
  QWidget* buildControl(const DialogPiece& piece, QWidget* parent);
  QWidget* buildNameField(QWidget* parent);
  QWidget* buildStartNumber(QWidget* parent);

  void confirm();
  void cancel();
  void leave();
  // Shows everything the model holds.
  void refresh();

  Session& session_;
  QLineEdit* name_ = nullptr;
  QGroupBox* positionGroup_ = nullptr;
  QButtonGroup* positionButtons_ = nullptr;
  std::array<QRadioButton*, 7> positions_{};
  QGroupBox* numberGroup_ = nullptr;
  QComboBox* style_ = nullptr;
  SpinField* startNumber_ = nullptr;
  QPushButton* confirm_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace tavilo::ui
