#pragma once
// The print settings dialog "印刷用設定" without its window: the project name
// field, the seven page-number positions, the number style and the start
// number. A position takes effect the moment it is chosen, and cancelling
// does not take it back (the dialog says so itself); everything else waits
// for "    設　定".

#include <array>
#include <string>
#include <string_view>

#include "calc/print_settings.h"

namespace tavilo {

inline constexpr std::size_t kProjectNameMaxLength = 65;  // characters, any width
inline constexpr int kStartNumberMin = 1;
inline constexpr int kStartNumberMax = 9999;
// The captions of the option buttons in the order of kPageNumberPositions:
// "無し", then the top and the bottom row left to right.
inline constexpr std::array<std::string_view, 7> kPageNumberPositionCaptions = {
    "無し", "上-左", "上-中", "上-右", "下-左", "下-中", "下-右"};
// Where each of these options stands in its group: "無し" above the right
// column, then the top and the bottom row from left to right.
struct GridPlace {
  int column;
  int row;
};
inline constexpr std::array<GridPlace, kPageNumberPositionCaptions.size()>
    kPageNumberPositionPlaces = {{{2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}};
inline constexpr std::array<std::string_view, 2> kPageNumberStyleItems = {"1,2,3･･･",
                                                                          "-1-,-2-,-3-･･･"};

// A project name as the name field holds it: line breaks dropped, at most 65
// characters.
std::string fittedProjectName(std::string_view text);

class PrintSettingsDialog {
 public:
  // As created: the name field reads "件名を入力", "無し" is chosen with the
  // number group disabled, the first style, start number 1.
  PrintSettingsDialog() = default;

  const std::string& nameText() const { return name_; }
  PageNumberPosition position() const { return position_; }
  bool numberGroupEnabled() const { return groupEnabled_; }
  int styleIndex() const { return style_; }
  const std::string& startNumberText() const { return startNumber_; }
  bool isVisible() const { return visible_; }

  // ---- The user
  // "印刷の設定": shows the dialog with the stored project name.
  void open(const PrintSettings& settings);
  // A click into the name field empties it while it still reads "件名を入力".
  void clickNameField();
  // The whole name as typed; characters beyond 65 are dropped.
  void editName(std::string_view text);
  // An option button; takes effect at once.
  void choosePosition(PageNumberPosition position, PrintSettings& settings);
  // The style list is read when the report is drawn, so a choice counts at once.
  void chooseStyle(int index, PrintSettings& settings);
  // The start number field takes digits only; the range holds on leaving it,
  // on the arrows and on confirming.
  void editStartNumber(std::string_view text);
  void stepStartNumber(int direction);
  void leaveStartNumber();
  // "    設　定" and " キャンセル"; both hide the dialog.
  void confirm(PrintSettings& settings);
  void cancel(const PrintSettings& settings);

  // ---- The program: a loaded project selects its settings in the dialog.
  void showSettings(const PrintSettings& settings);

 private:
  int startNumberValue() const;
  void selectPosition(PageNumberPosition position);

  std::string name_ = kNoProjectName;
  PageNumberPosition position_ = PageNumberPosition::None;
  bool groupEnabled_ = false;
  int style_ = 0;
  std::string startNumber_ = "1";
  bool visible_ = false;
};

}  // namespace tavilo
