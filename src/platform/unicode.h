#pragma once
// UTF-16 by hand, to UTF-8 of the strict rule of text/utf8.h: the same on
// every system, so that files and paths decode alike everywhere.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/utf8.h"

namespace tavilo {

// UTF-16 bytes of the given byte order to UTF-8, stopping at the first unit
// that does not form a character (an unpaired surrogate, an odd last byte):
// the text before it and its byte offset.
struct Utf16Decoded {
  std::string text;
  std::optional<std::size_t> badAt;
};
Utf16Decoded utf16ToUtf8(std::string_view bytes, bool littleEndian);

}  // namespace tavilo
