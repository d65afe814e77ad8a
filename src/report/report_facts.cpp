#include "report/report_facts.h"

#include "report/detail_page.h"
#include "ui/form/input_form.h"

namespace tavilo {

ReportFacts reportFactsFrom(const InputForm& form) {
  ReportFacts facts;
  facts.surfaceTreatmentIndex = form.index(FieldId::SurfaceTreatment);
  const auto& items = form.items(FieldId::SurfaceTreatment);
  const int i = facts.surfaceTreatmentIndex;
  facts.surfaceTreatmentText =
      i >= 0 && i < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(i)] : "";
  facts.unitWeightText = form.text(FieldId::UnitWeight);
  facts.overhangSelected =
      form.isShown(FieldId::LeftOverhang) || form.isShown(FieldId::RightOverhang);
  takeSnowDepthInputs(facts.snowDepthInputs, form);
  return facts;
}

}  // namespace tavilo
