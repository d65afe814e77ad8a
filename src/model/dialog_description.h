#pragma once
// Where everything of the two settings dialogs stands and what it says: the
// settings dialog "係数等の定義" and the print settings dialog "印刷用設定".
// Each is its client area's size and its pieces (frames, captions, notes and
// controls) in the order the window makes them, which is also the order of
// the tab key. The desktop dialogs and the page's dialogs both build from
// this one description; they add only the look of a control.

#include <span>
#include <string>

#include "model/form_fields.h"
#include "model/screen_description.h"

namespace tavilo {

// The frames of the two dialogs.
enum class DialogFrame {
  Client,  // the dialog's client area
  // 係数等の定義
  Method,
  Ratios,
  OrdinaryRatios,
  HeavySnowRatios,
  MaxDeckLength,
  // 印刷用設定
  PageNumber,
  NumberGroup,
};

enum class DialogPieceKind {
  Frame,    // a group frame: `frame`, titled `text`
  Caption,  // a text
  Note,     // a text that explains, set apart from the captions
  Control,  // the control of `field`, or of `control` where it has no field
};

// The controls of the print settings dialog, which are no fields of the form.
enum class DialogControl {
  Field,            // the settings dialog's: its kind from the field table
  ProjectName,      // a line of text
  PageNumberPlace,  // option button `index` of kPageNumberPositions
  PageNumberStyle,  // a list of kPageNumberStyleItems
  StartNumber,      // a spin field
  Confirm,          // kPrintSettingsConfirm
  Cancel,           // kPrintSettingsCancel
};

struct DialogPiece {
  DialogPieceKind kind = DialogPieceKind::Caption;
  DialogFrame parent = DialogFrame::Client;
  Rect rect{};
  FieldId field = FieldId::None;
  std::string text;                         // a field's caption, a title, a button's caption
  DialogFrame frame = DialogFrame::Client;  // Frame pieces: which frame
  DialogControl control = DialogControl::Field;
  int index = 0;        // PageNumberPlace: which option
  bool strong = false;  // a caption in bold
};

struct DialogDescription {
  int clientWidth = 0;
  int clientHeight = 0;
  std::span<const DialogPiece> pieces;
};

const DialogDescription& settingsDialogDescription();
const DialogDescription& printSettingsDialogDescription();

// The settings dialog's window is this high with its title bar and borders,
// which take kDialogFrameHeight of it.
inline constexpr int kSettingsDialogHeight = 450;
inline constexpr int kDialogFrameHeight = 28;

}  // namespace tavilo
