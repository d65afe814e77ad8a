// The Win32 implementation: code page 932 through MultiByteToWideChar and
// WideCharToMultiByte, a temporary file beside the target that replaces it
// with ReplaceFileW (or MoveFileExW when there is no old file) and write
// through, the settings folder under USERPROFILE, wide file names and the
// wide command line. Win32 error codes are translated to errno values.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <system_error>

#include "platform/platform.h"
#include "platform/unicode.h"
#include "platform/utf8_path.h"

namespace tavilo::platform {
namespace {

namespace fs = std::filesystem;

constexpr UINT kCodePage932 = 932;

int errnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
      return EACCES;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILE_TOO_LARGE:
      return EFBIG;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
    case ERROR_USER_MAPPED_FILE:
      return EBUSY;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    case ERROR_INVALID_NAME:
      return EINVAL;
    default:
      return EIO;
  }
}

int lastErrno() {
  return errnoOf(GetLastError());
}

std::wstring wide(std::string_view utf8) {
  return pathFromUtf8(utf8).native();
}

std::string narrow(std::wstring_view text) {
  return utf8FromPath(fs::path(std::wstring(text)));
}

// ---- Code page 932

// The UTF-16 of one character of CP932 input at `at` (one or two bytes), or
// nothing when the bytes are not CP932.
bool isLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::optional<std::wstring> decodeOne(std::string_view bytes) {
  wchar_t out[4];
  const int count = MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, bytes.data(),
                                        static_cast<int>(bytes.size()), out, 4);
  if (count <= 0)
    return std::nullopt;
  return std::wstring(out, static_cast<std::size_t>(count));
}

// Windows decodes the single bytes that CP932 leaves unassigned (0x80, 0xA0,
// 0xFD to 0xFF) to private or control characters, and a lead byte followed
// by a byte that is no trail byte to U+30FB; the program reads neither.
bool validTrail(unsigned char byte) {
  return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

std::optional<Conversion> decode932(std::string_view cp932) {
  Conversion result;
  for (std::size_t at = 0; at < cp932.size();) {
    const auto first = static_cast<unsigned char>(cp932[at]);
    const bool pair = isLeadByte(first);
    const bool unassigned = first == 0x80 || first == 0xA0 || first >= 0xFD;
    std::optional<std::wstring> character;
    if (!unassigned && (!pair || (at + 1 < cp932.size() &&
                                  validTrail(static_cast<unsigned char>(cp932[at + 1]))))) {
      character = decodeOne(cp932.substr(at, pair ? 2 : 1));
    }
    if (!character) {
      result.badAt = at;
      return result;
    }
    result.text += narrow(*character);
    at += pair ? 2 : 1;
  }
  return result;
}

// The CP932 bytes of one character, refusing Windows' best-fit
// substitutions (the default character is then used, and reported).
std::optional<std::string> encodeOne(char32_t code) {
  wchar_t units[2];
  int length = 1;
  if (code < 0x10000) {
    units[0] = static_cast<wchar_t>(code);
  } else {
    units[0] = static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
    units[1] = static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    length = 2;
  }
  char out[8];
  BOOL usedDefault = FALSE;
  const int count = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, units, length, out,
                                        sizeof out, nullptr, &usedDefault);
  if (count <= 0 || usedDefault)
    return std::nullopt;
  return std::string(out, static_cast<std::size_t>(count));
}

// The characters that the C library of Linux (glibc's CP932) writes one way
// although Windows' table has no place for them; the conversion writes them
// alike, so that both systems give the same bytes.
// (The file writer refuses all of them, as they read back as others.)
std::optional<std::string> asLinuxWrites(char32_t code) {
  switch (code) {
    case 0x00A2:
      return "\x81\x91";
    case 0x00A3:
      return "\x81\x92";
    case 0x00A5:
      return "\x5C";
    case 0x00AC:
      return "\x81\xCA";
    case 0x2014:
      return "\x81\x5C";
    case 0x2016:
      return "\x81\x61";
    case 0x203E:
      return "\x7E";
    case 0x2212:
      return "\x81\x7C";
    case 0x301C:
      return "\x81\x60";
    default:
      return std::nullopt;
  }
}

std::optional<std::string> encodeCharacter(char32_t code) {
  // Windows writes U+0080 and four private characters (U+F8F0 to U+F8F3) as
  // the single bytes that CP932 leaves unassigned.
  if (code == 0x0080 || (code >= 0xF8F0 && code <= 0xF8F3))
    return std::nullopt;
  if (auto bytes = asLinuxWrites(code))
    return bytes;
  return encodeOne(code);
}

std::optional<Conversion> encode932(std::string_view utf8) {
  Conversion result;
  for (std::size_t at = 0; at < utf8.size();) {
    const auto character = decodeUtf8At(utf8, at);
    const auto bytes = character ? encodeCharacter(character->code) : std::nullopt;
    if (!bytes) {
      result.badAt = at;
      return result;
    }
    result.text += *bytes;
    at += character->length;
  }
  return result;
}

// ---- Replacing a file

std::wstring randomSuffix() {
  static constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device device;
  std::wstring suffix;
  for (int i = 0; i < 8; ++i)
    suffix += kLetters[device() % (sizeof kLetters / sizeof kLetters[0] - 1)];
  return suffix;
}

// A new file beside the target, created exclusively, written through to the
// disk, and deleted unless it was moved into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const fs::path& target) {
    const fs::path folder = target.parent_path().empty() ? fs::path(L".") : target.parent_path();
    for (int attempt = 0; attempt < 16; ++attempt) {
      path_ = folder / (L"." + target.filename().native() + L".tmp" + randomSuffix());
      handle_ = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
      if (handle_ != INVALID_HANDLE_VALUE)
        return;
      error_ = lastErrno();
      if (error_ != EEXIST)
        break;
    }
    path_.clear();
  }
  ~TemporaryFile() {
    close();
    if (!committed_ && !path_.empty())
      DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int openError() const { return handle_ == INVALID_HANDLE_VALUE ? error_ : 0; }

  int write(std::string_view bytes) {
    while (!bytes.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
      DWORD written = 0;
      if (!WriteFile(handle_, bytes.data(), chunk, &written, nullptr))
        return lastErrno();
      bytes.remove_prefix(written);
    }
    if (!FlushFileBuffers(handle_))
      return lastErrno();
    return 0;
  }

  // Puts the file in the target's place in one step: ReplaceFileW keeps the
  // old file's attributes and security; a target that does not exist yet is
  // a plain move. Both write through.
  int commit(const fs::path& target) {
    close();
    const bool exists = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (exists) {
      if (const int error = replaceableError(target); error != 0)
        return error;
    }
    const bool moved =
        exists ? ReplaceFileW(target.c_str(), path_.c_str(), nullptr,
                              REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
               : MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    if (!moved)
      return lastErrno();
    committed_ = true;
    return 0;
  }

 private:
  // Whether the old file may be replaced at all (another program may hold
  // it open without sharing its deletion): asked before ReplaceFileW, which
  // can otherwise stop half-way and leave a backup file of its own behind.
  static int replaceableError(const fs::path& target) {
    const HANDLE handle =
        CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
      return lastErrno();
    CloseHandle(handle);
    return 0;
  }

  void close() {
    if (handle_ != INVALID_HANDLE_VALUE)
      CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

  fs::path path_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  int error_ = 0;
  bool committed_ = false;
};

}  // namespace

std::optional<Conversion> cp932ToUtf8(std::string_view cp932) {
  return decode932(cp932);
}

std::optional<Conversion> utf8ToCp932(std::string_view utf8) {
  return encode932(utf8);
}

int replaceFile(const fs::path& target, std::string_view bytes,
                const std::function<void()>& beforeReplace) {
  TemporaryFile temporary(target);
  if (const int error = temporary.openError(); error != 0)
    return error;
  if (const int error = temporary.write(bytes); error != 0)
    return error;
  if (beforeReplace)
    beforeReplace();
  return temporary.commit(target);
}

std::optional<std::string> environmentVariable(const char* name) {
  const std::wstring wideName = wide(name);
  const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (size == 0)
    return std::nullopt;
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
  value.resize(length);
  return narrow(value);
}

Environment processEnvironment() {
  // GetVersion answers 6 on Windows 8 and later for a program without a
  // compatibility manifest, as it did for the original program; both 6 and
  // 10 place the folder under AppData\Roaming.
  const DWORD version = GetVersion();
  return Environment::windows(environmentVariable("USERPROFILE").value_or(""),
                              static_cast<int>(LOBYTE(LOWORD(version))));
}

fs::path executablePath(const char* argv0) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0)
      break;
    if (length < buffer.size()) {
      buffer.resize(length);
      return fs::path(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
  std::error_code error;
  return fs::absolute(pathFromUtf8(argv0 == nullptr ? "" : argv0), error);
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr)
    return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> utf8;
  for (int i = 0; i < count; ++i)
    utf8.push_back(narrow(arguments[i]));
  LocalFree(arguments);
  return utf8;
}

void prepareTerminalProcess() {
  SetConsoleOutputCP(CP_UTF8);
  // The outputs are the same bytes as on every other system: no CR is put
  // before each LF of the JSON, the summary or the CSV.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

bool standardErrorIsTerminal() {
  const HANDLE console = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  return GetConsoleMode(console, &mode) != 0 &&
         SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

int folderWriteError(const fs::path& folder) {
  // The attributes of a folder say nothing about the right to create files
  // in it; creating one does.
  const fs::path probe = folder / (L".tavilo-probe" + randomSuffix());
  const HANDLE handle = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return lastErrno();
  CloseHandle(handle);
  return 0;
}

bool fileSizeLimited() {
  return false;
}

}  // namespace tavilo::platform
