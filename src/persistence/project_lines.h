#pragma once
// The project data file at the level of its lines: which item stands on which
// line in each layout, the conversion of the legacy keyed layout, and a reader
// that hands out the items with the defaults and the stop rules of loading.
// The input screen applies the items (model/project_file.h); nothing here
// knows the screen.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
  Span1,  // followed by spans 2 to 4
  ProjectTitle = Span1 + 4,
  PageNumberPosition,
  PageNumberStyle,
  FirstPageNumber,
  ReservedFlag,
  MaxDeckLength,
  DesignStrengthF,
  Ratio1,  // followed by ratios 2 to 22
  CalcMethod = Ratio1 + 22,
  WindPositive,
  WindNegative,
  DirectSnowLoad,
  SurfaceTreatment,
  UnitWeight,
  OverhangArrangement,
  LeftOverhang,
  RightOverhang,
};

inline constexpr int kProjectLineCount = 67;  // lines written by a save
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

constexpr int lineOf(ProjectItem item) {
  return static_cast<int>(item);
}
// Span n (1 to 4).
constexpr ProjectItem spanItem(int n) {
  return static_cast<ProjectItem>(lineOf(ProjectItem::Span1) + n - 1);
}
// Load ratio at 0-based position i (0 to 21).
constexpr ProjectItem ratioItem(int i) {
  return static_cast<ProjectItem>(lineOf(ProjectItem::Ratio1) + i);
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
