#include "persistence/settings_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include "../support/scratch_folder.h"
#include "platform/utf8_path.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

const std::string kStamp("\x91\x01\x00\x00", 4);  // 401, little-endian

class SettingsFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = testing::makeScratchFolder("tavilo_settings");
    environment_ = {(root_ / "home").string(), ""};
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path folder() const { return root_ / "home" / ".config" / "Morenta_DeckPlate"; }
  fs::path marker() const { return folder() / "tavilo.dat"; }
  static std::string readBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }
  void writeMarker(const std::string& bytes) const {
    fs::create_directories(folder());
    std::ofstream(marker(), std::ios::binary) << bytes;
  }

  fs::path root_;
  Environment environment_;
};

TEST(SettingsFolderPath, FollowsTheEnvironment) {
#ifdef _WIN32
  GTEST_SKIP() << "the XDG rule of Linux; Windows paths have drive letters";
#endif
  EXPECT_EQ(settingsFolderPath({"/home/u", ""}), fs::path("/home/u/.config/Morenta_DeckPlate"));
  EXPECT_EQ(settingsFolderPath({"/home/u", "/cfg"}), fs::path("/cfg/Morenta_DeckPlate"));
  // A relative XDG_CONFIG_HOME is not a valid setting and is ignored.
  EXPECT_EQ(settingsFolderPath({"/home/u", "cfg"}), fs::path("/home/u/.config/Morenta_DeckPlate"));
  EXPECT_EQ(settingsFolderPath({"", ""}), fs::path());
}

TEST(SettingsFolderPath, WindowsProfileRule) {
  EXPECT_EQ(settingsFolderPath(Environment::windows("C:\\Users\\佐藤", 10)),
            pathFromUtf8("C:\\Users\\佐藤\\AppData\\Roaming\\Morenta_DeckPlate"));
  // The profile is not cut to a buffer of 250 characters: a longer one
  // would place the folder somewhere else.
  const std::string longProfile = "C:\\Users\\" + std::string(300, 'a');
  EXPECT_EQ(utf8FromPath(settingsFolderPath(Environment::windows(longProfile, 10))),
            longProfile + "\\AppData\\Roaming\\Morenta_DeckPlate");
  const Environment noProfile = Environment::windows("", 10);
  EXPECT_EQ(settingsFolderPath(noProfile), fs::path());
  EXPECT_THAT(completeSettingsFolder(checkSettingsFolder(noProfile)).value_or(""),
              HasSubstr("USERPROFILE が設定されていません"));
}

TEST(SettingsFolderPath, WindowsFolderDependsOnTheMajorVersion) {
  EXPECT_EQ(windowsSettingsFolder("C:\\Users\\sato", 6),
            "C:\\Users\\sato\\AppData\\Roaming\\Morenta_DeckPlate");
  EXPECT_EQ(windowsSettingsFolder("C:\\Users\\sato", 10),
            "C:\\Users\\sato\\AppData\\Roaming\\Morenta_DeckPlate");
  EXPECT_EQ(windowsSettingsFolder("C:\\Documents and Settings\\sato", 5),
            "C:\\Documents and Settings\\sato\\Application Data\\Morenta_DeckPlate");
  EXPECT_EQ(windowsSettingsFolder("C:\\Users\\sato", 11),
            "C:\\Users\\sato\\Application Data\\Morenta_DeckPlate");
}

TEST_F(SettingsFolderTest, FirstRunShowsTheNoticeThenCreatesFolderAndMarker) {
  const auto check = checkSettingsFolder(environment_);
  EXPECT_TRUE(check.noticeNeeded);
  EXPECT_EQ(check.folder, folder());
  EXPECT_EQ(check.marker, marker());
  EXPECT_FALSE(fs::exists(root_ / "home"));  // nothing is made before the notice

  EXPECT_EQ(completeSettingsFolder(check), std::nullopt);
  EXPECT_EQ(readBytes(marker()), kStamp);
  EXPECT_FALSE(checkSettingsFolder(environment_).noticeNeeded);

  int notices = 0;
  EXPECT_EQ(ensureSettingsFolder(environment_, [&] { ++notices; }), std::nullopt);
  EXPECT_EQ(notices, 0);

  // Deleting the folder brings the notice back once.
  fs::remove_all(folder());
  EXPECT_EQ(ensureSettingsFolder(environment_, [&] { ++notices; }), std::nullopt);
  EXPECT_EQ(ensureSettingsFolder(environment_, [&] { ++notices; }), std::nullopt);
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(readBytes(marker()), kStamp);
}

TEST_F(SettingsFolderTest, MissingMarkerInAnExistingFolderShowsTheNotice) {
  fs::create_directories(folder());
  int notices = 0;
  EXPECT_EQ(ensureSettingsFolder(environment_, [&] { ++notices; }), std::nullopt);
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(readBytes(marker()), kStamp);
}

TEST_F(SettingsFolderTest, WrongMarkerIsRewrittenWithoutTheNotice) {
  for (const std::string& bytes : {std::string("\x90\x01\x00\x00", 4), std::string(),
                                   std::string("\x91\x01", 2), kStamp + "xy"}) {
    writeMarker(bytes);
    int notices = 0;
    EXPECT_EQ(ensureSettingsFolder(environment_, [&] { ++notices; }), std::nullopt);
    EXPECT_EQ(notices, 0);
    EXPECT_EQ(readBytes(marker()), kStamp);
  }
}

TEST_F(SettingsFolderTest, UnwritableFolderIsReportedNotFatal) {
  // A regular file where a parent folder should be: creation fails even as root.
  std::ofstream(root_ / "plain") << "x";
  environment_.xdgConfigHome = (root_ / "plain" / "config").string();
  const auto check = checkSettingsFolder(environment_);
  EXPECT_TRUE(check.noticeNeeded);
  const auto error = completeSettingsFolder(check);
  ASSERT_TRUE(error.has_value());
  EXPECT_THAT(*error, HasSubstr((root_ / "plain" / "config" / "Morenta_DeckPlate").string()));

  // A folder where the marker file should be.
  environment_.xdgConfigHome.clear();
  fs::create_directories(marker());
  const auto markerError = ensureSettingsFolder(environment_, [] {});
  ASSERT_TRUE(markerError.has_value());
  EXPECT_THAT(*markerError, HasSubstr(marker().string()));

  EXPECT_TRUE(completeSettingsFolder(checkSettingsFolder({"", ""})).has_value());
}

}  // namespace
}  // namespace tavilo
