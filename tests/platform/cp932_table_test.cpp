// The table conversion of the browser build against this system's iconv:
// every byte and byte pair, every code point, and malformed input, so that
// the browser reads and writes project files exactly as Linux does.

#include "platform/cp932_table.h"
#include "platform/unicode.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tavilo::platform {
namespace {

// One open descriptor per direction for the whole test program.
iconv_t descriptor(const char* to, const char* from) {
  static const iconv_t decode = iconv_open("UTF-8", "CP932");
  static const iconv_t encode = iconv_open("CP932", "UTF-8");
  return std::string_view(to) == "UTF-8" && std::string_view(from) == "CP932" ? decode : encode;
}

TableConversion byIconv(const char* to, const char* from, std::string_view input) {
  const iconv_t handle = descriptor(to, from);
  EXPECT_NE(handle, reinterpret_cast<iconv_t>(-1));
  iconv(handle, nullptr, nullptr, nullptr, nullptr);
  TableConversion result;
  std::string out(input.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  if (iconv(handle, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
    result.badAt = input.size() - inLeft;
  out.resize(out.size() - outLeft);
  result.text = out;
  return result;
}

void expectSame(const TableConversion& table, const TableConversion& iconv,
                const std::string& what) {
  EXPECT_EQ(table.badAt, iconv.badAt) << what;
  EXPECT_EQ(table.text, iconv.text) << what;
}

std::string hex(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    char buffer[4];
    std::snprintf(buffer, sizeof buffer, "%02X", static_cast<unsigned char>(c));
    text += buffer;
  }
  return text;
}

std::string utf8Of(std::uint32_t code) {
  std::string out;
  appendUtf8(out, static_cast<char32_t>(code));
  return out;
}

// Each single byte and byte pair alone, and behind a text and before one,
// so that a bad sequence is reported at the same offset.
TEST(Cp932Table, DecodesEveryByteSequenceAsIconvDoes) {
  for (int first = 0; first < 256; ++first) {
    const std::string single(1, static_cast<char>(first));
    expectSame(cp932ToUtf8ByTable(single), byIconv("UTF-8", "CP932", single), hex(single));
    for (int second = 0; second < 256; ++second) {
      const std::string pair{static_cast<char>(first), static_cast<char>(second)};
      const std::string framed = "A" + pair + "\x82\xA0";
      expectSame(cp932ToUtf8ByTable(framed), byIconv("UTF-8", "CP932", framed), hex(framed));
    }
  }
}

TEST(Cp932Table, EncodesEveryCodePointAsIconvDoes) {
  std::string all;
  for (std::uint32_t code = 0; code <= 0x10FFFF; ++code) {
    if (code >= 0xD800 && code <= 0xDFFF)
      continue;
    const std::string text = "a" + utf8Of(code) + "\xE3\x81\x82";
    expectSame(utf8ToCp932ByTable(text), byIconv("CP932", "UTF-8", text), hex(text));
  }
  // The one-way mappings of the wave dash and the yen sign, and the NEC and
  // IBM extensions that share characters.
  EXPECT_EQ(utf8ToCp932ByTable("\xE3\x80\x9C").text, "\x81\x60");  // U+301C
  EXPECT_EQ(cp932ToUtf8ByTable("\x87\x40").text, "\xE2\x91\xA0");  // ①
  EXPECT_EQ(cp932ToUtf8ByTable("\xED\x40").text, cp932ToUtf8ByTable("\xFA\x5C").text);
}

TEST(Cp932Table, RefusesMalformedUtf8AtTheSameOffsetAsIconv) {
  const std::vector<std::string> malformed = {
      "ab\x80",         "ab\xC0\xAF",      "ab\xE0\x80\xAF", "ab\xED\xA0\x80", "ab\xF4\x90\x80\x80",
      "ab\xE3\x81",     "ab\xE3\x81x",     "ab\xF8\x88\x80", "ab\xFF",         "\xC3",
      "ok\xEF\xBF\xBF", "\xF0\x9F\x98\x80"};
  for (const std::string& text : malformed)
    expectSame(utf8ToCp932ByTable(text), byIconv("CP932", "UTF-8", text), hex(text));
}

}  // namespace
}  // namespace tavilo::platform
