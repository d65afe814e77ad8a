#include "persistence/settings_folder.h"

#include <pwd.h>
#include <unistd.h>
#include <cerrno>

#include <array>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iterator>
#include <system_error>

#include "persistence/system_reason.h"
#include "persistence/text_file.h"

namespace tavilo {
namespace {

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

std::string passwordHome() {
  const passwd* entry = getpwuid(getuid());
  return entry == nullptr || entry->pw_dir == nullptr ? std::string() : entry->pw_dir;
}

std::string markerBytes() {
  const auto stamp = static_cast<std::uint32_t>(kMarkerStamp);
  std::string bytes(4, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<char>((stamp >> (8 * i)) & 0xFF);
  }
  return bytes;
}

// The marker's bytes, or nothing when it cannot be read.
std::optional<std::string> readMarker(const std::filesystem::path& marker) {
  std::error_code code;
  if (!std::filesystem::is_regular_file(marker, code))
    return std::nullopt;
  std::ifstream file(marker, std::ios::binary);
  if (!file)
    return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad())
    return std::nullopt;
  return bytes;
}

std::string failureNote() {
  return "使用条件の確認の記録は保存されません。";
}

std::optional<std::string> complete(const SettingsFolderCheck& check) {
  if (check.folder.empty()) {
    return "設定フォルダの場所が分かりません（HOME が設定されていません）。" + failureNote();
  }
  std::error_code code;
  if (!std::filesystem::is_directory(check.folder, code)) {
    std::filesystem::create_directories(check.folder, code);
    if (code || !std::filesystem::is_directory(check.folder, code)) {
      const std::string reason = systemReasonText(code ? code.value() : ENOTDIR);
      return "設定フォルダ「" + check.folder.string() + "」を作成できません: " + reason + "。" +
             failureNote();
    }
  }
  const std::string stamp = markerBytes();
  if (readMarker(check.marker) == stamp)
    return std::nullopt;
  try {
    writeFileAtomically(check.marker, stamp);
  } catch (const std::exception& error) {
    return std::string(error.what()) + failureNote();
  }
  return std::nullopt;
}

}  // namespace

Environment processEnvironment() {
  Environment environment;
  environment.home = variable("HOME");
  if (environment.home.empty())
    environment.home = passwordHome();
  environment.xdgConfigHome = variable("XDG_CONFIG_HOME");
  return environment;
}

std::filesystem::path settingsFolderPath(const Environment& environment) {
  const std::filesystem::path xdg(environment.xdgConfigHome);
  if (xdg.is_absolute())
    return xdg / kSettingsFolderName;
  if (environment.home.empty())
    return {};
  return std::filesystem::path(environment.home) / ".config" / kSettingsFolderName;
}

std::string windowsSettingsFolder(std::string_view userProfile, int majorVersion) {
  const bool roaming = majorVersion == 6 || majorVersion == 10;
  return std::string(userProfile) + (roaming ? "\\AppData\\Roaming\\" : "\\Application Data\\") +
         std::string(kSettingsFolderName);
}

SettingsFolderCheck checkSettingsFolder(const Environment& environment) {
  SettingsFolderCheck check;
  check.folder = settingsFolderPath(environment);
  if (check.folder.empty()) {
    check.noticeNeeded = true;
    return check;
  }
  check.marker = check.folder / kMarkerFileName;
  std::error_code code;
  check.noticeNeeded = !std::filesystem::is_directory(check.folder, code) ||
                       !std::filesystem::is_regular_file(check.marker, code);
  return check;
}

std::optional<std::string> completeSettingsFolder(const SettingsFolderCheck& check) {
  try {
    return complete(check);
  } catch (const std::exception& error) {
    return "設定フォルダを準備できません: " + std::string(error.what()) + "。" + failureNote();
  }
}

std::optional<std::string> ensureSettingsFolder(const Environment& environment,
                                                const std::function<void()>& showNotice) {
  const SettingsFolderCheck check = checkSettingsFolder(environment);
  if (check.noticeNeeded && showNotice)
    showNotice();
  return completeSettingsFolder(check);
}

}  // namespace tavilo
