#include "platform/unicode.h"

namespace tavilo {

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

}  // namespace tavilo
