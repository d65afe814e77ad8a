#include "text/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace tavilo {
namespace {

// Every malformed sequence of one kind: each case is the malformed bytes,
// placed after "ab" and before "c", so that the cases show where the bad
// sequence starts and that the text after it is found again.
struct Malformed {
  std::string_view bytes;
  const char* why;
};
constexpr Malformed kMalformed[] = {
    {"\xC0\xAF", "overlong two-byte slash"},
    {"\xC1\xBF", "overlong two-byte U+007F"},
    {"\xE0\x80\xAF", "overlong three-byte slash"},
    {"\xE0\x9F\xBF", "overlong three-byte U+07FF"},
    {"\xF0\x80\x80\xAF", "overlong four-byte slash"},
    {"\xF0\x8F\xBF\xBF", "overlong four-byte U+FFFF"},
    {"\xED\xA0\x80", "high surrogate U+D800"},
    {"\xED\xBF\xBF", "low surrogate U+DFFF"},
    {"\xF4\x90\x80\x80", "U+110000"},
    {"\xF5\x80\x80\x80", "lead beyond F4"},
    {"\xFF", "FF"},
    {"\x80", "stray continuation"},
    {"\xE3\x81", "three-byte sequence cut short"},
    {"\xF0\x9F\x98", "four-byte sequence cut short"},
};

TEST(Utf8, WellFormedCharactersAtTheEdgesOfEachLength) {
  for (const char32_t code : {U'\0', U'\x7F', U'\x80', U'\u07FF', U'\u0800', U'\uD7FF', U'\uE000',
                              U'\uFFFD', U'\uFFFF', U'\U00010000', U'\U0010FFFF'}) {
    const std::string bytes = encodeUtf8(code);
    const auto decoded = decodeUtf8At(bytes, 0);
    ASSERT_TRUE(decoded.has_value()) << std::hex << static_cast<unsigned>(code);
    EXPECT_EQ(decoded->code, code);
    EXPECT_EQ(decoded->length, bytes.size());
    EXPECT_EQ(firstMalformedUtf8(bytes), std::nullopt);
  }
  EXPECT_EQ(encodeUtf8(U'あ'), "あ");
  EXPECT_EQ(decodeUtf8("aｱあ😀"), (std::vector<char32_t>{U'a', U'ｱ', U'あ', U'😀'}));
  EXPECT_EQ(utf8CharacterCount("aｱあ😀"), 4u);
}

TEST(Utf8, MalformedSequencesAreRefusedByteByByte) {
  for (const Malformed& m : kMalformed) {
    const std::string text = "ab" + std::string(m.bytes) + "c";
    EXPECT_FALSE(decodeUtf8At(text, 2).has_value()) << m.why;
    EXPECT_EQ(firstMalformedUtf8(text), 2u) << m.why;
    // Each byte stands alone: one U+FFFD and one step per byte.
    std::vector<char32_t> expected = {U'a', U'b'};
    expected.insert(expected.end(), m.bytes.size(), U'\uFFFD');
    expected.push_back(U'c');
    EXPECT_EQ(decodeUtf8(text), expected) << m.why;
    EXPECT_EQ(utf8CharacterCount(text), 3 + m.bytes.size()) << m.why;
  }
  EXPECT_FALSE(decodeUtf8At("a", 1).has_value()) << "past the end";
}

TEST(Utf8, EncodingWritesNoSurrogateAndNothingBeyondTheLastCodePoint) {
  EXPECT_EQ(encodeUtf8(0xD800), "\uFFFD");
  EXPECT_EQ(encodeUtf8(0xDFFF), "\uFFFD");
  EXPECT_EQ(encodeUtf8(0x110000), "\uFFFD");
}

TEST(Utf8, CharacterBoundaries) {
  const std::string text = "aあ😀";  // bytes 0 | 1 2 3 | 4 5 6 7
  EXPECT_EQ(utf8CharacterStart(text, 0), 0u);
  EXPECT_EQ(utf8CharacterStart(text, 3), 1u);
  EXPECT_EQ(utf8CharacterStart(text, 7), 4u);
  EXPECT_EQ(utf8StepAt(text, 1), 3u);
  EXPECT_EQ(utf8StepAt("\x80\x80\x80\x80\x80", 0), 1u);
  // Never back past three continuation bytes.
  EXPECT_EQ(utf8CharacterStart("a\x80\x80\x80\x80\x80", 5), 2u);

  std::string typed = "1あ😀";
  dropLastCharacter(typed);
  EXPECT_EQ(typed, "1あ");
  dropLastCharacter(typed);
  EXPECT_EQ(typed, "1");
  dropLastCharacter(typed);
  dropLastCharacter(typed);
  EXPECT_EQ(typed, "");
  std::string cut = "1\xE3\x81";
  dropLastCharacter(cut);
  EXPECT_EQ(cut, "1\xE3") << "a cut-off sequence goes byte by byte";
}

}  // namespace
}  // namespace tavilo
