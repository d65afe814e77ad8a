#pragma once
// Faces, colours and unit strings shared by every report page.

#include <string_view>

#include "report/report_surface.h"

namespace tavilo {

// The proportional report face, and the fixed-pitch face of the dash-ruled
// title lines of the diagram blocks.
inline constexpr std::string_view kReportFace = "ＭＳ Ｐゴシック";
inline constexpr std::string_view kFixedFace = "ＭＳ ゴシック";

inline constexpr ReportColor kTextColor{0, 0, 0};
inline constexpr ReportColor kScreenBackground{230, 237, 240};
// Report title and section headings of page 1, screen only.
inline constexpr ReportColor kHeadingColor{0, 89, 132};
// A failed check (NG), screen only, together with bold type.
inline constexpr ReportColor kFailColor{255, 0, 0};
// Grey lines of the results page and of the roof sketch.
inline constexpr ReportColor kGreyLineColor{102, 102, 102};
inline constexpr ReportColor kDeflectionColor{255, 0, 255};

// Font sizes in points that are not derived from the base size.
inline constexpr int kSuperscriptSize = 6;
inline constexpr int kSubscriptSize = 7;
inline constexpr int kFooterFileNameSize = 7;

// Unit strings; "㎜" and "･" are single Shift-JIS symbols.
inline constexpr std::string_view kUnitMm = "mm";
inline constexpr std::string_view kUnitMmSymbol = "㎜";
inline constexpr std::string_view kUnitNPerM = "N/m";
inline constexpr std::string_view kUnitKn = "kN";
inline constexpr std::string_view kUnitKnM = "kN･m";
inline constexpr std::string_view kUnitNMm = "N・㎜";
inline constexpr std::string_view kUnitNPerMm = "N/㎜";
// Area loads: "N/m" followed by the superscript "2", or this symbol form.
inline constexpr std::string_view kUnitNPerSquareM = "N/㎡";

}  // namespace tavilo
