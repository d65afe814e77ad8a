#pragma once
// The span table as one printed page in the style of the report: the title,
// the project's conditions in short as on page 1, the loads, the 4 × 4 table
// of the longest passing spans with the check that stops each, the notes
// and the footer.

#include <string_view>

#include "calc/span_search.h"
#include "report/report_canvas.h"

namespace tavilo {

inline constexpr std::string_view kSpanTableTitle = "Tavilo構造計算－スパン表（等スパン）－";
inline constexpr std::string_view kSpanTableHeading = "《 ス パ ン 表 》";
inline constexpr std::string_view kSpanTableConditionsHeading = "《設計条件》";
inline constexpr std::string_view kSpanTableProjectMark = "＊";

// Draws the page onto a freshly set-up canvas. On the printer it is the
// only page: it ends with the footer and the bottom page number.
void drawSpanTablePage(ReportCanvas& canvas, const SpanTable& table);

}  // namespace tavilo
