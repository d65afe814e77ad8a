#pragma once
// The command line of the batch command, shared by every build of it.

#include <optional>

#include "app/batch_command.h"

namespace tavilo {

struct BatchArguments {
  BatchOptions options;
  // Set when the command ends here: 0 after --help, kBatchRefused after an
  // argument error (the message is printed already).
  std::optional<int> exitStatus;
};

BatchArguments parseBatchArguments(int argc, char** argv);

}  // namespace tavilo
