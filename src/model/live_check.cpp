#include "model/live_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <tuple>
#include <utility>

#include "calc/case_titles.h"
#include "calc/catalogue.h"
#include "calc/codes.h"
#include "calc/numbers.h"
#include "model/session.h"
#include "persistence/text_file.h"

namespace tavilo {
namespace {

// ---- The panel's texts
constexpr std::string_view kPanelTitle = "ライブチェック";
constexpr std::string_view kPanelGuidance =
    "入力中の参考表示です。計算書と判定は「計　算」で確認して下さい。";
constexpr std::string_view kVerdictCaption = "判定（参考）";
constexpr std::string_view kRefusalCaption = "入力チェック";
constexpr std::string_view kRefusalFieldPrefix = "入力欄: ";
constexpr std::string_view kChecksCaption = "各検討の最大値と検定比";
constexpr std::array<std::string_view, 3> kCheckColumns = {"検討項目", "値 / 許容値", "検定比"};
constexpr std::array<std::string_view, 5> kCheckLabels = {"曲げ応力度", "たわみ", "端部接合部",
                                                          "中間部接合部", "はね出し部"};
constexpr std::string_view kNoUplift = "引抜き力なし";
constexpr std::string_view kNoOverhang = "はね出しなし";
constexpr std::string_view kDecksCaption = "デッキ比較（他の入力はそのまま）";
constexpr std::array<std::string_view, 4> kDeckColumns = {"デッキ", "判定", "最大検定比", "備考"};
constexpr std::string_view kDeckOk = "ＯＫ";
constexpr std::string_view kDeckNg = "ＮＧ";
constexpr std::string_view kDeckRefused = "計算不可";
constexpr std::string_view kCurrentMark = "現在";
constexpr std::string_view kLightestMark = "最軽量";
constexpr std::string_view kCatalogueWeightNote =
    "他のデッキの単位重量は、表面処理に応じたカタログ値です。";
constexpr std::string_view kTypedWeightNote =
    "表面処理「他」: 他のデッキも入力した単位重量のまま比べています"
    "（画面でデッキを選ぶと単位重量は空欄になります）。";
constexpr std::string_view kChooseHint =
    "行をクリック（または Enter）すると、そのデッキを入力画面で選びます。";
constexpr std::string_view kChooseTooltipPrefix = "クリックで入力画面のデッキを「";
constexpr std::string_view kChooseTooltipSuffix = "」にします";
constexpr std::string_view kHideCaption = "ライブチェックを隠す";
constexpr std::string_view kShowCaption = "ライブチェックを表示";

constexpr std::string_view kPanelShownLine = "live-check=shown";
constexpr std::string_view kPanelHiddenLine = "live-check=hidden";

// A ratio of a value to a limit it must stay below. A limit of zero is
// never met.
double ratioOf(double value, double limit, bool ok) {
  if (limit > 0)
    return value / limit;
  return ok ? 0.0 : 1.0;
}

std::string supportName(int support, int supportCount) {
  if (support == 0)
    return "左端支点";
  if (support == supportCount - 1)
    return "右端支点";
  return "第" + std::to_string(support + 1) + "支点";
}

std::string spanName(std::size_t span) {
  return "スパン" + std::to_string(span + 1);
}

// Where the largest moment of a case lies: the first span or member end
// whose magnitude is the case's maximum, in the order the analysis takes them.
std::string stressPlace(const CaseAnalysis& a) {
  const int spans = std::clamp(a.spanCount, 1, kMaxSpans);
  for (std::size_t i = 0; i < slot(spans); ++i) {
    if (std::fabs(a.spanDesignMoments[i]) == a.maxMoment)
      return spanName(i);
    if (std::fabs(a.result.memberEndForces[i][2]) == a.maxMoment)
      return supportName(static_cast<int>(i), spans + 1);
    if (std::fabs(a.result.memberEndForces[i][5]) == a.maxMoment)
      return supportName(static_cast<int>(i) + 1, spans + 1);
  }
  return {};
}

std::string deflectionPlace(const CaseAnalysis& a) {
  const int spans = std::clamp(a.spanCount, 1, kMaxSpans);
  for (std::size_t i = 0; i < slot(spans); ++i) {
    if (std::fabs(a.spanDeflections[i]) == a.maxDeflection &&
        a.beam.spans[i] == a.maxDeflectionSpan)
      return spanName(i);
  }
  return {};
}

std::string endJointPlace(const CaseAnalysis& a) {
  return a.result.nodalResults[0][1] == a.endReaction ? "左端支点" : "右端支点";
}

std::string midJointPlace(const CaseAnalysis& a) {
  const int spans = std::clamp(a.spanCount, 1, kMaxSpans);
  for (int node = 1; node < spans; ++node) {
    if (a.result.nodalResults[slot(node)][1] == a.midReaction)
      return supportName(node, spans + 1);
  }
  return {};
}

std::string overhangPlace(OverhangSide side) {
  return side == OverhangSide::kLeft ? "左側はね出し" : "右側はね出し";
}

CheckUtilisation measured(CheckKind kind, double value, double limit, bool ok) {
  CheckUtilisation u;
  u.kind = kind;
  u.applies = true;
  u.value = value;
  u.limit = limit;
  u.ok = ok;
  u.ratio = ratioOf(value, limit, ok);
  return u;
}

// The most used part of an overhang check: its stress, deflection or joint.
CheckUtilisation overhangUtilisation(const OverhangCheck& o, const CaseChecks& c) {
  CheckUtilisation best = measured(CheckKind::kOverhang, o.sigma, c.allowableStress, o.stressOk);
  best.overhangPart = OverhangPart::kStress;
  CheckUtilisation deflection =
      measured(CheckKind::kOverhang, o.deflection.deflection, o.deflection.limit, o.deflection.ok);
  deflection.overhangPart = OverhangPart::kDeflection;
  if (deflection.ratio > best.ratio)
    best = std::move(deflection);
  if (o.joint) {
    CheckUtilisation joint =
        measured(CheckKind::kOverhang, o.joint->force, o.joint->allowable, o.joint->ok);
    joint.overhangPart = OverhangPart::kJoint;
    if (joint.ratio > best.ratio)
      best = std::move(joint);
  }
  return best;
}

// The checks of one results section, each with its place.
std::array<std::optional<CheckUtilisation>, kCheckKinds.size()> sectionUtilisation(
    const ResultsSection& section) {
  const CaseAnalysis& a = section.analysis;
  const CaseChecks& c = section.checks;
  std::array<std::optional<CheckUtilisation>, kCheckKinds.size()> out;
  out[0] = measured(CheckKind::kStress, c.stress.sigma, c.stress.allowable, c.stress.ok);
  out[0]->place = stressPlace(a);
  out[1] = measured(CheckKind::kDeflection, c.deflection.deflection, c.deflection.limit,
                    c.deflection.ok);
  out[1]->place = deflectionPlace(a);
  if (c.endJoint) {
    out[2] =
        measured(CheckKind::kEndJoint, c.endJoint->force, c.endJoint->allowable, c.endJoint->ok);
    out[2]->place = endJointPlace(a);
  }
  if (c.midJoint) {
    out[3] =
        measured(CheckKind::kMidJoint, c.midJoint->force, c.midJoint->allowable, c.midJoint->ok);
    out[3]->place = midJointPlace(a);
  }
  if (c.overhang) {
    out[4] = overhangUtilisation(*c.overhang, c);
    out[4]->place = overhangPlace(c.overhang->side);
  }
  return out;
}

// The verdict without the blanks the report sets it in.
std::string trimmedVerdict(std::string_view text) {
  constexpr std::string_view kIdeographicSpace = "\u3000";
  bool trimmed = true;
  while (trimmed) {
    trimmed = false;
    for (const std::string_view blank : {std::string_view(" "), kIdeographicSpace}) {
      if (text.starts_with(blank)) {
        text.remove_prefix(blank.size());
        trimmed = true;
      }
      if (text.ends_with(blank)) {
        text.remove_suffix(blank.size());
        trimmed = true;
      }
    }
  }
  return std::string(text);
}

// The steel of a deck per square metre, which orders the decks by weight
// whatever the surface treatment.
double steelArea(int deckType) {
  return deckAreaOf(deckType);
}

std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string grouped(double value) {
  return groupedInteger(static_cast<long long>(std::llround(value)));
}

std::string checkFigures(const CheckUtilisation& u) {
  switch (u.kind) {
    case CheckKind::kStress:
      return "σ = " + fixed(u.value, 1) + " / fb = " + fixed(u.limit, 0) + " N/mm²";
    case CheckKind::kDeflection:
      return "δ = " + fixed(u.value, 2) + " / " + fixed(u.limit, 2) + " mm";
    case CheckKind::kEndJoint:
    case CheckKind::kMidJoint:
      return "V = " + grouped(u.value) + " / " + grouped(u.limit) + " N/m";
    case CheckKind::kOverhang:
      break;
  }
  switch (u.overhangPart) {
    case OverhangPart::kStress:
      return "σ = " + fixed(u.value, 1) + " / fb = " + fixed(u.limit, 0) + " N/mm²";
    case OverhangPart::kDeflection:
      return "δ = " + fixed(u.value, 2) + " / " + fixed(u.limit, 2) + " mm";
    case OverhangPart::kJoint:
      break;
  }
  return "V = " + grouped(u.value) + " / " + grouped(u.limit) + " N/m";
}

std::string_view checkName(CheckKind kind) {
  return kCheckLabels[static_cast<std::size_t>(kind)];
}

double barOf(double ratio) {
  return std::clamp(ratio, 0.0, 1.0);
}

PanelCheckRow checkRow(const CheckUtilisation& u) {
  PanelCheckRow row;
  row.label = std::string(checkName(u.kind));
  row.applies = u.applies;
  if (!u.applies) {
    row.figures = std::string(u.kind == CheckKind::kOverhang ? kNoOverhang : kNoUplift);
    return row;
  }
  row.figures = checkFigures(u);
  row.where = u.caseTitle + "・" + u.place;
  row.ratioText = utilisationText(u.ratio);
  row.bar = barOf(u.ratio);
  row.exceeded = !u.ok;
  return row;
}

PanelDeckRow deckRow(const DeckComparison& d) {
  PanelDeckRow row;
  row.deckType = d.deckType;
  row.name = d.deckName;
  row.current = d.current;
  row.lightestPassing = d.lightestPassing;
  if (d.current && d.lightestPassing)
    row.marks = std::string(kCurrentMark) + "・" + std::string(kLightestMark);
  else if (d.current)
    row.marks = std::string(kCurrentMark);
  else if (d.lightestPassing)
    row.marks = std::string(kLightestMark);
  if (d.refusal) {
    row.verdict = std::string(kDeckRefused);
    row.tooltip = d.refusal->message;
    return row;
  }
  row.verdict = std::string(d.ok ? kDeckOk : kDeckNg);
  row.ratioText = utilisationText(d.utilisation.largest());
  row.governing = std::string(checkName(d.utilisation.governing));
  row.bar = barOf(d.utilisation.largest());
  row.exceeded = !d.ok;
  row.tooltip = std::string(kChooseTooltipPrefix) + d.deckName + std::string(kChooseTooltipSuffix);
  return row;
}

// The name of the field an input check names, as the screen labels it.
std::string fieldName(FieldId id) {
  switch (id) {
    case FieldId::Span1:
    case FieldId::Span2:
    case FieldId::Span3:
    case FieldId::Span4:
      return "スパン" + std::to_string(static_cast<int>(id) - static_cast<int>(FieldId::Span1) + 1);
    case FieldId::LeftOverhang:
      return "左側のはね出し";
    case FieldId::RightOverhang:
      return "右側のはね出し";
    case FieldId::Prefecture:
      return "所在地";
    default:
      return std::string(fieldInfo(id).caption);
  }
}

}  // namespace

std::string_view checkKey(CheckKind kind) {
  switch (kind) {
    case CheckKind::kStress:
      return "stress";
    case CheckKind::kDeflection:
      return "deflection";
    case CheckKind::kEndJoint:
      return "endJoint";
    case CheckKind::kMidJoint:
      return "midJoint";
    case CheckKind::kOverhang:
      break;
  }
  return "overhang";
}

Utilisation utilisationOf(const CalculationOutcome& outcome) {
  Utilisation u;
  for (std::size_t k = 0; k < kCheckKinds.size(); ++k)
    u.checks[k].kind = kCheckKinds[k];
  for (std::size_t s = 0; s < outcome.sections.size(); ++s) {
    const ResultsSection& section = outcome.sections[s];
    auto checks = sectionUtilisation(section);
    for (std::size_t k = 0; k < checks.size(); ++k) {
      if (!checks[k])
        continue;
      CheckUtilisation& held = u.checks[k];
      // The first section keeps a tie; a failing check outranks a passing
      // one of the same ratio.
      if (held.applies && !(checks[k]->ratio > held.ratio || (held.ok && !checks[k]->ok)))
        continue;
      held = std::move(*checks[k]);
      held.caseIndex = static_cast<int>(s);
      held.caseTitle = caseTitle(section.analysis);
    }
  }
  for (const CheckUtilisation& check : u.checks) {
    if (check.applies && check.ratio > u.of(u.governing).ratio)
      u.governing = check.kind;
  }
  return u;
}

InputForm formWithDeck(const InputForm& form, int deckType) {
  InputForm other = form;
  const std::string typedWeight = form.text(FieldId::UnitWeight);
  std::ignore = other.selectIndex(FieldId::DeckType, deckType);
  // A typed unit weight belongs to the roof, not to the deck chosen.
  if (other.index(FieldId::SurfaceTreatment) == kSurfaceTreatmentOther)
    std::ignore = other.setText(FieldId::UnitWeight, typedWeight);
  return other;
}

CalculateResult calculateCopy(const InputForm& form, const CoefficientSettings& settings,
                              std::optional<int> deckType) {
  InputForm copy =
      deckType && *deckType != form.index(FieldId::DeckType) ? formWithDeck(form, *deckType) : form;
  AppState state;
  state.settings = settings;
  return calculate(copy, state);
}

std::optional<int> LiveCheck::lightestPassingDeck() const {
  for (const DeckComparison& deck : decks) {
    if (deck.lightestPassing)
      return deck.deckType;
  }
  return std::nullopt;
}

LiveCheck runLiveCheck(const InputForm& form, const CoefficientSettings& settings) {
  LiveCheck live;
  const int current = form.index(FieldId::DeckType);
  live.typedUnitWeightKept = form.index(FieldId::SurfaceTreatment) == kSurfaceTreatmentOther;
  std::optional<int> lightest;
  for (int deck = 0; deck < kDeckCount; ++deck) {
    DeckComparison row;
    row.deckType = deck;
    row.deckName = std::string(kDeckSections[slot(deck)].name);
    row.current = deck == current;
    CalculateResult result = calculateCopy(form, settings, deck);
    if (result.refusal || !result.outcome) {
      row.refusal = result.refusal.value_or(InputRefusal{"計算結果がありません。"});
    } else {
      row.unitWeight = result.outcome->conditions.unitWeight;
      row.ok = result.outcome->allOk;
      row.utilisation = utilisationOf(*result.outcome);
      if (row.current) {
        live.verdict = trimmedVerdict(result.outcome->verdict);
        live.ok = row.ok;
        live.utilisation = row.utilisation;
      }
      if (row.ok && (!lightest || steelArea(deck) < steelArea(*lightest)))
        lightest = deck;
    }
    if (row.current && row.refusal)
      live.refusal = row.refusal;
    live.decks.push_back(std::move(row));
  }
  // A deck index outside the catalogue (a project file's) is no deck of the
  // comparison: the project as it stands decides.
  if (current < 0 || current >= kDeckCount) {
    CalculateResult result = calculateCopy(form, settings);
    live.refusal = result.refusal.value_or(InputRefusal{"計算結果がありません。"});
  }
  if (lightest)
    live.decks[slot(*lightest)].lightestPassing = true;
  return live;
}

LiveCheck runLiveCheck(const Session& session) {
  return runLiveCheck(session.form(), session.settings());
}

std::string utilisationText(double ratio) {
  if (!std::isfinite(ratio))
    return "―";
  return fixed(ceilTo(ratio, 2), 2);
}

LiveCheckPanel livePanel(const LiveCheck& check, int surfaceTreatment) {
  LiveCheckPanel panel;
  panel.title = std::string(kPanelTitle);
  panel.guidance = std::string(kPanelGuidance);
  panel.verdictCaption = std::string(kVerdictCaption);
  panel.refusalCaption = std::string(kRefusalCaption);
  panel.checksCaption = std::string(kChecksCaption);
  for (std::size_t i = 0; i < kCheckColumns.size(); ++i)
    panel.checkColumns[i] = std::string(kCheckColumns[i]);
  panel.decksCaption = std::string(kDecksCaption);
  for (std::size_t i = 0; i < kDeckColumns.size(); ++i)
    panel.deckColumns[i] = std::string(kDeckColumns[i]);
  panel.deckNote = std::string(surfaceTreatment == kSurfaceTreatmentOther ? kTypedWeightNote
                                                                          : kCatalogueWeightNote);
  panel.chooseHint = std::string(kChooseHint);
  panel.hideCaption = std::string(kHideCaption);
  panel.showCaption = std::string(kShowCaption);

  panel.calculated = check.calculated();
  if (check.refusal) {
    panel.refusalMessage = check.refusal->message;
    panel.refusalFocus = check.refusal->focus;
    if (check.refusal->focus != FieldId::None)
      panel.refusalField = std::string(kRefusalFieldPrefix) + fieldName(check.refusal->focus);
  } else {
    panel.verdict = check.verdict;
    panel.ok = check.ok;
    for (const CheckUtilisation& u : check.utilisation.checks)
      panel.checks.push_back(checkRow(u));
  }
  for (const DeckComparison& deck : check.decks)
    panel.decks.push_back(deckRow(deck));
  return panel;
}

LiveCheckPanel livePanel(const Session& session) {
  return livePanel(runLiveCheck(session), session.form().index(FieldId::SurfaceTreatment));
}

FormEvents chooseDeck(InputForm& form, int deckType) {
  return form.selectIndex(FieldId::DeckType, deckType);
}

bool livePanelRemembered(const std::filesystem::path& settingsFolder) {
  const std::filesystem::path file = settingsFolder / kViewPreferencesFile;
  std::error_code code;
  if (settingsFolder.empty() || !std::filesystem::is_regular_file(file, code))
    return true;
  try {
    const std::vector<std::string> lines = readTextLines(file, 4096);
    return std::find(lines.begin(), lines.end(), kPanelHiddenLine) == lines.end();
  } catch (const UserError&) {
    // A file that cannot be read remembers nothing.
    return true;
  }
}

void rememberLivePanel(const std::filesystem::path& settingsFolder, bool shown) {
  writeTextLines(settingsFolder / kViewPreferencesFile,
                 {std::string(shown ? kPanelShownLine : kPanelHiddenLine)});
}

}  // namespace tavilo
