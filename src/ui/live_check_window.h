#pragma once
// The live check panel beside the input screen: the verdict, the
// utilisation of every check and the deck comparison of the inputs as they
// stand, or the input check's message when they cannot be calculated. It
// follows the screen's changes on the next turn of the event loop, so that
// typing never waits for it, and a change that comes before the panel has
// caught up replaces the one waiting. A deck row clicked (or Enter on it)
// chooses that deck on the input screen.

#include <QWidget>
#include <filesystem>
#include <vector>

#include "model/live_check.h"
#include "model/session.h"

class QAction;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QFrame;

namespace tavilo::ui {

class InputScreen;
class UtilisationBar;

class LiveCheckWindow : public QWidget {
  Q_OBJECT

 public:
  LiveCheckWindow(Session& session, InputScreen& screen);
  ~LiveCheckWindow() override;

  // The panel follows the screen: the next turn of the event loop brings it
  // up to date (a hidden panel, its next showing).
  void scheduleUpdate();
  // Up to date at once (start-up, the tests).
  void updateNow();
  bool updatePending() const { return pending_; }
  int updateCount() const { return updates_; }

  // Whether the panel stands beside the screen; the choice is kept in the
  // settings folder once one is given.
  bool panelWanted() const { return wanted_; }
  void setPanelWanted(bool wanted);
  void rememberIn(std::filesystem::path settingsFolder);
  // Shows or hides the panel with the screen, as wanted.
  void followScreen();
  QAction* toggleAction() const { return toggle_; }

  const LiveCheckPanel& shown() const { return panel_; }
  QLabel* verdictLabel() const { return verdict_; }
  QLabel* refusalLabel() const { return refusal_; }
  QLabel* refusalFieldLink() const { return refusalField_; }
  QTreeWidget* deckList() const { return decks_; }
  QWidget* checksBox() const { return checksBox_; }
  void chooseDeck(int deckType);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void build();
  void display(const LiveCheckPanel& panel);
  // Beside the screen's right edge; `makeRoom` first moves the screen left
  // where the display is too narrow for both.
  void placeBesideScreen(bool makeRoom = false);

  Session& session_;
  InputScreen& screen_;
  LiveCheckPanel panel_;
  bool pending_ = false;
  int updates_ = 0;
  bool wanted_ = true;
  bool giveBackActivation_ = false;
  std::filesystem::path settingsFolder_;
  QAction* toggle_ = nullptr;
  QLabel* guidance_ = nullptr;
  QLabel* verdictCaption_ = nullptr;
  QLabel* verdict_ = nullptr;
  QFrame* refusalBox_ = nullptr;
  QLabel* refusalCaption_ = nullptr;
  QLabel* refusal_ = nullptr;
  QLabel* refusalField_ = nullptr;
  QLabel* checksCaption_ = nullptr;
  QWidget* checksBox_ = nullptr;
  std::vector<QLabel*> checkLabels_;
  std::vector<QLabel*> checkFigures_;
  std::vector<QLabel*> checkPlaces_;
  std::vector<UtilisationBar*> checkBars_;
  std::vector<QLabel*> checkRatios_;
  std::vector<QLabel*> checkColumns_;
  QLabel* decksCaption_ = nullptr;
  QTreeWidget* decks_ = nullptr;
  QLabel* deckNote_ = nullptr;
  QLabel* chooseHint_ = nullptr;
  QPushButton* hide_ = nullptr;
};

}  // namespace tavilo::ui
