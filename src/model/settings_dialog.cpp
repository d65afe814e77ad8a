#include "model/settings_dialog.h"

#include <algorithm>
#include <optional>

#include "calc/numbers.h"
#include "model/input_form.h"
#include "text/utf8.h"

namespace tavilo {
namespace {

const SpinRange& maxLengthRange() {
  return fieldInfo(FieldId::SettingsMaxDeckLength).range;
}

// Hides the dialog and gives the input screen back its input.
void closeDialog(SettingsDialog& dialog, InputForm& form) {
  dialog.hide();
  form.setScreenEnabled(true);
}

}  // namespace

SettingsDialog::SettingsDialog() {
  reset();
}

const std::string& SettingsDialog::text(FieldId id) const {
  static const std::string kEmpty;
  if (id == FieldId::SettingsMaxDeckLength)
    return maxDeckLength_;
  const int position = ratioPositionOf(id);
  return position >= 0 ? ratios_[static_cast<std::size_t>(position)] : kEmpty;
}

const std::string& SettingsDialog::ratioText(int position) const {
  return text(ratioField(position));
}

int SettingsDialog::maxDeckLengthValue() const {
  return clampToRange(spinReading(maxDeckLength_, maxLengthRange()), maxLengthRange());
}

bool SettingsDialog::isReadOnlyRatio(int position) {
  const std::optional<RatioPlace> place = ratioPlaceOf(position);
  return place && place->load == RatioLoad::P;
}

bool SettingsDialog::acceptsKey(FieldId id, char32_t key) const {
  if (id == FieldId::SettingsMaxDeckLength)
    return acceptsDigitsKey(key);
  const int position = ratioPositionOf(id);
  if (position < 0 || isReadOnlyRatio(position))
    return false;
  return acceptsRatioKey(key);
}

void SettingsDialog::clickMethod(int method) {
  focusField(method == kCalcMethodDirect ? FieldId::SettingsMethodDirect
                                         : FieldId::SettingsMethodNotices);
  method_ = method == kCalcMethodDirect ? kCalcMethodDirect : kCalcMethodNotices;
}

void SettingsDialog::typeText(FieldId id, std::string_view keys) {
  typeInto(id, keys, true);
}

void SettingsDialog::typeKeys(FieldId id, std::string_view keys) {
  typeInto(id, keys, false);
}

void SettingsDialog::typeInto(FieldId id, std::string_view keys, bool replaceAll) {
  std::string* target = mutableText(id);
  if (target == nullptr)
    return;
  focusField(id);
  const int position = ratioPositionOf(id);
  bool selected = replaceAll;
  for (const char32_t key : decodeUtf8(keys)) {
    if (!acceptsKey(id, key))
      continue;
    std::string next = *target;
    if (selected) {
      next.clear();
    } else if (key == kBackspace) {
      dropLastCharacter(next);
    }
    if (key != kBackspace) {
      // A ratio field holds at most 8 typed characters.
      if (position >= 0 && decodeUtf8(next).size() >= kRatioMaxLength)
        continue;
      next += encodeUtf8(key);
    }
    selected = false;
    if (next == *target)
      continue;
    if (position >= 0) {
      setRatioText(position, next);
    } else {
      *target = std::move(next);
    }
  }
}

void SettingsDialog::editText(FieldId id, std::string_view newText) {
  std::string* target = mutableText(id);
  const int position = ratioPositionOf(id);
  if (target == nullptr || (position >= 0 && isReadOnlyRatio(position)))
    return;
  focusField(id);
  std::string filtered;
  std::size_t length = 0;
  for (const char32_t c : decodeUtf8(newText)) {
    if (c == kBackspace || !acceptsKey(id, c))
      continue;
    if (position >= 0 && length == kRatioMaxLength)
      break;
    filtered += encodeUtf8(c);
    ++length;
  }
  if (filtered == *target)
    return;
  if (position >= 0) {
    setRatioText(position, filtered);
  } else {
    *target = std::move(filtered);
  }
}

std::vector<FieldId> SettingsDialog::takeChangedFields() {
  std::vector<FieldId> changed;
  const bool first = !published_.has_value();
  if (first)
    published_.emplace();
  auto& [method, maxLength, ratios] = *published_;
  if (first || method != method_)
    changed.push_back(FieldId::SettingsMethodNotices);
  if (first || maxLength != maxDeckLength_)
    changed.push_back(FieldId::SettingsMaxDeckLength);
  for (int i = 0; i < kLoadRatioCount; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (first || ratios[k] != ratios_[k])
      changed.push_back(ratioField(i));
  }
  *published_ = {method_, maxDeckLength_, ratios_};
  return changed;
}

void SettingsDialog::stepSpin(FieldId id, int direction) {
  if (id != FieldId::SettingsMaxDeckLength || direction == 0)
    return;
  focusField(id);
  const SpinRange& range = maxLengthRange();
  setMaxDeckLength(stepSpinValue(spinReading(maxDeckLength_, range), direction, range));
}

void SettingsDialog::focusField(FieldId id) {
  if (id == focus_)
    return;
  if (focus_ == FieldId::SettingsMaxDeckLength) {
    const auto typed = parseInteger(maxDeckLength_);
    const SpinRange& range = maxLengthRange();
    if (!typed || *typed < range.min || *typed > range.max) {
      setMaxDeckLength(spinReading(maxDeckLength_, range));
    }
  }
  focus_ = id;
}

void SettingsDialog::setRatioText(int position, std::string_view newText) {
  if (position < 0 || position >= kLoadRatioCount)
    return;
  ratios_[static_cast<std::size_t>(position)] = std::string(newText);
  const int follower = pRatioPositionOf(position);
  if (follower >= 0)
    ratios_[static_cast<std::size_t>(follower)] = std::string(newText);
}

void SettingsDialog::setMaxDeckLength(int value) {
  maxDeckLength_ = std::to_string(clampToRange(value, maxLengthRange()));
}

void SettingsDialog::reset() {
  method_ = kCalcMethodNotices;
  setMaxDeckLength(CoefficientSettings{}.maxDeckLength);
  for (int i = 0; i < kLoadRatioCount; ++i) {
    setRatioText(i, kDefaultLoadRatioTexts[static_cast<std::size_t>(i)]);
  }
}

std::string* SettingsDialog::mutableText(FieldId id) {
  if (id == FieldId::SettingsMaxDeckLength)
    return &maxDeckLength_;
  const int position = ratioPositionOf(id);
  return position >= 0 ? &ratios_[static_cast<std::size_t>(position)] : nullptr;
}

std::string ratioName(int position) {
  const std::optional<RatioPlace> place = ratioPlaceOf(position);
  if (!place)
    return {};
  return std::string(kRatioSetNames[static_cast<std::size_t>(place->set)]) + "・" +
         std::string(place->row->caption) + "・" +
         std::string(kRatioLoadLetters[static_cast<std::size_t>(place->load)]);
}

void openSettingsDialog(SettingsDialog& dialog, InputForm& form) {
  dialog.show();
  form.setScreenEnabled(false);
}

FormEvents applySettings(SettingsDialog& dialog, CoefficientSettings& settings, InputForm& form) {
  // Pressing the button takes the focus, which brings the maximum length into range.
  dialog.focusField(FieldId::SettingsApplyButton);
  const int maxDeckLength = dialog.maxDeckLengthValue();

  // All or nothing: a half-applied set of ratios would change the loads silently.
  LoadRatios ratios{};
  for (int i = 0; i < kLoadRatioCount; ++i) {
    const std::string& ratioText = dialog.ratioText(i);
    const std::optional<double> value = parseDecimal(ratioText);
    if (!value) {
      dialog.focusField(ratioField(i));
      return {messageEvent(ratioField(i), "荷重の比率［" + ratioName(i) + "］の値「" + ratioText +
                                              "」は数値ではありません。\n"
                                              "数値を入力して下さい。"),
              focusEvent(ratioField(i))};
    }
    ratios[static_cast<std::size_t>(i)] = *value;
  }
  settings.maxDeckLength = maxDeckLength;
  settings.loadRatios = ratios;

  closeDialog(dialog, form);
  settings.calcMethod = dialog.methodChoice();
  FormEvents out = form.setLayout(settings.calcMethod);
  out.push_back(focusEvent(form.focus()));
  return out;
}

FormEvents cancelSettings(SettingsDialog& dialog, const CoefficientSettings& settings,
                          InputForm& form) {
  dialog.setMaxDeckLength(settings.maxDeckLength);
  for (int i = 0; i < kLoadRatioCount; ++i) {
    dialog.setRatioText(i, shortestDecimal(settings.loadRatios[static_cast<std::size_t>(i)]));
  }
  closeDialog(dialog, form);
  return {focusEvent(form.focus())};
}

void resetSettingsDialog(SettingsDialog& dialog) {
  dialog.reset();
}

CoefficientSettings settingsForProject(const CoefficientSettings& settings) {
  return settings;
}

}  // namespace tavilo
