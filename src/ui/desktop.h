#pragma once
// The windows of one program run and how they lead to each other: the input
// screen with its commands, the settings dialog, the result window with its
// print settings dialog, the overview and fire-resistance windows. All are
// made at start-up, hidden but for the input screen, and live until the end.

#include <QObject>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "persistence/settings_folder.h"
#include "ui/input_screen.h"
#include "ui/result_window.h"

namespace tavilo::ui {

class FireResistanceWindow;
class LiveCheckWindow;
class OverviewWindow;
class SettingsWindow;
class SpanTableWindow;

class Desktop : public QObject {
  Q_OBJECT

 public:
  Desktop(Session& session, InputScreenDialogs dialogs,
          ResultWindowDialogs resultDialogs = ResultWindowDialogs::platform());
  ~Desktop() override;

  InputScreen& inputScreen() { return *inputScreen_; }
  SettingsWindow& settingsWindow() { return *settingsWindow_; }
  ResultWindow& resultWindow() { return *resultWindow_; }
  SpanTableWindow& spanTableWindow() { return *spanTableWindow_; }
  // "スパン表" of the result window: the table of the inputs of the report
  // shown, worked out behind the busy panel.
  void showSpanTable();
  OverviewWindow& overviewWindow() { return *overviewWindow_; }
  FireResistanceWindow& fireResistanceWindow() { return *fireResistanceWindow_; }
  // The live check beside the input screen, owned by it.
  LiveCheckWindow& liveCheckWindow() { return *liveCheckWindow_; }

 signals:
  // The input screen was closed: the program ends.
  void finished();

 private:
  Session& session_;
  std::unique_ptr<InputScreen> inputScreen_;
  std::unique_ptr<SettingsWindow> settingsWindow_;
  // Made before the result window, which takes its own copy of the dialogs.
  std::unique_ptr<SpanTableWindow> spanTableWindow_;
  std::unique_ptr<ResultWindow> resultWindow_;
  std::unique_ptr<OverviewWindow> overviewWindow_;
  std::unique_ptr<FireResistanceWindow> fireResistanceWindow_;
  LiveCheckWindow* liveCheckWindow_ = nullptr;
};

struct StartUpOptions {
  std::string version;  // "5.4"
  Environment environment;
  // The splash stays at least this long; the benchmark passes zero.
  std::chrono::milliseconds splashWait{1000};
  // A project named on the command line, opened once the input screen is up.
  std::optional<std::filesystem::path> project;
  InputScreenDialogs dialogs = InputScreenDialogs::platform();
  ResultWindowDialogs resultDialogs = ResultWindowDialogs::platform();
};

// The start-up sequence: the settings folder and its marker (the terms-of-use
// notice first on a first run), the splash, the session's start-up, the
// windows, and the input screen shown with the focus on the deck type, then
// the project of the command line loaded as データ読込 loads it. An error on
// the way is reported and start-up goes on with the defaults.
std::unique_ptr<Desktop> startDesktop(Session& session, StartUpOptions options);

}  // namespace tavilo::ui
