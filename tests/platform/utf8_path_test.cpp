// Paths and UTF-8: Japanese folder and file names survive the crossing both
// ways on every system, and the hand-made decoders stop where the text goes
// wrong.

#include "platform/utf8_path.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "platform/unicode.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;

TEST(Utf8Path, JapaneseNamesRoundTrip) {
  const std::string folder = "物件データ";
  const std::string file = "屋根（東棟）～Ⅳ.tvl";
  const fs::path path = pathFromUtf8(folder) / pathFromUtf8("鉄骨") / pathFromUtf8(file);
  EXPECT_EQ(utf8FromPath(path.filename()), file);
  EXPECT_EQ(utf8FromPath(path.parent_path().parent_path()), folder);
  EXPECT_EQ(utf8FromPath(path.stem()), "屋根（東棟）～Ⅳ");
  EXPECT_EQ(path.extension(), ".tvl");
  // The system's own form holds the characters, not code page bytes.
  EXPECT_EQ(path.filename().u16string(), u"屋根（東棟）～Ⅳ.tvl");
  EXPECT_EQ(utf8FromPath(pathFromUtf8("\U0001F600")), "\U0001F600");
}

TEST(Utf8Path, BytesThatAreNotUtf8) {
  const std::string bytes = "a\xFF.tvl";
  if constexpr (std::is_same_v<fs::path::value_type, char>) {
    EXPECT_EQ(utf8FromPath(pathFromUtf8(bytes)), bytes) << "POSIX names are bytes";
  } else {
    EXPECT_EQ(utf8FromPath(pathFromUtf8(bytes)), "a\uFFFD.tvl");
  }
}

TEST(Unicode, Utf16StopsAtTheFirstUnitThatIsNoCharacter) {
  const auto le = [](std::u16string_view units) {
    std::string bytes;
    for (const char16_t unit : units) {
      bytes += static_cast<char>(unit & 0xFF);
      bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
  };
  EXPECT_EQ(utf16ToUtf8(le(u"ａ\U0001F600b"), true).text, "ａ\U0001F600b");
  EXPECT_EQ(utf16ToUtf8("\x30\x42", false).text, "あ");
  const auto lone = utf16ToUtf8(le(u"ab") + le(std::u16string(1, u'\xD800')) + le(u"c"), true);
  EXPECT_EQ(lone.text, "ab");
  EXPECT_EQ(lone.badAt, 4u);
  EXPECT_EQ(utf16ToUtf8(le(std::u16string(1, u'\xDC00')), true).badAt, 0u);
  EXPECT_EQ(utf16ToUtf8(le(u"a") + "x", true).badAt, 2u);
}

TEST(Unicode, MalformedUtf8) {
  EXPECT_EQ(firstMalformedUtf8("ok あ \U0001F600"), std::nullopt);
  for (const std::string bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                                "\x80", "\xE3\x81", "\xE3\x41\x81"}) {
    EXPECT_EQ(firstMalformedUtf8("ab" + bad), 2u) << bad;
  }
}

}  // namespace
}  // namespace tavilo
