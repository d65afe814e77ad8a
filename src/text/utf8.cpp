#include "text/utf8.h"

namespace tavilo {
namespace {

constexpr char32_t kReplacement = U'\uFFFD';

constexpr bool isContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// The sequence length a lead byte announces; 0 for a byte that leads none
// (a continuation byte, C0 and C1 which only lead overlong forms, F5 and
// above which only lead code points beyond U+10FFFF).
constexpr std::size_t announcedLength(unsigned char lead) {
  return lead < 0x80                   ? 1
         : lead >= 0xC2 && lead < 0xE0 ? 2
         : lead >= 0xE0 && lead < 0xF0 ? 3
         : lead >= 0xF0 && lead < 0xF5 ? 4
                                       : 0;
}

// The second byte's range that excludes the overlong forms of E0 and F0,
// the surrogates of ED and the values beyond U+10FFFF of F4.
constexpr bool secondByteFits(unsigned char lead, unsigned char second) {
  switch (lead) {
    case 0xE0:
      return second >= 0xA0;
    case 0xED:
      return second < 0xA0;
    case 0xF0:
      return second >= 0x90;
    case 0xF4:
      return second < 0x90;
    default:
      return true;
  }
}

constexpr bool isScalarValue(char32_t code) {
  return code < 0xD800 || (code >= 0xE000 && code <= 0x10FFFF);
}

}  // namespace

std::optional<DecodedCharacter> decodeUtf8At(std::string_view utf8, std::size_t at) {
  if (at >= utf8.size())
    return std::nullopt;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
  const unsigned char lead = byte(at);
  const std::size_t length = announcedLength(lead);
  if (length == 0 || length > utf8.size() - at)
    return std::nullopt;
  if (length > 1 && !secondByteFits(lead, byte(at + 1)))
    return std::nullopt;
  char32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) {
    if (!isContinuation(byte(at + i)))
      return std::nullopt;
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  return DecodedCharacter{code, length};
}

std::size_t utf8StepAt(std::string_view utf8, std::size_t at) {
  const auto character = decodeUtf8At(utf8, at);
  return character ? character->length : 1;
}

std::vector<char32_t> decodeUtf8(std::string_view utf8) {
  std::vector<char32_t> out;
  for (std::size_t at = 0; at < utf8.size();) {
    const auto character = decodeUtf8At(utf8, at);
    out.push_back(character ? character->code : kReplacement);
    at += character ? character->length : 1;
  }
  return out;
}

std::size_t utf8CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < utf8.size(); at += utf8StepAt(utf8, at))
    ++count;
  return count;
}

std::optional<std::size_t> firstMalformedUtf8(std::string_view utf8) {
  for (std::size_t at = 0; at < utf8.size();) {
    const auto character = decodeUtf8At(utf8, at);
    if (!character)
      return at;
    at += character->length;
  }
  return std::nullopt;
}

std::size_t utf8CharacterStart(std::string_view utf8, std::size_t at) {
  if (at >= utf8.size())
    return at;
  std::size_t start = at;
  while (start > 0 && at - start < 3 && isContinuation(static_cast<unsigned char>(utf8[start])))
    --start;
  return start;
}

void appendUtf8(std::string& out, char32_t code) {
  if (!isScalarValue(code))
    code = kReplacement;
  const auto put = [&out](char32_t value) { out += static_cast<char>(value); };
  if (code < 0x80) {
    put(code);
  } else if (code < 0x800) {
    put(0xC0 | (code >> 6));
    put(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    put(0xE0 | (code >> 12));
    put(0x80 | ((code >> 6) & 0x3F));
    put(0x80 | (code & 0x3F));
  } else {
    put(0xF0 | (code >> 18));
    put(0x80 | ((code >> 12) & 0x3F));
    put(0x80 | ((code >> 6) & 0x3F));
    put(0x80 | (code & 0x3F));
  }
}

std::string encodeUtf8(char32_t code) {
  std::string out;
  appendUtf8(out, code);
  return out;
}

void dropLastCharacter(std::string& utf8) {
  if (utf8.empty())
    return;
  const std::size_t start = utf8CharacterStart(utf8, utf8.size() - 1);
  // A lead byte whose sequence does not reach the end leaves only its last byte.
  const std::size_t cut = start + utf8StepAt(utf8, start) == utf8.size() ? start : utf8.size() - 1;
  utf8.erase(cut);
}

}  // namespace tavilo
