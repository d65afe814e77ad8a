// The browser implementation (Emscripten): CP932 from the tables made from
// glibc's iconv, since this C library has none; files in the module's file
// system (memory in the page, the real file system under Node.js) replaced
// through a temporary file beside them; no signals, no settings folder of
// its own (the page keeps its marker in the browser's storage).

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/cp932_table.h"
#include "platform/platform.h"
#include "platform/unicode.h"
#include "platform/utf8_path.h"

namespace tavilo::platform {
namespace {

namespace fs = std::filesystem;

Conversion fromTable(TableConversion converted) {
  return {std::move(converted.text), converted.badAt};
}

// Writes the bytes into a new file; answers the errno of a failure, or 0.
int writeNewFile(const fs::path& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wbx");
  if (file == nullptr)
    return errno != 0 ? errno : EIO;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int writeError = written ? 0 : (errno != 0 ? errno : EIO);
  const bool flushed = std::fflush(file) == 0 && ::fsync(fileno(file)) == 0;
  const int flushError = flushed ? 0 : (errno != 0 ? errno : EIO);
  if (std::fclose(file) != 0 && writeError == 0 && flushError == 0)
    return errno != 0 ? errno : EIO;
  return writeError != 0 ? writeError : flushError;
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
    temporary = folder / ("." + target.filename().native() + ".tmp" +
                          std::to_string(static_cast<unsigned>(std::rand())));
    error = writeNewFile(temporary, bytes);
  }
  if (error != 0) {
    if (error != EEXIST)
      std::remove(temporary.c_str());
    return error;
  }
  if (beforeReplace)
    beforeReplace();
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    const int renameError = errno;
    std::remove(temporary.c_str());
    return renameError;
  }
  return 0;
}

Environment processEnvironment() {
  Environment environment;
  environment.home = environmentVariable("HOME").value_or("/");
  environment.xdgConfigHome = environmentVariable("XDG_CONFIG_HOME").value_or("");
  return environment;
}

// The loader names the script itself as the program.
fs::path executablePath(const char* argv0) {
  std::error_code error;
  return fs::absolute(pathFromUtf8(argv0 == nullptr ? "" : argv0), error);
}

// Node.js hands the program its arguments as text, every byte that is not
// UTF-8 replaced; on Linux the process's own command line still holds the
// bytes. Its last arguments are the program's, taken when every one that is
// UTF-8 agrees with the text given.
std::vector<std::string> commandLineArguments(int argc, char** argv) {
  std::vector<std::string> given(argv, argv + argc);
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  const std::string line{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::vector<std::string> words;
  for (std::size_t start = 0; start < line.size();) {
    const std::size_t end = std::min(line.find('\0', start), line.size());
    words.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  if (given.empty() || words.size() < given.size())
    return given;
  const std::size_t first = words.size() - (given.size() - 1);
  for (std::size_t i = 1; i < given.size(); ++i) {
    const std::string& word = words[first + i - 1];
    if (!firstMalformedUtf8(word) && word != given[i])
      return given;
  }
  std::copy(words.begin() + static_cast<std::ptrdiff_t>(first), words.end(), given.begin() + 1);
  return given;
}

void prepareTerminalProcess() {}

// Under Node.js the command writes no report files, so it shows no progress.
bool standardErrorIsTerminal() {
  return false;
}

int folderWriteError(const fs::path& folder) {
  return ::access(folder.c_str(), W_OK | X_OK) == 0 ? 0 : errno;
}

bool fileSizeLimited() {
  return false;
}

}  // namespace tavilo::platform
