#include "model/session.h"

#include <system_error>
#include <tuple>
#include <utility>

#include "calc/errors.h"
#include "persistence/text_file.h"
#include "platform/platform.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;

bool holdsTables(const fs::path& folder) {
  std::error_code ignored;
  return fs::is_regular_file(folder / kAddressFileName, ignored);
}

}  // namespace

fs::path defaultDataDir(const fs::path& executable) {
  const fs::path beside = executable.parent_path() / kDataFolderName;
  if (holdsTables(beside))
    return beside;
  const fs::path installed =
      executable.parent_path().parent_path() / "share" / "tavilo" / kDataFolderName;
  if (holdsTables(installed))
    return installed;
  for (fs::path folder = executable.parent_path().parent_path(); !folder.empty();
       folder = folder.parent_path()) {
    if (holdsTables(folder / kDataFolderName))
      return folder / kDataFolderName;
    if (folder == folder.parent_path())
      break;
  }
  return beside;
}

fs::path executablePath(const char* argv0) {
  return platform::executablePath(argv0);
}

Session::Session(ProgramFolders folders)
    : folders_(std::move(folders)), form_(LocationTables(folders_.data)) {}

std::optional<std::string> Session::startUp(std::string_view version) {
  std::optional<std::string> failure;
  try {
    std::ignore = form_.startUp();
  } catch (const UserError& error) {
    failure = error.what();
  }
  state_.settings = CoefficientSettings{};
  settingsDialog_ = SettingsDialog{};
  print_ = PrintSettings{};
  printDialog_ = PrintSettingsDialog{};
  form_.setVersionText(version);
  savedLines_ = currentLines();
  return failure;
}

CalculateResult Session::calculate(const std::function<void()>& checked) {
  return tavilo::calculate(form_, state_, checked);
}

SaveLocation Session::saveLocation() const {
  return suggestedSaveLocation(paths_, folders_.projects);
}

std::filesystem::path Session::openFolder() const {
  return openStartFolder(paths_, folders_.projects);
}

void Session::save(const std::filesystem::path& path) {
  saveProject(path, context());
  savedLines_ = currentLines();
}

ProjectLoad Session::load(const std::filesystem::path& path) {
  ProjectLoad result = loadProject(path, context());
  if (!result.fileRead)
    return result;
  printDialog_.showSettings(print_);
  // What now stands on the screen is the file as far as it could be read;
  // the user has changed nothing yet.
  savedLines_ = currentLines();
  return result;
}

bool Session::hasUnsavedChanges() const {
  return currentLines() != savedLines_;
}

void Session::writeDraft(const std::filesystem::path& path) const {
  writeTextLines(path, currentLines());
}

ProjectLoad Session::restoreDraft(const std::filesystem::path& path) {
  const ProjectPaths paths = paths_;
  std::vector<std::string> saved = savedLines_;
  ProjectLoad result = load(path);
  paths_ = paths;
  savedLines_ = std::move(saved);
  return result;
}

void Session::openSettings() {
  openSettingsDialog(settingsDialog_, form_);
}

FormEvents Session::applySettings() {
  return tavilo::applySettings(settingsDialog_, state_.settings, form_);
}

FormEvents Session::cancelSettings() {
  return tavilo::cancelSettings(settingsDialog_, state_.settings, form_);
}

void Session::resetSettings() {
  resetSettingsDialog(settingsDialog_);
}

void Session::openPrintSettings() {
  printDialog_.open(print_);
}

void Session::confirmPrintSettings() {
  printDialog_.confirm(print_);
}

void Session::cancelPrintSettings() {
  printDialog_.cancel(print_);
}

std::vector<std::string> Session::currentLines() const {
  return projectLines(form_, state_.settings, print_);
}

ProjectContext Session::context() {
  return {form_, settingsDialog_, state_.settings, print_, paths_};
}

}  // namespace tavilo
