#include "model/input_form.h"

#include <utility>

#include "calc/catalogue.h"
#include "calc/errors.h"
#include "calc/numbers.h"

namespace tavilo {
namespace {

// The status bar before the pointer first rests on a control; the version
// follows "ver.".
constexpr std::string_view kStatusNotice = "鋼製屋根デッキプレートの構造計算プログラム　ver.";

constexpr std::string_view kCatalogueWeightHint = "選択されたデッキの単位重量です。";
constexpr std::string_view kTypedWeightHint = "デッキの単位重量を設定して下さい。";

const std::string& emptyText() {
  static const std::string kEmpty;
  return kEmpty;
}

const std::vector<std::string>& noItems() {
  static const std::vector<std::string> kNone;
  return kNone;
}

int choicePictureSlot(FieldId group) {
  switch (group) {
    case FieldId::RoofType:
      return 0;
    case FieldId::BuildingShape:
      return 1;
    case FieldId::RoofShape:
      return 2;
    default:
      return -1;
  }
}

}  // namespace

InputForm::InputForm(LocationTables tables) : tables_(std::move(tables)) {
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
  arrangementPicture_ = std::string(arrangementPictureName(1, kOverhangNone));

  prefectureName_ = state(FieldId::Prefecture).text;
  statusText_ = std::string(kStatusNotice);
  caption_ = std::string(kWindowCaption);
  versionLabel_ = "ver.";
}

FormEvents InputForm::startUp() {
  FormEvents out;
  std::string failure;
  site_ = SiteData{};

  FieldState& districts = state(FieldId::District);
  try {
    DistrictList list = tables_.loadAddressTable();
    districts.items = std::move(list.districts);
    if (list.first)
      site_ = *list.first;
  } catch (const UserError& error) {
    failure = error.what();
  }
  state(FieldId::Prefecture).index = 0;
  state(FieldId::Prefecture).text = std::string(kPrefectures[0]);
  prefectureName_ = state(FieldId::Prefecture).text;
  districts.index = districts.items.empty() ? -1 : 0;
  districts.text = districts.items.empty() ? std::string() : districts.items.front();
  districtName_ = districts.text;
  buildingShapeCode_ = 0;
  roofShapeCode_ = 0;

  try {
    if (const auto coefficients = tables_.loadSnowCoefficients(site_.snowRegion)) {
      coefficients_ = *coefficients;
    }
  } catch (const UserError& error) {
    if (!failure.empty())
      failure += "\n";
    failure += error.what();
  }

  moveFocus(FieldId::DeckType, out);
  showSiteSpeed();
  setSnowModeChoice(kSnowModeInput);
  onUpdateSnowDisplays(out);
  groupShown_[static_cast<std::size_t>(Group::BuildingShape)] = true;
  groupShown_[static_cast<std::size_t>(Group::RoofShape)] = false;
  const FormEvents layoutEvents = setLayout(0);
  out.insert(out.end(), layoutEvents.begin(), layoutEvents.end());
  onSnowModeInput(out);
  state(FieldId::HeavySnow).enabled = false;

  if (districtName_.empty() && failure.empty())
    failure = "所在地データ（" + std::string(kAddressFileName) + "）に「" + prefectureName_ +
              "」の地域がありません。";
  if (!failure.empty()) {
    siteFailure_ = failure;
    throw UserError(failure);
  }
  siteFailure_.reset();
  return out;
}

// ---- Reading

const std::string& InputForm::text(FieldId id) const {
  return isScreenField(id) ? state(id).text : emptyText();
}

int InputForm::index(FieldId id) const {
  return isScreenField(id) ? state(id).index : -1;
}

const std::vector<std::string>& InputForm::items(FieldId id) const {
  return isScreenField(id) ? state(id).items : noItems();
}

int InputForm::spinValue(FieldId id) const {
  const FieldInfo& info = fieldInfo(id);
  if (info.kind != FieldKind::Spin)
    return parseInteger(text(id)).value_or(0);
  return clampToRange(spinReading(text(id), info.range), info.range);
}

bool InputForm::isEnabled(FieldId id) const {
  return isScreenField(id) && state(id).enabled;
}

bool InputForm::isGroupShown(Group group) const {
  if (!groupShown_[static_cast<std::size_t>(group)])
    return false;
  if (group == Group::BuildingShape || group == Group::RoofShape) {
    return groupShown_[static_cast<std::size_t>(Group::Wind)];
  }
  return true;
}

bool InputForm::isShown(FieldId id) const {
  return isScreenField(id) && state(id).visible && isGroupShown(fieldInfo(id).group);
}

Hint InputForm::hint(FieldId id) const {
  return splitHint(isScreenField(id) ? std::string_view(state(id).hint) : fieldInfo(id).hint);
}

bool InputForm::acceptsKey(FieldId id, char32_t key) const {
  switch (fieldInfo(id).keys) {
    case KeyRule::Digits:
      return acceptsDigitsKey(key);
    case KeyRule::UnitWeight:
      return index(FieldId::SurfaceTreatment) == kSurfaceTreatmentOther && acceptsDigitsKey(key);
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
      return index(FieldId::SurfaceTreatment) == kSurfaceTreatmentOther;
    default:
      return true;
  }
}

const std::string& InputForm::choicePicture(FieldId group) const {
  const int slot = choicePictureSlot(group);
  return slot < 0 ? emptyText() : choicePictures_[static_cast<std::size_t>(slot)];
}

int InputForm::snowMode() const {
  return index(FieldId::SnowModeDerive) == 1 ? kSnowModeDerive : kSnowModeInput;
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
      onUnitWeightChanged(out);
      break;
    case FieldId::Prefecture:
      onPrefectureChanged(out);
      break;
    case FieldId::District:
      onDistrictChanged(out);
      break;
    case FieldId::Overhang:
      overhangCode_ = itemIndex;
      onArrangementChanged(out);
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
  changes.groups = first || groupShown_ != p.groupShown || layoutMethod_ != p.layoutMethod;
  const std::string notice = siteDataNotice();
  changes.window = first || caption_ != p.caption || statusText_ != p.statusText ||
                   versionLabel_ != p.versionLabel || screenEnabled_ != p.screenEnabled ||
                   notice != p.siteDataNotice;
  changes.pictures = first || choicePictures_ != p.choicePictures ||
                     arrangementPicture_ != p.arrangementPicture ||
                     shownSpanCount_ != p.shownSpanCount;
  p.groupShown = groupShown_;
  p.layoutMethod = layoutMethod_;
  p.caption = caption_;
  p.statusText = statusText_;
  p.versionLabel = versionLabel_;
  p.siteDataNotice = notice;
  p.screenEnabled = screenEnabled_;
  p.choicePictures = choicePictures_;
  p.arrangementPicture = arrangementPicture_;
  p.shownSpanCount = shownSpanCount_;
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
  chooseRoofType(roofType);
  return out;
}

void InputForm::chooseRoofType(RoofType roofType) {
  roofType_ = roofType;
  const std::size_t position = positionOf(roofType);
  FieldState& field = state(FieldId::RoofType);
  field.index = static_cast<int>(position);
  field.text = std::string(kRoofTypeNames[position]);
  choicePictures_[0] = std::string(kRoofTypePictures[position]);
  // A canopy roof has no walls: its roof shape replaces the building shape.
  const bool canopy = roofType == RoofType::Canopy;
  groupShown_[static_cast<std::size_t>(Group::BuildingShape)] = !canopy;
  groupShown_[static_cast<std::size_t>(Group::RoofShape)] = canopy;
}

FormEvents InputForm::clickBuildingShape(int code) {
  FormEvents out;
  moveFocus(FieldId::BuildingShape, out);
  buildingShapeCode_ = code;
  const bool known = code >= 0 && code < static_cast<int>(kBuildingShapeItems.size());
  FieldState& field = state(FieldId::BuildingShape);
  field.index = known ? code : -1;
  field.text = known ? std::string(kBuildingShapeItems[static_cast<std::size_t>(code)]) : "";
  if (known)
    choicePictures_[1] = std::string(kBuildingShapePictures[static_cast<std::size_t>(code)]);
  return out;
}

FormEvents InputForm::clickRoofShape(int code) {
  FormEvents out;
  moveFocus(FieldId::RoofShape, out);
  roofShapeCode_ = code;
  const bool known = code >= 0 && code < static_cast<int>(kRoofShapeNames.size());
  FieldState& field = state(FieldId::RoofShape);
  field.index = known ? code : -1;
  field.text = known ? std::string(kRoofShapeNames[static_cast<std::size_t>(code)]) : "";
  if (known)
    choicePictures_[2] = std::string(kRoofShapePictures[static_cast<std::size_t>(code)]);
  return out;
}

FormEvents InputForm::clickSnowModeInput() {
  FormEvents out;
  moveFocus(FieldId::SnowModeInput, out);
  onSnowModeInput(out);
  return out;
}

FormEvents InputForm::clickSnowModeDerive() {
  FormEvents out;
  moveFocus(FieldId::SnowModeDerive, out);
  onSnowModeDerive(out);
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
  for (int current = spinValue(id); current != target; current += current < target ? 1 : -1) {
    state(id).text = std::to_string(current < target ? current + 1 : current - 1);
    onArrangementChanged(out);
  }
  return out;
}

FormEvents InputForm::setOverhangCode(int code) {
  FormEvents out;
  overhangCode_ = code >= kOverhangNone && code <= kOverhangBoth ? code : kOverhangNone;
  FieldState& list = state(FieldId::Overhang);
  list.index = overhangCode_ == kOverhangNone ? 0 : 1;
  list.text = list.items[static_cast<std::size_t>(list.index)];
  onArrangementChanged(out);
  return out;
}

void InputForm::setEnabled(FieldId id, bool enabled) {
  if (isScreenField(id))
    state(id).enabled = enabled;
}

void InputForm::setSnowModeChoice(int mode) {
  const bool derive = mode == kSnowModeDerive;
  state(FieldId::SnowModeInput).index = derive ? 0 : 1;
  state(FieldId::SnowModeDerive).index = derive ? 1 : 0;
  state(FieldId::SnowDepth).enabled = !derive;
  state(FieldId::Altitude).enabled = derive;
  state(FieldId::SeaRatio).enabled = derive;
}

FormEvents InputForm::setLayout(int calcMethod) {
  FormEvents out;
  layoutMethod_ = calcMethod == 1 ? 1 : 0;
  const ScreenLayout& shape = layout();
  groupShown_[static_cast<std::size_t>(Group::Wind)] = shape.windAndSnowShown;
  groupShown_[static_cast<std::size_t>(Group::Snow)] = shape.windAndSnowShown;
  groupShown_[static_cast<std::size_t>(Group::DirectLoad)] = shape.directLoadShown;
  // A control that has just been hidden cannot keep the focus.
  if (!isShown(focus_))
    moveFocus(FieldId::DeckType, out);
  return out;
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

void InputForm::putSpinValue(FieldId id, int value, FormEvents& out) {
  assignText(id, std::to_string(clampToRange(value, fieldInfo(id).range)), out);
}

void InputForm::textChanged(FieldId id, FormEvents& out) {
  switch (id) {
    case FieldId::Altitude:
    case FieldId::SeaRatio:
      onAltitudeOrSeaRatioChanged(out);
      break;
    case FieldId::SnowDepth:
      onSnowDepthChanged(out);
      break;
    case FieldId::SpanCount:
      onArrangementChanged(out);
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
    return !onOverhangExit(id, out);
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

// ---- Deck

FormEvents InputForm::unitWeightChanged() {
  FormEvents out;
  onUnitWeightChanged(out);
  return out;
}

void InputForm::onUnitWeightChanged(FormEvents& out) {
  FieldState& weight = state(FieldId::UnitWeight);
  weight.enabled = true;
  const int treatment = index(FieldId::SurfaceTreatment);
  const std::string_view treatmentName =
      treatment >= 0 && treatment < static_cast<int>(kSurfaceTreatments.size())
          ? kSurfaceTreatments[static_cast<std::size_t>(treatment)]
          : std::string_view();
  if (const auto catalogueWeight = unitWeightOf(index(FieldId::DeckType), treatmentName)) {
    weight.text = *catalogueWeight;
    weight.hint = std::string(kCatalogueWeightHint);
    return;
  }
  moveFocus(FieldId::UnitWeight, out);
  weight.text.clear();
  weight.hint = std::string(kTypedWeightHint);
}

}  // namespace tavilo
