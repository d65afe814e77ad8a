#include "persistence/text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <system_error>

#include "calc/errors.h"
#include "platform/platform.h"
#include "platform/system_reason.h"
#include "platform/unicode.h"
#include "platform/utf8_path.h"
#include "text/utf8.h"

namespace tavilo {
namespace {

constexpr const char* kCp932 = "CP932";
constexpr const char* kUtf8 = "UTF-8";

std::string quoted(const std::filesystem::path& path) {
  return "「" + visibleName(utf8FromPath(path)) + "」";
}

std::string systemReason(int error) {
  return systemReasonText(error);
}

// A conversion of the platform, or the message that this system has none.
platform::Conversion available(std::optional<platform::Conversion> conversion, const char* from,
                               const char* to) {
  if (!conversion) {
    throw UserError(std::string("文字コード ") + from + " から " + to +
                    " への変換がこのシステムでは使えません。");
  }
  return std::move(*conversion);
}

platform::Conversion decodeCp932(std::string_view cp932) {
  return available(platform::cp932ToUtf8(cp932), kCp932, kUtf8);
}

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

enum class FileEncoding { kCp932, kUtf8, kUtf16Le, kUtf16Be };

struct Encoding {
  FileEncoding kind;
  const char* name;
  std::size_t bomLength;
  std::size_t unitLength;  // bytes shown when a sequence is invalid
};

Encoding detectEncoding(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF"))
    return {FileEncoding::kUtf8, kUtf8, 3, 1};
  if (bytes.starts_with("\xFF\xFE"))
    return {FileEncoding::kUtf16Le, "UTF-16LE", 2, 2};
  if (bytes.starts_with("\xFE\xFF"))
    return {FileEncoding::kUtf16Be, "UTF-16BE", 2, 2};
  return {FileEncoding::kCp932, kCp932, 0, 2};
}

// The file's text after its byte-order mark as UTF-8, up to the first
// sequence that is not valid in its encoding.
platform::Conversion decodeBody(std::string_view body, FileEncoding encoding) {
  switch (encoding) {
    case FileEncoding::kUtf8: {
      const auto badAt = firstMalformedUtf8(body);
      return {std::string(body.substr(0, badAt.value_or(body.size()))), badAt};
    }
    case FileEncoding::kUtf16Le:
    case FileEncoding::kUtf16Be: {
      auto decoded = utf16ToUtf8(body, encoding == FileEncoding::kUtf16Le);
      return {std::move(decoded.text), decoded.badAt};
    }
    case FileEncoding::kCp932:
      break;
  }
  return decodeCp932(body);
}

std::string sizeText(std::uintmax_t bytes) {
  std::string digits = std::to_string(bytes);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
    digits.insert(static_cast<std::size_t>(i), ",");
  return digits;
}

std::string readBytes(const std::filesystem::path& path, std::uintmax_t sizeLimit) {
  using Outcome = platform::FileContents::Outcome;
  platform::FileContents contents = platform::readRegularFile(path, sizeLimit);
  switch (contents.outcome) {
    case Outcome::kRead:
      break;
    case Outcome::kFailed:
      throw UserError("ファイル" + quoted(path) + "を開けません: " + systemReason(contents.error));
    case Outcome::kNotRegular:
      throw UserError("ファイル" + quoted(path) +
                      "を開けません: 通常のファイルではありません（デバイスや名前付きパイプなど"
                      "は読み込みません）");
    case Outcome::kTooLarge:
      throw UserError("ファイル" + quoted(path) + "は大きすぎるため読み込みません（" +
                      sizeText(contents.size) + " バイト、上限 " +
                      sizeText(sizeLimit / (1024 * 1024)) + " MiB）");
  }
  return std::move(contents.bytes);
}

// The code point starting at `at` in valid UTF-8, as "「c」(U+XXXX)".
std::string describeCharacter(std::string_view utf8, std::size_t at) {
  at = utf8CharacterStart(utf8, at);
  const auto character = decodeUtf8At(utf8, at);
  if (!character)  // cut off by the end, or malformed: its bytes
    return "(" + hexBytes(utf8, at, std::min<std::size_t>(utf8.size() - at, 4)) + ")";
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(character->code));
  return "「" + std::string(utf8.substr(at, character->length)) + "」(" + buffer + ")";
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
    auto result = available(platform::utf8ToCp932(utf8), kUtf8, kCp932);
    if (result.badAt)
      return {{}, result.badAt};
    encoded.bytes = std::move(result.text);
  }
  // Several characters are mapped one way only (U+301C to the code of U+FF5E,
  // U+00A5 to the backslash): reading the file back would give another text.
  const auto decoded = decodeCp932(encoded.bytes);
  if (!decoded.badAt && decoded.text == utf8)
    return encoded;
  std::size_t at = 0;
  while (at < utf8.size() && at < decoded.text.size() && utf8[at] == decoded.text[at])
    ++at;
  return {{}, std::min(at, utf8.empty() ? 0 : utf8.size() - 1)};
}

std::string cannotEncode(std::string_view utf8, std::size_t at) {
  // The conversion stops at the start of the bad sequence; a malformed UTF-8
  // byte is shown as bytes, anything else as the character.
  if (!decodeUtf8At(utf8, at)) {
    return "UTF-8 として不正なバイト (" + hexBytes(utf8, at, 1) + ") があります";
  }
  return "文字" + describeCharacter(utf8, at) + "は CP932 (Shift-JIS) で書けません";
}

std::filesystem::path resolveLink(const std::filesystem::path& target) {
  std::error_code code;
  if (!std::filesystem::is_symlink(target, code))
    return target;
  const auto resolved = std::filesystem::weakly_canonical(target, code);
  return code ? target : resolved;
}

// The file's text as UTF-8 after its byte-order mark; UserError naming the
// line of the first byte that is not valid in its encoding.
std::string decodeText(std::string_view bytes, const std::filesystem::path& path) {
  const Encoding encoding = detectEncoding(bytes);
  const std::string_view body = bytes.substr(encoding.bomLength);
  const auto decoded = decodeBody(body, encoding.kind);
  if (decoded.badAt) {
    const std::string shown =
        encoding.kind == FileEncoding::kCp932 ? "CP932 (Shift-JIS)" : encoding.name;
    throw UserError("ファイル" + quoted(path) + "の " +
                    std::to_string(lineNumberAfter(decoded.text)) + " 行目に " + shown +
                    " として読めないバイト (" +
                    hexBytes(body, *decoded.badAt, encoding.unitLength) + ") があります。");
  }
  return std::move(decoded.text);
}

}  // namespace

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  forEachLine(text, [&](std::string_view line, std::size_t) { lines.emplace_back(line); });
  return lines;
}

std::string fromCp932(std::string_view cp932) {
  auto result = decodeCp932(cp932);
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

std::vector<std::string> readTextLines(const std::filesystem::path& path,
                                       std::uintmax_t sizeLimit) {
  return decodeTextLines(readBytes(path, sizeLimit), path);
}

std::vector<std::string> decodeTextLines(std::string_view bytes,
                                         const std::filesystem::path& path) {
  return splitLines(decodeText(bytes, path));
}

std::string readText(const std::filesystem::path& path, std::uintmax_t sizeLimit) {
  return decodeText(readBytes(path, sizeLimit), path);
}

std::size_t forEachLine(std::string_view text,
                        const std::function<void(std::string_view, std::size_t)>& visit) {
  std::size_t count = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n')
      continue;
    visit(text.substr(start, i - start), count++);
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
      ++i;
    start = i + 1;
  }
  if (start < text.size())
    visit(text.substr(start), count++);
  return count;
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
  if (const auto refusal = unwritableTarget(path)) {
    throw UserError("ファイル" + quoted(path) + "に書き込めません: " + *refusal +
                    "。元のファイルは変更していません。");
  }
  if (const int error = platform::replaceFile(resolveLink(path), bytes, beforeRename); error != 0)
    fail(error);
}

std::optional<std::string> unwritableTarget(const std::filesystem::path& path) {
  switch (platform::fileKind(path)) {
    case platform::FileKind::kFolder:
      return systemReasonText(EISDIR);
    case platform::FileKind::kOther:
      return "通常のファイルではありません（デバイスや名前付きパイプなどには書き込みません）";
    case platform::FileKind::kMissing:
    case platform::FileKind::kRegular:
      break;
  }
  if (platform::isStandardStream(path))
    return "このプログラムの標準入出力につながっているファイルです";
  return std::nullopt;
}

}  // namespace tavilo
