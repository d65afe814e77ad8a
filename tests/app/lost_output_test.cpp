// Output that never arrives is never reported as success: the command run
// with its standard output or error on a full device, on a file that reaches
// a size limit, on a full small file system, or closed.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "command_test_support.h"
#include "persistence/text_file.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::readFile;

const fs::path kExamples = fs::path(TAVILO_SOURCE_DIR) / "examples";

#ifndef _WIN32
// Where the standard streams of one run go: a path, or nothing (closed).
struct Streams {
  std::string out = "/dev/null";
  std::string err = "/dev/null";
  rlim_t fileSizeLimit = RLIM_INFINITY;
};

// The exit status of the command run with its streams as given.
int runWith(const Streams& streams, const std::vector<std::string>& arguments) {
  const pid_t pid = fork();
  if (pid == 0) {
    const auto attach = [](const std::string& path, int fd) {
      if (path.empty()) {
        close(fd);
        return;
      }
      const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(file, fd);
      close(file);
    };
    attach(streams.out, 1);
    attach(streams.err, 2);
    const rlimit limit{streams.fileSizeLimit, streams.fileSizeLimit};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string exe = TAVILO_CALC_EXE;
    std::vector<std::string> words = arguments;
    std::vector<char*> argv{exe.data()};
    for (std::string& word : words)
      argv.push_back(word.data());
    argv.push_back(nullptr);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  int raw = 0;
  waitpid(pid, &raw, 0);
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

class LostOutputTest : public testing::CommandTest {
 protected:
  std::string sample(const char* name = "ordinary-3span.tvl") const {
    return (kExamples / name).string();
  }
  std::string errFile() const { return (dir_ / "stderr").string(); }
};

TEST_F(LostOutputTest, FullDeviceAsStandardOutputExitsTwoSayingSo) {
  const std::vector<std::vector<std::string>> runs = {
      {sample(), "--json"},
      {sample()},
      {sample(), sample("heavy-snow-overhangs.tvl"), "--json"},
      {sample(), "--span-table", "--csv"},
      {"--help"},
      {"--version"}};
  for (const auto& arguments : runs) {
    SCOPED_TRACE(arguments.back());
    EXPECT_EQ(runWith({"/dev/full", errFile()}, arguments), 2);
    const std::string err = readFile(errFile());
    EXPECT_THAT(err, AllOf(HasSubstr("標準出力に書き込めません: ディスクの空き容量が足りません")));
    EXPECT_EQ(err.find("標準出力"), err.rfind("標準出力")) << "said once: " << err;
  }
  // Among several projects the message names the one whose results were
  // lost, and no project after it is run.
  runWith({"/dev/full", errFile()}, runs[2]);
  EXPECT_THAT(readFile(errFile()), AllOf(HasSubstr(sample() + ": 標準出力"),
                                         Not(HasSubstr("heavy-snow-overhangs.tvl"))));
}

TEST_F(LostOutputTest, OutputCutShortBySizeLimitOrFullFileSystemExitsTwo) {
  // The JSON document (about 12 KB) is larger than either limit.
  const std::string project = sample("heavy-snow-overhangs.tvl");
  const fs::path json = dir_ / "out.json";
  Streams limited{json.string(), errFile(), 8 * 1024};
  EXPECT_EQ(runWith(limited, {project, "--json"}), 2);
  EXPECT_LE(fs::file_size(json), 8u * 1024);
  EXPECT_THAT(readFile(errFile()),
              AllOf(HasSubstr("標準出力に書き込めません"), HasSubstr("上限を超えました")));

  // A file system of one page (4 KiB) of its own, where this user may mount
  // one.
  const std::string script = "mount -t tmpfs -o size=4k none '" + dir_.string() + "/small' && '" +
                             TAVILO_CALC_EXE + "' '" + project + "' --json > '" + dir_.string() +
                             "/small/out.json' 2> '" + errFile() + "'; echo \\$? > '" +
                             dir_.string() + "/status'";
  fs::create_directory(dir_ / "small");
  const std::string command = "unshare -rm sh -c \"" + script + "\" 2>/dev/null";
  if (std::system(command.c_str()) != 0 || !fs::exists(dir_ / "status"))
    GTEST_SKIP() << "no small file system can be mounted here (no user namespace)";
  EXPECT_EQ(readFile(dir_ / "status"), "2\n");
  EXPECT_THAT(readFile(errFile()),
              HasSubstr("標準出力に書き込めません: ディスクの空き容量が足りません"));
}

TEST_F(LostOutputTest, LostStandardErrorStillExitsTwo) {
  // A ratio taken as its default is said on stderr; the run itself succeeds.
  std::vector<std::string> lines = readTextLines(kExamples / "ordinary-3span.tvl");
  lines[38] = "abc";
  const fs::path project = dir_ / "defaults.tvl";
  writeTextLines(project, lines);
  EXPECT_EQ(runWith({"/dev/null", errFile()}, {project.string(), "--json"}), 0);
  EXPECT_EQ(runWith({"/dev/null", "/dev/full"}, {project.string(), "--json"}), 2);
  EXPECT_EQ(runWith({"/dev/null", ""}, {project.string(), "--json"}), 2);
  // Both gone: the status is all that can tell.
  EXPECT_EQ(runWith({"/dev/full", "/dev/full"}, {sample(), "--json"}), 2);
  EXPECT_EQ(runWith({"", ""}, {sample()}), 2);
  // Nothing said on stderr: a closed stderr loses nothing.
  EXPECT_EQ(runWith({"/dev/null", ""}, {sample(), "--json"}), 0);
}
#else
TEST(LostOutputTest, FullDeviceAsStandardOutputExitsTwoSayingSo) {
  GTEST_SKIP() << "Windows has no full device; the same code runs there";
}
#endif

}  // namespace
}  // namespace tavilo
