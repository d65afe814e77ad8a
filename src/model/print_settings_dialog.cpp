#include "model/print_settings_dialog.h"

#include <algorithm>

#include "model/form_fields.h"
#include "text/utf8.h"

namespace tavilo {
namespace {

constexpr SpinRange kStartNumberRange{kStartNumberMin, kStartNumberMax, 1};

}  // namespace

void PrintSettingsDialog::open(const PrintSettings& settings) {
  name_ = settings.projectName;
  visible_ = true;
}

std::string fittedProjectName(std::string_view text) {
  std::string kept;
  std::size_t count = 0;
  for (const char32_t c : decodeUtf8(text)) {
    if (count == kProjectNameMaxLength)
      break;
    // A line break would split the title box; it has no place in a name.
    if (c == U'\n' || c == U'\r')
      continue;
    kept += encodeUtf8(c);
    ++count;
  }
  return kept;
}

void PrintSettingsDialog::clickNameField() {
  if (name_ == kNoProjectName)
    name_.clear();
}

void PrintSettingsDialog::editName(std::string_view text) {
  name_ = fittedProjectName(text);
}

void PrintSettingsDialog::choosePosition(PageNumberPosition position, PrintSettings& settings) {
  selectPosition(position);
  if (position != PageNumberPosition::None)
    settings.pageNumberPosition = position;
}

void PrintSettingsDialog::chooseStyle(int index, PrintSettings& settings) {
  if (index < 0 || index >= static_cast<int>(kPageNumberStyleItems.size()))
    return;
  style_ = index;
  settings.pageNumberStyle = index;
}

void PrintSettingsDialog::editStartNumber(std::string_view text) {
  std::string digits;
  for (const char32_t c : decodeUtf8(text)) {
    if (isDigitKey(c))
      digits += encodeUtf8(c);
  }
  startNumber_ = std::move(digits);
}

void PrintSettingsDialog::stepStartNumber(int direction) {
  startNumber_ = std::to_string(
      stepSpinValue(spinReading(startNumber_, kStartNumberRange), direction, kStartNumberRange));
}

void PrintSettingsDialog::leaveStartNumber() {
  startNumber_ = std::to_string(startNumberValue());
}

void PrintSettingsDialog::confirm(PrintSettings& settings) {
  settings.projectName = name_.empty() ? std::string(kNoProjectName) : name_;
  leaveStartNumber();
  if (groupEnabled_) {
    settings.startNumber = startNumber_;
  } else {
    settings.pageNumberPosition = PageNumberPosition::None;
  }
  visible_ = false;
}

void PrintSettingsDialog::cancel(const PrintSettings& settings) {
  name_ = settings.projectName;
  startNumber_ = settings.startNumber;
  selectPosition(settings.pageNumberPosition);
  visible_ = false;
}

void PrintSettingsDialog::showSettings(const PrintSettings& settings) {
  name_ = settings.projectName;
  style_ = std::clamp(settings.pageNumberStyle, 0, 1);
  startNumber_ = settings.startNumber;
  selectPosition(settings.pageNumberPosition);
}

int PrintSettingsDialog::startNumberValue() const {
  return clampToRange(spinReading(startNumber_, kStartNumberRange), kStartNumberRange);
}

void PrintSettingsDialog::selectPosition(PageNumberPosition position) {
  position_ = position;
  groupEnabled_ = position != PageNumberPosition::None;
}

}  // namespace tavilo
