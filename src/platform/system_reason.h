#pragma once
// The reason of a failed system call in the system's voice: the common errno
// values in Japanese, any other one by its number. The errno values that not
// every system has are named where they exist.

#include <exception>
#include <string>

namespace tavilo {

std::string systemReasonText(int error);

// Why a command failed inside, in the user's words: the reason of a system
// error, lack of memory, or the program's own (Japanese) message; never the
// name of a C++ exception type ("std::bad_alloc") or a library's English text.
std::string internalErrorText(const std::exception& error);

}  // namespace tavilo
