#pragma once
// An error that is reported to the user as it stands: a missing or malformed
// file, a text that is not a number. The message is written in the system's
// voice and names the file, line and field where it can.

#include <stdexcept>
#include <string>

namespace tavilo {

class UserError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tavilo
