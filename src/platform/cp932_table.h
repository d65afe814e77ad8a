#pragma once
// CP932 from tables instead of the C library, for systems whose C library
// has no CP932 (the browser). The tables are generated once from glibc's
// iconv (tools/cp932-table), so the conversion gives the same characters,
// the same bytes and the same first bad sequence as iconv does on Linux:
// the NEC and IBM extensions, the one-way mappings (U+301C to 0x8160) and
// the refusals included.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavilo::platform {

struct TableConversion {
  std::string text;                  // everything converted before a bad sequence
  std::optional<std::size_t> badAt;  // input offset of the first bad sequence
};

TableConversion cp932ToUtf8ByTable(std::string_view cp932);
// A malformed UTF-8 sequence (overlong, surrogate, cut off) is bad as a
// character that CP932 cannot hold is.
TableConversion utf8ToCp932ByTable(std::string_view utf8);

}  // namespace tavilo::platform
