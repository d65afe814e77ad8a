#include "model/calculate_command.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <string_view>

#include "calc/catalogue.h"
#include "calc/numbers.h"
#include "calc/snow_load.h"

namespace tavilo {
namespace {

constexpr int kMinLeftOverhang = 200;
constexpr int kMaxOverhang = 1000;
constexpr double kMaxUnitWeight = 99999;  // five digits, N/m²

std::string fieldLabel(FieldId id) {
  switch (id) {
    case FieldId::Span1:
    case FieldId::Span2:
    case FieldId::Span3:
    case FieldId::Span4:
      return "スパン" +
             std::to_string(static_cast<int>(id) - static_cast<int>(FieldId::Span1) + 1) + "の長さ";
    case FieldId::LeftOverhang:
      return "左側のはね出し部分の長さ";
    case FieldId::RightOverhang:
      return "右側のはね出し部分の長さ";
    case FieldId::UnitWeight:
      return "デッキの単位重量";
    case FieldId::EavesHeightH1:
      return "軒の高さＨ1";
    case FieldId::BuildingHeightH2:
      return "建物の高さＨ2";
    case FieldId::SpanDirectionLengthD:
      return "張り間方向の長さＤ";
    case FieldId::DeckType:
      return "デッキ種類";
    case FieldId::EndJoint:
      return "端部の接合方法";
    case FieldId::MidJoint:
      return "中間部の接合方法";
    default:
      return "入力値";
  }
}

// "（データファイル「p.tvl」の 9 行目）" when a project file put the field's
// text there, so that the user finds the value to mend; else nothing.
std::string sourceNote(const InputForm& form, FieldId id) {
  const auto source = form.textSource(id);
  return source ? "（" + *source + "）" : std::string();
}

int wholeNumber(const InputForm& form, FieldId id) {
  const std::string& text = form.text(id);
  const auto value = parseInteger(text);
  if (!value)
    throw InputConversionError(id, fieldLabel(id) + "「" + echoedValue(text) +
                                       "」を整数に変換できません" + sourceNote(form, id) + "。");
  return *value;
}

double decimalNumber(const InputForm& form, FieldId id) {
  const std::string& text = form.text(id);
  const auto value = parseDecimal(text);
  if (!value)
    throw InputConversionError(id, fieldLabel(id) + "「" + echoedValue(text) +
                                       "」を数値に変換できません" + sourceNote(form, id) + "。");
  return *value;
}

// A length that the digits-only field cannot hold: only a project file
// brings a sign.
std::string negativeLengthMessage(const InputForm& form, FieldId id, int length,
                                  std::string_view advice) {
  return fieldLabel(id) + "が負の値（" + std::to_string(length) + "mm）です" +
         sourceNote(form, id) + "。" + std::string(advice);
}

struct Overhangs {
  int left = 0;
  int right = 0;
};

Overhangs overhangLengths(const InputForm& form) {
  const int code = form.overhangCode();
  Overhangs o;
  if (overhangOnLeft(code))
    o.left = wholeNumber(form, FieldId::LeftOverhang);
  if (overhangOnRight(code))
    o.right = wholeNumber(form, FieldId::RightOverhang);
  return o;
}

// Steps 1 to 3 of the check: the span fields of the conditions. Returns the
// overhang lengths for the rules.
Overhangs fillSpans(const InputForm& form, DesignConditions& c) {
  c.spanCount = std::clamp(form.spinValue(FieldId::SpanCount), 1, kMaxSpans);
  // Summed wide: a project file may bring lengths whose sum leaves int.
  long long total = 0;
  for (int i = 0; i < kMaxSpans; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (i >= c.spanCount) {
      c.spanLengths[k] = 0;
      continue;
    }
    c.spanLengths[k] = wholeNumber(form, spanField(i + 1));
    total += c.spanLengths[k];
  }
  const Overhangs o = overhangLengths(form);
  total += o.left;
  total += o.right;
  c.totalDeckLength = static_cast<int>(std::clamp<long long>(total, INT_MIN, INT_MAX));
  c.beamKindName = c.spanCount == 1 ? "単純梁" : "連続梁";
  return o;
}

std::optional<InputRefusal> refuse(std::string_view message, FieldId focus) {
  return InputRefusal{std::string(message), focus};
}

// The field holds five digits at the most; a project file may bring any
// number, in any surface treatment, and a larger one would overflow the
// combined dead load.
bool unitWeightOutOfField(const InputForm& form) {
  const auto value = parseDecimal(form.text(FieldId::UnitWeight));
  return value && !(*value >= 0 && *value <= kMaxUnitWeight);
}

std::optional<InputRefusal> unitWeightRule(const InputForm& form) {
  if (form.index(FieldId::SurfaceTreatment) == kSurfaceTreatmentOther &&
      (form.text(FieldId::UnitWeight).empty() || wholeNumber(form, FieldId::UnitWeight) == 0)) {
    return refuse(kUnitWeightMessage, FieldId::UnitWeight);
  }
  if (unitWeightOutOfField(form))
    return refuse(kUnitWeightMessage, FieldId::UnitWeight);
  return std::nullopt;
}

std::optional<InputRefusal> overhangRules(const InputForm& form, const Overhangs& o) {
  const int code = form.overhangCode();
  if (overhangOnLeft(code)) {
    if (o.left == 0)
      return refuse(kOverhangMissingMessage, FieldId::LeftOverhang);
    if (o.left < kMinLeftOverhang)
      return refuse(kOverhangTooShortMessage, FieldId::LeftOverhang);
    if (o.left > kMaxOverhang)
      return refuse(kOverhangTooLongMessage, FieldId::LeftOverhang);
  }
  if (overhangOnRight(code)) {
    if (o.right == 0)
      return refuse(kOverhangMissingMessage, FieldId::RightOverhang);
    // The screen caps the field at 1000 when it is left; a file is capped here.
    if (o.right > kMaxOverhang)
      return refuse(kOverhangTooLongMessage, FieldId::RightOverhang);
  }
  return std::nullopt;
}

// A span of 0 mm is refused like an empty field: it has no deflection limit
// to check against. The solver has no meaning for a negative length.
std::optional<InputRefusal> lengthRule(const InputForm& form, const DesignConditions& c,
                                       const Overhangs& o) {
  constexpr std::string_view kOverhangRange = "[Min-200mm / Max-1,000mm]";
  for (int i = 0; i < c.spanCount; ++i) {
    const int length = c.spanLengths[static_cast<std::size_t>(i)];
    const FieldId field = spanField(i + 1);
    if (length == 0) {
      return refuse(fieldLabel(field) + "が 0 です" + sourceNote(form, field) +
                        "。スパン間隔を単位：㎜で入力して下さい。",
                    field);
    }
    if (length < 0)
      return refuse(negativeLengthMessage(form, field, length, "0以上の長さを入力して下さい。"),
                    field);
  }
  if (o.left < 0) {
    return refuse(negativeLengthMessage(form, FieldId::LeftOverhang, o.left, kOverhangRange),
                  FieldId::LeftOverhang);
  }
  if (o.right < 0) {
    return refuse(negativeLengthMessage(form, FieldId::RightOverhang, o.right, kOverhangRange),
                  FieldId::RightOverhang);
  }
  return std::nullopt;
}

// H1, H2 and D of the wind derivation: the digits-only fields hold no sign,
// and a negative height would give another wind load without a word.
std::optional<InputRefusal> buildingDimensionRule(const InputForm& form,
                                                  const CoefficientSettings& settings) {
  if (settings.calcMethod != kCalcMethodNotices)
    return std::nullopt;
  for (const FieldId id :
       {FieldId::EavesHeightH1, FieldId::BuildingHeightH2, FieldId::SpanDirectionLengthD}) {
    if (const int value = wholeNumber(form, id); value < 0)
      return refuse(negativeLengthMessage(form, id, value, "0以上の値を入力して下さい。"), id);
  }
  return std::nullopt;
}

// Below −60 degrees the snow surcharge of an arched roof has no value.
std::optional<InputRefusal> archedRoofRule(const InputForm& form,
                                           const CoefficientSettings& settings) {
  if (settings.calcMethod != kCalcMethodNotices || form.roofType() != RoofType::Arched)
    return std::nullopt;
  if (archedRoofAngleTooSteep(wholeNumber(form, FieldId::EavesHeightH1) * 0.1,
                              wholeNumber(form, FieldId::BuildingHeightH2) * 0.1,
                              wholeNumber(form, FieldId::SpanDirectionLengthD) * 0.1))
    return refuse(kArchedRoofTooSteepMessage, FieldId::BuildingHeightH2);
  return std::nullopt;
}

std::string deckTooLongMessage(int total, int maximum) {
  return std::string(kDeckTooLongMessage) + "\n（デッキの全長 " + groupedInteger(total) +
         "mm、最大長さ " + groupedInteger(maximum) + "mm）";
}

std::optional<InputRefusal> runRules(const InputForm& form, const CoefficientSettings& settings,
                                     const DesignConditions& c, const Overhangs& o) {
  if (auto r = unitWeightRule(form))
    return r;
  if (auto r = overhangRules(form, o))
    return r;
  if (settings.maxDeckLength < c.totalDeckLength)
    return refuse(deckTooLongMessage(c.totalDeckLength, settings.maxDeckLength), FieldId::Span1);
  if (auto r = lengthRule(form, c, o))
    return r;
  if (auto r = buildingDimensionRule(form, settings))
    return r;
  return archedRoofRule(form, settings);
}

int listIndex(const InputForm& form, FieldId id, std::size_t count) {
  const int index = form.index(id);
  if (index < 0 || static_cast<std::size_t>(index) >= count)
    throw InputConversionError(id, fieldLabel(id) + "が選択されていません。");
  return index;
}

// The building dimension in mm × 0.1. With direct input of loads the wind
// data are not used, so a text that is no number there does not stop the run.
double buildingDimension(const InputForm& form, FieldId id, bool needed) {
  if (!needed && !parseInteger(form.text(id)))
    return 0;
  return wholeNumber(form, id) * 0.1;
}

FormEvents moveFocusTo(InputForm& form, FieldId id) {
  if (id == FieldId::None)
    return {};
  return form.focusField(id);
}

void refuseWith(CalculateResult& result, InputForm& form, InputRefusal refusal) {
  result.events.push_back(messageEvent(refusal.focus, refusal.message));
  const FormEvents moved = moveFocusTo(form, refusal.focus);
  result.events.insert(result.events.end(), moved.begin(), moved.end());
  result.refusal = std::move(refusal);
}

}  // namespace

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
  SnowDerivation& depth = facts.snowDepthInputs;
  depth.altitudeM = form.siteData().altitude;
  depth.seaRatioPercent = form.seaRatio();
  depth.depthCoefficients = form.snowCoefficients();
  depth.computedDepthM = form.computedDepthM();
  return facts;
}

std::optional<InputRefusal> checkInputs(const InputForm& form, const CoefficientSettings& settings,
                                        DesignConditions& conditions) {
  try {
    const Overhangs o = fillSpans(form, conditions);
    return runRules(form, settings, conditions, o);
  } catch (const InputConversionError& e) {
    return InputRefusal{e.what(), e.field()};
  }
}

void gatherDesignConditions(const InputForm& form, const CoefficientSettings& settings,
                            DesignConditions& c) {
  const bool notices = settings.calcMethod == kCalcMethodNotices;

  c.deckType = listIndex(form, FieldId::DeckType, kDeckSections.size());
  c.unitWeight = decimalNumber(form, FieldId::UnitWeight);
  c.deckName = std::string(kDeckSections[static_cast<std::size_t>(c.deckType)].name);
  c.deckHeight = static_cast<int>(deckHeightOf(c.deckType));
  c.thickness = deckThicknessOf(c.deckType);
  c.sectionModulus = deckModulusOf(c.deckType) * 1000;
  c.momentOfInertia = deckInertiaOf(c.deckType) * 10000;

  c.endJoint = listIndex(form, FieldId::EndJoint, kJointMethods.size());
  c.endJointName = std::string(kJointMethods[static_cast<std::size_t>(c.endJoint)]);
  c.endJointCapacity = endJointCapacityOf(c.deckType, c.endJoint);
  c.midJoint = listIndex(form, FieldId::MidJoint, kJointMethods.size());
  c.midJointName = std::string(kJointMethods[static_cast<std::size_t>(c.midJoint)]);
  c.midJointCapacity = midJointCapacityOf(c.deckType, c.midJoint);

  c.prefectureName = form.prefectureName();
  c.districtName = form.districtName();
  // V0 of the chosen district, not the text of its display.
  c.windSpeedV0 = form.siteData().windSpeedV0;
  c.heavySnow = form.heavySnow();
  c.roughness = form.index(FieldId::Roughness) + 1;
  c.eavesHeightH1 = buildingDimension(form, FieldId::EavesHeightH1, notices);
  c.buildingHeightH2 = buildingDimension(form, FieldId::BuildingHeightH2, notices);
  c.spanDirectionLengthD = buildingDimension(form, FieldId::SpanDirectionLengthD, notices);

  c.roofType = form.roofType();
  c.roofClass = roofClassOf(c.roofType);
  c.roofTypeName = roofTypeNameOf(c.roofType);
  c.buildingShape = form.buildingShapeCode();
  c.buildingShapeName = buildingShapeNameOf(c.buildingShape);
  c.roofShape = form.roofShapeCode();
  c.roofShapeName = roofShapeNameOf(c.roofShape);
  c.snowDepthMethod = form.snowMode() == kSnowModeDerive ? 1 : 0;

  if (notices) {
    c.snowDepth = form.spinValue(FieldId::SnowDepth);
    c.snowUnitWeight = form.spinValue(FieldId::SnowUnitWeight);
    c.snowLoad = computeSnowLoad(settings.calcMethod, c.snowUnitWeight, c.snowDepth, 0);
  } else {
    c.snowLoad =
        computeSnowLoad(settings.calcMethod, 0, 0, form.spinValue(FieldId::DirectSnowLoad));
  }
  c.liveLoad = form.spinValue(FieldId::LiveLoad);
  c.finishingLoad = form.spinValue(FieldId::FinishingLoad);
}

LoadDerivations prepareCalculationData(const InputForm& form, const CoefficientSettings& settings,
                                       DesignConditions& conditions, CaLC_DATA& data) {
  const Overhangs o = overhangLengths(form);
  PreparationInputs inputs;
  inputs.overhangCode = form.overhangCode();
  inputs.leftOverhangLength = o.left;
  inputs.rightOverhangLength = o.right;
  inputs.directWindPositive = form.spinValue(FieldId::WindPositive);
  inputs.directWindNegative = form.spinValue(FieldId::WindNegative);
  inputs.computedDepthM = form.computedDepthM();
  return prepareCalculationData(conditions, data, settings, inputs);
}

CalculateResult calculate(InputForm& form, AppState& state, const std::function<void()>& checked) {
  CalculateResult result;
  result.events = form.focusField(FieldId::CalculateButton);
  const auto message =
      std::find_if(result.events.begin(), result.events.end(),
                   [](const FormEvent& e) { return e.kind == FormEvent::Kind::Message; });
  if (form.focus() != FieldId::CalculateButton && message != result.events.end()) {
    // The field being left corrected its text and kept the focus.
    result.refusal = InputRefusal{message->text, form.focus()};
    return result;
  }

  // Site data that could not be read for the chosen district would be those
  // of another district.
  if (const auto& failure = form.siteFailure()) {
    refuseWith(result, form,
               InputRefusal{"所在地「" + form.prefectureName() + " " + form.districtName() +
                                "」のデータを読み込めないため、計算できません。\n" + *failure,
                            FieldId::Prefecture});
    return result;
  }

  if (auto refusal = checkInputs(form, state.settings, state.conditions)) {
    refuseWith(result, form, std::move(*refusal));
    return result;
  }

  if (checked)
    checked();
  DesignConditions& c = state.conditions;
  c.snowIncreaseState = 0;
  c.snowIncreaseFactor = 0.0;
  try {
    gatherDesignConditions(form, state.settings, c);
    const LoadDerivations derived = prepareCalculationData(form, state.settings, c, state.calcData);
    state.lastOutcome =
        runCalculation(c, state.calcData, state.settings, derived.wind, derived.snow);
    state.lastOutcome->facts = reportFactsFrom(form);
    // With directly entered loads the tables decide nothing but the names.
    state.lastOutcome->facts.sampleSiteData =
        form.siteDataIsSample() && state.settings.calcMethod == kCalcMethodNotices;
  } catch (const InputConversionError& e) {
    refuseWith(result, form, InputRefusal{e.what(), e.field()});
    return result;
  } catch (const UserError& e) {
    refuseWith(result, form, InputRefusal{e.what(), FieldId::None});
    return result;
  }
  result.outcome = state.lastOutcome;
  return result;
}

}  // namespace tavilo
