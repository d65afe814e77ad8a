#include "model/deck_joints.h"

#include <string>
#include <string_view>

#include "calc/catalogue.h"

namespace tavilo {
namespace {

constexpr std::string_view kCatalogueWeightHint = "選択されたデッキの単位重量です。";
constexpr std::string_view kTypedWeightHint = "デッキの単位重量を設定して下さい。";

}  // namespace

bool DeckAndJoints::unitWeightTyped(const FormControls& controls) {
  return controls.index(FieldId::SurfaceTreatment) == kSurfaceTreatmentOther;
}

FormEvents DeckAndJoints::unitWeightChanged(FormControls& controls) {
  FormEvents out;
  FieldState& weight = controls.state(FieldId::UnitWeight);
  weight.enabled = true;
  const int treatment = controls.index(FieldId::SurfaceTreatment);
  const std::string_view treatmentName =
      treatment >= 0 && treatment < static_cast<int>(kSurfaceTreatments.size())
          ? kSurfaceTreatments[static_cast<std::size_t>(treatment)]
          : std::string_view();
  if (const auto catalogueWeight = unitWeightOf(controls.index(FieldId::DeckType), treatmentName)) {
    weight.text = *catalogueWeight;
    weight.hint = std::string(kCatalogueWeightHint);
    return out;
  }
  controls.moveFocus(FieldId::UnitWeight, out);
  weight.text.clear();
  weight.hint = std::string(kTypedWeightHint);
  return out;
}

}  // namespace tavilo
