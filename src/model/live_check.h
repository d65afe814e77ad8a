#pragma once
// The live check beside the input screen: after every change of an input,
// the verdict of the project as entered, how far each check is used (the
// governing value against its limit, with its load case and place), and
// the same project with every deck of the catalogue. It runs the calculate
// command on copies of the screen, so its figures are those 計　算 gives;
// the report and its verdict still come from 計　算 alone. When the inputs
// cannot be calculated it answers the input check's message and nothing
// else. The desktop panel, the web page and the batch command show it.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calculation_run.h"
#include "calc/coefficient_settings.h"
#include "model/calculate_command.h"
#include "model/input_form.h"
#include "model/site_snow.h"

namespace tavilo {

class Session;

// The checks of a calculation, in the order of the results page.
enum class CheckKind { kStress, kDeflection, kEndJoint, kMidJoint, kOverhang };
inline constexpr std::array<CheckKind, 5> kCheckKinds = {CheckKind::kStress, CheckKind::kDeflection,
                                                         CheckKind::kEndJoint, CheckKind::kMidJoint,
                                                         CheckKind::kOverhang};

// The key of a check in the batch command's JSON ("stress", "endJoint" …).
std::string_view checkKey(CheckKind kind);

// What of an overhang governs its utilisation.
enum class OverhangPart { kStress, kDeflection, kJoint };

// One check at the place and load case where it is used most.
struct CheckUtilisation {
  CheckKind kind = CheckKind::kStress;
  // False when no load case has the check: no support pulls on its
  // fasteners, or the deck has no overhang.
  bool applies = false;
  double value = 0;       // σ (N/mm²), δ (mm) or V (N/m) as the report prints it
  double limit = 0;       // fb, the allowable deflection L / n, or the joint's allowable force
  double ratio = 0;       // value / limit: the check fails from 1 up
  bool ok = true;         // the report's own comparison, strict as there
  int caseIndex = -1;     // the results section where it governs
  std::string caseTitle;  // its title, e.g. "長期Ｇ＋Ｐ"
  std::string place;      // "スパン2", "第2支点", "左端支点", "右側はね出し" …
  OverhangPart overhangPart = OverhangPart::kStress;  // overhang only
};

struct Utilisation {
  std::array<CheckUtilisation, kCheckKinds.size()> checks;
  // The check with the largest ratio; the first of equals.
  CheckKind governing = CheckKind::kStress;

  const CheckUtilisation& of(CheckKind kind) const {
    return checks[static_cast<std::size_t>(kind)];
  }
  double largest() const { return of(governing).ratio; }
};

// The utilisation of every check over every results section of a calculation.
Utilisation utilisationOf(const CalculationOutcome& outcome);

// The input screen with another deck chosen as the screen chooses it: the
// unit weight follows the deck for "Z12" and "Z27"; with "他" the typed
// weight is kept (choosing the deck on the screen itself empties the field).
InputForm formWithDeck(const InputForm& form, int deckType);

// The calculate command on a copy of the screen: the form is not changed
// and the focus moves nowhere. With a deck index the project with that deck
// (formWithDeck); the project's own deck or none is the project as it stands.
CalculateResult calculateCopy(const InputForm& form, const CoefficientSettings& settings,
                              std::optional<int> deckType = std::nullopt);

// One deck of the catalogue with every other input kept.
struct DeckComparison {
  int deckType = 0;
  std::string deckName;
  std::optional<InputRefusal> refusal;  // this deck cannot be calculated
  double unitWeight = 0;                // N/m², as used
  bool ok = false;                      // the verdict passes
  Utilisation utilisation;
  bool current = false;          // the deck of the input screen
  bool lightestPassing = false;  // the passing deck with the least steel
};

struct LiveCheck {
  // The inputs cannot be calculated: the input check's message and the
  // field it names. Nothing below is then set for the project.
  std::optional<InputRefusal> refusal;
  std::string verdict;  // the report's verdict text, trimmed
  bool ok = false;
  Utilisation utilisation;
  std::vector<DeckComparison> decks;  // catalogue order
  // "他": the other decks are compared with the typed unit weight.
  bool typedUnitWeightKept = false;

  bool calculated() const { return !refusal.has_value(); }
  std::optional<int> lightestPassingDeck() const;
};

// The live check of a screen with its settings.
LiveCheck runLiveCheck(const InputForm& form, const CoefficientSettings& settings);
LiveCheck runLiveCheck(const Session& session);

// ---- What the panel shows: every text, caption, figure, size and colour,
// for both views.

struct LivePanelLayout {
  int width = 440;     // px, beside the input screen
  int gap = 6;         // px between the screen and the panel
  int barWidth = 90;   // px of a bar at a ratio of 1
  int barHeight = 10;  // px
  Rgb barGround{225, 225, 225};
  Rgb passing{0, 120, 60};         // a bar or verdict that passes (legible: 4.5:1 and more)
  Rgb failing{204, 0, 0};          // above 1.00: fails
  Rgb refused{153, 102, 0};        // the input check's message
  Rgb lightestRow{230, 244, 234};  // the lightest passing deck
  Rgb currentRow{230, 238, 250};   // the screen's deck
  Rgb placeText{85, 85, 85};       // the load case and place of a check
};
inline constexpr LivePanelLayout kLivePanelLayout{};

struct PanelCheckRow {
  std::string label;      // "曲げ応力度"
  std::string figures;    // "σ = 180.3 / fb = 156 N/mm²", or "該当なし"
  std::string where;      // "長期Ｇ＋Ｐ・スパン2"
  std::string ratioText;  // "1.16", empty when the check does not apply
  double bar = 0;         // 0 … 1: the bar's length, full at a ratio of 1
  bool applies = false;
  bool exceeded = false;  // the check fails: the bar is red
};

struct PanelDeckRow {
  int deckType = 0;
  std::string name;
  std::string verdict;    // "ＯＫ", "ＮＧ" or "計算不可"
  std::string ratioText;  // the largest utilisation, "0.83"
  std::string governing;  // the check with it, "たわみ"
  std::string marks;      // "現在", "最軽量", both or none
  double bar = 0;
  bool exceeded = false;
  bool current = false;
  bool lightestPassing = false;
  std::string tooltip;  // what a click does, or why the deck cannot be calculated
};

struct LiveCheckPanel {
  std::string title;
  std::string guidance;  // the panel is guidance; the report comes from 計　算
  std::string verdictCaption;
  std::string verdict;  // the report's words; empty when not calculated
  bool calculated = false;
  bool ok = false;
  std::string refusalCaption;  // "入力チェック"
  std::string refusalMessage;
  std::string refusalField;  // "入力欄: スパン1"
  FieldId refusalFocus = FieldId::None;
  std::string checksCaption;
  std::array<std::string, 3> checkColumns;  // check, value / limit, ratio
  std::vector<PanelCheckRow> checks;        // empty when not calculated
  std::string decksCaption;
  std::array<std::string, 4> deckColumns;  // deck, verdict, largest ratio, marks
  std::vector<PanelDeckRow> decks;
  std::string deckNote;    // how the unit weight of another deck is taken
  std::string chooseHint;  // a click or Enter chooses the deck
  std::string hideCaption;
  std::string showCaption;
};

LiveCheckPanel livePanel(const LiveCheck& check, int surfaceTreatment);
LiveCheckPanel livePanel(const Session& session);

// A choice of a deck from the panel: the deck list of the input screen
// takes it, as if chosen there (an ordinary unsaved change).
[[nodiscard]] FormEvents chooseDeck(InputForm& form, int deckType);

// A ratio as the panel prints it: two decimals, rounded up, as a margin is
// read on the safe side.
std::string utilisationText(double ratio);

// ---- Whether the panel is shown, remembered in the settings folder.
inline constexpr std::string_view kViewPreferencesFile = "tavilo-view.txt";
// Shown unless the file in the folder says it was hidden.
bool livePanelRemembered(const std::filesystem::path& settingsFolder);
// Throws UserError when the file cannot be written; the old one then stays.
void rememberLivePanel(const std::filesystem::path& settingsFolder, bool shown);

}  // namespace tavilo
