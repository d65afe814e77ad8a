#pragma once
// An error that is reported to the user as it stands: a missing or malformed
// file, a text that is not a number. The message is written in the system's
// voice and names the file, line and field where it can.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tavilo {

class UserError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Characters of a value that a message quotes; a longer value is cut.
inline constexpr std::size_t kEchoedCharacters = 40;

// A value as a message quotes it: cut after 40 characters (with "…" and the
// full length), and every control character shown visibly as its picture
// (TAB as "␉", ESC as "␛", DEL as "␡"). A value read from a file may be a
// whole line of a file that is no project, or hold terminal escapes.
std::string echoedValue(std::string_view value);

// A file name as a message shows it: whole, with its control characters shown
// as their pictures like those of a value, so that a line break in a name
// cannot split a message or start a line that seems to be another message.
std::string visibleName(std::string_view name);

}  // namespace tavilo
