#include "location/location_tables.h"

#include <algorithm>
#include <array>
#include <utility>

#include "calc/errors.h"
#include "calc/numbers.h"
#include "persistence/text_file.h"
#include "platform/utf8_path.h"

namespace tavilo {
namespace {

// Outside quotes a blank or a control character (codes 1 to 32) ends a field.
bool endsField(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= 1 && code <= 32;
}

// A field holding one of these is quoted when the fields are joined again.
bool needsQuotes(char c) {
  return static_cast<unsigned char>(c) <= 32 || c == ',' || c == '"';
}

// Reads the quoted field starting at `pos` (on the opening quote) and leaves
// `pos` behind the closing quote; an unclosed quote runs to the end.
std::string readQuoted(std::string_view line, std::size_t& pos) {
  std::string value;
  ++pos;
  while (pos < line.size()) {
    const std::size_t quote = line.find('"', pos);
    if (quote == std::string_view::npos) {
      value += line.substr(pos);
      pos = line.size();
      break;
    }
    value += line.substr(pos, quote - pos);
    pos = quote + 1;
    if (pos < line.size() && line[pos] == '"') {
      value += '"';
      ++pos;
      continue;
    }
    break;
  }
  return value;
}

constexpr std::size_t kAddressFieldCount = 9;
constexpr std::size_t kSnowFieldCount = 5;

constexpr std::array<std::string_view, kAddressFieldCount> kAddressFieldNames = {
    "番号", "よみ", "都道府県", "地区", "積雪区域", "風荷重V0", "標高", "積雪量", "細則フラグ"};
constexpr std::array<std::string_view, kSnowFieldCount> kSnowFieldNames = {"積雪区域", "α", "β",
                                                                           "γ", "R"};

// Where a table line is, for the messages of a malformed table.
struct LineRef {
  const std::filesystem::path& file;
  std::size_t index;  // 0-based; shown 1-based

  [[noreturn]] void fail(const std::string& what) const {
    throw UserError("ファイル「" + visibleName(utf8FromPath(file)) + "」の " +
                    std::to_string(index + 1) + " 行目: " + what);
  }

  void requireFields(const std::vector<std::string>& fields, std::size_t count) const {
    if (fields.size() >= count)
      return;
    fail("項目が " + std::to_string(fields.size()) + " 個しかありません（" + std::to_string(count) +
         " 個必要です）。");
  }

  std::string fieldLabel(std::size_t field, std::string_view name) const {
    return std::to_string(field + 1) + " 列目（" + std::string(name) + "）";
  }

  int integer(const std::vector<std::string>& fields, std::size_t field,
              std::string_view name) const {
    if (const auto value = parseInteger(fields[field]))
      return *value;
    fail(fieldLabel(field, name) + "が整数ではありません: 「" + echoedValue(fields[field]) + "」");
  }

  double decimal(const std::vector<std::string>& fields, std::size_t field,
                 std::string_view name) const {
    if (const auto value = parseDecimal(fields[field]))
      return *value;
    fail(fieldLabel(field, name) + "が数値ではありません: 「" + echoedValue(fields[field]) + "」");
  }

  // A number outside [low, high] is a malformed table too: the calculation
  // would overflow on it.
  template <typename T>
  T within(T value, const std::vector<std::string>& fields, std::size_t field,
           std::string_view name, double low, double high) const {
    if (value >= low && value <= high)
      return value;
    fail(fieldLabel(field, name) + "の値「" + echoedValue(fields[field]) + "」が範囲（" +
         shortestDecimal(low) + "～" + shortestDecimal(high) + "）の外です。");
  }
};

// Bounds of the table values the calculation computes with. V0 in m/s; α in
// m per m of altitude, β in m per percent of sea ratio (× 0.01), γ in m.
constexpr double kMaxWindSpeed = 100;
// The value of the local-rule column of a district with snow rules of its own.
constexpr int kLocalSnowRulesMark = 9;
constexpr double kMaxAlpha = 1;
constexpr double kMaxBeta = 100;
constexpr double kMaxGamma = 100;

SiteData siteDataOf(const std::vector<std::string>& fields, const LineRef& where) {
  const auto field = [&](std::size_t i) { return where.integer(fields, i, kAddressFieldNames[i]); };
  SiteData site;
  site.snowRegion = field(4);
  site.windSpeedV0 = where.within(field(5), fields, 5, kAddressFieldNames[5], 0, kMaxWindSpeed);
  site.altitude = field(6);
  site.snowDepth = field(7);
  site.hasLocalSnowRules = field(8) == kLocalSnowRulesMark;
  return site;
}

// The fields of an address line when it belongs to the prefecture: its row
// text, all fields re-joined, contains the name anywhere.
std::optional<std::vector<std::string>> prefectureFields(std::string_view line,
                                                         std::string_view prefectureName,
                                                         const LineRef& where) {
  if (prefectureName.empty())
    return std::nullopt;
  auto fields = splitFields(line);
  if (joinFields(fields).find(prefectureName) == std::string::npos)
    return std::nullopt;
  where.requireFields(fields, kAddressFieldCount);
  return fields;
}

// The marker stands as a field of its own in the first line, which is never
// data: a header holds no prefecture name, and line 0 of the snow table is skipped.
bool markedAsSample(std::string_view firstLine) {
  const std::vector<std::string> fields = splitFields(firstLine);
  return std::find(fields.begin(), fields.end(), kSampleDataMarker) != fields.end();
}

// Whether a line can belong to any prefecture: it names one somewhere. Every
// name is Japanese, so a line of ASCII alone names none.
bool namesAPrefecture(std::string_view line) {
  if (std::all_of(line.begin(), line.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return false;
  return std::any_of(kPrefectures.begin(), kPrefectures.end(), [&](std::string_view name) {
    return line.find(name) != std::string_view::npos;
  });
}

// The reference wind speeds V0 of the notice lie between these (m/s).
constexpr int kLowestNoticeWindSpeed = 30;
constexpr int kHighestNoticeWindSpeed = 46;
// Lines of doubtful V0 named in the warning; the rest are counted.
constexpr std::size_t kNamedWarningLines = 3;

// A line whose V0 is an integer outside the values of the notice: "N 行目「V」".
std::optional<std::string> doubtfulWindSpeed(std::string_view line, std::size_t index) {
  const std::vector<std::string> fields = splitFields(line);
  if (fields.size() < kAddressFieldCount)
    return std::nullopt;  // a malformed line: refused when it is used
  const auto v0 = parseInteger(fields[5]);
  if (!v0 || (*v0 >= kLowestNoticeWindSpeed && *v0 <= kHighestNoticeWindSpeed))
    return std::nullopt;
  return std::to_string(index + 1) + " 行目「" + echoedValue(fields[5]) + "」";
}

std::string windSpeedWarning(const std::filesystem::path& file,
                             const std::vector<std::string>& doubtful, std::size_t count) {
  if (count == 0)
    return {};
  std::string lines;
  for (const std::string& each : doubtful)
    lines += (lines.empty() ? "" : "、") + each;
  if (count > doubtful.size())
    lines += "ほか " + std::to_string(count - doubtful.size()) + " 行";
  return "ファイル「" + visibleName(utf8FromPath(file)) + "」の" +
         std::string(kAddressFieldNames[5]) + "（基準風速 m/s）が告示の値（" +
         std::to_string(kLowestNoticeWindSpeed) + "～" + std::to_string(kHighestNoticeWindSpeed) +
         "）の外です: " + lines + "。表の値をそのまま使います。所在地データを確認して下さい。";
}

}  // namespace

std::vector<std::string> splitFields(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t pos = 0;
  const auto skipBlanks = [&] {
    while (pos < line.size() && endsField(line[pos]))
      ++pos;
  };
  skipBlanks();
  while (pos < line.size()) {
    if (line[pos] == '"') {
      fields.push_back(readQuoted(line, pos));
    } else {
      const std::size_t start = pos;
      while (pos < line.size() && !endsField(line[pos]) && line[pos] != ',')
        ++pos;
      fields.emplace_back(line.substr(start, pos - start));
    }
    skipBlanks();
    if (pos < line.size() && line[pos] == ',') {
      if (pos + 1 == line.size())
        fields.emplace_back();
      ++pos;
      skipBlanks();
    }
  }
  return fields;
}

std::string joinFields(const std::vector<std::string>& fields) {
  std::string text;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0)
      text += ',';
    const std::string& field = fields[i];
    const bool quote = std::any_of(field.begin(), field.end(), needsQuotes);
    if (!quote) {
      text += field;
      continue;
    }
    text += '"';
    for (const char c : field) {
      if (c == '"')
        text += '"';
      text += c;
    }
    text += '"';
  }
  return text;
}

LocationTables::LocationTables(std::filesystem::path dataDir) : dataDir_(std::move(dataDir)) {}

std::filesystem::path LocationTables::addressPath() const {
  return dataDir_ / kAddressFileName;
}

std::filesystem::path LocationTables::snowPath() const {
  return dataDir_ / kSnowCoefficientFileName;
}

bool LocationTables::addressTableIsSample() const {
  const auto& lines = address_.lines;
  return !lines.empty() && lines.front().index == 0 &&
         markedAsSample(address_.textOf(lines.front()));
}

bool LocationTables::snowCoefficientTableIsSample() const {
  return !snow_.lines.empty() && markedAsSample(snow_.lines.front());
}

DistrictList LocationTables::loadAddressTable() {
  const auto file = addressPath();
  AddressTable table;
  table.text = readText(file);
  std::vector<std::string> doubtful;
  std::size_t doubtfulCount = 0;
  table.lineCount = forEachLine(table.text, [&](std::string_view line, std::size_t index) {
    const bool prefectureLine = namesAPrefecture(line);
    if (index != 0 && !prefectureLine)
      return;  // never a district of any prefecture
    const auto start = static_cast<std::size_t>(line.data() - table.text.data());
    table.lines.push_back(
        {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(line.size()), index});
    if (!prefectureLine)
      return;
    if (auto v0 = doubtfulWindSpeed(line, index)) {
      if (++doubtfulCount <= kNamedWarningLines)
        doubtful.push_back(std::move(*v0));
    }
  });
  table.lines.shrink_to_fit();
  address_ = std::move(table);
  addressWarning_ = windSpeedWarning(file, doubtful, doubtfulCount);
  return districtsOfPrefecture(kPrefectures.front());
}

DistrictList LocationTables::districtsOfPrefecture(std::string_view prefectureName) const {
  const auto file = addressPath();
  DistrictList result;
  for (const AddressTable::Line& line : address_.lines) {
    const LineRef where{file, line.index};
    const auto fields = prefectureFields(address_.textOf(line), prefectureName, where);
    if (!fields)
      continue;
    if (!result.first)
      result.first = siteDataOf(*fields, where);
    result.districts.push_back((*fields)[3]);
  }
  return result;
}

std::optional<SiteData> LocationTables::lookupDistrict(std::string_view prefectureName,
                                                       std::string_view districtName) const {
  const auto file = addressPath();
  std::optional<SiteData> site;
  for (const AddressTable::Line& line : address_.lines) {
    const LineRef where{file, line.index};
    const auto fields = prefectureFields(address_.textOf(line), prefectureName, where);
    if (!fields || (*fields)[3] != districtName)
      continue;
    site = siteDataOf(*fields, where);  // a later match overrides an earlier one
  }
  return site;
}

std::optional<SnowCoefficients> LocationTables::loadSnowCoefficients(int snowRegion) {
  snow_.lines = readTextLines(snowPath());
  return lookupSnowCoefficients(snowRegion);
}

std::optional<SnowCoefficients> LocationTables::lookupSnowCoefficients(int snowRegion) const {
  const auto file = snowPath();
  std::optional<SnowCoefficients> found;
  // Line 0 is the header, never data.
  for (std::size_t i = 1; i < snow_.lines.size(); ++i) {
    const auto fields = splitFields(snow_.lines[i]);
    const LineRef where{file, i};
    where.requireFields(fields, 1);  // every line holds its region, a blank one too
    if (where.integer(fields, 0, kSnowFieldNames[0]) != snowRegion)
      continue;
    where.requireFields(fields, kSnowFieldCount);
    SnowCoefficients coefficients;
    const auto coefficient = [&](std::size_t i, double bound) {
      return where.within(where.decimal(fields, i, kSnowFieldNames[i]), fields, i,
                          kSnowFieldNames[i], -bound, bound);
    };
    coefficients.alpha = coefficient(1, kMaxAlpha);
    coefficients.beta = coefficient(2, kMaxBeta);
    coefficients.gamma = coefficient(3, kMaxGamma);
    coefficients.radiusR = where.integer(fields, 4, kSnowFieldNames[4]);
    found = coefficients;  // the scan goes on: the last matching line wins
  }
  return found;
}

}  // namespace tavilo
