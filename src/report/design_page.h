#pragma once
// Page 1 of the calculation report: the heading block, the frame with the
// design conditions and the load conditions, and the heading that opens
// the results. Drawn first in every pass, on the screen and on paper.

#include "calc/coefficient_settings.h"
#include "calc/design_conditions.h"
#include "calc/report_facts.h"
#include "report/report_canvas.h"

namespace tavilo {

inline constexpr std::string_view kReportTitle =
    "Tavilo構造計算－風荷重､積雪荷重の検討－ ［ デッキプレート：";
inline constexpr std::string_view kSpecificationHeading = "《設計仕様》";
inline constexpr std::string_view kLoadConditionsHeading = "《荷重条件》（下向き荷重を正とする）";
inline constexpr std::string_view kDetailNote =
    "※風荷重・積雪荷重値算出については、後ページの詳細を参照。";
inline constexpr std::string_view kResultsHeading = "《 計 算 結 果 》";

struct DesignPageInput {
  const DesignConditions& conditions;
  const CoefficientSettings& settings;
  // Ww− less the curtain-wall pressure, N/m², for the overhang uplift row.
  double overhangPressure = 0;
  const ReportFacts& facts;
};

// Draws page 1 onto a freshly set-up canvas. Leaves frameRight, frameBottom,
// sectionTopY and separatorY set, marginTop at the separator line, and the
// text cursor's lineMm on the first line below the results heading.
void drawDesignSpecificationPage(ReportCanvas& canvas, const DesignPageInput& input);

// The title line: the deck name and, unless the surface treatment is "他",
// the treatment in brackets.
std::string reportTitleText(const std::string& deckName, const ReportFacts& facts);

}  // namespace tavilo
