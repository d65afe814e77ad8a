#pragma once
// The calculate command of the input screen: the input check, the gathering
// of the design conditions from the screen, the preparation of the
// calculation data and the calculation run. The window shows the refusal or
// the result; the batch tool prints them.

#include <functional>
#include <optional>
#include <string>

#include "calc/app_state.h"
#include "calc/calculation_run.h"
#include "calc/errors.h"
#include "calc/report_facts.h"
#include "model/form_events.h"
#include "model/form_fields.h"
#include "model/input_form.h"

namespace tavilo {

// Messages of the input check.
inline constexpr std::string_view kUnitWeightMessage = "デッキの単位重量を正しく設定して下さい。";
inline constexpr std::string_view kOverhangMissingMessage =
    "はね出し部分の長さを入力して下さい。[Min-200mm / Max-1,000mm]";
inline constexpr std::string_view kOverhangTooShortMessage =
    "検討可能なはね出し部分の最小長さは200mm以上です。[Min-200mm / Max-1,000mm]";
inline constexpr std::string_view kOverhangTooLongMessage =
    "検討可能なはね出し部分の最大長さは1,000mm以下です。[Min-200mm / Max-1,000mm]";
inline constexpr std::string_view kDeckTooLongMessage = "デッキの最大長さを超えています。";
inline constexpr std::string_view kArchedRoofTooSteepMessage =
    "円弧屋根の建物の高さＨ2が軒の高さＨ1より低すぎます。屋根の角度が-60度以下になるため計算できま"
    "せん。";

// A field text that is not the number the calculation needs. The message
// names the field and the text.
class InputConversionError : public UserError {
 public:
  InputConversionError(FieldId field, const std::string& message)
      : UserError(message), field_(field) {}
  FieldId field() const { return field_; }

 private:
  FieldId field_;
};

// Why the calculate command stopped: the message shown to the user and the
// field that receives the input focus (None when no field is to blame).
struct InputRefusal {
  std::string message;
  FieldId focus = FieldId::None;
};

// The input check. Fills spanCount, spanLengths, totalDeckLength and
// beamKindName (also when a rule then fails), then tries the rules in order
// and answers the first that fails. Conversion errors of the span, overhang
// and unit-weight texts are refusals too.
std::optional<InputRefusal> checkInputs(const InputForm& form, const CoefficientSettings& settings,
                                        DesignConditions& conditions);

// Reads every other input into the conditions. With direct input of loads
// the snow depth and ρ are left as they are. Throws InputConversionError for
// a text that does not convert.
void gatherDesignConditions(const InputForm& form, const CoefficientSettings& settings,
                            DesignConditions& conditions);

// The preparation step with the overhang lengths, the directly entered wind
// loads and the derived snow depth read from the screen.
LoadDerivations prepareCalculationData(const InputForm& form, const CoefficientSettings& settings,
                                       DesignConditions& conditions, CaLC_DATA& data);

// The facts of the screen that the report prints as shown; the calculate
// command captures them into the outcome.
ReportFacts reportFactsFrom(const InputForm& form);

struct CalculateResult {
  std::optional<InputRefusal> refusal;        // set when the command stopped
  std::optional<CalculationOutcome> outcome;  // set when it calculated
  FormEvents events;  // what the screen shows, in order: messages and focus moves
};

// The calculate command: the focus goes to the calculate button (an overhang
// field that refuses to let it go stops the command), then check, gather,
// prepare and run. `checked` runs once the input check has passed, before the
// work starts (the window shows its busy panel there). The outcome is also
// kept in state.lastOutcome; a refused command leaves the last outcome as it was.
[[nodiscard]] CalculateResult calculate(InputForm& form, AppState& state,
                                        const std::function<void()>& checked = {});

}  // namespace tavilo
