#pragma once
// The text files the program reads and writes: whole-file reading with the
// encoding chosen by a byte-order mark (UTF-8, UTF-16 LE/BE) or CP932
// otherwise, and all-or-nothing writing in CP932 with CR LF line ends.
// Inside the program all text is UTF-8.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavilo {

// The largest text file read: far above any location table; a project file
// has its own, smaller limit.
inline constexpr std::uintmax_t kTextFileSizeLimit = 64 * 1024 * 1024;

// Reads the whole file and splits it into lines at CR LF, CR or LF; a line
// break at the very end adds no empty line. Throws UserError naming the file
// (and the line for bytes that are not valid in the file's encoding). Only a
// regular file of at most `sizeLimit` bytes is read: a named pipe, a device,
// a folder or a larger file is refused at once.
std::vector<std::string> readTextLines(const std::filesystem::path& path,
                                       std::uintmax_t sizeLimit = kTextFileSizeLimit);
// The same for the bytes of a file already read; `path` names it in messages.
std::vector<std::string> decodeTextLines(std::string_view bytes, const std::filesystem::path& path);
// The whole file as one UTF-8 text, decoded as readTextLines decodes it, for
// a reader that keeps only some of its lines; the bytes read are freed
// before it answers.
std::string readText(const std::filesystem::path& path,
                     std::uintmax_t sizeLimit = kTextFileSizeLimit);
// Calls `visit` with every line of the text and its 0-based number, by the
// rule of readTextLines; answers the number of lines.
std::size_t forEachLine(std::string_view text,
                        const std::function<void(std::string_view, std::size_t)>& visit);

// Writes the lines in CP932, each followed by CR LF. The file is written to a
// temporary file beside the target and renamed over it, so the old file stays
// intact when anything fails. Throws UserError naming the file and the line
// when a line holds a character that CP932 cannot represent or a line break.
void writeTextLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

// Why no file may be written at `path`, or nothing: the place is neither a
// regular file nor free for a new one (a folder, a device, a named pipe or a
// socket, also behind a symbolic link), or it is the very file a standard
// stream of this process is open on (/dev/stdout redirected to a file). Asked
// before anything is written, so that nothing is; the text fits after
// "…に書き込めません: ".
std::optional<std::string> unwritableTarget(const std::filesystem::path& path);

// Replaces the file's contents by the bytes, all or nothing: the new contents
// are written and synced to a temporary file in the target's folder that is
// created exclusively (and has no name at all where the file system allows),
// then renamed over the target. On every failure the old file stays as it
// was, byte for byte, no temporary file is left behind (also when SIGTERM,
// SIGINT, SIGHUP or SIGQUIT ends the process), and UserError names the file
// and the reason. An empty path or a folder as the target is refused.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);
// As above; `beforeRename` runs when the new contents are complete on disk
// and the old file has not yet been replaced (the tests end the process there).
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         const std::function<void()>& beforeRename);

// UTF-8 to CP932. Throws UserError for a character that CP932 cannot hold or
// that would come back as a different character (U+301C, U+00A5 …).
std::string toCp932(std::string_view utf8);
// CP932 to UTF-8. Throws UserError for bytes that are not valid CP932.
std::string fromCp932(std::string_view cp932);

// Splits decoded text into lines by the rule of readTextLines.
std::vector<std::string> splitLines(std::string_view text);

}  // namespace tavilo
