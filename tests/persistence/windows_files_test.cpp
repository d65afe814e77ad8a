// What only Windows shows: a save that Windows refuses (another program holds
// the file open) keeps the old file and leaves no temporary file, and the
// settings folder with its marker lies under the USERPROFILE of the process,
// whatever its name.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../support/scratch_folder.h"
#include "calc/errors.h"
#include "persistence/settings_folder.h"
#include "persistence/text_file.h"
#include "platform/utf8_path.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

std::string readBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class WindowsFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testing::makeScratchFolder("tavilo_windows") / pathFromUtf8("物件データ");
  }
  void TearDown() override { fs::remove_all(dir_.parent_path()); }

  fs::path dir_;
};

TEST_F(WindowsFilesTest, ASaveThatWindowsRefusesKeepsTheOldFile) {
  fs::create_directories(dir_);
  const fs::path target = dir_ / pathFromUtf8("屋根（東棟）.tvl");
  std::ofstream(target, std::ios::binary) << "old\r\n";
  // Held open without FILE_SHARE_DELETE, as an editor might: it can be
  // neither replaced nor renamed over.
  const HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::string message;
  try {
    writeTextLines(target, {"new"});
  } catch (const UserError& error) {
    message = error.what();
  }
  CloseHandle(held);
  EXPECT_THAT(message, HasSubstr("屋根（東棟）.tvl"));
  EXPECT_THAT(message, HasSubstr("元のファイルは変更していません"));
  EXPECT_EQ(readBytes(target), "old\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1) << "no temporary file left";

  // Released, the same save goes through.
  writeTextLines(target, {"new"});
  EXPECT_EQ(readBytes(target), "new\r\n");
}

TEST_F(WindowsFilesTest, SettingsFolderAndMarkerUnderTheProfile) {
  const fs::path profile = dir_ / pathFromUtf8("佐藤");
  fs::create_directories(profile);
  ASSERT_TRUE(SetEnvironmentVariableW(L"USERPROFILE", profile.c_str()));
  const Environment environment = processEnvironment();
  EXPECT_TRUE(environment.windowsProfile);
  EXPECT_EQ(environment.userProfile, utf8FromPath(profile));

  int notices = 0;
  EXPECT_EQ(ensureSettingsFolder(environment, [&] { ++notices; }), std::nullopt);
  const fs::path marker = profile / "AppData" / "Roaming" / "Morenta_DeckPlate" / "tavilo.dat";
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(readBytes(marker), std::string("\x91\x01\x00\x00", 4));
  EXPECT_EQ(ensureSettingsFolder(environment, [&] { ++notices; }), std::nullopt);
  EXPECT_EQ(notices, 1) << "the marker is there: no notice at the next start";
}

}  // namespace
}  // namespace tavilo
