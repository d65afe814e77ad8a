// CP932 as the platform converts it. The whole table is pinned by a digest,
// taken from the POSIX build (iconv), so that every build, Windows and the
// browser included, converts every byte pair and every character of the
// Basic Multilingual Plane to exactly the same result.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/platform.h"
#include "platform/unicode.h"

namespace tavilo {
namespace {

std::string converted(const std::optional<platform::Conversion>& conversion) {
  if (!conversion)
    return "unavailable";
  if (conversion->badAt)
    return "bad@" + std::to_string(*conversion->badAt);
  return conversion->text;
}

std::string hex(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    text += kDigits[static_cast<unsigned char>(c) >> 4];
    text += kDigits[static_cast<unsigned char>(c) & 0xF];
  }
  return text;
}

// One line per input: the input in hex and what it converts to (in hex) or
// where it stops.
struct Table {
  std::string lines;
  int mapped = 0;

  void add(std::string_view input, const std::optional<platform::Conversion>& result) {
    const std::string out = converted(result);
    const bool ok = result && !result->badAt;
    mapped += ok ? 1 : 0;
    lines += hex(input) + " " + (ok ? hex(out) : out) + "\n";
  }
};

std::uint64_t fnv1a(std::string_view text) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

bool isLeadByte(int byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

Table decodingTable() {
  Table table;
  for (int first = 0; first < 0x100; ++first) {
    const std::string single(1, static_cast<char>(first));
    table.add(single, platform::cp932ToUtf8(single));
    if (!isLeadByte(first))
      continue;
    for (int second = 0; second < 0x100; ++second) {
      const std::string pair = single + static_cast<char>(second);
      table.add(pair, platform::cp932ToUtf8(pair));
    }
  }
  return table;
}

Table encodingTable() {
  Table table;
  for (char32_t code = 0; code < 0x10000; ++code) {
    if (code >= 0xD800 && code < 0xE000)
      continue;
    std::string utf8;
    appendUtf8(utf8, code);
    table.add(utf8, platform::utf8ToCp932(utf8));
  }
  return table;
}

// TAVILO_CP932_TABLE names a file that receives both tables, to compare two
// systems line by line when the digests disagree.
void keepForComparison(const Table& decoding, const Table& encoding) {
  if (const char* file = std::getenv("TAVILO_CP932_TABLE"))
    std::ofstream(file, std::ios::binary) << decoding.lines << encoding.lines;
}

TEST(Cp932, EveryBytePairAndCharacterConvertsAsOnLinux) {
  const Table decoding = decodingTable();
  const Table encoding = encodingTable();
  keepForComparison(decoding, encoding);
  EXPECT_EQ(decoding.mapped, 9795) << "byte sequences that decode";
  EXPECT_EQ(encoding.mapped, 9406) << "characters that encode";
  EXPECT_EQ(fnv1a(decoding.lines), 16611909579549625205u) << "decoding digest";
  EXPECT_EQ(fnv1a(encoding.lines), 11961424264214660758u) << "encoding digest";
}

TEST(Cp932, TheWindowsChoicesAmongDuplicates) {
  const auto decode = [](std::string_view bytes) {
    return converted(platform::cp932ToUtf8(bytes));
  };
  const auto encode = [](std::string_view text) { return converted(platform::utf8ToCp932(text)); };
  // The wave dash row: 0x8160 is the full-width tilde, and so are its
  // neighbours the full-width forms rather than the JIS characters.
  EXPECT_EQ(decode("\x81\x60"), "\uFF5E");
  EXPECT_EQ(decode("\x81\x5F"), "\uFF3C");
  EXPECT_EQ(decode("\x81\x91"), "\uFFE0");
  EXPECT_EQ(decode("\x5C\x7E"), "\\~");
  // NEC row 13, the NEC-selected and the IBM extensions decode; a character
  // in more than one of them encodes to the one Windows writes.
  EXPECT_EQ(decode("\x87\x54"), "\u2160");
  EXPECT_EQ(decode("\xED\x40"), "\u7E8A");
  EXPECT_EQ(decode("\xFA\x40"), "\u2170");
  EXPECT_EQ(encode("\u2252"), "\x81\xE0");
  EXPECT_EQ(encode("\u2170"), "\xFA\x40");
  EXPECT_EQ(encode("\u7E8A"), "\xFA\x5C");
  EXPECT_EQ(encode("\uFFE2"), "\x81\xCA");
  // The user-defined area and the half-width katakana.
  EXPECT_EQ(decode("\xF0\x40"), "\uE000");
  EXPECT_EQ(decode("\xB6"), "\uFF76");
  // Where a conversion stops: a stray byte, a cut-off pair, a character
  // outside CP932, malformed UTF-8.
  EXPECT_EQ(decode("ab\x80"), "bad@2");
  EXPECT_EQ(decode("a\x81"), "bad@1");
  EXPECT_EQ(encode("a\u00E9"), "bad@1");
  EXPECT_EQ(encode("\xE3\x81"), "bad@0");
}

}  // namespace
}  // namespace tavilo
