// The environment of a C library whose variables are already UTF-8 bytes
// (POSIX, the browser's runtime); Windows reads its wide environment instead.

#include <cstdlib>

#include "platform/platform.h"

namespace tavilo::platform {

std::optional<std::string> environmentVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr)
    return std::nullopt;
  return std::string(value);
}

}  // namespace tavilo::platform
