#pragma once
// The operating system behind one small interface: replacing a file by new
// contents, CP932 conversion, the user's environment, the program's own
// place and the file-system facts that the save code asks for. One
// implementation per system (POSIX, Win32, the browser) is chosen by the
// build; nothing outside this folder includes an operating-system header.
//
// Paths and texts are UTF-8 throughout; errors are errno values (the
// Win32 implementation translates its own codes), so that one table of
// reasons serves every system.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavilo::platform {

// ---- Text encoding

// The result of a conversion that stops at the first sequence it cannot
// convert: the text converted before it and the input offset of that
// sequence.
struct Conversion {
  std::string text;
  std::optional<std::size_t> badAt;
};

// CP932 (Shift-JIS with the NEC and IBM extensions, as Windows has it) to
// UTF-8 and back. A byte sequence that is not CP932, a malformed UTF-8
// sequence and a character that CP932 cannot hold are bad sequences. Nothing
// is answered when this system has no CP932 converter at all.
std::optional<Conversion> cp932ToUtf8(std::string_view cp932);
std::optional<Conversion> utf8ToCp932(std::string_view utf8);

// ---- Files the user names

// What a path names once its symbolic links are followed.
enum class FileKind {
  kMissing,  // nothing yet: a new file may be made there
  kRegular,
  kFolder,
  kOther,  // a device, a named pipe, a socket
};
FileKind fileKind(const std::filesystem::path& path);

// Whether the path names the very file that a standard stream of this
// process (input, output or error) is open on, as /dev/stdout does when the
// output is redirected to a file.
bool isStandardStream(const std::filesystem::path& path);

// The whole contents of a regular file of at most `limit` bytes. Anything
// else is refused at once, before a byte is read: a named pipe (whose
// reading would wait for a writer for ever), a device (/dev/zero never
// ends), a folder, a file larger than the limit (and one that grows beyond
// it while it is read).
struct FileContents {
  enum class Outcome { kRead, kFailed, kNotRegular, kTooLarge };
  Outcome outcome = Outcome::kRead;
  std::string bytes;
  int error = 0;            // kFailed: the errno (EISDIR for a folder)
  std::uintmax_t size = 0;  // kTooLarge: the size seen, beyond the limit
};
FileContents readRegularFile(const std::filesystem::path& path, std::uintmax_t limit);

// ---- Replacing a file

// Writes `bytes` into a temporary file in `target`'s folder that no other
// file can be, makes it durable, runs `beforeReplace` (when set) and then
// puts it in the place of `target` in one step, keeping the permissions of
// the file it replaces. On every failure the old file stays as it was and no
// temporary file remains, also when the process is ended by a terminating
// signal where the system has them. Answers 0 or the errno of the failure.
int replaceFile(const std::filesystem::path& target, std::string_view bytes,
                const std::function<void()>& beforeReplace);

// ---- The user's environment

// The values that place the settings folder. On Linux the XDG rule reads
// `home` and `xdgConfigHome`; on Windows the profile rule reads `userProfile`
// and `majorVersion` (of the operating system).
struct Environment {
  Environment() = default;
  Environment(std::string homeFolder, std::string xdgConfig)
      : home(std::move(homeFolder)), xdgConfigHome(std::move(xdgConfig)) {}
  static Environment windows(std::string profile, int major) {
    Environment environment;
    environment.windowsProfile = true;
    environment.userProfile = std::move(profile);
    environment.majorVersion = major;
    return environment;
  }

  std::string home;           // HOME
  std::string xdgConfigHome;  // XDG_CONFIG_HOME; empty when unset
  bool windowsProfile = false;
  std::string userProfile;  // USERPROFILE
  int majorVersion = 0;
};

// The environment of this process: on POSIX HOME (or the password database's
// home folder when HOME is unset) and XDG_CONFIG_HOME; on Windows USERPROFILE
// and the major version.
Environment processEnvironment();

// The value of an environment variable as UTF-8; nothing when unset.
std::optional<std::string> environmentVariable(const char* name);

// ---- The program

// The path of the running executable; `argv0` made absolute where the system
// cannot tell.
std::filesystem::path executablePath(const char* argv0);

// The command line's arguments as UTF-8 (on Windows from the wide command
// line, not the ANSI code page).
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Readies the process for a terminal command: UTF-8 on the console, and a
// write beyond a file-size limit failing with EFBIG instead of ending the
// process.
void prepareTerminalProcess();

// Whether standard error is a terminal that a progress line may be updated on
// in place (carriage return and the erase-line sequence; on Windows a console
// that takes them).
bool standardErrorIsTerminal();

// ---- File-system facts for the save code

// 0 when a file can be created in `folder`, else the errno that says why not.
int folderWriteError(const std::filesystem::path& folder);

// Whether a limit on the size of files this process writes is in force.
bool fileSizeLimited();

}  // namespace tavilo::platform
