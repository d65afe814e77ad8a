#pragma once
// The one crossing between UTF-8 text and std::filesystem::path. Inside the
// program every text is UTF-8; a path holds the system's own form (bytes on
// POSIX, UTF-16 on Windows), so the narrow-encoding conversions of
// std::filesystem (string(), path(std::string)), which are the ANSI code
// page on Windows, are never used.

#include <filesystem>
#include <string>
#include <string_view>

namespace tavilo {

// The path named by UTF-8 text. On POSIX the bytes are kept as they are; on
// Windows a byte sequence that is not UTF-8 becomes U+FFFD; under Node.js
// such a byte is kept through an escape that only the file system undoes.
std::filesystem::path pathFromUtf8(std::string_view utf8);

// The path's name as UTF-8 text.
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace tavilo
