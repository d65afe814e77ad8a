#include "calc/case_titles.h"

#include <cmath>
#include <cstddef>
#include <cstdio>

#include "calc/numbers.h"

namespace tavilo {

std::string ratioText(double ratio) {
  if (!std::isfinite(ratio))
    return shortestDecimal(ratio);
  // Cut to two places by the common rule; any finite ratio has a text.
  const double cut = truncTo(ratio, 2);
  // The largest double has 309 digits before the point.
  char buffer[320];
  std::snprintf(buffer, sizeof buffer, "%.2f", std::fabs(cut));
  const std::string text(buffer);
  const std::size_t point = text.find('.');
  const bool negative = cut < 0;
  return (negative ? "-" : "") + groupThousands(text.substr(0, point)) + text.substr(point);
}

std::string caseTitle(CaseVariant variant, const CaseRatios& ratios) {
  const CaseConstants& k = caseConstantsOf(variant);
  return std::string(k.sectionName) + ratioTitle(ratios, k.caseIndex != kLongTerm, "");
}

std::string ratioTitle(const CaseRatios& r, bool withWind, std::string_view windSuffix) {
  const auto factor = [](double ratio) { return ratio == 1 ? std::string() : ratioText(ratio); };
  std::string title;
  if (r.g != 0)
    title += r.g == 1 ? "Ｇ＋Ｐ" : ratioText(r.g) + "(Ｇ＋Ｐ)";
  if (r.s != 0)
    title += "＋" + factor(r.s) + "Ｓ";
  if (withWind && r.w != 0)
    title += "＋" + factor(r.w) + "Ｗ" + std::string(windSuffix);
  return title;
}

std::string diagramTitle(CaseVariant variant, const CaseRatios& ratios) {
  const CaseConstants& k = caseConstantsOf(variant);
  const std::string_view windSuffix = k.windSide == WindSide::Negative ? "（負圧）" : "（正圧）";
  return std::string(k.diagramName) + ratioTitle(ratios, k.caseIndex != kLongTerm, windSuffix);
}

std::string caseTitle(const CaseAnalysis& analysis) {
  return caseTitle(analysis.variant, analysis.ratios);
}

std::string diagramTitle(const CaseAnalysis& analysis) {
  return diagramTitle(analysis.variant, analysis.ratios);
}

}  // namespace tavilo
