#include "persistence/settings_folder.h"

#include <cerrno>
#include <exception>
#include <fstream>
#include <iterator>
#include <system_error>

#include "persistence/text_file.h"
#include "platform/system_reason.h"
#include "platform/utf8_path.h"

namespace tavilo {
namespace {

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
    return std::string("設定フォルダの場所が分かりません（") +
           (check.windowsProfile ? "USERPROFILE" : "HOME") + " が設定されていません）。" +
           failureNote();
  }
  std::error_code code;
  if (!std::filesystem::is_directory(check.folder, code)) {
    std::filesystem::create_directories(check.folder, code);
    if (code || !std::filesystem::is_directory(check.folder, code)) {
      const std::string reason = systemReasonText(code ? code.value() : ENOTDIR);
      return "設定フォルダ「" + utf8FromPath(check.folder) + "」を作成できません: " + reason +
             "。" + failureNote();
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
  return platform::processEnvironment();
}

std::filesystem::path settingsFolderPath(const Environment& environment) {
  if (environment.windowsProfile) {
    if (environment.userProfile.empty())
      return {};
    return pathFromUtf8(windowsSettingsFolder(environment.userProfile, environment.majorVersion));
  }
  const std::filesystem::path xdg = pathFromUtf8(environment.xdgConfigHome);
  if (xdg.is_absolute())
    return xdg / kSettingsFolderName;
  if (environment.home.empty())
    return {};
  return pathFromUtf8(environment.home) / ".config" / kSettingsFolderName;
}

std::string windowsSettingsFolder(std::string_view userProfile, int majorVersion) {
  const bool roaming = majorVersion == 6 || majorVersion == 10;
  return std::string(userProfile) + (roaming ? "\\AppData\\Roaming\\" : "\\Application Data\\") +
         std::string(kSettingsFolderName);
}

SettingsFolderCheck checkSettingsFolder(const Environment& environment) {
  SettingsFolderCheck check;
  check.folder = settingsFolderPath(environment);
  check.windowsProfile = environment.windowsProfile;
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
