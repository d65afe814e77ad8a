// The address under which the launcher opens the offline page: the page's
// file as a file: URL, and the project handed to it in the fragment, which
// the page reads once and then removes from the address bar.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace tavilo::launcher {

// A browser's command line holds at most 32,767 characters; the address
// stays well below that, with room for the browser's path and options.
inline constexpr std::size_t kMaxPageUrlLength = 30000;

// RFC 4648 base64url without padding.
std::string base64Url(std::span<const unsigned char> bytes);

// Percent-encodes every byte of UTF-8 text but letters, digits and "-._~"
// and the characters listed in `keep`.
std::string percentEncoded(std::string_view utf8, std::string_view keep = {});

// "file:///C:/Program%20Files/Tavilo/tavilo.html" from a Windows path in
// UTF-8 ("C:\Program Files\Tavilo\tavilo.html", or "\\server\share\…").
std::string fileUrl(std::string_view windowsPath);

// What the launcher hands the page about the project it was started on.
enum class ProjectState { Read, TooLarge, Unreadable };

// The page's address with the project: "#project=<base64url>&name=<name>",
// or "#project-too-large&name=<name>" when that would not fit in a command
// line, or "#project-unreadable&name=<name>" when the file could not be read.
// `fileName` is the file's name without its folder, in UTF-8.
std::string pageUrlWithProject(std::string_view pageUrl, std::string_view fileName,
                               std::span<const unsigned char> bytes, ProjectState state);

}  // namespace tavilo::launcher
