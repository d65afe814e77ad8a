// Faults injected into the save of a project file: a read-only folder, a
// folder as the target, a full disk (file-size limit) and the process ended
// between the write and the rename. Whatever happens the old file stays
// byte for byte, no temporary file is left and the message names the file and
// the reason in the system's voice.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "calc/errors.h"
#include "persistence/text_file.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;

constexpr uid_t kNobody = 65534;
const std::string kOld = "500\r\n0\r\nold project\r\n";

std::string readBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

struct ChildResult {
  int status = 0;
  std::string message;  // the UserError the child caught, if any
};

// Runs `save` in a child process, which reports the message of a UserError
// through a pipe; the parent sees how the child ended.
ChildResult inChild(const std::function<void()>& prepare, const std::function<void()>& save) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0)
    return {-1, "pipe"};
  const pid_t pid = fork();
  if (pid == 0) {
    close(pipeEnds[0]);
    prepare();
    std::string message;
    try {
      save();
    } catch (const UserError& error) {
      message = error.what();
    }
    (void)!write(pipeEnds[1], message.data(), message.size());
    _exit(message.empty() ? 0 : 3);
  }
  close(pipeEnds[1]);
  ChildResult result;
  char buffer[4096];
  for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
    result.message.append(buffer, static_cast<std::size_t>(n));
  close(pipeEnds[0]);
  waitpid(pid, &result.status, 0);
  return result;
}

class AtomicWriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tavilo_atomic_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    target_ = dir_ / "project.tvl";
    std::ofstream(target_, std::ios::binary) << kOld;
    fs::permissions(target_, fs::perms::owner_read | fs::perms::owner_write |
                                 fs::perms::group_read | fs::perms::others_read);
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }

  // The old file byte for byte and nothing else in its folder.
  void expectUntouched() const {
    EXPECT_EQ(readBytes(target_), kOld);
    EXPECT_EQ(namesIn(dir_), std::set<std::string>{"project.tvl"});
  }

  fs::path dir_;
  fs::path target_;
};

TEST_F(AtomicWriteTest, ReadOnlyFolder) {
  fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::remove);
  // Root writes anywhere: the child takes an ordinary user's rights first.
  const bool root = geteuid() == 0;
  const ChildResult r = inChild(
      [root] {
        if (root && (setgid(kNobody) != 0 || setuid(kNobody) != 0))
          _exit(77);
      },
      [this] {
        writeTextLines(target_, {"500", "1", "new"});
      });
  if (WIFEXITED(r.status) && WEXITSTATUS(r.status) == 77)
    GTEST_SKIP() << "cannot take an ordinary user's rights here";
  EXPECT_TRUE(WIFEXITED(r.status) && WEXITSTATUS(r.status) == 3) << r.message;
  EXPECT_THAT(r.message, AllOf(HasSubstr(target_.string()), HasSubstr("アクセス権がありません"),
                               HasSubstr("元のファイルは変更していません")));
  expectUntouched();
}

TEST_F(AtomicWriteTest, FolderAsTargetAndEmptyName) {
  fs::create_directory(dir_ / "sub");
  try {
    writeTextLines(dir_ / "sub", {"x"});
    ADD_FAILURE() << "a folder was written";
  } catch (const UserError& error) {
    EXPECT_THAT(error.what(), AllOf(HasSubstr("sub"), HasSubstr("フォルダです")));
  }
  EXPECT_TRUE(fs::is_directory(dir_ / "sub"));
  fs::remove(dir_ / "sub");
  EXPECT_THROW(writeTextLines("", {"x"}), UserError);
  expectUntouched();
}

// A device, a named pipe, a link to either and the file behind the standard
// output are no place for a project: refused, and left as they were.
TEST_F(AtomicWriteTest, OnlyRegularFilesOrNewOnesAreWritten) {
  const fs::path pipe = dir_ / "pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const fs::path link = dir_ / "link.tvl";
  fs::create_symlink(pipe, link);
  std::vector<fs::path> targets = {pipe, link};
  const fs::path device = dir_ / "null";
  if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)  // root only
    targets.push_back(device);
  for (const fs::path& target : targets) {
    try {
      writeTextLines(target, {"500"});
      ADD_FAILURE() << target << " was written";
    } catch (const UserError& error) {
      EXPECT_THAT(error.what(), AllOf(HasSubstr(target.filename().string()),
                                      HasSubstr("通常のファイルではありません")));
    }
  }
  EXPECT_TRUE(fs::is_fifo(pipe));
  EXPECT_TRUE(fs::is_symlink(link));
  if (targets.size() == 3) {
    EXPECT_TRUE(fs::is_character_file(device));
  }

  // The standard output redirected to a file of its own.
  const fs::path output = dir_ / "output.txt";
  std::ofstream(output) << "output";
  const ChildResult r = inChild(
      [&output] {
        const int file = open(output.c_str(), O_WRONLY);
        dup2(file, STDOUT_FILENO);
      },
      [] { writeTextLines("/dev/stdout", {"500"}); });
  EXPECT_THAT(r.message, HasSubstr("標準入出力"));
  EXPECT_EQ(readBytes(output), "output");
}

TEST_F(AtomicWriteTest, DiskFullStopsTheWriteWithItsReason) {
  const ChildResult r = inChild(
      [] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit small{512, 512};
        setrlimit(RLIMIT_FSIZE, &small);
      },
      [this] { writeTextLines(target_, std::vector<std::string>(200, "a line of a project")); });
  EXPECT_TRUE(WIFEXITED(r.status) && WEXITSTATUS(r.status) == 3) << r.message;
  EXPECT_THAT(r.message,
              AllOf(HasSubstr(target_.string()), HasSubstr("ファイルの大きさが上限を超えました")));
  expectUntouched();
}

TEST_F(AtomicWriteTest, ProcessEndedBetweenWriteAndRename) {
  for (const int signalNumber : {SIGKILL, SIGTERM, SIGINT}) {
    SCOPED_TRACE(signalNumber);
    const ChildResult r = inChild([] {},
                                  [this, signalNumber] {
                                    writeFileAtomically(target_, "500\r\nnew\r\n",
                                                        [signalNumber] { raise(signalNumber); });
                                  });
    EXPECT_TRUE(WIFSIGNALED(r.status) && WTERMSIG(r.status) == signalNumber);
    expectUntouched();
  }
}

TEST_F(AtomicWriteTest, CompleteWriteKeepsThePermissionsAndLeavesNoTemporary) {
  writeTextLines(target_, {"500", "new"});
  EXPECT_EQ(readBytes(target_), "500\r\nnew\r\n");
  EXPECT_EQ(namesIn(dir_), std::set<std::string>{"project.tvl"});
  EXPECT_EQ(fs::status(target_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);
}

}  // namespace
}  // namespace tavilo
