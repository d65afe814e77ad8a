// The text decoder of every file the program reads: byte-order mark, UTF-8,
// UTF-16 and CP932, line splitting; and the CP932 encoder on what came out.

#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "persistence/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavilo;
  try {
    const auto lines = decodeTextLines(fuzz::bytesOf(data, size), "fuzz.tvl");
    for (const std::string& line : lines) {
      if (line.find_first_of("\r\n") != std::string::npos)
        fuzz::finding();
      try {
        // What CP932 can hold must come back unchanged.
        if (fromCp932(toCp932(line)) != line)
          fuzz::finding();
      } catch (const UserError&) {
      }
    }
  } catch (const UserError&) {
  }
  return 0;
}
