#pragma once
// The settings folder in the user's profile and the marker file in it that
// records that the terms-of-use notice has been shown. Nothing here throws:
// a folder or file that cannot be made is reported as a message and the
// program goes on.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tavilo {

inline constexpr std::string_view kSettingsFolderName = "Morenta_DeckPlate";
inline constexpr std::string_view kMarkerFileName = "tavilo.dat";
// The stamp the marker file holds, as a 32-bit little-endian integer.
inline constexpr std::int32_t kMarkerStamp = 401;

// The environment values that place the settings folder.
using Environment = platform::Environment;

// The environment of this process (on POSIX HOME, or the password database's
// home folder when HOME is unset, and XDG_CONFIG_HOME; on Windows USERPROFILE
// and the system's major version).
Environment processEnvironment();

// On Windows (windowsProfile) the folder of windowsSettingsFolder under the
// profile folder; elsewhere $XDG_CONFIG_HOME/Morenta_DeckPlate when that is
// an absolute path, else $HOME/.config/Morenta_DeckPlate. Empty when neither
// is known.
std::filesystem::path settingsFolderPath(const Environment& environment);

// The folder on Windows: the profile folder followed by
// "\AppData\Roaming\Morenta_DeckPlate" for major versions 6 and 10, else by
// "\Application Data\Morenta_DeckPlate".
std::string windowsSettingsFolder(std::string_view userProfile, int majorVersion);

struct SettingsFolderCheck {
  std::filesystem::path folder;
  std::filesystem::path marker;
  bool noticeNeeded = false;    // the folder or the marker file is missing
  bool windowsProfile = false;  // placed by the profile rule
};

// Looks at the folder and the marker file without changing anything.
SettingsFolderCheck checkSettingsFolder(const Environment& environment);

// Creates the folder (with its parents) and the marker file where they are
// missing and makes the marker hold exactly the stamp. Call it after the
// notice has been shown when noticeNeeded is set. Returns the message to
// show when something could not be made or written.
std::optional<std::string> completeSettingsFolder(const SettingsFolderCheck& check);

// Both steps: checks, calls showNotice when the notice is due, completes.
std::optional<std::string> ensureSettingsFolder(const Environment& environment,
                                                const std::function<void()>& showNotice);

}  // namespace tavilo
