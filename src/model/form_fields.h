#pragma once
// The controls of the input screen and of the settings dialog as data: what
// kind of control each one is, its caption, default, range, step, key filter
// and hint, the pictures of the choices and the two screen layouts. The Qt
// windows, the project file and the batch tool all read the same table.

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calc/codes.h"
#include "calc/load_case_rows.h"

namespace tavilo {

enum class FieldId {
  // Deck group
  DeckType,
  SurfaceTreatment,
  UnitWeight,
  EndJoint,
  MidJoint,
  // Site group
  Prefecture,
  District,
  HeavySnow,
  // Wind group
  Roughness,
  WindSpeedV0,
  EavesHeightH1,
  BuildingHeightH2,
  SpanDirectionLengthD,
  RoofType,
  BuildingShape,
  RoofShape,
  // Snow group
  SnowDepth,
  SnowUnitWeight,
  SnowModeInput,
  SnowModeDerive,
  SnowDepthReference,
  AltitudeReference,
  Altitude,
  SeaRatio,
  RadiusR,
  // Other loads group
  FinishingLoad,
  LiveLoad,
  // Direct load group
  WindPositive,
  WindNegative,
  DirectSnowLoad,
  // Span group
  SpanCount,
  Span1,
  Span2,
  Span3,
  Span4,
  Overhang,
  LeftOverhang,
  RightOverhang,
  // Command bar
  OverviewButton,
  FireResistanceButton,
  SettingsButton,
  LoadButton,
  SaveButton,
  CalculateButton,
  ExitButton,
  TermsLink,
  // Settings dialog
  SettingsMethodNotices,
  SettingsMethodDirect,
  SettingsMaxDeckLength,
  SettingsRatio1,  // followed by the other load ratios
  SettingsRatio22 = SettingsRatio1 + kLoadRatioCount - 1,
  SettingsResetButton,
  SettingsApplyButton,
  SettingsCancelButton,
  None,
};

inline constexpr std::size_t kFieldCount = static_cast<std::size_t>(FieldId::None);
inline constexpr std::size_t kInputScreenFieldCount =
    static_cast<std::size_t>(FieldId::SettingsMethodNotices);

constexpr std::size_t fieldIndex(FieldId id) {
  return static_cast<std::size_t>(id);
}

// Span n (1 to 4) length field.
constexpr FieldId spanField(int n) {
  return static_cast<FieldId>(static_cast<int>(FieldId::Span1) + n - 1);
}
// Ratio field at 0-based position i of the load ratios.
constexpr FieldId ratioField(int i) {
  return static_cast<FieldId>(static_cast<int>(FieldId::SettingsRatio1) + i);
}
// The 0-based ratio position of a ratio field, or -1.
constexpr int ratioPositionOf(FieldId id) {
  const int i = static_cast<int>(id) - static_cast<int>(FieldId::SettingsRatio1);
  return i >= 0 && i < kLoadRatioCount ? i : -1;
}

enum class FieldKind {
  List,     // drop-down list, chosen by index
  Text,     // free text field (with a key filter)
  Spin,     // integer text with arrows and a range
  Choice,   // group of mutually exclusive choices, chosen by index
  Option,   // one option button of a two-button group; index 1 when chosen
  Check,    // check box; index 1 when checked
  Display,  // text shown only
  Button,
};

enum class Group {
  Deck,
  Site,
  Wind,
  BuildingShape,  // inside the wind group
  RoofShape,      // inside the wind group
  Snow,
  OtherLoads,
  DirectLoad,
  Span,
  Commands,
  SettingsDialog,
};
inline constexpr std::size_t kGroupCount = static_cast<std::size_t>(Group::SettingsDialog) + 1;

// Which typed characters a field takes.
enum class KeyRule {
  NoTyping,    // lists, choices, displays, buttons, the span count, read-only fields
  Digits,      // 0 to 9 and backspace
  UnitWeight,  // digits and backspace, but only while the surface treatment is "他"
  Ratio,       // 0 to 9, "." and backspace, at most 8 characters
};

inline constexpr char32_t kBackspace = U'\b';
inline constexpr std::size_t kRatioMaxLength = 8;

struct SpinRange {
  int min = 0;
  int max = 0;
  int step = 0;
};

struct FieldInfo {
  FieldId id;
  std::string_view name;  // the enumerator's name, by which the page refers to the control
  FieldKind kind;
  Group group;
  std::string_view caption;
  std::string_view defaultText;  // lists and choices: empty (the text is the chosen item)
  int defaultIndex;              // lists, choices, options, check boxes; -1 otherwise
  SpinRange range;               // spin fields only
  std::span<const std::string_view> items;
  std::string_view hint;  // "short|long", or one text for both
  KeyRule keys;
};

const FieldInfo& fieldInfo(FieldId id);

// A hint split at its first "|": tooltip and status-bar text. A hint without
// "|" uses the same text for both.
struct Hint {
  std::string shortText;
  std::string longText;
};
Hint splitHint(std::string_view hint);

bool isDigitKey(char32_t c);
bool acceptsDigitsKey(char32_t c);  // digit or backspace
bool acceptsRatioKey(char32_t c);   // digit, "." or backspace

// The value a spin field reads from its text: the integer, or the minimum for
// a text that is not an integer. A run of digits too long for an int reads as
// the nearer bound. Not brought into range.
int spinReading(std::string_view text, const SpinRange& range);
int clampToRange(int value, const SpinRange& range);
// One arrow step (direction +1 or -1) from a reading, brought into range.
int stepSpinValue(int reading, int direction, const SpinRange& range);

// Picture files of the choices in the data folder, loaded when a choice is
// clicked; before the first click the window shows its built-in pictures.
inline constexpr std::array<std::string_view, 4> kRoofTypePictures = {
    "Shed_roof.bmp", "Gable_roof.bmp", "Circular_arc_roof.bmp", "Independent_roof.bmp"};
inline constexpr std::array<std::string_view, 3> kBuildingShapePictures = {
    "Shape_close.bmp", "Shape_windward.bmp", "Shape_leeward.bmp"};
inline constexpr std::array<std::string_view, 2> kRoofShapePictures = {"Shape_gable.bmp",
                                                                       "Shape_wing_roof.bmp"};

// The arrangement picture for a span count (1 to 4) and overhang code; a code
// outside 1 to 3 gives the picture without overhang.
std::string_view arrangementPictureName(int spanCount, int overhangCode);

// The two layouts of the input screen, chosen by the calculation method: which
// groups they show. Where the groups stand is the views' concern.
struct ScreenLayout {
  bool windAndSnowShown;
  bool directLoadShown;
};
inline constexpr ScreenLayout kNoticeMethodLayout{true, false};
inline constexpr ScreenLayout kDirectMethodLayout{false, true};
const ScreenLayout& layoutFor(int calcMethod);

inline constexpr std::string_view kWindowCaption = "Tavilo屋根計算プログラム";
inline constexpr std::string_view kSettingsDialogCaption = "係数等の定義";

}  // namespace tavilo
