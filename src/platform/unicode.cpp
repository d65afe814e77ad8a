#include "platform/unicode.h"

namespace tavilo {

std::optional<DecodedCharacter> decodeUtf8At(std::string_view utf8, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
  const unsigned char lead = byte(at);
  const std::size_t length = lead < 0x80                   ? 1
                             : lead >= 0xC2 && lead < 0xE0 ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4
                                                           : 0;
  if (length == 0 || at + length > utf8.size())
    return std::nullopt;
  char32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80)
      return std::nullopt;
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  // Overlong forms, surrogates and code points beyond U+10FFFF.
  const unsigned char second = length > 1 ? byte(at + 1) : 0x80;
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) {
    return std::nullopt;
  }
  return DecodedCharacter{code, length};
}

void appendUtf8(std::string& out, char32_t code) {
  const auto put = [&out](unsigned value) { out += static_cast<char>(value); };
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

Utf16Decoded utf16ToUtf8(std::string_view bytes, bool littleEndian) {
  Utf16Decoded decoded;
  const auto unitAt = [&](std::size_t at) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return littleEndian ? (second << 8) | first : (first << 8) | second;
  };
  std::size_t at = 0;
  while (at < bytes.size()) {
    if (at + 2 > bytes.size()) {
      decoded.badAt = at;
      break;
    }
    const char32_t unit = unitAt(at);
    if (unit >= 0xDC00 && unit < 0xE000) {
      decoded.badAt = at;
      break;
    }
    if (unit < 0xD800 || unit >= 0xDC00) {
      appendUtf8(decoded.text, unit);
      at += 2;
      continue;
    }
    if (at + 4 > bytes.size()) {
      decoded.badAt = at;
      break;
    }
    const char32_t low = unitAt(at + 2);
    if (low < 0xDC00 || low >= 0xE000) {
      decoded.badAt = at;
      break;
    }
    appendUtf8(decoded.text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    at += 4;
  }
  return decoded;
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

}  // namespace tavilo
