// tavilo-calc of the browser build, run by Node.js with the real file system
// (build/web/tavilo-calc.mjs). Everything but the program's own place is the
// native command's code.

#include <filesystem>
#include <iostream>

#include "app/batch_arguments.h"
#include "app/batch_command.h"

int main(int argc, char** argv) {
  const tavilo::BatchArguments parsed = tavilo::parseBatchArguments(argc, argv);
  if (parsed.exitStatus)
    return *parsed.exitStatus;
  // The loader names the script itself as the program, so that Load_data
  // beside it is found as beside the native executable.
  std::error_code error;
  const std::filesystem::path self = std::filesystem::absolute(argc > 0 ? argv[0] : "", error);
  const int status = tavilo::runBatch(parsed.options, self, std::cout, std::cerr, nullptr);
  std::cout.flush();
  return status;
}
