#pragma once
// UTF-8 and UTF-16 by hand: the same on every system, so that files and
// paths decode alike everywhere.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavilo {

struct DecodedCharacter {
  char32_t code = 0;
  std::size_t length = 0;  // bytes of its UTF-8 sequence
};

// The character whose well-formed UTF-8 sequence starts at `at`; nothing for
// a malformed one (a stray continuation byte, an overlong form, a surrogate,
// beyond U+10FFFF, cut off by the end).
std::optional<DecodedCharacter> decodeUtf8At(std::string_view utf8, std::size_t at);

void appendUtf8(std::string& out, char32_t code);

// UTF-16 bytes of the given byte order to UTF-8, stopping at the first unit
// that does not form a character (an unpaired surrogate, an odd last byte):
// the text before it and its byte offset.
struct Utf16Decoded {
  std::string text;
  std::optional<std::size_t> badAt;
};
Utf16Decoded utf16ToUtf8(std::string_view bytes, bool littleEndian);

// The offset of the first malformed UTF-8 sequence, if any.
std::optional<std::size_t> firstMalformedUtf8(std::string_view utf8);

}  // namespace tavilo
