#pragma once
// UTF-8 by hand, one strict rule for the whole program: a character is a
// well-formed sequence of the shortest form for a Unicode scalar value. An
// overlong form, a surrogate, a code point beyond U+10FFFF, a stray
// continuation byte and a sequence cut off by the end are malformed, and
// each of their bytes stands alone wherever text is walked character by
// character.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavilo {

struct DecodedCharacter {
  char32_t code = 0;
  std::size_t length = 0;  // bytes of its UTF-8 sequence
};

// The character whose well-formed UTF-8 sequence starts at `at`; nothing for
// a malformed one (a stray continuation byte, an overlong form, a surrogate,
// beyond U+10FFFF, cut off by the end) or for `at` past the end.
std::optional<DecodedCharacter> decodeUtf8At(std::string_view utf8, std::size_t at);

// Bytes from `at` to the next character: the length of a well-formed
// sequence, 1 for a malformed byte.
std::size_t utf8StepAt(std::string_view utf8, std::size_t at);

// The characters of the text; every byte of a malformed sequence becomes
// U+FFFD on its own.
std::vector<char32_t> decodeUtf8(std::string_view utf8);

// Characters as utf8StepAt walks them.
std::size_t utf8CharacterCount(std::string_view utf8);

// The offset of the first malformed UTF-8 sequence, if any.
std::optional<std::size_t> firstMalformedUtf8(std::string_view utf8);

// The start of the character that byte `at` belongs to: back over at most
// three continuation bytes to a lead byte.
std::size_t utf8CharacterStart(std::string_view utf8, std::size_t at);

// Appends the character in the shortest form; a surrogate or a value beyond
// U+10FFFF is no character and appends U+FFFD instead.
void appendUtf8(std::string& out, char32_t code);
std::string encodeUtf8(char32_t code);

// Removes the last character (on well-formed text, the last code point).
void dropLastCharacter(std::string& utf8);

}  // namespace tavilo
