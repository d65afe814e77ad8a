#pragma once
// What the tests of the built batch command share: a scratch folder per test
// and a run of the command as a process, with its status and both outputs.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tavilo::testing {

namespace fs = std::filesystem;

// A build without Qt writes no report files (--pdf, --png and their folders).
inline constexpr bool kWritesReportFiles = TAVILO_WRITES_REPORT_FILES;

struct Process {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class CommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tavilo_command_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the built command with `arguments` (quoted as a shell reads them).
  Process run(const std::string& arguments) const { return runProgram(TAVILO_CALC_EXE, arguments); }

  Process runProgram(const std::string& program, const std::string& arguments) const {
    const fs::path out = dir_ / "stdout";
    const fs::path err = dir_ / "stderr";
    const std::string command = "'" + program + "' " + arguments + " >'" + out.string() + "' 2>'" +
                                err.string() + "'";
    const int raw = std::system(command.c_str());
    Process result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = readFile(out);
    result.err = readFile(err);
    return result;
  }

  fs::path dir_;
};

}  // namespace tavilo::testing
