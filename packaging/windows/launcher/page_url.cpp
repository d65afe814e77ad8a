#include "page_url.h"

#include <array>

namespace tavilo::launcher {

std::string base64Url(std::span<const unsigned char> bytes) {
  constexpr std::string_view alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
  std::string text;
  text.reserve((bytes.size() * 4 + 2) / 3);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const unsigned group = (bytes[i] << 16U) | (bytes[i + 1] << 8U) | bytes[i + 2];
    for (const unsigned shift : {18U, 12U, 6U, 0U})
      text += alphabet[(group >> shift) & 0x3FU];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest > 0) {
    unsigned group = bytes[i] << 16U;
    if (rest == 2)
      group |= bytes[i + 1] << 8U;
    text += alphabet[(group >> 18U) & 0x3FU];
    text += alphabet[(group >> 12U) & 0x3FU];
    if (rest == 2)
      text += alphabet[(group >> 6U) & 0x3FU];
  }
  return text;
}

std::string percentEncoded(std::string_view utf8, std::string_view keep) {
  constexpr std::string_view hex = "0123456789ABCDEF";
  std::string text;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                       (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' ||
                       c == '~' || keep.find(c) != std::string_view::npos;
    if (plain) {
      text += c;
    } else {
      text += '%';
      text += hex[byte >> 4U];
      text += hex[byte & 0xFU];
    }
  }
  return text;
}

std::string fileUrl(std::string_view windowsPath) {
  std::string path(windowsPath);
  for (char& c : path) {
    if (c == '\\')
      c = '/';
  }
  // A share (//server/share/…) keeps its server as the URL's host.
  if (path.starts_with("//"))
    return "file:" + percentEncoded(path, "/:");
  return "file:///" + percentEncoded(path, "/:");
}

std::string pageUrlWithProject(std::string_view pageUrl, std::string_view fileName,
                               std::span<const unsigned char> bytes, ProjectState state) {
  const std::string name = "&name=" + percentEncoded(fileName);
  const std::string base(pageUrl);
  if (state == ProjectState::Unreadable)
    return base + "#project-unreadable" + name;
  const std::size_t encodedLength = (bytes.size() * 4 + 2) / 3;
  const std::size_t length =
      base.size() + std::string_view("#project=").size() + encodedLength + name.size();
  if (state == ProjectState::TooLarge || length > kMaxPageUrlLength) {
    return base + "#project-too-large" + name;
  }
  return base + "#project=" + base64Url(bytes) + name;
}

}  // namespace tavilo::launcher
