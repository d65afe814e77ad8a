#pragma once
// One run of the program without its windows: the input screen, the settings
// dialog, the print settings with their dialog, the application state, the
// project paths and the last calculation, with the commands the windows and
// the batch command give. The windows only show what it holds and pass on
// what the user does.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/app_state.h"
#include "calc/print_settings.h"
#include "model/calculate_command.h"
#include "model/input_form.h"
#include "model/print_settings_dialog.h"
#include "model/project_file.h"
#include "model/settings_dialog.h"
#include "persistence/project_paths.h"

namespace tavilo {

// The folders of a program run, fixed at start-up.
struct ProgramFolders {
  std::filesystem::path program;   // folder of the executable
  std::filesystem::path data;      // the location tables, pictures and overview
  std::filesystem::path projects;  // where the project file dialogs start
};

// The data folder: "Load_data" beside the executable; else the installed
// "share/tavilo/Load_data" beside the executable's "bin"; else the first
// "Load_data" holding the address table in one of the executable's parent
// folders (a build tree inside the source tree). Answers the path beside the
// executable when none is found, so that the message names where it was
// looked for.
std::filesystem::path defaultDataDir(const std::filesystem::path& executable);

// The path of the running executable, or argv0 made absolute where the
// system cannot tell.
std::filesystem::path executablePath(const char* argv0);

class Session {
 public:
  explicit Session(ProgramFolders folders);

  // The start-up of the input screen: the location tables, the first district
  // of "北海道", the defaults of the settings and the print settings, and the
  // version label. When a table cannot be read the rest is still done and its
  // message is returned.
  [[nodiscard]] std::optional<std::string> startUp(std::string_view version);
  // What the start-up read as it stands but doubts (a V0 outside the values
  // of the notice in the address table); empty when nothing. Shown where the
  // message of a table that cannot be read is shown.
  const std::string& tableWarning() const {
    return form_.siteAndSnow().locationTables().addressTableWarning();
  }

  InputForm& form() { return form_; }
  const InputForm& form() const { return form_; }
  SettingsDialog& settingsDialog() { return settingsDialog_; }
  const SettingsDialog& settingsDialog() const { return settingsDialog_; }
  PrintSettings& printSettings() { return print_; }
  const PrintSettings& printSettings() const { return print_; }
  PrintSettingsDialog& printDialog() { return printDialog_; }
  const PrintSettingsDialog& printDialog() const { return printDialog_; }
  const AppState& state() const { return state_; }
  const CoefficientSettings& settings() const { return state_.settings; }
  const ProjectPaths& paths() const { return paths_; }
  const ProgramFolders& folders() const { return folders_; }
  const std::optional<CalculationOutcome>& lastOutcome() const { return state_.lastOutcome; }

  // ---- "計　算"
  // `checked` runs once the input check has passed, before the work starts.
  [[nodiscard]] CalculateResult calculate(const std::function<void()>& checked = {});

  // ---- "データ保存" and "データ読込"
  SaveLocation saveLocation() const;
  std::filesystem::path openFolder() const;
  // Throws UserError when the file cannot be written; nothing changes then.
  void save(const std::filesystem::path& path);
  [[nodiscard]] ProjectLoad load(const std::filesystem::path& path);
  // The inputs differ from what was last saved or loaded (or, before either,
  // from the start-up defaults).
  bool hasUnsavedChanges() const;
  // A draft of the inputs kept by the browser edition, so that a closed tab
  // loses nothing: written as a project file holds them, with nothing else
  // changed; read back, the inputs count as unsaved and no file is current.
  // writeDraft throws UserError as save does.
  void writeDraft(const std::filesystem::path& path) const;
  [[nodiscard]] ProjectLoad restoreDraft(const std::filesystem::path& path);

  // ---- "設　定" and its dialog
  void openSettings();
  [[nodiscard]] FormEvents applySettings();
  [[nodiscard]] FormEvents cancelSettings();
  void resetSettings();

  // ---- "印刷の設定" and its dialog
  void openPrintSettings();
  void confirmPrintSettings();
  void cancelPrintSettings();

 private:
  std::vector<std::string> currentLines() const;
  ProjectContext context();

  ProgramFolders folders_;
  InputForm form_;
  SettingsDialog settingsDialog_;
  PrintSettings print_;
  PrintSettingsDialog printDialog_;
  AppState state_;
  ProjectPaths paths_;
  std::vector<std::string> savedLines_;
};

}  // namespace tavilo
