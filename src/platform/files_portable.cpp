// The files the user names on a system without POSIX calls (Windows, the
// browser's file system): what std::filesystem tells is enough there. A
// standard stream cannot be told apart from a file by its path.

#include <cerrno>
#include <fstream>
#include <system_error>

#include "platform/platform.h"

namespace tavilo::platform {
namespace {

namespace fs = std::filesystem;

FileContents failedRead(int error) {
  FileContents contents;
  contents.outcome = FileContents::Outcome::kFailed;
  contents.error = error;
  return contents;
}

}  // namespace

FileKind fileKind(const fs::path& path) {
  std::error_code code;
  const fs::file_status status = fs::status(path, code);
  switch (status.type()) {
    case fs::file_type::not_found:
      return FileKind::kMissing;
    case fs::file_type::regular:
      return FileKind::kRegular;
    case fs::file_type::directory:
      return FileKind::kFolder;
    default:
      return code ? FileKind::kMissing : FileKind::kOther;
  }
}

bool isStandardStream(const fs::path&) {
  return false;
}

FileContents readRegularFile(const fs::path& path, std::uintmax_t limit) {
  switch (fileKind(path)) {
    case FileKind::kMissing:
      return failedRead(ENOENT);
    case FileKind::kFolder:
      return failedRead(EISDIR);
    case FileKind::kOther: {
      FileContents contents;
      contents.outcome = FileContents::Outcome::kNotRegular;
      return contents;
    }
    case FileKind::kRegular:
      break;
  }
  std::error_code code;
  const std::uintmax_t size = fs::file_size(path, code);
  FileContents contents;
  if (!code && size > limit) {
    contents.outcome = FileContents::Outcome::kTooLarge;
    contents.size = size;
    return contents;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file)
    return failedRead(EACCES);
  // Read in pieces up to one byte beyond the limit: the file may grow.
  std::string& bytes = contents.bytes;
  char piece[65536];
  while (bytes.size() <= limit && file.read(piece, sizeof piece).gcount() > 0)
    bytes.append(piece, static_cast<std::size_t>(file.gcount()));
  if (file.bad())
    return failedRead(EIO);
  if (bytes.size() > limit) {
    contents.outcome = FileContents::Outcome::kTooLarge;
    contents.size = bytes.size();
    contents.bytes.clear();
  }
  return contents;
}

}  // namespace tavilo::platform
