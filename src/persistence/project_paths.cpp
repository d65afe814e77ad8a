#include "persistence/project_paths.h"

#include "platform/platform.h"
#include "platform/utf8_path.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;

const fs::path* lastUsed(const ProjectPaths& paths) {
  if (!paths.lastOpened.empty())
    return &paths.lastOpened;
  if (!paths.lastSaved.empty())
    return &paths.lastSaved;
  return nullptr;
}

bool writableFolder(const fs::path& folder) {
  std::error_code error;
  if (!fs::is_directory(folder, error))
    return false;
  return platform::folderWriteError(folder) == 0;
}

}  // namespace

fs::path defaultProjectFolder(const fs::path& programFolder, const fs::path& documentsFolder) {
  const fs::path beside = programFolder / kProjectFolderName;
  std::error_code error;
  if (writableFolder(beside))
    return beside;
  if (!fs::exists(beside, error) && writableFolder(programFolder) &&
      fs::create_directory(beside, error)) {
    return beside;
  }
  const fs::path own = documentsFolder / kDocumentsFolderName;
  fs::create_directories(own, error);
  return own;
}

SaveLocation suggestedSaveLocation(const ProjectPaths& paths, const fs::path& defaultFolder) {
  if (const fs::path* last = lastUsed(paths)) {
    fs::path name = last->filename();
    name.replace_extension(kProjectExtension);
    return {last->parent_path(), utf8FromPath(name)};
  }
  return {defaultFolder, std::string(kDefaultProjectFileName)};
}

fs::path openStartFolder(const ProjectPaths& paths, const fs::path& defaultFolder) {
  if (const fs::path* last = lastUsed(paths))
    return last->parent_path();
  return defaultFolder;
}

fs::path withProjectExtension(const fs::path& typed) {
  if (typed.empty() || typed.has_extension())
    return typed;
  fs::path named = typed;
  named += kProjectExtension;
  return named;
}

std::string projectWindowTitle(const fs::path& path) {
  return "Tavilo for win [" + utf8FromPath(path) + "]";
}

void rememberOpened(ProjectPaths& paths, const fs::path& path) {
  paths.lastOpened = path;
  paths.current = path;
}

void rememberSaved(ProjectPaths& paths, const fs::path& path) {
  paths.lastSaved = path;
  paths.current = path;
}

}  // namespace tavilo
