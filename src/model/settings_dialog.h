#pragma once
// The settings dialog "係数等の定義" without its window: the method choice,
// the maximum deck length and the 22 load ratio texts, with the P ratios
// following the G ratio of their row. The commands that open, apply and
// cancel it also switch the input screen.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "calc/coefficient_settings.h"
#include "model/form_events.h"
#include "model/form_fields.h"

namespace tavilo {

class InputForm;

class SettingsDialog {
 public:
  // Created hidden with the default texts.
  SettingsDialog();

  int methodChoice() const { return method_; }  // 0 notices, 1 direct input
  const std::string& text(FieldId id) const;
  const std::string& ratioText(int position) const;  // position 0 to 21
  // The maximum deck length the spin field holds, read as an integer (0 when
  // it is not one) and brought into range.
  int maxDeckLengthValue() const;
  bool isVisible() const { return visible_; }
  FieldId focus() const { return focus_; }
  Hint hint(FieldId id) const { return splitHint(fieldInfo(id).hint); }
  // The P ratio fields only show the G ratio of their row.
  static bool isReadOnlyRatio(int position);
  bool acceptsKey(FieldId id, char32_t key) const;

  // ---- What the user does
  void clickMethod(int method);
  // Selects the whole text of a ratio field or of the maximum length and
  // types `keys` into it through the key filter; "\b" is backspace.
  void typeText(FieldId id, std::string_view keys);
  void typeKeys(FieldId id, std::string_view keys);
  // The field's whole text replaced at once (typing, pasting, an input
  // method): characters the key filter refuses are dropped, a ratio keeps at
  // most 8 characters, and a read-only P ratio keeps its text.
  void editText(FieldId id, std::string_view newText);
  void stepSpin(FieldId id, int direction);  // the maximum length arrows
  // Moves the focus; the maximum length is brought into range on leaving it.
  void focusField(FieldId id);

  // ---- What the program does
  // Puts a ratio text; a G ratio passes its text on to the P ratio of its row.
  void setRatioText(int position, std::string_view text);
  void setMaxDeckLength(int value);
  void show() { visible_ = true; }
  void hide() { visible_ = false; }
  // "初期値へ戻す": default method, 12000 and the default ratio texts. Only
  // the dialog changes.
  void reset();

  // The fields whose text changed, and the method choice, since the last call
  // (the first call reports every field).
  std::vector<FieldId> takeChangedFields();

 private:
  void typeInto(FieldId id, std::string_view keys, bool replaceAll);
  std::string* mutableText(FieldId id);

  int method_ = kCalcMethodNotices;
  std::string maxDeckLength_;
  std::array<std::string, kLoadRatioCount> ratios_;
  bool visible_ = false;
  FieldId focus_ = FieldId::SettingsMethodNotices;
  // What the view was last told: the method, the maximum length, the ratios.
  std::optional<std::tuple<int, std::string, std::array<std::string, kLoadRatioCount>>> published_;
};

// The name of a ratio in the dialog, e.g. "一般の場合・長　期・Ｇ".
std::string ratioName(int position);

// The "設　定" command of the input screen: shows the dialog and disables the
// input screen until the dialog is closed.
void openSettingsDialog(SettingsDialog& dialog, InputForm& form);

// "  設    定": reads the maximum length and the 22 ratios. A ratio that is not
// a decimal number stops it with a message and the focus on that field, and
// then nothing of the settings changes and the dialog stays open. Otherwise
// the dialog closes, the settings take the values and the method, and the
// input screen switches to the method's layout.
[[nodiscard]] FormEvents applySettings(SettingsDialog& dialog, CoefficientSettings& settings,
                                       InputForm& form);

// " キャンセル": the fields show the stored settings again (shortest decimal
// form); the method choice keeps what was last clicked. The dialog closes.
[[nodiscard]] FormEvents cancelSettings(SettingsDialog& dialog, const CoefficientSettings& settings,
                                        InputForm& form);

// "初期値へ戻す".
void resetSettingsDialog(SettingsDialog& dialog);

// The settings a project file stores.
CoefficientSettings settingsForProject(const CoefficientSettings& settings);

}  // namespace tavilo
