#pragma once
// The input screen without its window: every control's text, choice, enabled
// and shown state, hint and key filter, the remembered choice codes, the site
// data of the chosen district and the reactions of the screen. The Qt window,
// the project file and the batch tool drive it through the same user-like
// actions; messages and focus moves come back as events.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/site_data.h"
#include "location/location_tables.h"
#include "model/form_events.h"
#include "model/form_fields.h"

namespace tavilo {

struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const Rgb&) const = default;
};
inline constexpr Rgb kCaptionBlack{0, 0, 0};
inline constexpr Rgb kCaptionGrey{153, 153, 153};

// The red line under the site group while the location tables in hand are
// marked as sample data.
inline constexpr std::string_view kSampleSiteDataNotice =
    "所在地データは見本です。実際の設計には使用できません。";

inline constexpr int kSnowModeInput = 0;   // "上欄へ入力"
inline constexpr int kSnowModeDerive = 1;  // "下記値より算出"

// What changed since the view last asked, so that it redraws only that.
struct FormChanges {
  std::vector<FieldId> fields;  // text, choice, items, hint, enabled or shown state
  bool groups = false;          // which groups are shown, the layout
  bool window = false;    // caption, status text, version label, site-data notice, enabled state
  bool pictures = false;  // choice pictures, arrangement picture, shown span count
  bool any() const { return !fields.empty() || groups || window || pictures; }
};

class InputForm {
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

  // ---- Reading the controls
  const std::string& text(FieldId id) const;
  int index(FieldId id) const;  // chosen item, -1 for none; 1/0 for options and check boxes
  const std::vector<std::string>& items(FieldId id) const;
  // The integer a spin field holds: its text read as an integer (the minimum
  // when it is not one), brought into the field's range.
  int spinValue(FieldId id) const;
  bool isEnabled(FieldId id) const;
  bool isShown(FieldId id) const;  // the control and every group around it are shown
  bool isGroupShown(Group group) const;
  Hint hint(FieldId id) const;
  // Whether a character typed into the field is kept.
  bool acceptsKey(FieldId id, char32_t key) const;
  // Whether the field takes any typing now (a list, a display or the unit
  // weight of a catalogue treatment takes none).
  bool takesTyping(FieldId id) const;
  FieldId focus() const { return focus_; }

  RoofType roofType() const { return roofType_; }
  int buildingShapeCode() const { return buildingShapeCode_; }  // 0 to 2
  int roofShapeCode() const { return roofShapeCode_; }          // 0 to 1
  // The picture file loaded for a choice group (RoofType, BuildingShape or
  // RoofShape); empty while the window's built-in picture is shown.
  const std::string& choicePicture(FieldId group) const;

  int snowMode() const;  // kSnowModeInput or kSnowModeDerive
  int overhangCode() const { return overhangCode_; }
  int shownSpanCount() const { return shownSpanCount_; }
  const std::string& arrangementPicture() const { return arrangementPicture_; }

  // The site values: the calculation takes V0 from here, not from the text
  // of the V0 display, which a project file may have replaced.
  const SiteData& siteData() const { return site_; }
  const SnowCoefficients& snowCoefficients() const { return coefficients_; }
  const std::string& prefectureName() const { return prefectureName_; }
  const std::string& districtName() const { return districtName_; }
  int seaRatio() const { return seaRatio_; }
  int derivedSnowDepth() const { return derivedSnowDepth_; }
  double computedDepthM() const { return computedDepthM_; }
  bool heavySnow() const { return index(FieldId::HeavySnow) == 1; }
  // Why the site data in hand are not those of the chosen district (a table
  // that could not be read, a malformed line, a prefecture without
  // districts); nothing when they are. A calculation must not use them then.
  const std::optional<std::string>& siteFailure() const { return siteFailure_; }
  Rgb heavySnowCaptionColour() const { return heavySnowCaptionColour_; }
  // Whether the location tables in hand are marked as sample data
  // (kSampleDataMarker): a report drawn from them says so on every page.
  bool siteDataIsSample() const { return tables_.holdSampleData(); }
  // The line the screen shows under the site group, in red:
  // kSampleSiteDataNotice for sample tables, empty for an office's own.
  std::string siteDataNotice() const;

  int layoutMethod() const { return layoutMethod_; }
  const ScreenLayout& layout() const { return layoutFor(layoutMethod_); }
  bool screenEnabled() const { return screenEnabled_; }
  const std::string& statusText() const { return statusText_; }
  const std::string& caption() const { return caption_; }
  const std::string& versionLabel() const { return versionLabel_; }
  const LocationTables& locationTables() const { return tables_; }

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
  void setSnowModeChoice(int mode);
  // Switches to the layout of the calculation method (0 or 1).
  [[nodiscard]] FormEvents setLayout(int calcMethod);
  void setScreenEnabled(bool enabled) { screenEnabled_ = enabled; }
  void setVersionText(std::string_view version);
  void setProjectPath(std::string_view path);

  // Where the text of a field came from when a project file put it there
  // ("データファイル「p.tvl」の 9 行目"), so that a message about the value can
  // name the line; nothing once the field holds another text.
  void setTextSource(FieldId id, std::string source);
  std::optional<std::string> textSource(FieldId id) const;

  // ---- Reactions, callable as the user's action would trigger them
  [[nodiscard]] FormEvents unitWeightChanged();  // the deck type or the surface treatment changed
  [[nodiscard]] FormEvents prefectureChanged();
  [[nodiscard]] FormEvents districtChanged();
  [[nodiscard]] FormEvents updateSnowDisplays();
  [[nodiscard]] FormEvents snowModeInput();
  [[nodiscard]] FormEvents snowModeDerive();
  [[nodiscard]] FormEvents altitudeOrSeaRatioChanged();
  [[nodiscard]] FormEvents snowDepthChanged();
  [[nodiscard]] FormEvents arrangementChanged();
  [[nodiscard]] FormEvents leftOverhangExit();
  [[nodiscard]] FormEvents rightOverhangExit();

 private:
  struct FieldState {
    std::string text;
    int index = -1;
    bool enabled = true;
    bool visible = true;
    std::string hint;
    std::vector<std::string> items;
    bool operator==(const FieldState&) const = default;
  };
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

  FieldState& state(FieldId id) { return fields_[fieldIndex(id)]; }
  const FieldState& state(FieldId id) const { return fields_[fieldIndex(id)]; }
  bool isScreenField(FieldId id) const { return fieldIndex(id) < kInputScreenFieldCount; }

  void assignText(FieldId id, std::string text, FormEvents& out);
  void putSpinValue(FieldId id, int value, FormEvents& out);
  void textChanged(FieldId id, FormEvents& out);
  void typeInto(FieldId id, std::string_view keys, bool replaceAll, FormEvents& out);
  void moveFocus(FieldId id, FormEvents& out);
  // The exit rule of the control losing the focus; false when it keeps it.
  bool leave(FieldId id, FormEvents& out);
  bool leaveSpin(FieldId id, FormEvents& out);
  void chooseRoofType(RoofType roofType);

  void onUnitWeightChanged(FormEvents& out);
  void onPrefectureChanged(FormEvents& out);
  void onDistrictChanged(FormEvents& out);
  void onUpdateSnowDisplays(FormEvents& out);
  void onSnowModeInput(FormEvents& out);
  void onSnowModeDerive(FormEvents& out);
  void onAltitudeOrSeaRatioChanged(FormEvents& out);
  void onSnowDepthChanged(FormEvents& out);
  void onArrangementChanged(FormEvents& out);
  // True when the length was corrected and the field keeps the focus.
  bool onOverhangExit(FieldId id, FormEvents& out);
  void showSiteSpeed();
  int deriveDepth();

  LocationTables tables_;
  std::array<FieldState, kInputScreenFieldCount> fields_;
  std::array<bool, kGroupCount> groupShown_{};
  FieldId focus_ = FieldId::DeckType;

  RoofType roofType_ = RoofType::MonoPitch;
  int buildingShapeCode_ = 0;
  int roofShapeCode_ = 0;
  std::array<std::string, 3> choicePictures_;  // roof type, building shape, roof shape

  int overhangCode_ = kOverhangNone;
  int shownSpanCount_ = 1;
  std::string arrangementPicture_;

  SiteData site_;
  SnowCoefficients coefficients_;
  std::string prefectureName_;
  std::string districtName_;
  int seaRatio_ = 20;
  int derivedSnowDepth_ = 0;
  double computedDepthM_ = 0;
  Rgb heavySnowCaptionColour_ = kCaptionGrey;
  std::optional<std::string> siteFailure_;

  int layoutMethod_ = 0;
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
