#pragma once
// The deck catalogue: the four deck sections of the product series, their unit
// weights by surface treatment, the joint capacities per fastener and the
// material constants. Section values belong to a strip of deck 1 m wide.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "calc/codes.h"

namespace tavilo {

struct DeckSection {
  std::string_view name;  // the deck type list item
  int heightMm;
  double thicknessMm;  // the plate thickness, which chooses the joint capacities
  double areaCm2;      // A per 1 m width
  double modulusCm3;   // Z per 1 m width
  double inertiaCm4;   // I per 1 m width
  // Unit weight in N/m² for "Z12" and "Z27"; "他" is entered by the user.
  std::array<int, 2> unitWeights;
  // Every computed span or overhang deflection is multiplied by this factor.
  double deflectionFactor;
};

// One row per deck section, in the order of the deck type list. Every list of
// decks (the input screen's list, the span table, the project file's check of
// a deck index) follows this table.
inline constexpr auto kDeckSections = std::to_array<DeckSection>({
    {"KX-50-12", 50, 1.2, 9.784, 26.3, 66.3, {127, 131}, 1.0},
    {"KX-50-16", 50, 1.6, 13.02, 34.4, 87.1, {169, 172}, 1.0},
    {"KX-75-12", 75, 1.2, 10.65, 36.3, 163, {138, 142}, 1.2},
    {"KX-75-16", 75, 1.6, 14.19, 52.7, 216, {183, 188}, 1.2},
// A test build adds rows of its own, to prove that every list follows the table.
#ifdef TAVILO_EXTRA_DECK_ROWS
#include TAVILO_EXTRA_DECK_ROWS
#endif
});
inline constexpr int kDeckCount = static_cast<int>(kDeckSections.size());

// The names of the deck sections, in catalogue order.
inline constexpr auto kDeckNames = [] {
  std::array<std::string_view, kDeckSections.size()> names{};
  for (std::size_t i = 0; i < names.size(); ++i)
    names[i] = kDeckSections[i].name;
  return names;
}();

// The joint method list items exactly, inner runs of blanks included.
inline constexpr std::array<std::string_view, 3> kJointMethods = {
    "焼抜き栓溶接 (母屋板厚≧6mm)",
    "打込み鋲      (母屋板厚≧6mm)",
    "ドリルネジφ6  (母屋板厚<6mm)",
};

// Allowable force of one fastener in N by the plate thickness of the deck:
// [method][0 = t 1.2, 1 = t 1.6].
inline constexpr std::array<std::array<int, 2>, 3> kEndJointCapacities = {{
    {1170, 1560},
    {2100, 2200},
    {1570, 1570},
}};
inline constexpr std::array<std::array<int, 2>, 3> kMidJointCapacities = {{
    {4000, 4310},
    {2100, 2200},
    {1570, 1570},
}};

// Three fasteners per deck width of 600 mm at every support.
inline constexpr int kFastenersPerDeckWidth = 3;
inline constexpr int kDeckWidthMm = 600;

inline constexpr int youngsModulus = 205000;  // N/mm²

// The deflection factor of the deck: 1.2 for the 75 mm decks, 1.0 for the
// 50 mm decks (and for an index outside the catalogue).
double deflectionFactor(int deckType);

double deckHeightOf(int deckType);   // mm; 0 outside the catalogue
double deckAreaOf(int deckType);     // cm²
double deckModulusOf(int deckType);  // cm³
double deckInertiaOf(int deckType);  // cm⁴
double deckThicknessOf(int deckType);

int endJointCapacityOf(int deckType, int endJoint);
int midJointCapacityOf(int deckType, int midJoint);

// The unit weight text for "Z12" and "Z27"; nothing for "他" or an unknown item.
std::optional<std::string> unitWeightOf(int deckType, std::string_view surfaceTreatment);

}  // namespace tavilo
