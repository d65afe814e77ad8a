#pragma once
// The input screen "Tavilo屋根計算プログラム": every group, field, choice,
// picture and command of the main window, laid out at fixed places in the two
// layouts of the calculation methods. It shows the session's form model and
// passes on what the user does; the commands that open other windows are
// signals, wired up by the desktop.

#include <QPixmap>
#include <QWidget>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "model/screen_description.h"
#include "model/session.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tavilo::ui {

class FormBinder;

// What the user answers when unsaved inputs would be lost.
enum class SaveAnswer { kSave, kDiscard, kCancel };

// The platform dialogs of the screen, replaceable so that the window tests can
// answer them.
struct InputScreenDialogs {
  // Open and save dialogs with the project file filter; nothing when cancelled.
  std::function<std::optional<std::filesystem::path>(QWidget*, const std::filesystem::path& folder)>
      chooseProjectToOpen;
  std::function<std::optional<std::filesystem::path>(QWidget*, const SaveLocation& proposal)>
      chooseProjectToSave;
  // "保存 / 保存しない / キャンセル" before unsaved inputs are replaced.
  std::function<SaveAnswer(QWidget*)> askToSaveChanges;
  // Shown from when the input check has passed until the result is drawn.
  std::function<std::shared_ptr<void>()> busyWhileCalculating;

  static InputScreenDialogs platform();
};

class InputScreen : public QWidget {
  Q_OBJECT

 public:
  explicit InputScreen(Session& session,
                       InputScreenDialogs dialogs = InputScreenDialogs::platform(),
                       QWidget* parent = nullptr);
  ~InputScreen() override;

  Session& session() { return session_; }
  FormBinder& binder() { return *binder_; }
  QWidget* fieldWidget(FieldId id) const;
  QGroupBox* groupBox(Group group) const;
  QLabel* arrangementPicture() const { return arrangementPicture_; }
  QLabel* choicePicture(FieldId group) const;
  QLabel* statusBar() const { return statusBar_; }
  QLabel* siteDataNotice() const { return siteDataNotice_; }

  // Redraws what the model changed outside the screen's own actions (the
  // settings dialog, start-up) and carries out its events.
  void carryOut(const FormEvents& events);
  // Back from the result window: shown, in front, with the input focus.
  void showAgain();

  // The commands, as their buttons run them.
  void loadProject();
  // True when the project was written.
  bool saveProject();
  void calculate();

 signals:
  void overviewRequested();
  void fireResistanceRequested();
  void settingsRequested();
  void noticeRequested();
  // A calculation has finished; the session's last outcome holds it. Sent
  // while the busy panel is still shown, so that the report is drawn under it.
  void calculated();
  // The user closed the screen and nothing held it open: the program ends.
  void closedForGood();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void build();
  QWidget* makeFrame(const ScreenPiece& piece, QWidget* parent);
  QWidget* makeControl(const ScreenPiece& piece, QWidget* parent);
  QWidget* makeChoice(const ScreenPiece& piece, QWidget* parent);
  void commandClicked(FieldId id);
  void applyLayout();
  void updateWindowTexts();
  void updatePictures();
  // Asks before unsaved inputs are replaced; false when the user cancels.
  bool unsavedChangesSettled();

  Session& session_;
  InputScreenDialogs dialogs_;
  std::unique_ptr<FormBinder> binder_;
  std::array<QGroupBox*, kGroupCount> groups_{};
  QWidget* commandBar_ = nullptr;
  QLabel* statusBar_ = nullptr;
  QLabel* siteDataNotice_ = nullptr;
  QLabel* versionLabel_ = nullptr;
  QLabel* arrangementPicture_ = nullptr;
  std::array<QLabel*, 3> choicePictures_{};     // roof type, building shape, roof shape
  std::array<std::string, 3> shownPictures_{};  // file names; empty: the built-in one
};

}  // namespace tavilo::ui
