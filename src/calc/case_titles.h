#pragma once
// The titles of the load cases as the report and the batch summary print
// them: a results-page heading ("長期Ｇ＋Ｐ＋0.70Ｓ") and a diagram block
// title ("短期（暴風時）Ｇ＋Ｐ＋Ｗ（正圧）"), both composed from the case name
// and the ratios the case was analysed with.

#include <string>
#include <string_view>

#include "calc/case_analysis.h"

namespace tavilo {

// "Ｇ＋Ｐ" or "1.20(Ｇ＋Ｐ)" …: the ratio part of a case title. `windSuffix` is
// appended after "Ｗ" ("（正圧）", "（負圧）" in diagram titles, empty on the
// results page); `withWind` is false for the long-term case.
std::string ratioTitle(const CaseRatios& ratios, bool withWind, std::string_view windSuffix);
// A ratio as the titles print it: cut to two decimals ("0.70", "1.25").
std::string ratioText(double ratio);
// The results-page title of a case, e.g. "長期Ｇ＋Ｐ＋0.70Ｓ".
std::string caseTitle(CaseVariant variant, const CaseRatios& ratios);
// The diagram block title of a case, e.g. "短期（暴風時）Ｇ＋Ｐ＋Ｗ（負圧）"; the
// page adds "■".
std::string diagramTitle(CaseVariant variant, const CaseRatios& ratios);

// The titles of an analysed case.
std::string caseTitle(const CaseAnalysis& analysis);
std::string diagramTitle(const CaseAnalysis& analysis);

}  // namespace tavilo
