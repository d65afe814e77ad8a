#include "persistence/text_file.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <system_error>

#include "calc/errors.h"
#include "persistence/system_reason.h"
#include "platform/cp932_table.h"

namespace tavilo {
namespace {

constexpr const char* kCp932 = "CP932";
constexpr const char* kUtf8 = "UTF-8";

std::string quoted(const std::filesystem::path& path) {
  return "「" + visibleName(path.string()) + "」";
}

std::string systemReason(int error) {
  return systemReasonText(error);
}

// One iconv conversion descriptor, closed on every path.
class Converter {
 public:
  Converter(const char* to, const char* from) {
#ifdef __EMSCRIPTEN__
    // The browser's C library has no CP932: the tables made from glibc's
    // iconv serve instead.
    if (std::string_view(from) == kCp932)
      table_ = &platform::cp932ToUtf8ByTable;
    if (std::string_view(to) == kCp932)
      table_ = &platform::utf8ToCp932ByTable;
    if (table_ != nullptr)
      return;
#endif
    handle_ = iconv_open(to, from);
    if (handle_ == invalid()) {
      throw UserError(std::string("文字コード ") + from + " から " + to +
                      " への変換がこのシステムでは使えません。");
    }
  }
  ~Converter() {
    if (handle_ != invalid())
      iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  struct Result {
    std::string text;                  // everything converted before a failure
    std::optional<std::size_t> badAt;  // input offset of the first bad sequence
  };

  Result convert(std::string_view input) {
    if (table_ != nullptr) {
      auto converted = table_(input);
      return {std::move(converted.text), converted.badAt};
    }
    Result result;
    std::string& out = result.text;
    out.resize(input.size() * 3 + 16);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
      if (iconv(handle_, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) {
        continue;
      }
      if (errno == E2BIG) {
        const std::size_t used = out.size() - outLeft;
        out.resize(out.size() * 2);
        outPtr = out.data() + used;
        outLeft = out.size() - used;
        continue;
      }
      // EILSEQ (an invalid sequence) or EINVAL (a sequence cut off at the end).
      result.badAt = input.size() - inLeft;
      break;
    }
    out.resize(out.size() - outLeft);
    return result;
  }

 private:
  static iconv_t invalid() {
    return reinterpret_cast<iconv_t>(-1);
  }
  iconv_t handle_ = invalid();
  platform::TableConversion (*table_)(std::string_view) = nullptr;
};

// The 1-based number of the line in which the decoded text that follows
// `prefix` starts.
std::size_t lineNumberAfter(std::string_view prefix) {
  std::size_t line = 1;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (prefix[i] == '\n')
      ++line;
    if (prefix[i] == '\r' && (i + 1 == prefix.size() || prefix[i + 1] != '\n'))
      ++line;
  }
  return line;
}

std::string hexBytes(std::string_view bytes, std::size_t offset, std::size_t count) {
  std::string text;
  for (std::size_t i = offset; i < bytes.size() && i < offset + count; ++i) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%s0x%02X", text.empty() ? "" : " ",
                  static_cast<unsigned char>(bytes[i]));
    text += buffer;
  }
  return text;
}

struct Encoding {
  const char* name;
  std::size_t bomLength;
  std::size_t unitLength;  // bytes shown when a sequence is invalid
};

Encoding detectEncoding(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF"))
    return {kUtf8, 3, 1};
  if (bytes.starts_with("\xFF\xFE"))
    return {"UTF-16LE", 2, 2};
  if (bytes.starts_with("\xFE\xFF"))
    return {"UTF-16BE", 2, 2};
  return {kCp932, 0, 2};
}

std::string readBytes(const std::filesystem::path& path) {
  errno = 0;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    const int error = errno != 0 ? errno : ENOENT;
    throw UserError("ファイル" + quoted(path) + "を開けません: " + systemReason(error));
  }
  std::error_code code;
  if (std::filesystem::is_directory(path, code)) {
    throw UserError("ファイル" + quoted(path) + "を開けません: " + systemReason(EISDIR));
  }
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) {
    throw UserError("ファイル" + quoted(path) + "を読み込めません: " + systemReason(EIO));
  }
  return bytes;
}

// The code point starting at `at` in valid UTF-8, as "「c」(U+XXXX)".
std::string describeCharacter(std::string_view utf8, std::size_t at) {
  while (at > 0 && (static_cast<unsigned char>(utf8[at]) & 0xC0) == 0x80)
    --at;
  const auto lead = static_cast<unsigned char>(utf8[at]);
  const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (at + length > utf8.size())
    return "(" + hexBytes(utf8, at, utf8.size() - at) + ")";
  char32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) {
    code = (code << 6) | (static_cast<unsigned char>(utf8[at + i]) & 0x3F);
  }
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(code));
  return "「" + std::string(utf8.substr(at, length)) + "」(" + buffer + ")";
}

// Whether a well-formed UTF-8 sequence starts at `at`.
bool validUtf8At(std::string_view utf8, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
  const unsigned char lead = byte(at);
  const std::size_t length = lead < 0x80                   ? 1
                             : lead >= 0xC2 && lead < 0xE0 ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4
                                                           : 0;
  if (length == 0 || at + length > utf8.size())
    return false;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80)
      return false;
  }
  // Overlong forms, surrogates and code points beyond U+10FFFF.
  const unsigned char second = length > 1 ? byte(at + 1) : 0x80;
  if (lead == 0xE0 && second < 0xA0)
    return false;
  if (lead == 0xED && second >= 0xA0)
    return false;
  if (lead == 0xF0 && second < 0x90)
    return false;
  if (lead == 0xF4 && second >= 0x90)
    return false;
  return true;
}

// The encoded text, or the offset in `utf8` of the first character that
// CP932 cannot hold (or would give back as another character).
struct Encoded {
  std::string bytes;
  std::optional<std::size_t> badAt;
};

Encoded encodeCp932(std::string_view utf8) {
  Encoded encoded;
  {
    Converter converter(kCp932, kUtf8);
    auto result = converter.convert(utf8);
    if (result.badAt)
      return {{}, result.badAt};
    encoded.bytes = std::move(result.text);
  }
  // Several characters are mapped one way only (U+301C to the code of U+FF5E,
  // U+00A5 to the backslash): reading the file back would give another text.
  Converter back(kUtf8, kCp932);
  const auto decoded = back.convert(encoded.bytes);
  if (!decoded.badAt && decoded.text == utf8)
    return encoded;
  std::size_t at = 0;
  while (at < utf8.size() && at < decoded.text.size() && utf8[at] == decoded.text[at])
    ++at;
  return {{}, std::min(at, utf8.empty() ? 0 : utf8.size() - 1)};
}

std::string cannotEncode(std::string_view utf8, std::size_t at) {
  // iconv stops at the start of the bad sequence; a malformed UTF-8 byte is
  // shown as bytes, anything else as the character.
  if (!validUtf8At(utf8, at)) {
    return "UTF-8 として不正なバイト (" + hexBytes(utf8, at, 1) + ") があります";
  }
  return "文字" + describeCharacter(utf8, at) + "は CP932 (Shift-JIS) で書けません";
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
  explicit TemporaryFile(const std::filesystem::path& target) : target_(target) {
    folder_ = target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
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
    return (folder_ / ("." + target_.filename().string() + ".tmp" + suffix)).string();
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

  std::filesystem::path target_;
  std::filesystem::path folder_;
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
mode_t permissionsFor(const std::filesystem::path& target) {
  struct stat status {};
  if (::stat(target.c_str(), &status) == 0)
    return status.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

std::filesystem::path resolveLink(const std::filesystem::path& target) {
  std::error_code code;
  if (!std::filesystem::is_symlink(target, code))
    return target;
  const auto resolved = std::filesystem::weakly_canonical(target, code);
  return code ? target : resolved;
}

}  // namespace

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n')
      continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
      ++i;
    start = i + 1;
  }
  if (start < text.size())
    lines.emplace_back(text.substr(start));
  return lines;
}

std::string fromCp932(std::string_view cp932) {
  Converter converter(kUtf8, kCp932);
  auto result = converter.convert(cp932);
  if (result.badAt) {
    throw UserError("CP932 (Shift-JIS) として読めないバイト (" + hexBytes(cp932, *result.badAt, 2) +
                    ") があります。");
  }
  return std::move(result.text);
}

std::string toCp932(std::string_view utf8) {
  auto encoded = encodeCp932(utf8);
  if (encoded.badAt)
    throw UserError(cannotEncode(utf8, *encoded.badAt) + "。");
  return std::move(encoded.bytes);
}

std::vector<std::string> readTextLines(const std::filesystem::path& path) {
  return decodeTextLines(readBytes(path), path);
}

std::vector<std::string> decodeTextLines(std::string_view bytes,
                                         const std::filesystem::path& path) {
  const Encoding encoding = detectEncoding(bytes);
  const std::string_view body = bytes.substr(encoding.bomLength);
  Converter converter(kUtf8, encoding.name);
  const auto decoded = converter.convert(body);
  if (decoded.badAt) {
    const std::string shown =
        std::string(encoding.name) == kCp932 ? "CP932 (Shift-JIS)" : encoding.name;
    throw UserError("ファイル" + quoted(path) + "の " +
                    std::to_string(lineNumberAfter(decoded.text)) + " 行目に " + shown +
                    " として読めないバイト (" +
                    hexBytes(body, *decoded.badAt, encoding.unitLength) + ") があります。");
  }
  return splitLines(decoded.text);
}

void writeTextLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const auto where = "ファイル" + quoted(path) + "の " + std::to_string(i + 1) + " 行目";
    if (line.find_first_of("\r\n") != std::string::npos) {
      throw UserError(where + "に改行文字が含まれているため、書き込めません。");
    }
    const auto encoded = encodeCp932(line);
    if (encoded.badAt) {
      throw UserError(where + "を書き込めません: " + cannotEncode(line, *encoded.badAt) + "。");
    }
    bytes += encoded.bytes;
    bytes += "\r\n";
  }
  writeFileAtomically(path, bytes);
}

void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  writeFileAtomically(path, bytes, {});
}

void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         const std::function<void()>& beforeRename) {
  const auto fail = [&](int error) {
    throw UserError("ファイル" + quoted(path) + "に書き込めません: " + systemReasonText(error) +
                    "。元のファイルは変更していません。");
  };
  if (path.empty())
    throw UserError("保存先のファイル名が空です。ファイル名を指定して下さい。");
  const auto target = resolveLink(path);
  std::error_code code;
  if (std::filesystem::is_directory(target, code))
    fail(EISDIR);
  TemporaryFile temporary(target);
  if (temporary.openError() != 0)
    fail(temporary.openError());
  if (::fchmod(temporary.fd(), permissionsFor(target)) != 0)
    fail(errno);
  if (const int error = writeAll(temporary.fd(), bytes); error != 0)
    fail(error);
  if (::fsync(temporary.fd()) != 0)
    fail(errno);
  if (beforeRename)
    beforeRename();
  if (const int error = temporary.commit(); error != 0)
    fail(error);
}

}  // namespace tavilo
