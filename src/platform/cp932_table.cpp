#include "platform/cp932_table.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "platform/unicode.h"

namespace tavilo::platform {
namespace {

#include "platform/cp932_table_data.inc"

constexpr std::uint32_t kInvalid = 0xFFFFFFFF;
constexpr std::uint32_t kLead = 0xFFFFFFFE;
constexpr std::uint32_t kDropped = 0x10000;

// The value paired with `key` in a table sorted by its first column.
template <std::size_t N>
std::optional<std::uint32_t> lookUp(const std::uint32_t (&table)[N][2], std::uint32_t key) {
  const auto* found = std::lower_bound(std::begin(table), std::end(table), key,
                                       [](const auto& row, std::uint32_t k) { return row[0] < k; });
  if (found == std::end(table) || (*found)[0] != key)
    return std::nullopt;
  return (*found)[1];
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
    // A well-formed sequence by the rules of glibc's decoder: no overlong
    // forms, no surrogates, nothing beyond U+10FFFF.
    const auto character = decodeUtf8At(utf8, at);
    const auto bytes = character ? lookUp(kEncoding, character->code) : std::nullopt;
    if (!bytes) {
      result.badAt = at;
      return result;
    }
    if (*bytes == kDropped) {
      at += character->length;
      continue;
    }
    if (*bytes > 0xFF)
      result.text += static_cast<char>(*bytes >> 8);
    result.text += static_cast<char>(*bytes & 0xFF);
    at += character->length;
  }
  return result;
}

}  // namespace tavilo::platform
