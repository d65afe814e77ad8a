#pragma once
// The input screen without its window: every control's text, choice, enabled
// and shown state, hint and key filter, composed of the models of its groups
// (deck and joints, site and snow, wind choices, loads, span arrangement),
// which hold the remembered choice codes, the site data of the chosen
// district and the reactions of the screen. The Qt window, the project file
// and the batch tool drive it through the same user-like actions; messages
// and focus moves come back as events.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/site_data.h"
#include "location/location_tables.h"
#include "model/deck_joints.h"
#include "model/form_controls.h"
#include "model/form_events.h"
#include "model/form_fields.h"
#include "model/load_groups.h"
#include "model/site_snow.h"
#include "model/span_arrangement.h"
#include "model/wind_choices.h"

namespace tavilo {

// What changed since the view last asked, so that it redraws only that.
struct FormChanges {
  std::vector<FieldId> fields;  // text, choice, items, hint, enabled or shown state
  bool groups = false;          // which groups are shown, the layout
  bool window = false;    // caption, status text, version label, site-data notice, enabled state
  bool pictures = false;  // choice pictures, arrangement picture, shown span count
  bool any() const { return !fields.empty() || groups || window || pictures; }
};

class InputForm : public FormControls {
 public:
  // The screen as created, before start-up has read the location tables:
  // every control at its default, one span, no district.
  explicit InputForm(LocationTables tables);

  // Start-up: reads the address table, chooses the first district of
  // "北海道", reads the snow coefficient table, fills the site and snow
  // displays and selects "上欄へ入力". When a table cannot be read the rest is
  // still done with what is at hand, and then UserError is thrown; the form
  // stays usable.
  [[nodiscard]] FormEvents startUp();

  // ---- Reading the controls (text, index, items, spinValue, isEnabled,
  // isShown, isGroupShown and focus come with the controls)
  Hint hint(FieldId id) const;
  // Whether a character typed into the field is kept.
  bool acceptsKey(FieldId id, char32_t key) const;
  // Whether the field takes any typing now (a list, a display or the unit
  // weight of a catalogue treatment takes none).
  bool takesTyping(FieldId id) const;

  // The groups, for what they hold.
  const SiteAndSnow& siteAndSnow() const { return site_; }
  const WindChoices& windChoices() const { return wind_; }
  const LoadGroups& loadGroups() const { return loads_; }
  const SpanArrangement& spans() const { return spans_; }

  RoofType roofType() const { return wind_.roofType(); }
  int buildingShapeCode() const { return wind_.buildingShapeCode(); }  // 0 to 2
  int roofShapeCode() const { return wind_.roofShapeCode(); }          // 0 to 1
  const std::string& choicePicture(FieldId group) const { return wind_.choicePicture(group); }

  int snowMode() const {
    return SiteAndSnow::snowMode(*this);
  }  // kSnowModeInput or kSnowModeDerive
  int overhangCode() const { return spans_.overhangCode(); }
  int shownSpanCount() const { return spans_.shownSpanCount(); }
  const std::string& arrangementPicture() const { return spans_.arrangementPicture(); }

  // The site values: the calculation takes V0 from here, not from the text
  // of the V0 display, which a project file may have replaced.
  const SiteData& siteData() const { return site_.siteData(); }
  const SnowCoefficients& snowCoefficients() const { return site_.snowCoefficients(); }
  const std::string& prefectureName() const { return site_.prefectureName(); }
  const std::string& districtName() const { return site_.districtName(); }
  int seaRatio() const { return site_.seaRatio(); }
  int derivedSnowDepth() const { return site_.derivedSnowDepth(); }
  double computedDepthM() const { return site_.computedDepthM(); }
  bool heavySnow() const { return index(FieldId::HeavySnow) == 1; }
  // Why the site data in hand are not those of the chosen district (a table
  // that could not be read, a malformed line, a prefecture without
  // districts); nothing when they are. A calculation must not use them then.
  const std::optional<std::string>& siteFailure() const { return site_.siteFailure(); }
  Rgb heavySnowCaptionColour() const { return site_.heavySnowCaptionColour(); }
  // Whether the location tables in hand are marked as sample data
  // (kSampleDataMarker): a report drawn from them says so on every page.
  bool siteDataIsSample() const { return site_.locationTables().holdSampleData(); }
  // The line the screen shows under the site group, in red:
  // kSampleSiteDataNotice for sample tables, empty for an office's own.
  std::string siteDataNotice() const { return site_.siteDataNotice(); }

  int layoutMethod() const { return loads_.layoutMethod(); }
  const ScreenLayout& layout() const { return loads_.layout(); }
  bool screenEnabled() const { return screenEnabled_; }
  const std::string& statusText() const { return statusText_; }
  const std::string& caption() const { return caption_; }
  const std::string& versionLabel() const { return versionLabel_; }
  const LocationTables& locationTables() const { return site_.locationTables(); }

  // Everything that changed since the last call (the first call reports the
  // whole screen). The site-data notice counts as a window text.
  FormChanges takeChanges();

  // ---- What the user does
  // Chooses an item of a list (an index outside the list changes nothing) and
  // runs the list's reaction, also when the item was already chosen.
  [[nodiscard]] FormEvents selectIndex(FieldId id, int itemIndex);
  // Selects the whole text of a field and types `keys` into it, key by key
  // through the field's key filter; "\b" is backspace.
  [[nodiscard]] FormEvents typeText(FieldId id, std::string_view keys);
  // Types `keys` at the end of the field's text.
  [[nodiscard]] FormEvents typeKeys(FieldId id, std::string_view keys);
  // The field's whole text replaced at once, as a window's text field reports
  // typing, pasting or an input method: the characters the field's key filter
  // would refuse are dropped, and a field that takes no typing keeps its text.
  [[nodiscard]] FormEvents editText(FieldId id, std::string_view newText);
  // An arrow button or the ▲ (+1) / ▼ (-1) key of a spin field.
  [[nodiscard]] FormEvents stepSpin(FieldId id, int direction);
  // Moves the input focus; the control that loses it runs its exit rule.
  [[nodiscard]] FormEvents focusField(FieldId id);
  [[nodiscard]] FormEvents clickRoofType(RoofType roofType);
  [[nodiscard]] FormEvents clickBuildingShape(int code);
  [[nodiscard]] FormEvents clickRoofShape(int code);
  [[nodiscard]] FormEvents clickSnowModeInput();
  [[nodiscard]] FormEvents clickSnowModeDerive();
  void pointerRestsOn(FieldId id);

  // ---- What the program does (project file, start-up, settings dialog)
  // Puts a text into a control and runs its change reaction, even when the
  // text is unchanged. A spin field takes the value the text reads as,
  // brought into range; the span count moves there one step at a time.
  [[nodiscard]] FormEvents setText(FieldId id, std::string_view text);
  [[nodiscard]] FormEvents setSpinValue(FieldId id, int value);
  // Overhang arrangement 0 to 3 (2 and 3 come only from project files; the
  // list then shows "有り"); anything else counts as 0.
  [[nodiscard]] FormEvents setOverhangCode(int code);
  void setEnabled(FieldId id, bool enabled);
  // Selects an input mode of the snow depth and enables the snow depth,
  // altitude and sea-ratio fields as it requires, without changing a value.
  void setSnowModeChoice(int mode) { SiteAndSnow::setSnowModeChoice(*this, mode); }
  // Switches to the layout of the calculation method (0 or 1).
  [[nodiscard]] FormEvents setLayout(int calcMethod) { return loads_.setLayout(*this, calcMethod); }
  void setScreenEnabled(bool enabled) { screenEnabled_ = enabled; }
  void setVersionText(std::string_view version);
  void setProjectPath(std::string_view path);

  // Where the text of a field came from when a project file put it there
  // ("データファイル「p.tvl」の 9 行目"), so that a message about the value can
  // name the line; nothing once the field holds another text.
  void setTextSource(FieldId id, std::string source);
  std::optional<std::string> textSource(FieldId id) const;

  // The exit rule of an overhang length field, as when the field is left:
  // a corrected length keeps the focus in the field.
  [[nodiscard]] FormEvents overhangExit(FieldId id);

 private:
  // What the view was last told.
  struct Published {
    std::array<FieldState, kInputScreenFieldCount> fields;
    std::array<bool, kGroupCount> groupShown{};
    int layoutMethod = -1;
    std::string caption, statusText, versionLabel, siteDataNotice;
    bool screenEnabled = true;
    std::array<std::string, 3> choicePictures;
    std::string arrangementPicture;
    int shownSpanCount = -1;
  };

  void assignText(FieldId id, std::string text, FormEvents& out) override;
  void moveFocus(FieldId id, FormEvents& out) override;
  void textChanged(FieldId id, FormEvents& out);
  void typeInto(FieldId id, std::string_view keys, bool replaceAll, FormEvents& out);
  // The exit rule of the control losing the focus; false when it keeps it.
  bool leave(FieldId id, FormEvents& out);
  bool leaveSpin(FieldId id, FormEvents& out);

  SiteAndSnow site_;
  WindChoices wind_;
  LoadGroups loads_;
  SpanArrangement spans_;

  bool screenEnabled_ = true;
  std::string statusText_;
  std::string caption_;
  std::string versionLabel_;
  std::optional<Published> published_;

  struct TextSource {
    std::string text;  // the text as the file put it into the field
    std::string source;
  };
  std::array<std::optional<TextSource>, kInputScreenFieldCount> sources_;
};

}  // namespace tavilo
