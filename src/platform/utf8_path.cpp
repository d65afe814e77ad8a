#include "platform/utf8_path.h"

#include <type_traits>

#include "platform/unicode.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;
constexpr bool kWidePaths = std::is_same_v<fs::path::value_type, wchar_t>;

constexpr char32_t kReplacement = 0xFFFD;

std::wstring wideFromUtf8(std::string_view utf8) {
  std::wstring wide;
  for (std::size_t at = 0; at < utf8.size();) {
    const auto character = decodeUtf8At(utf8, at);
    const char32_t code = character ? character->code : kReplacement;
    at += character ? character->length : 1;
    if (code < 0x10000) {
      wide += static_cast<wchar_t>(code);
    } else {
      wide += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
      wide += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    }
  }
  return wide;
}

template <typename Wide>
std::string utf8FromWide(const Wide& wide) {
  std::string utf8;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const auto unit = static_cast<char32_t>(wide[i]);
    const bool high = unit >= 0xD800 && unit < 0xDC00;
    const char32_t next = i + 1 < wide.size() ? static_cast<char32_t>(wide[i + 1]) : 0;
    if (high && next >= 0xDC00 && next < 0xE000) {
      appendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
      ++i;
    } else {
      appendUtf8(utf8, unit >= 0xD800 && unit < 0xE000 ? kReplacement : unit);
    }
  }
  return utf8;
}

#ifdef __EMSCRIPTEN__
// Under Node.js a name reaches the real file system as JavaScript text, which
// cannot hold a byte that is not UTF-8 (a Shift-JIS name unpacked without
// conversion): each such byte, and each byte of a character of the escape
// range itself, crosses as the character U+F700 + byte, which the command's
// loader (src/web/node_prelude.js) hands to the file system as that byte.
constexpr bool kEscapedBytes = true;
#else
constexpr bool kEscapedBytes = false;
#endif
constexpr char32_t kByteEscape = 0xF700;

bool escapesAByte(char32_t code) {
  return code >= kByteEscape + 0x80 && code <= kByteEscape + 0xFF;
}

std::string escapedBytes(std::string_view bytes) {
  std::string text;
  for (std::size_t at = 0; at < bytes.size();) {
    const auto character = decodeUtf8At(bytes, at);
    const std::size_t length = character ? character->length : 1;
    if (character && !escapesAByte(character->code)) {
      text += bytes.substr(at, length);
    } else {
      for (std::size_t i = 0; i < length; ++i)
        appendUtf8(text, kByteEscape + static_cast<unsigned char>(bytes[at + i]));
    }
    at += length;
  }
  return text;
}

std::string unescapedBytes(std::string_view text) {
  std::string bytes;
  for (std::size_t at = 0; at < text.size();) {
    const auto character = decodeUtf8At(text, at);
    const std::size_t length = character ? character->length : 1;
    if (character && escapesAByte(character->code))
      bytes += static_cast<char>(character->code - kByteEscape);
    else
      bytes += text.substr(at, length);
    at += length;
  }
  return bytes;
}

}  // namespace

fs::path pathFromUtf8(std::string_view utf8) {
  if constexpr (kWidePaths) {
    return fs::path(wideFromUtf8(utf8));
  } else if constexpr (kEscapedBytes) {
    const std::string text = escapedBytes(utf8);
    return fs::path(std::u8string(text.begin(), text.end()));
  } else {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
  }
}

std::string utf8FromPath(const fs::path& path) {
  if constexpr (kWidePaths) {
    return utf8FromWide(path.native());
  } else {
    const std::u8string text = path.u8string();
    if constexpr (kEscapedBytes)
      return unescapedBytes(std::string(text.begin(), text.end()));
    return std::string(text.begin(), text.end());
  }
}

}  // namespace tavilo
