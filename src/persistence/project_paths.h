#pragma once
// Where project files are opened from and saved to: the paths remembered
// during a program run, the folder and name the file dialogs start with, and
// the extension a typed name receives. The dialogs themselves belong to the
// window.

#include <filesystem>
#include <string>
#include <string_view>

namespace tavilo {

inline constexpr std::string_view kProjectExtension = ".tvl";
inline constexpr std::string_view kProjectFileFilter =
    "データファイル(*.tvl)|*.tvl|全てのファイル(*.*)|*.*";
// The folder beside the program that holds project files by default.
inline constexpr std::string_view kProjectFolderName = "Data";
inline constexpr std::string_view kDefaultProjectFileName = "Data.tvl";
// The project folder in the user's documents when the program's own folder
// cannot be written.
inline constexpr std::string_view kDocumentsFolderName = "Tavilo";

// Empty until a file has been opened or saved in this run.
struct ProjectPaths {
  std::filesystem::path lastOpened;
  std::filesystem::path lastSaved;
  std::filesystem::path current;  // shown in the window title and the printed footer
};

struct SaveLocation {
  std::filesystem::path folder;
  std::string fileName;
};

// The folder the file dialogs start in before a file has been opened or
// saved: "Data" beside the program, made if it is missing; when the program's
// folder cannot be written (an installed program), "Tavilo" in the user's
// documents folder instead.
std::filesystem::path defaultProjectFolder(const std::filesystem::path& programFolder,
                                           const std::filesystem::path& documentsFolder);

// The save dialog's start: the file opened last (its name with the extension
// ".tvl"), else the file saved last, else "Data.tvl" in the default folder.
SaveLocation suggestedSaveLocation(const ProjectPaths& paths,
                                   const std::filesystem::path& defaultFolder);

// The open dialog's start folder: that of the file opened last, else of the
// file saved last, else the default folder.
std::filesystem::path openStartFolder(const ProjectPaths& paths,
                                      const std::filesystem::path& defaultFolder);

// A name typed without an extension receives ".tvl"; any other extension is
// kept as typed.
std::filesystem::path withProjectExtension(const std::filesystem::path& typed);

// "Tavilo for win [" + path + "]"
std::string projectWindowTitle(const std::filesystem::path& path);

void rememberOpened(ProjectPaths& paths, const std::filesystem::path& path);
void rememberSaved(ProjectPaths& paths, const std::filesystem::path& path);

}  // namespace tavilo
