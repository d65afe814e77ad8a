// The POSIX implementation (Linux): iconv for CP932, an unnamed or
// exclusively created temporary file renamed over the target, the XDG rule
// for the settings folder.

#include <fcntl.h>
#include <iconv.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <system_error>

#include "platform/platform.h"
#include "platform/utf8_path.h"

namespace tavilo::platform {
namespace {

namespace fs = std::filesystem;

// One iconv conversion descriptor, closed on every path.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (available())
      iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool available() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // The output goes into a buffer large enough for any input (3 bytes of
  // UTF-8 a byte of CP932) that is never filled beforehand, so that only the
  // pages written take memory; the text answered is its exact copy. A table
  // at the size limit then costs its input and twice its output at most.
  Conversion convert(std::string_view input) {
    Conversion result;
    std::size_t capacity = input.size() * 3 + 16;
    auto buffer = std::make_unique_for_overwrite<char[]>(capacity);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* outPtr = buffer.get();
    std::size_t outLeft = capacity;
    while (inLeft > 0) {
      if (iconv(handle_, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) {
        continue;
      }
      if (errno == E2BIG) {
        const std::size_t used = capacity - outLeft;
        auto larger = std::make_unique_for_overwrite<char[]>(capacity * 2);
        std::memcpy(larger.get(), buffer.get(), used);
        buffer = std::move(larger);
        capacity *= 2;
        outPtr = buffer.get() + used;
        outLeft = capacity - used;
        continue;
      }
      // EILSEQ (an invalid sequence) or EINVAL (a sequence cut off at the end).
      result.badAt = input.size() - inLeft;
      break;
    }
    result.text.assign(buffer.get(), capacity - outLeft);
    return result;
  }

 private:
  iconv_t handle_;
};

std::optional<Conversion> convert(const char* to, const char* from, std::string_view input) {
  Converter converter(to, from);
  if (!converter.available())
    return std::nullopt;
  return converter.convert(input);
}

// Names of temporary files that exist on disk right now, removed by the
// signal handler below when SIGTERM, SIGINT, SIGHUP or SIGQUIT ends the
// process before they were renamed into place. Fixed storage, written only
// outside the handler; the handler touches nothing but unlink.
constexpr std::size_t kPendingSlots = 4;
constexpr std::size_t kPendingPathMax = 4096;
char pendingPaths[kPendingSlots][kPendingPathMax];
volatile std::sig_atomic_t pendingInUse[kPendingSlots];
constexpr std::array<int, 4> kCleanupSignals = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};

extern "C" void removePendingAndDie(int signalNumber) {
  for (std::size_t i = 0; i < kPendingSlots; ++i) {
    if (pendingInUse[i] != 0)
      ::unlink(pendingPaths[i]);
  }
  ::signal(signalNumber, SIG_DFL);
  ::raise(signalNumber);
}

// Installs the handler for the signals whose disposition is still the
// default: a program that handles them itself keeps its own handling.
void installCleanupHandler() {
  static bool installed = false;
  if (installed)
    return;
  installed = true;
  for (const int signalNumber : kCleanupSignals) {
    struct sigaction current {};
    if (::sigaction(signalNumber, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
      continue;
    struct sigaction action {};
    action.sa_handler = removePendingAndDie;
    sigemptyset(&action.sa_mask);
    ::sigaction(signalNumber, &action, nullptr);
  }
}

// A slot of the pending list for the lifetime of one named temporary file.
class PendingName {
 public:
  PendingName() = default;
  PendingName(const PendingName&) = delete;
  PendingName& operator=(const PendingName&) = delete;
  ~PendingName() { release(); }

  void hold(const std::string& path) {
    installCleanupHandler();
    if (path.size() >= kPendingPathMax)
      return;
    for (std::size_t i = 0; i < kPendingSlots; ++i) {
      if (pendingInUse[i] != 0)
        continue;
      std::memcpy(pendingPaths[i], path.c_str(), path.size() + 1);
      pendingInUse[i] = 1;
      slot_ = static_cast<int>(i);
      return;
    }
  }
  void release() {
    if (slot_ >= 0)
      pendingInUse[slot_] = 0;
    slot_ = -1;
  }

 private:
  int slot_ = -1;
};

std::string randomSuffix() {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device device;
  std::string suffix;
  for (int i = 0; i < 8; ++i)
    suffix += kLetters[device() % (sizeof kLetters - 1)];
  return suffix;
}

// The new contents of one file before they replace the old ones. Where the
// file system allows it the temporary file has no name at all until it is
// complete (O_TMPFILE), so a process killed by any signal, SIGKILL included,
// leaves nothing behind; elsewhere it is a uniquely named file created
// exclusively beside the target (mkstemp), removed on every failure and by
// the handler of the terminating signals above.
class TemporaryFile {
 public:
  explicit TemporaryFile(const fs::path& target) : target_(target) {
    folder_ = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    if (::access("/proc/self/fd", X_OK) == 0) {
      fd_ = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
      if (fd_ >= 0) {
        unnamed_ = true;
        return;
      }
      // EOPNOTSUPP and the like: the file system has no unnamed files; a
      // missing or read-only folder fails the same way below.
    }
    std::string pattern = temporaryName("XXXXXX");
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) {
      error_ = errno;
      return;
    }
    path_ = pattern;
    pending_.hold(path_);
  }
  ~TemporaryFile() {
    if (fd_ >= 0)
      ::close(fd_);
    if (!committed_ && !path_.empty())
      ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int openError() const { return error_; }
  int fd() const { return fd_; }

  // Gives the complete file the target's name in one step; answers the
  // error, or 0.
  int commit() {
    if (unnamed_) {
      if (const int error = giveName(); error != 0)
        return error;
    }
    if (::close(fd_) != 0) {
      fd_ = -1;
      return errno;
    }
    fd_ = -1;
    if (std::rename(path_.c_str(), target_.c_str()) != 0)
      return errno;
    committed_ = true;
    pending_.release();
    syncFolder();
    return 0;
  }

 private:
  std::string temporaryName(const std::string& suffix) const {
    return (folder_ / ("." + target_.filename().native() + ".tmp" + suffix)).native();
  }

  // An unnamed file is linked under a fresh name first (linkat never
  // replaces an existing entry), then renamed over the target.
  int giveName() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < 16; ++attempt) {
      const std::string name = temporaryName(randomSuffix());
      if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        path_ = name;
        pending_.hold(path_);
        return 0;
      }
      if (errno != EEXIST)
        return errno;
    }
    return EEXIST;
  }

  // The rename reaches the disk with the folder's entry.
  void syncFolder() const {
    const int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
      return;
    ::fsync(folder);
    ::close(folder);
  }

  fs::path target_;
  fs::path folder_;
  std::string path_;
  int fd_ = -1;
  int error_ = 0;
  bool unnamed_ = false;
  bool committed_ = false;
  PendingName pending_;
};

int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// The permissions of the file being replaced, or those of a new file.
mode_t permissionsFor(const fs::path& target) {
  struct stat status {};
  if (::stat(target.c_str(), &status) == 0)
    return status.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Closes a descriptor on every path.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0)
      ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

FileContents failedRead(int error) {
  FileContents contents;
  contents.outcome = FileContents::Outcome::kFailed;
  contents.error = error;
  return contents;
}

// The refusal of a file that is no regular file or is too large, or nothing.
std::optional<FileContents> refusalFor(const struct stat& status, std::uintmax_t limit) {
  if (S_ISDIR(status.st_mode))
    return failedRead(EISDIR);
  FileContents contents;
  if (!S_ISREG(status.st_mode)) {
    contents.outcome = FileContents::Outcome::kNotRegular;
    return contents;
  }
  if (static_cast<std::uintmax_t>(status.st_size) > limit) {
    contents.outcome = FileContents::Outcome::kTooLarge;
    contents.size = static_cast<std::uintmax_t>(status.st_size);
    return contents;
  }
  return std::nullopt;
}

std::string passwordHome() {
  const passwd* entry = getpwuid(getuid());
  return entry == nullptr || entry->pw_dir == nullptr ? std::string() : entry->pw_dir;
}

}  // namespace

std::optional<Conversion> cp932ToUtf8(std::string_view cp932) {
  return convert("UTF-8", "CP932", cp932);
}

std::optional<Conversion> utf8ToCp932(std::string_view utf8) {
  return convert("CP932", "UTF-8", utf8);
}

int replaceFile(const fs::path& target, std::string_view bytes,
                const std::function<void()>& beforeReplace) {
  TemporaryFile temporary(target);
  if (temporary.openError() != 0)
    return temporary.openError();
  if (::fchmod(temporary.fd(), permissionsFor(target)) != 0)
    return errno;
  if (const int error = writeAll(temporary.fd(), bytes); error != 0)
    return error;
  if (::fsync(temporary.fd()) != 0)
    return errno;
  if (beforeReplace)
    beforeReplace();
  return temporary.commit();
}

FileKind fileKind(const fs::path& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0)
    return errno == ENOENT || errno == ENOTDIR ? FileKind::kMissing : FileKind::kOther;
  if (S_ISREG(status.st_mode))
    return FileKind::kRegular;
  return S_ISDIR(status.st_mode) ? FileKind::kFolder : FileKind::kOther;
}

bool isStandardStream(const fs::path& path) {
  struct stat named {};
  if (::stat(path.c_str(), &named) != 0)
    return false;
  for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    struct stat open {};
    if (::fstat(stream, &open) == 0 && open.st_dev == named.st_dev && open.st_ino == named.st_ino)
      return true;
  }
  return false;
}

FileContents readRegularFile(const fs::path& path, std::uintmax_t limit) {
  // Looked at before it is opened: opening a device may act on it.
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0)
    return failedRead(errno);
  if (auto refusal = refusalFor(status, limit))
    return std::move(*refusal);
  // Without blocking, in case a named pipe took the file's place meanwhile;
  // the descriptor's own status then decides.
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (file.get() < 0)
    return failedRead(errno);
  if (::fstat(file.get(), &status) != 0)
    return failedRead(errno);
  if (auto refusal = refusalFor(status, limit))
    return std::move(*refusal);

  FileContents contents;
  std::string& bytes = contents.bytes;
  bytes.resize(static_cast<std::size_t>(status.st_size) + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.size()) {
      if (used > limit)
        break;
      bytes.resize(std::min<std::uintmax_t>(limit + 1, used * 2 + 4096));
    }
    const ssize_t got = ::read(file.get(), bytes.data() + used, bytes.size() - used);
    if (got < 0) {
      if (errno == EINTR)
        continue;
      return failedRead(errno);
    }
    if (got == 0)
      break;
    used += static_cast<std::size_t>(got);
  }
  if (used > limit) {
    contents.outcome = FileContents::Outcome::kTooLarge;
    contents.size = used;
    contents.bytes.clear();
    return contents;
  }
  bytes.resize(used);
  return contents;
}

Environment processEnvironment() {
  Environment environment;
  environment.home = environmentVariable("HOME").value_or("");
  if (environment.home.empty())
    environment.home = passwordHome();
  environment.xdgConfigHome = environmentVariable("XDG_CONFIG_HOME").value_or("");
  return environment;
}

fs::path executablePath(const char* argv0) {
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (!error)
    return self;
  return fs::absolute(pathFromUtf8(argv0 == nullptr ? "" : argv0), error);
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void prepareTerminalProcess() {
  std::signal(SIGXFSZ, SIG_IGN);
}

bool standardErrorIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

int folderWriteError(const fs::path& folder) {
  return ::access(folder.c_str(), W_OK | X_OK) == 0 ? 0 : errno;
}

bool fileSizeLimited() {
  struct rlimit limit {};
  return ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY;
}

}  // namespace tavilo::platform
