#pragma once
// What the tests of the built batch command share: a scratch folder per test
// and a run of the command as a process, with its status and both outputs.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../support/process.h"
#include "../support/scratch_folder.h"

namespace tavilo::testing {

namespace fs = std::filesystem;

// A build without Qt writes no report files (--pdf, --png and their folders).
inline constexpr bool kWritesReportFiles = TAVILO_WRITES_REPORT_FILES;

class CommandTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = testing::makeScratchFolder("tavilo_command"); }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the built command with `arguments` (quoted as a shell reads them).
  Process run(const std::string& arguments) const { return runProgram(TAVILO_CALC_EXE, arguments); }

  Process runProgram(const std::string& program, const std::string& arguments) const {
    return testing::runProgram(program, shellWords(arguments), dir_);
  }

  fs::path dir_;
};

}  // namespace tavilo::testing
