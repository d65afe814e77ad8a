#pragma once
// The "データ保存" and "データ読込" commands without their file dialogs: the
// 67 lines of a project file built from the input screen, the coefficient
// settings and the print settings, and a file's items applied back to them in
// the file's order, each as if the user had made the entry, so that the
// reactions of the screen run as they would by hand.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "calc/coefficient_settings.h"
#include "calc/print_settings.h"
#include "model/form_events.h"
#include "model/input_form.h"
#include "model/settings_dialog.h"
#include "persistence/project_paths.h"

namespace tavilo {

// What saving and loading read and change.
struct ProjectContext {
  InputForm& form;
  SettingsDialog& dialog;
  CoefficientSettings& settings;
  PrintSettings& print;
  ProjectPaths& paths;
};

// The lines of the current layout.
std::vector<std::string> projectLines(const InputForm& form, const CoefficientSettings& settings,
                                      const PrintSettings& print);

// Writes the project to `path`, replacing the file whole, then remembers the
// path as the last saved and current file and shows it in the window title.
// A failed write throws UserError and leaves the old file and the remembered
// paths as they were.
void saveProject(const std::filesystem::path& path, const ProjectContext& context);

struct ProjectLoad {
  // Messages and focus moves of the screen's reactions, in order; the message
  // of every ratio line that took its default is among them.
  FormEvents events;
  // Set when the file could not be read or converted (nothing was applied) or
  // when the load stopped at a line (the items before it stay applied).
  std::optional<std::string> failure;
  bool converted = false;  // the file was in the legacy keyed layout
  bool fileRead = false;   // the file could be read, so its items were applied

  bool completed() const { return !failure.has_value(); }
};

// Reads the file and applies it. A file that cannot be read changes nothing;
// otherwise its path becomes the last opened and current file first.
ProjectLoad loadProject(const std::filesystem::path& path, const ProjectContext& context);

// Applies the lines of a file; `fileLabel` names the file in messages.
ProjectLoad applyProjectLines(std::vector<std::string> fileLines, const std::string& fileLabel,
                              const ProjectContext& context);

}  // namespace tavilo
