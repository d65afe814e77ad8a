#include "platform/cp932_table.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace tavilo::platform {
namespace {

#include "platform/cp932_table_data.inc"

constexpr std::uint32_t kInvalid = 0xFFFFFFFF;
constexpr std::uint32_t kLead = 0xFFFFFFFE;
constexpr std::uint32_t kDropped = 0x10000;

void appendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The value paired with `key` in a table sorted by its first column.
template <std::size_t N>
std::optional<std::uint32_t> lookUp(const std::uint32_t (&table)[N][2], std::uint32_t key) {
  const auto* found = std::lower_bound(std::begin(table), std::end(table), key,
                                       [](const auto& row, std::uint32_t k) { return row[0] < k; });
  if (found == std::end(table) || (*found)[0] != key)
    return std::nullopt;
  return (*found)[1];
}

struct Decoded {
  std::uint32_t code = 0;
  std::size_t length = 0;  // 0: not a well-formed sequence
};

// One well-formed UTF-8 sequence at `at`, by the rules of glibc's decoder:
// no overlong forms, no surrogates, nothing beyond U+10FFFF.
Decoded decodeUtf8At(std::string_view utf8, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80)
    return {lead, 1};
  const std::size_t length = lead >= 0xC2 && lead < 0xE0   ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4
                                                           : 0;
  if (length == 0 || at + length > utf8.size())
    return {};
  std::uint32_t code = lead & (0xFF >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80)
      return {};
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  if (overlong || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
    return {};
  return {code, length};
}

}  // namespace

TableConversion cp932ToUtf8ByTable(std::string_view cp932) {
  TableConversion result;
  result.text.reserve(cp932.size() * 3 / 2);
  for (std::size_t at = 0; at < cp932.size();) {
    const auto first = static_cast<unsigned char>(cp932[at]);
    const std::uint32_t single = kSingleByte[first];
    if (single != kLead && single != kInvalid) {
      appendUtf8(result.text, single);
      ++at;
      continue;
    }
    std::optional<std::uint32_t> code;
    if (single == kLead && at + 1 < cp932.size()) {
      code = lookUp(kDoubleByte,
                    (std::uint32_t{first} << 8) | static_cast<unsigned char>(cp932[at + 1]));
    }
    if (!code) {
      result.badAt = at;
      return result;
    }
    appendUtf8(result.text, *code);
    at += 2;
  }
  return result;
}

TableConversion utf8ToCp932ByTable(std::string_view utf8) {
  TableConversion result;
  result.text.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const Decoded character = decodeUtf8At(utf8, at);
    const auto bytes = character.length == 0 ? std::nullopt : lookUp(kEncoding, character.code);
    if (!bytes) {
      result.badAt = at;
      return result;
    }
    if (*bytes == kDropped) {
      at += character.length;
      continue;
    }
    if (*bytes > 0xFF)
      result.text += static_cast<char>(*bytes >> 8);
    result.text += static_cast<char>(*bytes & 0xFF);
    at += character.length;
  }
  return result;
}

}  // namespace tavilo::platform
