#include "calc/catalogue.h"

#include <cmath>

#include "calc/numbers.h"

namespace tavilo {
namespace {

const DeckSection* sectionOf(int deckType) {
  if (deckType < 0 || deckType >= static_cast<int>(kDeckSections.size()))
    return nullptr;
  return &kDeckSections[static_cast<size_t>(deckType)];
}

// The joint table is keyed by the plate thickness in tenths of a millimetre,
// truncated (12 or 16).
int jointCapacity(const std::array<std::array<int, 2>, 3>& table, int deckType, int method) {
  const auto* s = sectionOf(deckType);
  if (s == nullptr || method < 0 || method >= static_cast<int>(table.size()))
    return 0;
  const double thickness = s->thicknessMm;
  const int tenths = static_cast<int>(truncTo(thickness * 10, 0));
  const auto& row = table[static_cast<size_t>(method)];
  if (tenths == 12)
    return row[0];
  if (tenths == 16)
    return row[1];
  return 0;
}

}  // namespace

double deflectionFactor(int deckType) {
  const auto* s = sectionOf(deckType);
  return s ? s->deflectionFactor : 1.0;
}

double deckHeightOf(int deckType) {
  const auto* s = sectionOf(deckType);
  return s ? s->heightMm : 0.0;
}

double deckAreaOf(int deckType) {
  const auto* s = sectionOf(deckType);
  return s ? s->areaCm2 : 0.0;
}

double deckModulusOf(int deckType) {
  const auto* s = sectionOf(deckType);
  return s ? s->modulusCm3 : 0.0;
}

double deckInertiaOf(int deckType) {
  const auto* s = sectionOf(deckType);
  return s ? s->inertiaCm4 : 0.0;
}

double deckThicknessOf(int deckType) {
  const auto* s = sectionOf(deckType);
  return s ? s->thicknessMm : 0.0;
}

int endJointCapacityOf(int deckType, int endJoint) {
  return jointCapacity(kEndJointCapacities, deckType, endJoint);
}

int midJointCapacityOf(int deckType, int midJoint) {
  return jointCapacity(kMidJointCapacities, deckType, midJoint);
}

std::optional<std::string> unitWeightOf(int deckType, std::string_view surfaceTreatment) {
  const auto* s = sectionOf(deckType);
  if (s == nullptr)
    return std::nullopt;
  const auto& row = s->unitWeights;
  if (surfaceTreatment == kSurfaceTreatments[0])
    return std::to_string(row[0]);
  if (surfaceTreatment == kSurfaceTreatments[1])
    return std::to_string(row[1]);
  return std::nullopt;
}

}  // namespace tavilo
