#include "calc/errors.h"

#include "text/utf8.h"

namespace tavilo {
namespace {

// The control picture of a C0 control character or DEL (U+2400 block).
std::string controlPicture(unsigned char c) {
  return encodeUtf8(c == 0x7F ? U'\u2421' : static_cast<char32_t>(U'\u2400' + c));
}

// The value with control characters as pictures, cut after `limit`
// characters with the full length.
std::string visible(std::string_view value, std::size_t limit) {
  std::string text;
  std::size_t characters = 0;
  std::size_t i = 0;
  while (i < value.size()) {
    const auto lead = static_cast<unsigned char>(value[i]);
    const std::size_t length = utf8StepAt(value, i);
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
