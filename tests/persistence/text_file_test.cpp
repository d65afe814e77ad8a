#include "persistence/text_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../support/file_size_limit.h"
#include "../support/scratch_folder.h"
#include "calc/errors.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Lines = std::vector<std::string>;

// The characters of the round trip, by code point: Ⅰ U+2160, Ⅳ U+2163,
// ㎜ U+339C, ㎡ U+33A1, ～ U+FF5E, ≧ U+2267, ｶ U+FF76, ﾅ U+FF85.
const std::string kRomanOne = "\u2160";
const std::string kRomanFour = "\u2163";
const std::string kMillimetre = "\u339C";
const std::string kSquareMetre = "\u33A1";
const std::string kFullWidthTilde = "\uFF5E";
const std::string kWaveDash = "\u301C";
const std::string kGreaterEqual = "\u2267";
const std::string kHalfWidthKana = "\uFF76\uFF85";

class TextFileTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = testing::makeScratchFolder("tavilo_text"); }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path writeBytes(const std::string& name, const std::string& bytes) const {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  static std::string readBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }
  std::size_t entryCount() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }
  static std::string errorOf(const fs::path& path) {
    try {
      readTextLines(path);
    } catch (const UserError& error) {
      return error.what();
    }
    return "no error";
  }

  fs::path dir_;
};

std::string utf16(const std::u16string& text, bool littleEndian) {
  std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
  for (const char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    bytes += littleEndian ? low : high;
    bytes += littleEndian ? high : low;
  }
  return bytes;
}

TEST_F(TextFileTest, ByteOrderMarkChoosesTheEncoding) {
  const Lines expected = {kRomanOne + ",2", kMillimetre + kHalfWidthKana};
  const std::u16string text = u"\u2160,2\r\n\u339C\uFF76\uFF85\r\n";
  EXPECT_EQ(readTextLines(writeBytes("cp932.csv", "\x87\x54,2\r\n\x87\x6F\xB6\xC5\r\n")), expected);
  EXPECT_EQ(readTextLines(writeBytes("utf8.csv",
                                     "\xEF\xBB\xBF" + expected[0] + "\r\n" + expected[1] + "\r\n")),
            expected);
  EXPECT_EQ(readTextLines(writeBytes("le.csv", utf16(text, true))), expected);
  EXPECT_EQ(readTextLines(writeBytes("be.csv", utf16(text, false))), expected);
}

TEST_F(TextFileTest, LinesEndAtCrLfCrOrLf) {
  const auto read = [&](const std::string& bytes) {
    return readTextLines(writeBytes("lines.txt", bytes));
  };
  EXPECT_THAT(read("a\r\nb\rc\nd"), ElementsAre("a", "b", "c", "d"));
  EXPECT_THAT(read("a\r\n"), ElementsAre("a"));
  EXPECT_THAT(read("a\n\n"), ElementsAre("a", ""));
  EXPECT_THAT(read("a\r\r\nb"), ElementsAre("a", "", "b"));
  EXPECT_THAT(read("\n\rx"), ElementsAre("", "", "x"));
  EXPECT_TRUE(read("").empty());
  EXPECT_THAT(read(utf16(u"a\rb\nc\r\n", true)), ElementsAre("a", "b", "c"));
}

TEST_F(TextFileTest, InvalidBytesNameTheFileAndLine) {
  const auto bad = writeBytes("bad.csv",
                              "ok\r\nok\rab\x80"
                              "cd\r\n");
  EXPECT_THAT(errorOf(bad), HasSubstr(bad.string()));
  EXPECT_THAT(errorOf(bad), HasSubstr("3 行目"));
  EXPECT_THAT(errorOf(bad), HasSubstr("0x80"));
  // A lead byte cut off by the end of the file.
  EXPECT_THAT(errorOf(writeBytes("cut.csv", "a\r\n\x81")), HasSubstr("2 行目"));
  EXPECT_THAT(errorOf(writeBytes("utf8.csv",
                                 "\xEF\xBB\xBF"
                                 "a\nb\n\xC3(")),
              HasSubstr("3 行目"));
  EXPECT_THAT(errorOf(writeBytes("odd.csv", utf16(u"a\nb", true) + "x")), HasSubstr("2 行目"));
  EXPECT_THAT(errorOf(writeBytes("surrogate.csv",
                                 utf16(u"a\n", true) + std::string("\x00\xD8\x61\x00", 4))),
              HasSubstr("2 行目"));
}

TEST_F(TextFileTest, MissingFileNamesTheFileAndTheReason) {
  const auto missing = dir_ / "none.csv";
  EXPECT_THAT(errorOf(missing), HasSubstr(missing.string()));
  EXPECT_THAT(errorOf(missing), HasSubstr("ファイルまたはフォルダが見つかりません"));
  EXPECT_THAT(errorOf(dir_), HasSubstr(dir_.string()));
}

// A named pipe would be waited on for ever, /dev/zero never ends, a huge
// file would be held whole: each is refused before a byte is read.
TEST_F(TextFileTest, OnlyRegularFilesWithinTheLimitAreRead) {
#ifndef _WIN32
  const fs::path pipe = dir_ / "pipe.tvl";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  for (const fs::path& special : {pipe, fs::path("/dev/zero")}) {
    EXPECT_THAT(errorOf(special), AllOf(HasSubstr("「" + special.string() + "」"),
                                        HasSubstr("通常のファイルではありません")));
  }
#endif
  EXPECT_THAT(errorOf(dir_), HasSubstr("フォルダです"));

  const fs::path file = writeBytes("two-kib.txt", std::string(2048, 'x'));
  try {
    readTextLines(file, 1024);
    ADD_FAILURE() << "a file beyond the limit was read";
  } catch (const UserError& error) {
    EXPECT_THAT(error.what(), AllOf(HasSubstr("大きすぎる"), HasSubstr("2,048 バイト")));
  }
  EXPECT_EQ(readTextLines(file, 2048), Lines{std::string(2048, 'x')}) << "the limit itself is read";
}

TEST_F(TextFileTest, JapaneseCharactersRoundTripThroughCp932) {
  const Lines lines = {kRomanOne + kRomanFour,
                       kMillimetre + kSquareMetre,
                       "1" + kFullWidthTilde + "4",
                       kGreaterEqual + "0.7",
                       kHalfWidthKana,
                       "",
                       "件名を入力 ＡＢ\\~"};
  const auto path = dir_ / "round.tvl";
  writeTextLines(path, lines);
  EXPECT_EQ(readTextLines(path), lines);
  EXPECT_EQ(fromCp932(toCp932(kFullWidthTilde)), kFullWidthTilde);
  EXPECT_EQ(toCp932(kFullWidthTilde), "\x81\x60");
  EXPECT_EQ(toCp932(kRomanFour + kHalfWidthKana), "\x87\x57\xB6\xC5");
  // CR LF after every line, the last one too.
  writeTextLines(path, {"500", "", "ｶ"});
  EXPECT_EQ(readBytes(path), "500\r\n\r\n\xB6\r\n");
  writeTextLines(path, {});
  EXPECT_EQ(readBytes(path), "");
}

TEST_F(TextFileTest, TextThatCp932CannotHoldIsRefused) {
  const auto path = dir_ / "out.txt";
  // U+301C would be written as the code of U+FF5E and come back changed.
  for (const std::string& line : {kWaveDash, std::string("\u00A5"), std::string("\U0001F600"),
                                  std::string("a\nb"), std::string("ab\xFF")}) {
    try {
      writeTextLines(path, {"first", "x" + line});
      ADD_FAILURE() << "written: " << line;
    } catch (const UserError& error) {
      EXPECT_THAT(error.what(), HasSubstr(path.string()));
      EXPECT_THAT(error.what(), HasSubstr("2 行目"));
    }
  }
  EXPECT_FALSE(fs::exists(path));
  EXPECT_THROW(toCp932(kWaveDash), UserError);
  EXPECT_THROW(fromCp932("\xA0"), UserError);
}

TEST_F(TextFileTest, FailedWriteLeavesTheOldFileIntact) {
  const auto path = writeBytes("keep.tvl", "old\r\n");
  EXPECT_THROW(writeTextLines(path, {"new", kWaveDash}), UserError);
  EXPECT_EQ(readBytes(path), "old\r\n");

  // The target is a folder: the rename fails and no temporary file is left.
  fs::create_directory(dir_ / "folder");
  EXPECT_THROW(writeTextLines(dir_ / "folder", {"x"}), UserError);
  EXPECT_THROW(writeTextLines(path / "under_a_file", {"x"}), UserError);

  // A write cut short on the disk (file size limit, which binds root too).
  bool threw = false;
  const bool limited = testing::withFileSizeLimit(64, [&] {
    try {
      writeTextLines(path, Lines(100, "a long enough line"));
    } catch (const UserError& error) {
      threw = true;
      EXPECT_THAT(error.what(), HasSubstr(path.string()));
    }
  });
  EXPECT_EQ(threw, limited);
  EXPECT_EQ(readBytes(path), "old\r\n");
  EXPECT_EQ(entryCount(), 2u);  // keep.tvl and folder, no temporary files
}

}  // namespace
}  // namespace tavilo
