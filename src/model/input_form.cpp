#include "model/input_form.h"

#include <utility>

#include "calc/errors.h"
#include "calc/numbers.h"
#include "text/utf8.h"

namespace tavilo {
namespace {

// The status bar before the pointer first rests on a control; the version
// follows "ver.".
constexpr std::string_view kStatusNotice = "鋼製屋根デッキプレートの構造計算プログラム　ver.";

}  // namespace

InputForm::InputForm(LocationTables tables) : site_(std::move(tables)) {
  for (std::size_t i = 0; i < kInputScreenFieldCount; ++i) {
    const FieldInfo& info = fieldInfo(static_cast<FieldId>(i));
    FieldState& field = fields_[i];
    field.hint = std::string(info.hint);
    field.index = info.defaultIndex;
    field.items.assign(info.items.begin(), info.items.end());
    field.text = std::string(info.defaultText);
    if (info.kind == FieldKind::List && field.index >= 0 &&
        field.index < static_cast<int>(field.items.size())) {
      field.text = field.items[static_cast<std::size_t>(field.index)];
    }
  }
  groupShown_.fill(true);
  groupShown_[static_cast<std::size_t>(Group::RoofShape)] = false;
  groupShown_[static_cast<std::size_t>(Group::DirectLoad)] = false;

  // The heavy-snow box only shows the rule's result; in "上欄へ入力" mode the
  // altitude and sea ratio are not typed.
  state(FieldId::HeavySnow).enabled = false;
  state(FieldId::Altitude).enabled = false;
  state(FieldId::SeaRatio).enabled = false;

  // One span, no overhang.
  for (int n = 2; n <= 4; ++n)
    state(spanField(n)).visible = false;
  state(FieldId::LeftOverhang).visible = false;
  state(FieldId::RightOverhang).visible = false;

  statusText_ = std::string(kStatusNotice);
  caption_ = std::string(kWindowCaption);
  versionLabel_ = "ver.";
}

FormEvents InputForm::startUp() {
  FormEvents out;
  std::string failure = site_.loadTables(*this);
  wind_.resetShapeCodes();

  moveFocus(FieldId::DeckType, out);
  site_.showSiteSpeed(*this);
  setSnowModeChoice(kSnowModeInput);
  append(out, site_.updateSnowDisplays(*this));
  showGroup(Group::BuildingShape, true);
  showGroup(Group::RoofShape, false);
  append(out, setLayout(0));
  append(out, site_.snowModeInput(*this));
  state(FieldId::HeavySnow).enabled = false;

  site_.settleStartUp(std::move(failure));
  return out;
}

// ---- Reading

Hint InputForm::hint(FieldId id) const {
  return splitHint(isScreenField(id) ? std::string_view(state(id).hint) : fieldInfo(id).hint);
}

bool InputForm::acceptsKey(FieldId id, char32_t key) const {
  switch (fieldInfo(id).keys) {
    case KeyRule::Digits:
      return acceptsDigitsKey(key);
    case KeyRule::UnitWeight:
      return DeckAndJoints::unitWeightTyped(*this) && acceptsDigitsKey(key);
    case KeyRule::Ratio:
      return acceptsRatioKey(key);
    case KeyRule::NoTyping:
      break;
  }
  return false;
}

bool InputForm::takesTyping(FieldId id) const {
  switch (fieldInfo(id).keys) {
    case KeyRule::NoTyping:
      return false;
    case KeyRule::UnitWeight:
      return DeckAndJoints::unitWeightTyped(*this);
    default:
      return true;
  }
}

// ---- What the user does

FormEvents InputForm::selectIndex(FieldId id, int itemIndex) {
  FormEvents out;
  if (fieldInfo(id).kind != FieldKind::List)
    return out;
  FieldState& field = state(id);
  if (itemIndex < 0 || itemIndex >= static_cast<int>(field.items.size()))
    return out;
  moveFocus(id, out);
  field.index = itemIndex;
  field.text = field.items[static_cast<std::size_t>(itemIndex)];
  switch (id) {
    case FieldId::DeckType:
    case FieldId::SurfaceTreatment:
      append(out, DeckAndJoints::unitWeightChanged(*this));
      break;
    case FieldId::Prefecture:
      append(out, site_.prefectureChanged(*this));
      break;
    case FieldId::District:
      append(out, site_.districtChanged(*this));
      break;
    case FieldId::Overhang:
      append(out, spans_.overhangChosen(*this, itemIndex));
      break;
    default:
      break;
  }
  return out;
}

FormEvents InputForm::typeText(FieldId id, std::string_view keys) {
  FormEvents out;
  typeInto(id, keys, true, out);
  return out;
}

FormEvents InputForm::typeKeys(FieldId id, std::string_view keys) {
  FormEvents out;
  typeInto(id, keys, false, out);
  return out;
}

void InputForm::typeInto(FieldId id, std::string_view keys, bool replaceAll, FormEvents& out) {
  if (!isScreenField(id) || !isShown(id) || !isEnabled(id))
    return;
  moveFocus(id, out);
  bool selected = replaceAll;
  for (const char32_t key : decodeUtf8(keys)) {
    if (!acceptsKey(id, key))
      continue;
    std::string next = state(id).text;
    if (selected) {
      next.clear();
    } else if (key == kBackspace) {
      dropLastCharacter(next);
    }
    if (key != kBackspace)
      next += encodeUtf8(key);
    selected = false;
    if (next == state(id).text)
      continue;
    assignText(id, std::move(next), out);
  }
}

FormEvents InputForm::editText(FieldId id, std::string_view newText) {
  FormEvents out;
  if (!isScreenField(id) || !isShown(id) || !isEnabled(id) || !takesTyping(id))
    return out;
  moveFocus(id, out);
  if (focus_ != id)
    return out;
  std::string filtered;
  for (const char32_t c : decodeUtf8(newText)) {
    if (c != kBackspace && acceptsKey(id, c))
      filtered += encodeUtf8(c);
  }
  if (filtered != state(id).text)
    assignText(id, std::move(filtered), out);
  return out;
}

FormChanges InputForm::takeChanges() {
  FormChanges changes;
  const bool first = !published_.has_value();
  if (first)
    published_ = Published{};
  Published& p = *published_;
  for (std::size_t i = 0; i < kInputScreenFieldCount; ++i) {
    if (first || !(fields_[i] == p.fields[i])) {
      changes.fields.push_back(static_cast<FieldId>(i));
      p.fields[i] = fields_[i];
    }
  }
  changes.groups = first || groupShown_ != p.groupShown || layoutMethod() != p.layoutMethod;
  const std::string notice = siteDataNotice();
  changes.window = first || caption_ != p.caption || statusText_ != p.statusText ||
                   versionLabel_ != p.versionLabel || screenEnabled_ != p.screenEnabled ||
                   notice != p.siteDataNotice;
  changes.pictures = first || wind_.choicePictures() != p.choicePictures ||
                     arrangementPicture() != p.arrangementPicture ||
                     shownSpanCount() != p.shownSpanCount;
  p.groupShown = groupShown_;
  p.layoutMethod = layoutMethod();
  p.caption = caption_;
  p.statusText = statusText_;
  p.versionLabel = versionLabel_;
  p.siteDataNotice = notice;
  p.screenEnabled = screenEnabled_;
  p.choicePictures = wind_.choicePictures();
  p.arrangementPicture = arrangementPicture();
  p.shownSpanCount = shownSpanCount();
  return changes;
}

FormEvents InputForm::stepSpin(FieldId id, int direction) {
  FormEvents out;
  const FieldInfo& info = fieldInfo(id);
  if (info.kind != FieldKind::Spin || !isShown(id) || !isEnabled(id) || direction == 0) {
    return out;
  }
  moveFocus(id, out);
  const int next = stepSpinValue(spinReading(text(id), info.range), direction, info.range);
  std::string nextText = std::to_string(next);
  if (nextText != text(id))
    assignText(id, std::move(nextText), out);
  return out;
}

FormEvents InputForm::focusField(FieldId id) {
  FormEvents out;
  moveFocus(id, out);
  return out;
}

FormEvents InputForm::clickRoofType(RoofType roofType) {
  FormEvents out;
  moveFocus(FieldId::RoofType, out);
  wind_.chooseRoofType(*this, roofType);
  return out;
}

FormEvents InputForm::clickBuildingShape(int code) {
  FormEvents out;
  moveFocus(FieldId::BuildingShape, out);
  wind_.chooseBuildingShape(*this, code);
  return out;
}

FormEvents InputForm::clickRoofShape(int code) {
  FormEvents out;
  moveFocus(FieldId::RoofShape, out);
  wind_.chooseRoofShape(*this, code);
  return out;
}

FormEvents InputForm::clickSnowModeInput() {
  FormEvents out;
  moveFocus(FieldId::SnowModeInput, out);
  append(out, site_.snowModeInput(*this));
  return out;
}

FormEvents InputForm::clickSnowModeDerive() {
  FormEvents out;
  moveFocus(FieldId::SnowModeDerive, out);
  append(out, site_.snowModeDerive(*this, loads_.directLoads()));
  return out;
}

void InputForm::pointerRestsOn(FieldId id) {
  statusText_ = hint(id).longText;
}

// ---- What the program does

FormEvents InputForm::setText(FieldId id, std::string_view newText) {
  FormEvents out;
  if (!isScreenField(id))
    return out;
  const FieldInfo& info = fieldInfo(id);
  switch (info.kind) {
    case FieldKind::Spin:
      return setSpinValue(id, spinReading(newText, info.range));
    case FieldKind::Text:
    case FieldKind::Display:
      assignText(id, std::string(newText), out);
      break;
    default:
      break;
  }
  return out;
}

FormEvents InputForm::setSpinValue(FieldId id, int value) {
  FormEvents out;
  const FieldInfo& info = fieldInfo(id);
  if (!isScreenField(id) || info.kind != FieldKind::Spin)
    return out;
  const int target = clampToRange(value, info.range);
  if (id != FieldId::SpanCount) {
    putSpinValue(id, target, out);
    return out;
  }
  // The span fields are built one step at a time, as the arrows would.
  return spans_.stepSpanCountTo(*this, target);
}

FormEvents InputForm::setOverhangCode(int code) {
  return spans_.setOverhangCode(*this, code);
}

void InputForm::setEnabled(FieldId id, bool enabled) {
  if (isScreenField(id))
    state(id).enabled = enabled;
}

void InputForm::setVersionText(std::string_view version) {
  versionLabel_ = "ver." + std::string(version);
  statusText_ = std::string(kStatusNotice) + std::string(version);
}

void InputForm::setProjectPath(std::string_view path) {
  caption_ = "Tavilo for win [" + std::string(path) + "]";
}

void InputForm::setTextSource(FieldId id, std::string source) {
  if (isScreenField(id))
    sources_[fieldIndex(id)] = TextSource{text(id), std::move(source)};
}

std::optional<std::string> InputForm::textSource(FieldId id) const {
  if (!isScreenField(id))
    return std::nullopt;
  const auto& source = sources_[fieldIndex(id)];
  if (!source || source->text != text(id))
    return std::nullopt;
  return source->source;
}

// ---- Text changes and focus

void InputForm::assignText(FieldId id, std::string newText, FormEvents& out) {
  state(id).text = std::move(newText);
  sources_[fieldIndex(id)].reset();
  textChanged(id, out);
}

void InputForm::textChanged(FieldId id, FormEvents& out) {
  switch (id) {
    case FieldId::Altitude:
    case FieldId::SeaRatio:
      append(out, site_.altitudeOrSeaRatioChanged(*this));
      break;
    case FieldId::SnowDepth:
      site_.snowDepthChanged(*this);
      break;
    case FieldId::SpanCount:
      append(out, spans_.arrangementChanged(*this));
      break;
    default:
      break;
  }
}

void InputForm::moveFocus(FieldId id, FormEvents& out) {
  if (id == focus_ || !isShown(id) || !isEnabled(id))
    return;
  if (!leave(focus_, out))
    return;
  focus_ = id;
  out.push_back(focusEvent(id));
}

bool InputForm::leave(FieldId id, FormEvents& out) {
  if (!isScreenField(id))
    return true;
  if (id == FieldId::LeftOverhang || id == FieldId::RightOverhang) {
    FormEvents corrected = spans_.overhangExit(*this, id);
    const bool keepsFocus = !corrected.empty();
    append(out, std::move(corrected));
    return !keepsFocus;
  }
  if (fieldInfo(id).kind == FieldKind::Spin)
    return leaveSpin(id, out);
  return true;
}

bool InputForm::leaveSpin(FieldId id, FormEvents& out) {
  const SpinRange& range = fieldInfo(id).range;
  const auto typed = parseInteger(text(id));
  if (typed && *typed >= range.min && *typed <= range.max)
    return true;
  putSpinValue(id, spinReading(text(id), range), out);
  return true;
}

FormEvents InputForm::overhangExit(FieldId id) {
  FormEvents out = spans_.overhangExit(*this, id);
  if (!out.empty())
    focus_ = id;
  return out;
}

}  // namespace tavilo
