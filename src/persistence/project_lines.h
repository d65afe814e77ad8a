#pragma once
// The project data file at the level of its lines: which item stands on which
// line in each layout, the conversion of the legacy keyed layout, and a reader
// that hands out the items with the defaults and the stop rules of loading.
// The input screen applies the items (model/project_file.h); nothing here
// knows the screen.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calc/design_conditions.h"
#include "calc/load_case_rows.h"

namespace tavilo {

// Items of the current layout; the value is the line number in that layout.
enum class ProjectItem {
  Version = 0,
  DeckType,
  EndJoint,
  MidJoint,
  Prefecture,
  District,
  WindSpeedV0,
  Roughness,
  EavesHeightH1,
  BuildingHeightH2,
  SpanDirectionLengthD,
  RoofType,
  BuildingShape,
  RoofShape,
  SnowMode,
  SnowDepthReference,
  AltitudeReference,
  Altitude,
  SeaRatio,
  RadiusR,
  SnowDepth,
  SnowUnitWeight,
  LiveLoad,
  FinishingLoad,
  SpanCount,
  Span1,  // followed by the other spans
  ProjectTitle = Span1 + kMaxSpans,
  PageNumberPosition,
  PageNumberStyle,
  FirstPageNumber,
  ReservedFlag,
  MaxDeckLength,
  DesignStrengthF,
  Ratio1,  // followed by the other load ratios
  CalcMethod = Ratio1 + kLoadRatioCount,
  WindPositive,
  WindNegative,
  DirectSnowLoad,
  SurfaceTreatment,
  UnitWeight,
  OverhangArrangement,
  LeftOverhang,
  RightOverhang,
};

constexpr int lineOf(ProjectItem item) {
  return static_cast<int>(item);
}

// Lines written by a save: one per item.
inline constexpr int kProjectLineCount = lineOf(ProjectItem::RightOverhang) + 1;
static_assert(kProjectLineCount == 67, "stored files hold 67 lines");
inline constexpr int kConvertedLineCount = 56;
// A file with more lines than this carries the surface treatment, the unit
// weight and the overhangs.
inline constexpr int kShortProjectLineCount = 60;
// The largest project file read: a saved project is about 1 KB.
inline constexpr std::uintmax_t kProjectFileSizeLimit = 16 * 1024 * 1024;

inline constexpr std::string_view kProjectVersion = "500";
inline constexpr std::string_view kOlderProjectVersion = "401";  // read like "500"
inline constexpr std::string_view kLegacyMarker = "物件名称";
inline constexpr std::string_view kReservedFlag = "1";

// Span n (1 to 4).
constexpr ProjectItem spanItem(int n) {
  return static_cast<ProjectItem>(lineOf(ProjectItem::Span1) + n - 1);
}
// Load ratio at 0-based position i.
constexpr ProjectItem ratioItem(int i) {
  return static_cast<ProjectItem>(lineOf(ProjectItem::Ratio1) + i);
}

// The current layout as runs of lines: one item, or the spans or the load
// ratios, which messages number from 1 ("スパン 1" …). Every item has its
// run, in the order of the file, and a save writes and a load applies them in
// this order (model/project_file.cpp binds each run to the screen).
struct ProjectItemRun {
  ProjectItem first;
  int count;
  std::string_view name;  // as messages name the item
};
inline constexpr auto kProjectLayout = std::to_array<ProjectItemRun>({
    {ProjectItem::Version, 1, "版数"},
    {ProjectItem::DeckType, 1, "デッキ種類"},
    {ProjectItem::EndJoint, 1, "梁との接合 端部"},
    {ProjectItem::MidJoint, 1, "梁との接合 中間部"},
    {ProjectItem::Prefecture, 1, "都道府県"},
    {ProjectItem::District, 1, "地域"},
    {ProjectItem::WindSpeedV0, 1, "平均風速 V0"},
    {ProjectItem::Roughness, 1, "粗度区分"},
    {ProjectItem::EavesHeightH1, 1, "軒の高さ H1"},
    {ProjectItem::BuildingHeightH2, 1, "建物の高さ H2"},
    {ProjectItem::SpanDirectionLengthD, 1, "張り間方向の長さ D"},
    {ProjectItem::RoofType, 1, "屋根の種類"},
    {ProjectItem::BuildingShape, 1, "建物の形状"},
    {ProjectItem::RoofShape, 1, "屋根の形状"},
    {ProjectItem::SnowMode, 1, "垂直積雪量の算定法"},
    {ProjectItem::SnowDepthReference, 1, "垂直積雪量の参考値"},
    {ProjectItem::AltitudeReference, 1, "標高参考値"},
    {ProjectItem::Altitude, 1, "標高"},
    {ProjectItem::SeaRatio, 1, "海率"},
    {ProjectItem::RadiusR, 1, "海率計算用半径 R"},
    {ProjectItem::SnowDepth, 1, "垂直積雪量"},
    {ProjectItem::SnowUnitWeight, 1, "積雪の単位量ρ"},
    {ProjectItem::LiveLoad, 1, "積載荷重"},
    {ProjectItem::FinishingLoad, 1, "仕上げ荷重"},
    {ProjectItem::SpanCount, 1, "スパン数"},
    {ProjectItem::Span1, kMaxSpans, "スパン"},
    {ProjectItem::ProjectTitle, 1, "物件名"},
    {ProjectItem::PageNumberPosition, 1, "ページ番号の位置"},
    {ProjectItem::PageNumberStyle, 1, "ページ番号の書式"},
    {ProjectItem::FirstPageNumber, 1, "開始ページ番号"},
    {ProjectItem::ReservedFlag, 1, "予備"},
    {ProjectItem::MaxDeckLength, 1, "デッキプレート最大長さ"},
    {ProjectItem::DesignStrengthF, 1, "設計基準強度 F"},
    {ProjectItem::Ratio1, kLoadRatioCount, "荷重の比率"},
    {ProjectItem::CalcMethod, 1, "計算の方法"},
    {ProjectItem::WindPositive, 1, "風荷重/正"},
    {ProjectItem::WindNegative, 1, "風荷重/負"},
    {ProjectItem::DirectSnowLoad, 1, "積雪荷重"},
    {ProjectItem::SurfaceTreatment, 1, "表面処理"},
    {ProjectItem::UnitWeight, 1, "単位重量"},
    {ProjectItem::OverhangArrangement, 1, "はね出し"},
    {ProjectItem::LeftOverhang, 1, "左はね出し長さ"},
    {ProjectItem::RightOverhang, 1, "右はね出し長さ"},
});
// Each run starts where the one before it ends, and they end with the file.
constexpr bool runsCoverTheLayout(std::span<const ProjectItemRun> runs) {
  int line = 0;
  for (const ProjectItemRun& run : runs) {
    if (lineOf(run.first) != line || run.count < 1)
      return false;
    line += run.count;
  }
  return line == kProjectLineCount;
}
static_assert(runsCoverTheLayout(kProjectLayout), "an item without its run in the layout");

// The run of an item.
constexpr const ProjectItemRun& projectItemRun(ProjectItem item) {
  const ProjectItemRun* found = &kProjectLayout.front();
  for (const ProjectItemRun& run : kProjectLayout) {
    if (lineOf(run.first) <= lineOf(item))
      found = &run;
  }
  return *found;
}

// The field name used in messages ("デッキ種類", "荷重の比率 19" …).
std::string projectItemName(ProjectItem item);

enum class ProjectLayout {
  Current,      // first line "500" or "401"
  Versionless,  // no version line and no intermediate-joint line
};

ProjectLayout projectLayoutOf(std::string_view firstLine);

// A file whose first line contains "物件名称" is in the legacy keyed layout.
bool isLegacyProject(const std::vector<std::string>& lines);

// Turns the lines of a legacy keyed file into the 56 lines of the version-less
// layout. A value that has to be converted to a number (×10 or decimal) and is
// not one stops the conversion with UserError naming the file label, the line
// (1-based) and the value.
std::vector<std::string> convertLegacyProject(const std::vector<std::string>& lines,
                                              std::string_view fileLabel = {});

// Throws UserError saying that the file is no project file when it is empty
// (or blank), or when its first line is neither a number (the version or the
// version-less deck type) nor the legacy layout's first entry: a text file,
// /dev/null or a table is not read item by item until some line fails.
void requireProjectFile(const std::vector<std::string>& lines, std::string_view fileLabel);

// The legacy line (0-based) that a converted line comes from, or -1 for a
// line the conversion writes as a constant.
int legacySourceLine(int convertedLine);

// The lines of one project file with its layout decided; hands out items by
// the rules of loading. Failures name the file, the 1-based line as it stands
// in the file (for a converted file, the line of the legacy file) and the
// value.
class ProjectReader {
 public:
  // Converts a legacy file first; the UserError of a failed conversion
  // passes through.
  ProjectReader(std::vector<std::string> fileLines, std::string fileLabel);

  ProjectLayout layout() const { return layout_; }
  bool converted() const { return converted_; }
  std::size_t lineCount() const { return lines_.size(); }
  // More than 60 lines: the surface treatment, unit weight and overhangs are
  // in the file.
  bool hasDeckAndOverhangLines() const {
    return lines_.size() > static_cast<std::size_t>(kShortProjectLineCount);
  }
  const std::vector<std::string>& lines() const { return lines_; }

  // 0-based line of the item in these lines; -1 when the layout has none.
  // The version-less intermediate joint is read from the end joint's line.
  int lineIndexOf(ProjectItem item) const;
  // The item's text; a line beyond the end of the file reads as "".
  const std::string& text(ProjectItem item) const;
  // An index or code: its integer, or `fallback` when it is not one.
  int indexOr(ProjectItem item, int fallback) const;
  // An integer-only item; throws UserError when the text is not an integer.
  int integer(ProjectItem item) const;
  // A decimal item; nothing when the text is not a decimal number.
  std::optional<double> decimal(ProjectItem item) const;
  // A load ratio as the settings dialog's ratio field can hold it: a decimal
  // number, not negative, of at most eight digits. Nothing otherwise, and
  // ratioMessage says what is wrong.
  std::optional<double> ratio(ProjectItem item) const;

  // UserError for an index or code outside its list.
  [[noreturn]] void throwOutsideList(ProjectItem item) const;
  // The message of a ratio line that ratio() refuses, which then takes
  // `defaultText`: the error kind on the first line, the reason on the second.
  std::string ratioMessage(ProjectItem item, std::string_view defaultText) const;

  // The file and the line of the item as messages name them:
  // "データファイル「p.tvl」の 9 行目" (a converted file: its legacy line).
  std::string source(ProjectItem item) const;

 private:
  std::string where(ProjectItem item) const;

  std::vector<std::string> lines_;
  std::string fileLabel_;
  ProjectLayout layout_ = ProjectLayout::Current;
  bool converted_ = false;
};

}  // namespace tavilo
