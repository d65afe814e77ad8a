// The browser's implementation (Emscripten): CP932 from the tables made from
// glibc's iconv, since the browser's C library has none; files in the file
// system the page or Node.js gives the program, replaced through a
// temporary file beside the target; no signals, no file-size limits.

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <system_error>

#include "platform/cp932_table.h"
#include "platform/platform.h"
#include "platform/utf8_path.h"

namespace tavilo::platform {
namespace {

namespace fs = std::filesystem;

Conversion fromTable(TableConversion converted) {
  return {std::move(converted.text), converted.badAt};
}

std::string randomSuffix() {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device device;
  std::string suffix;
  for (int i = 0; i < 8; ++i)
    suffix += kLetters[device() % (sizeof kLetters - 1)];
  return suffix;
}

// Writes and syncs the bytes into a file created exclusively; answers errno
// or 0.
int writeNewFile(const fs::path& path, std::string_view bytes, mode_t mode) {
  FILE* file = std::fopen(path.c_str(), "wxb");
  if (file == nullptr)
    return errno;
  int error = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fflush(file) != 0)
    error = errno != 0 ? errno : EIO;
  if (error == 0 && ::fsync(::fileno(file)) != 0 && errno != EINVAL)
    error = errno;
  if (std::fclose(file) != 0 && error == 0)
    error = errno;
  if (error == 0)
    ::chmod(path.c_str(), mode);
  return error;
}

mode_t permissionsFor(const fs::path& target) {
  struct stat status {};
  if (::stat(target.c_str(), &status) == 0)
    return status.st_mode & 07777;
  return 0644;
}

}  // namespace

std::optional<Conversion> cp932ToUtf8(std::string_view cp932) {
  return fromTable(cp932ToUtf8ByTable(cp932));
}

std::optional<Conversion> utf8ToCp932(std::string_view utf8) {
  return fromTable(utf8ToCp932ByTable(utf8));
}

int replaceFile(const fs::path& target, std::string_view bytes,
                const std::function<void()>& beforeReplace) {
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  fs::path temporary;
  int error = EEXIST;
  for (int attempt = 0; attempt < 16 && error == EEXIST; ++attempt) {
    temporary = folder / ("." + target.filename().native() + ".tmp" + randomSuffix());
    error = writeNewFile(temporary, bytes, permissionsFor(target));
  }
  if (error == 0 && beforeReplace)
    beforeReplace();
  if (error == 0 && std::rename(temporary.c_str(), target.c_str()) != 0)
    error = errno;
  if (error != 0)
    ::unlink(temporary.c_str());
  return error;
}

std::optional<std::string> environmentVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr)
    return std::nullopt;
  return std::string(value);
}

Environment processEnvironment() {
  return Environment(environmentVariable("HOME").value_or("/home/web_user"),
                     environmentVariable("XDG_CONFIG_HOME").value_or(""));
}

fs::path executablePath(const char* argv0) {
  std::error_code error;
  return fs::absolute(pathFromUtf8(argv0 == nullptr ? "" : argv0), error);
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void prepareTerminalProcess() {}

int folderWriteError(const fs::path& folder) {
  return ::access(folder.c_str(), W_OK | X_OK) == 0 ? 0 : errno;
}

bool fileSizeLimited() {
  return false;
}

}  // namespace tavilo::platform
