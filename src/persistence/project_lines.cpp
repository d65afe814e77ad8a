#include "persistence/project_lines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "calc/errors.h"
#include "calc/numbers.h"

namespace tavilo {
namespace {

// How one line of the version-less layout is made from a legacy file.
enum class Rule {
  Copy,         // the legacy value unchanged
  SwapZeroOne,  // "0" and "1" exchanged
  Times10,      // integer × 10
  Decimal,      // decimal number in shortest form
  RoofCode,     // "0" gives "3", else integer (1 when not a number) + 4
  Plus,         // integer (0 when not a number) + offset
  Constant,
};

struct LegacyLine {
  Rule rule;
  int source;  // legacy line, -1 for a constant
  int offset;  // Plus only
  std::string_view constant;
};

constexpr LegacyLine copy(int source) {
  return {Rule::Copy, source, 0, {}};
}
constexpr LegacyLine times10(int source) {
  return {Rule::Times10, source, 0, {}};
}
constexpr LegacyLine decimal(int source) {
  return {Rule::Decimal, source, 0, {}};
}
constexpr LegacyLine plus(int source, int offset) {
  return {Rule::Plus, source, offset, {}};
}
constexpr LegacyLine constant(std::string_view text) {
  return {Rule::Constant, -1, 0, text};
}

constexpr std::array<LegacyLine, kConvertedLineCount> kLegacyLines = {{
    copy(3),
    {Rule::SwapZeroOne, 4, 0, {}},
    copy(5),
    copy(6),
    copy(20),
    copy(19),
    times10(23),
    times10(24),
    times10(25),
    {Rule::RoofCode, 22, 0, {}},
    plus(17, 7),
    plus(18, 10),
    plus(11, 1),
    constant("0"),
    constant("--"),
    copy(14),
    decimal(12),
    constant("--"),
    copy(13),
    copy(10),
    constant("0"),
    copy(9),
    copy(26),
    copy(39),
    copy(40),
    copy(41),
    copy(42),
    copy(0),
    constant("21"),
    constant("0"),
    constant("1"),
    constant("1"),
    constant("12000"),
    constant("235"),
    // The legacy layout held no ordinary-site ratios: their defaults.
    constant("1"),
    constant("1"),
    constant("0"),
    constant("1"),
    constant("1"),
    constant("1"),
    constant("0"),
    constant("1"),
    constant("1"),
    constant("0"),
    constant("1"),
    // Heavy-snow ratios: one legacy value gives both G and P of a row.
    decimal(61),
    decimal(61),
    decimal(63),
    decimal(65),
    decimal(65),
    decimal(67),
    decimal(68),
    decimal(69),
    decimal(69),
    decimal(71),
    decimal(72),
}};

const std::string& emptyLine() {
  static const std::string kEmpty;
  return kEmpty;
}

// The item that a line of the version-less layout holds.
ProjectItem versionlessItem(int line) {
  if (line == 0)
    return ProjectItem::DeckType;
  if (line == 1)
    return ProjectItem::EndJoint;
  return static_cast<ProjectItem>(line + 2);
}

// The value of a legacy line: the text after the first "=", or the whole
// line when it has none; a line beyond the end reads as "".
std::string legacyValue(const std::vector<std::string>& lines, int line) {
  if (line < 0 || static_cast<std::size_t>(line) >= lines.size())
    return {};
  const std::string& text = lines[static_cast<std::size_t>(line)];
  const std::size_t equals = text.find('=');
  return equals == std::string::npos ? text : text.substr(equals + 1);
}

std::string fileQuoted(std::string_view label) {
  return "データファイル「" + visibleName(label) + "」";
}

// "の値「x」は<complaint>。", or "に値がありません。" for an empty line.
std::string valueComplaint(std::string_view value, std::string_view complaint) {
  if (value.empty())
    return "に値がありません。";
  return "の値「" + echoedValue(value) + "」は" + std::string(complaint) + "。";
}

// Why a ratio text cannot stand in the settings dialog's field, which takes
// digits and a point, eight characters at the most.
enum class RatioFault {
  None,
  NotANumber,
  OutOfRange,  // written as a decimal, but beyond what a double holds (1e-401)
  Negative,    // "-0" too: the field cannot hold a sign
  TooLong,     // more than eight digits before the point
};

constexpr double kLargestRatio = 99999999;

RatioFault ratioFault(std::string_view text) {
  if (!isDecimalText(text))
    return RatioFault::NotANumber;
  const auto value = parseDecimal(text);
  if (!value)
    return RatioFault::OutOfRange;
  if (std::signbit(*value))
    return RatioFault::Negative;
  if (*value > kLargestRatio)
    return RatioFault::TooLong;
  return RatioFault::None;
}

[[noreturn]] void throwLegacyNotNumber(std::string_view fileLabel, int convertedLine,
                                       int sourceLine, std::string_view value) {
  throw UserError(fileQuoted(fileLabel) + "（旧形式）の " + std::to_string(sourceLine + 1) +
                  " 行目（" + projectItemName(versionlessItem(convertedLine)) + "）" +
                  valueComplaint(value, "数値ではありません") +
                  "旧形式から変換できないため、読込みを中止しました。");
}

std::string convertLine(const LegacyLine& rule, int convertedLine,
                        const std::vector<std::string>& lines, std::string_view fileLabel) {
  if (rule.rule == Rule::Constant)
    return std::string(rule.constant);
  const std::string value = legacyValue(lines, rule.source);
  switch (rule.rule) {
    case Rule::Copy:
      return value;
    case Rule::SwapZeroOne:
      return value == "0" ? "1" : value == "1" ? "0" : value;
    case Rule::Times10: {
      const auto number = parseInteger(value);
      if (!number)
        throwLegacyNotNumber(fileLabel, convertedLine, rule.source, value);
      return std::to_string(static_cast<long long>(*number) * 10);
    }
    case Rule::Decimal: {
      const auto number = parseDecimal(value);
      if (!number)
        throwLegacyNotNumber(fileLabel, convertedLine, rule.source, value);
      return shortestDecimal(*number);
    }
    case Rule::RoofCode:
      if (value == "0")
        return "3";
      return std::to_string(static_cast<long long>(parseInteger(value).value_or(1)) + 4);
    case Rule::Plus:
      return std::to_string(static_cast<long long>(parseInteger(value).value_or(0)) + rule.offset);
    case Rule::Constant:
      break;
  }
  return std::string(rule.constant);
}

}  // namespace

std::string projectItemName(ProjectItem item) {
  const int line = lineOf(item);
  if (line < 0 || line >= kProjectLineCount)
    return {};
  const ProjectItemRun& run = projectItemRun(item);
  if (run.count == 1)
    return std::string(run.name);
  return std::string(run.name) + " " + std::to_string(line - lineOf(run.first) + 1);
}

ProjectLayout projectLayoutOf(std::string_view firstLine) {
  return firstLine == kProjectVersion || firstLine == kOlderProjectVersion
             ? ProjectLayout::Current
             : ProjectLayout::Versionless;
}

bool isLegacyProject(const std::vector<std::string>& lines) {
  return !lines.empty() && lines.front().find(kLegacyMarker) != std::string::npos;
}

std::vector<std::string> convertLegacyProject(const std::vector<std::string>& lines,
                                              std::string_view fileLabel) {
  std::vector<std::string> converted;
  converted.reserve(kLegacyLines.size());
  for (std::size_t i = 0; i < kLegacyLines.size(); ++i) {
    converted.push_back(convertLine(kLegacyLines[i], static_cast<int>(i), lines, fileLabel));
  }
  return converted;
}

void requireProjectFile(const std::vector<std::string>& lines, std::string_view fileLabel) {
  const bool blank = std::all_of(lines.begin(), lines.end(), [](const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
  });
  if (blank) {
    throw UserError(fileQuoted(fileLabel) +
                    "は空です。保存したデータファイル（*.tvl）を指定して下さい。");
  }
  // Every layout begins with a number (the version or the deck type) or, in
  // the legacy layout, with the project name entry.
  const std::string& first = lines.front();
  if (isLegacyProject(lines) || parseInteger(first))
    return;
  throw UserError(fileQuoted(fileLabel) +
                  "はこのプログラムのデータファイルではありません（1 行目「" + echoedValue(first) +
                  "」）。保存したデータファイル（*.tvl）を指定して下さい。");
}

int legacySourceLine(int convertedLine) {
  if (convertedLine < 0 || convertedLine >= kConvertedLineCount)
    return -1;
  return kLegacyLines[static_cast<std::size_t>(convertedLine)].source;
}

ProjectReader::ProjectReader(std::vector<std::string> fileLines, std::string fileLabel)
    : lines_(std::move(fileLines)), fileLabel_(std::move(fileLabel)) {
  if (isLegacyProject(lines_)) {
    lines_ = convertLegacyProject(lines_, fileLabel_);
    converted_ = true;
  }
  layout_ = projectLayoutOf(lines_.empty() ? std::string_view() : lines_.front());
}

int ProjectReader::lineIndexOf(ProjectItem item) const {
  const int line = lineOf(item);
  if (layout_ == ProjectLayout::Current)
    return line;
  switch (item) {
    case ProjectItem::Version:
      return -1;
    case ProjectItem::DeckType:
      return 0;
    case ProjectItem::EndJoint:
    case ProjectItem::MidJoint:
      return 1;
    default:
      return line - 2;
  }
}

const std::string& ProjectReader::text(ProjectItem item) const {
  const int line = lineIndexOf(item);
  if (line < 0 || static_cast<std::size_t>(line) >= lines_.size())
    return emptyLine();
  return lines_[static_cast<std::size_t>(line)];
}

int ProjectReader::indexOr(ProjectItem item, int fallback) const {
  return parseInteger(text(item)).value_or(fallback);
}

int ProjectReader::integer(ProjectItem item) const {
  const auto value = parseInteger(text(item));
  if (!value) {
    throw UserError(where(item) + valueComplaint(text(item), "整数ではありません") +
                    "この行で読込みを中止しました。");
  }
  return *value;
}

std::optional<double> ProjectReader::decimal(ProjectItem item) const {
  return parseDecimal(text(item));
}

void ProjectReader::throwOutsideList(ProjectItem item) const {
  throw UserError(where(item) + valueComplaint(text(item), "選択肢にありません") +
                  "この行で読込みを中止しました。");
}

std::optional<double> ProjectReader::ratio(ProjectItem item) const {
  if (ratioFault(text(item)) != RatioFault::None)
    return std::nullopt;
  return parseDecimal(text(item));
}

std::string ProjectReader::ratioMessage(ProjectItem item, std::string_view defaultText) const {
  const std::string& value = text(item);
  const RatioFault fault = ratioFault(value);
  const bool conversion = fault == RatioFault::NotANumber || fault == RatioFault::OutOfRange;
  std::string_view complaint = "数値ではありません";
  if (fault == RatioFault::OutOfRange)
    complaint = "比率として扱える範囲の小数ではありません";
  else if (fault == RatioFault::Negative)
    complaint = "負の値です。比率は 0 以上の数値です";
  else if (fault == RatioFault::TooLong)
    complaint = "比率の欄（8 桁）に入りきりません";
  return std::string(conversion ? "数値変換エラー" : "荷重の比率エラー") + "\n" + where(item) +
         valueComplaint(value, complaint) + "初期値 " + std::string(defaultText) + " とします。";
}

std::string ProjectReader::source(ProjectItem item) const {
  const int line = lineIndexOf(item);
  int fileLine = line;
  std::string layoutNote;
  if (converted_) {
    layoutNote = "（旧形式）";
    if (const int legacyLine = legacySourceLine(line); legacyLine >= 0)
      fileLine = legacyLine;
  }
  return fileQuoted(fileLabel_) + layoutNote + "の " + std::to_string(fileLine + 1) + " 行目";
}

std::string ProjectReader::where(ProjectItem item) const {
  return source(item) + "（" + projectItemName(item) + "）";
}

}  // namespace tavilo
