#include "calc/errors.h"

namespace tavilo {
namespace {

// Length of the UTF-8 sequence that starts with `lead`; 1 for a stray byte.
std::size_t sequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8)
    return 4;
  if (lead >= 0xE0 && lead < 0xF0)
    return 3;
  if (lead >= 0xC0 && lead < 0xE0)
    return 2;
  return 1;
}

// The control picture of a C0 control character or DEL (U+2400 block).
std::string controlPicture(unsigned char c) {
  const unsigned code = c == 0x7F ? 0x2421u : 0x2400u + c;
  std::string text;
  text += static_cast<char>(0xE0 | (code >> 12));
  text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  text += static_cast<char>(0x80 | (code & 0x3F));
  return text;
}

// The value with control characters as pictures, cut after `limit`
// characters with the full length.
std::string visible(std::string_view value, std::size_t limit) {
  std::string text;
  std::size_t characters = 0;
  std::size_t i = 0;
  while (i < value.size()) {
    const auto lead = static_cast<unsigned char>(value[i]);
    std::size_t length = sequenceLength(lead);
    if (i + length > value.size())
      length = 1;
    if (characters < limit) {
      if (lead < 0x20 || lead == 0x7F)
        text += controlPicture(lead);
      else
        text.append(value.substr(i, length));
    }
    ++characters;
    i += length;
  }
  if (characters > limit)
    text += "…（全 " + std::to_string(characters) + " 文字）";
  return text;
}

}  // namespace

std::string echoedValue(std::string_view value) {
  return visible(value, kEchoedCharacters);
}

std::string visibleName(std::string_view name) {
  return visible(name, name.size());
}

}  // namespace tavilo
