#pragma once
// Where everything of the input screen stands and what its fixed words are:
// the frames (groups and the frames inside them), the controls of the fields
// by their ids, the captions and the pictures, in the order the window makes
// them (which is also the order of the tab key), with the geometry of each
// calculation method's layout. The desktop window and the web page both build
// the screen from this one description; they add only the look of a control.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/form_fields.h"

namespace tavilo {

// A rectangle in pixels within its frame. A width of kFitsText makes a
// caption as wide as its text.
struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};
inline constexpr int kFitsText = -1;

// The frames of the input screen. The groups whose rectangle depends on the
// layout (other loads, direct load, span group) stand where the notices'
// layout puts them until the layout is applied.
enum class Frame {
  Client,  // the window's client area
  Deck,
  DeckJoints,
  Site,
  Wind,
  Snow,
  SnowMethod,
  SnowDerived,
  OtherLoads,
  DirectLoad,
  Span,
  CommandBar,
};

enum class PieceKind {
  Frame,        // a group frame: `frame`, titled `text` (none when empty)
  Caption,      // a text: the caption of `field` when set, else `text`
  AfterValue,   // a text `rect.x` pixels right of the value placed before it
  Control,      // the control of `field`, its kind from the field table
  Picture,      // the picture file `text` among the program's own pictures
  Arrangement,  // the span arrangement picture
  SiteNotice,   // whether the site data may be used for a design
  Version,      // the version label
};

// How a piece looks beyond its kind; each view draws it in its own way.
enum class Look {
  Plain,
  Strong,        // a value in bold
  Shaded,        // a field in grey
  RightAligned,  // a value set to the right
  Link,          // a button drawn as a link
  Product,       // the product name on the command bar
  Flush,         // an untitled frame whose border starts at its top
};

struct ScreenPiece {
  PieceKind kind = PieceKind::Caption;
  Frame parent = Frame::Client;
  Rect rect{};
  FieldId field = FieldId::None;
  std::string_view text{};
  Frame frame = Frame::Client;  // Frame pieces: which frame
  Look look = Look::Plain;
};

// The group a frame shows (whose visibility the form sets), if any.
std::optional<Group> frameGroup(Frame frame);

// Every piece of the input screen in the order the window makes them.
std::span<const ScreenPiece> inputScreenPieces();
// The piece of a field's control; a field without a control gives a piece
// with FieldId::None.
const ScreenPiece& controlPiece(FieldId id);
// The text a caption piece shows.
std::string_view captionText(const ScreenPiece& piece);

// A choice group ("屋根の種類" …): its option buttons one under the other and
// the picture of the chosen item, within the choice's frame.
Rect choiceButtonRect(int position);
inline constexpr Rect kChoicePictureRect{90, 48, 94, 60};

// Where the groups and bars of one layout stand, in client coordinates.
struct ScreenGeometry {
  int clientWidth;
  int clientHeight;
  Rect otherLoads;
  Rect directLoad;
  Rect span;
  Rect commandBar;
  Rect statusBar;
};
// The layout of the calculation method (0: notices, 1: loads entered directly).
ScreenGeometry inputScreenGeometry(int layoutMethod);

// The right overhang field stands right of the last shown span field.
Rect rightOverhangRect(int shownSpanCount);

// The program's own pictures: the arrangement for a span count and overhang
// code (a code outside 1 to 3 shows no overhang), and the choice pictures shown
// before the first click.
std::string builtInArrangementPicture(int spanCount, int overhangCode);
inline constexpr std::array<std::string_view, 3> kBuiltInChoicePictures = {
    "roof_type_default.png", "building_shape_default.png", "roof_shape_default.png"};
// The choice fields in the order of their pictures.
inline constexpr std::array<FieldId, 3> kChoiceFields = {FieldId::RoofType, FieldId::BuildingShape,
                                                         FieldId::RoofShape};
inline constexpr std::string_view kFireResistancePicture = "fire_resistance.png";

}  // namespace tavilo
