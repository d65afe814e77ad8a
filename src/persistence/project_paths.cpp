#include "persistence/project_paths.h"

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

}  // namespace

SaveLocation suggestedSaveLocation(const ProjectPaths& paths, const fs::path& programFolder) {
  if (const fs::path* last = lastUsed(paths)) {
    fs::path name = last->filename();
    name.replace_extension(kProjectExtension);
    return {last->parent_path(), name.string()};
  }
  return {programFolder / kProjectFolderName, std::string(kDefaultProjectFileName)};
}

fs::path openStartFolder(const ProjectPaths& paths, const fs::path& programFolder) {
  if (const fs::path* last = lastUsed(paths))
    return last->parent_path();
  return programFolder / kProjectFolderName;
}

fs::path withProjectExtension(const fs::path& typed) {
  if (typed.empty() || typed.has_extension())
    return typed;
  fs::path named = typed;
  named += kProjectExtension;
  return named;
}

std::string projectWindowTitle(const fs::path& path) {
  return "Tavilo for win [" + path.string() + "]";
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
