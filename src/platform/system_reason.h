#pragma once
// The reason of a failed system call in the system's voice: the common errno
// values in Japanese, any other one by its number. The errno values that not
// every system has are named where they exist.

#include <string>

namespace tavilo {

std::string systemReasonText(int error);

}  // namespace tavilo
