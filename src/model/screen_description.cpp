#include "model/screen_description.h"

#include <algorithm>

#include "model/program_texts.h"

namespace tavilo {
namespace {

constexpr int kInputScreenClientWidth = 791;
// The layouts give outer window heights with a title bar of this height.
constexpr int kTitleBarHeight = 28;
constexpr int kRowHeight = 21;
constexpr int kLeftColumn = 4;
constexpr int kRightColumn = 400;
constexpr int kLeftWidth = 392;
constexpr int kRightWidth = 387;
constexpr int kDirectLoadHeight = 95;
constexpr int kSpanGroupHeight = 84;
constexpr int kCommandBarHeight = 60;
constexpr int kStatusBarHeight = 20;

constexpr int kSpanFieldTop = 49;
constexpr int kSpanFieldWidth = 64;
constexpr std::array<int, 4> kSpanFieldLefts = {192, 298, 404, 510};
constexpr int kLeftOverhangLeft = 104;
constexpr int kRightOverhangOffset = 88;  // right of the last shown span field

constexpr int kChoiceTop = 154;
constexpr int kChoiceWidth = 188;
constexpr int kChoiceHeight = 138;

// Where the groups of each layout stand: the layout of the notices, then
// that of loads entered directly.
struct LayoutTops {
  int directLoadTop;
  int otherLoadsTop;
  int otherLoadsHeight;
  int spanGroupTop;
  int commandBarTop;
  int windowHeight;
};
constexpr std::array<LayoutTops, 2> kLayoutTops = {{
    {110, 322, 85, 412, 500, 608},
    {110, 110, 95, 210, 298, 406},
}};
constexpr const LayoutTops& kNoticeTops = kLayoutTops[0];

using F = FieldId;
using P = ScreenPiece;
using K = PieceKind;

constexpr P frame(Frame which, Frame parent, std::string_view title, Rect rect,
                  Look look = Look::Plain) {
  return {K::Frame, parent, rect, F::None, title, which, look};
}
// The caption of a field at (x, y), as wide as its text.
constexpr P captionOf(F id, Frame parent, int x, int y) {
  return {K::Caption, parent, {x, y, kFitsText, 0}, id};
}
constexpr P words(std::string_view text, Frame parent, int x, int y, Look look = Look::Plain) {
  return {K::Caption, parent, {x, y, kFitsText, 0}, F::None, text, Frame::Client, look};
}
// A control one row high.
constexpr P control(F id, Frame parent, int x, int y, int width, Look look = Look::Plain) {
  return {K::Control, parent, {x, y, width, kRowHeight}, id, {}, Frame::Client, look};
}
constexpr P controlIn(F id, Frame parent, Rect rect, Look look = Look::Plain) {
  return {K::Control, parent, rect, id, {}, Frame::Client, look};
}
// A display whose caption has a run of blanks the value fills ("平均風速 Ｖ0 =
// m/sec"): at (x, y), the value `valueWidth` wide.
constexpr P valueInCaption(F id, Frame parent, int x, int y, int valueWidth,
                           Look look = Look::Plain) {
  return {K::Control, parent, {x, y, valueWidth, 0}, id, {}, Frame::Client, look};
}
constexpr P picture(std::string_view file, Frame parent, Rect rect) {
  return {K::Picture, parent, rect, F::None, file};
}
constexpr P choice(F id, int x) {
  return controlIn(id, Frame::Wind, {x, kChoiceTop, kChoiceWidth, kChoiceHeight});
}
constexpr P commandButton(F id, int position) {
  return controlIn(id, Frame::CommandBar, {8 + 111 * position, 4, 104, 28});
}

constexpr Rect spanFieldRect(int index) {
  return {kSpanFieldLefts[static_cast<std::size_t>(index)], kSpanFieldTop, kSpanFieldWidth,
          kRowHeight};
}

constexpr auto kDescribedPieces = std::to_array<ScreenPiece>({
    frame(Frame::Deck, Frame::Client, "デッキ", {4, 2, 474, 104}),
    captionOf(F::DeckType, Frame::Deck, 8, 22),
    control(F::DeckType, Frame::Deck, 66, 19, 92),
    captionOf(F::SurfaceTreatment, Frame::Deck, 8, 48),
    control(F::SurfaceTreatment, Frame::Deck, 66, 45, 58),
    captionOf(F::UnitWeight, Frame::Deck, 8, 74),
    control(F::UnitWeight, Frame::Deck, 66, 71, 50),
    words("N/㎡", Frame::Deck, 120, 74),
    frame(Frame::DeckJoints, Frame::Deck, "梁との接合", {166, 12, 300, 86}),
    captionOf(F::EndJoint, Frame::DeckJoints, 8, 26),
    control(F::EndJoint, Frame::DeckJoints, 48, 23, 244),
    captionOf(F::MidJoint, Frame::DeckJoints, 8, 56),
    control(F::MidJoint, Frame::DeckJoints, 48, 53, 244),

    frame(Frame::Site, Frame::Client, "[所在地]", {482, 2, 305, 104}),
    captionOf(F::Prefecture, Frame::Site, 10, 24),
    control(F::Prefecture, Frame::Site, 70, 21, 100),
    captionOf(F::District, Frame::Site, 10, 54),
    control(F::District, Frame::Site, 70, 51, 150),
    controlIn(F::HeavySnow, Frame::Site, {190, 23, 18, 18}),
    captionOf(F::HeavySnow, Frame::Site, 210, 24),
    // Below the district, two lines.
    {K::SiteNotice, Frame::Site, {10, 74, 305 - 18, 28}},

    frame(Frame::Wind, Frame::Client, "風荷重の設定", {4, 110, 392, 297}),
    captionOf(F::Roughness, Frame::Wind, 8, 24),
    control(F::Roughness, Frame::Wind, 80, 21, 44),
    picture("roughness.png", Frame::Wind, {184, 16, 200, 60}),
    valueInCaption(F::WindSpeedV0, Frame::Wind, 8, 52, 32, Look::Strong),
    captionOf(F::EavesHeightH1, Frame::Wind, 8, 80),
    control(F::EavesHeightH1, Frame::Wind, 116, 77, 52),
    words("mm", Frame::Wind, 172, 80),
    captionOf(F::BuildingHeightH2, Frame::Wind, 8, 104),
    control(F::BuildingHeightH2, Frame::Wind, 116, 101, 52),
    words("mm", Frame::Wind, 172, 104),
    captionOf(F::SpanDirectionLengthD, Frame::Wind, 8, 128),
    control(F::SpanDirectionLengthD, Frame::Wind, 116, 125, 52),
    words("mm", Frame::Wind, 172, 128),
    picture("building_dimensions.png", Frame::Wind, {206, 80, 170, 80}),
    choice(F::RoofType, 6),
    choice(F::BuildingShape, 198),
    choice(F::RoofShape, 198),

    frame(Frame::Snow, Frame::Client, "積雪荷重の設定", {400, 110, 387, 208}),
    captionOf(F::SnowDepth, Frame::Snow, 8, 24),
    control(F::SnowDepth, Frame::Snow, 96, 21, 58),
    words("cm", Frame::Snow, 158, 24),
    captionOf(F::SnowUnitWeight, Frame::Snow, 8, 52),
    control(F::SnowUnitWeight, Frame::Snow, 96, 49, 58),
    words("N/㎝/㎡", Frame::Snow, 158, 52),
    frame(Frame::SnowMethod, Frame::Snow, "垂直積雪量の算定法", {214, 10, 166, 72}),
    controlIn(F::SnowModeInput, Frame::SnowMethod, {6, 22, 92, 20}),
    controlIn(F::SnowDepthReference, Frame::SnowMethod, {96, 24, 38, 16}, Look::RightAligned),
    words("cm", Frame::SnowMethod, 138, 24),
    controlIn(F::SnowModeDerive, Frame::SnowMethod, {6, 46, 130, 20}),
    frame(Frame::SnowDerived, Frame::Snow, "", {8, 86, 372, 114}),
    valueInCaption(F::AltitudeReference, Frame::SnowDerived, 10, 12, 44),
    {K::AfterValue, Frame::SnowDerived, {12, 0, kFitsText, 0}, F::None, "m"},
    captionOf(F::Altitude, Frame::SnowDerived, 10, 44),
    control(F::Altitude, Frame::SnowDerived, 44, 41, 62),
    words("m", Frame::SnowDerived, 110, 44),
    captionOf(F::SeaRatio, Frame::SnowDerived, 142, 44),
    control(F::SeaRatio, Frame::SnowDerived, 176, 41, 54),
    words("％", Frame::SnowDerived, 234, 44),
    words("海率計算用半径", Frame::SnowDerived, 10, 78),
    captionOf(F::RadiusR, Frame::SnowDerived, 104, 78),
    controlIn(F::RadiusR, Frame::SnowDerived, {114, 78, 22, 16}, Look::RightAligned),
    words("km", Frame::SnowDerived, 140, 78),

    frame(Frame::OtherLoads, Frame::Client, "その他の荷重",
          {kRightColumn, kNoticeTops.otherLoadsTop, kRightWidth, kNoticeTops.otherLoadsHeight}),
    words(" (N/㎡)", Frame::OtherLoads, 176, 26),
    captionOf(F::FinishingLoad, Frame::OtherLoads, 8, 26),
    words("荷重", Frame::OtherLoads, 54, 26),
    control(F::FinishingLoad, Frame::OtherLoads, 96, 23, 72),
    captionOf(F::LiveLoad, Frame::OtherLoads, 8, 54),
    words("荷重", Frame::OtherLoads, 54, 54),
    control(F::LiveLoad, Frame::OtherLoads, 96, 51, 72, Look::Shaded),

    frame(Frame::DirectLoad, Frame::Client, "荷重値直接設定",
          {kLeftColumn, kNoticeTops.directLoadTop, kLeftWidth, kDirectLoadHeight}),
    words(" (N/㎡)", Frame::DirectLoad, 220, 26),
    captionOf(F::WindPositive, Frame::DirectLoad, 8, 26),
    control(F::WindPositive, Frame::DirectLoad, 132, 23, 80),
    captionOf(F::WindNegative, Frame::DirectLoad, 8, 50),
    control(F::WindNegative, Frame::DirectLoad, 132, 47, 80),
    captionOf(F::DirectSnowLoad, Frame::DirectLoad, 8, 74),
    control(F::DirectSnowLoad, Frame::DirectLoad, 132, 71, 80),

    // No title: the frame starts at the top, where the span count's caption
    // stands.
    frame(Frame::Span, Frame::Client, "",
          {kLeftColumn, kNoticeTops.spanGroupTop, kInputScreenClientWidth - 8, kSpanGroupHeight},
          Look::Flush),
    {K::Arrangement, Frame::Span, {80, 4, 640, 40}},
    words("荷重ΣＷ", Frame::Span, 8, 18),
    captionOf(F::Span1, Frame::Span, 8, 52),
    controlIn(F::Span1, Frame::Span, spanFieldRect(0)),
    controlIn(F::Span2, Frame::Span, spanFieldRect(1)),
    controlIn(F::Span3, Frame::Span, spanFieldRect(2)),
    controlIn(F::Span4, Frame::Span, spanFieldRect(3)),
    control(F::LeftOverhang, Frame::Span, kLeftOverhangLeft, kSpanFieldTop, kSpanFieldWidth),
    // Moved with the shown span count: rightOverhangRect().
    control(F::RightOverhang, Frame::Span, kSpanFieldLefts[0] + kRightOverhangOffset, kSpanFieldTop,
            kSpanFieldWidth),
    captionOf(F::SpanCount, Frame::Span, 726, 6),
    control(F::SpanCount, Frame::Span, 726, 21, 50),
    captionOf(F::Overhang, Frame::Span, 726, 43),
    controlIn(F::Overhang, Frame::Span, {726, 58, 50, 20}),

    frame(Frame::CommandBar, Frame::Client, "",
          {0, kNoticeTops.commandBarTop, kInputScreenClientWidth, kCommandBarHeight}),
    commandButton(F::OverviewButton, 0),
    commandButton(F::FireResistanceButton, 1),
    commandButton(F::SettingsButton, 2),
    commandButton(F::LoadButton, 3),
    commandButton(F::SaveButton, 4),
    commandButton(F::CalculateButton, 5),
    commandButton(F::ExitButton, 6),
    words(kApplicationTitle, Frame::CommandBar, 8, 38, Look::Product),
    {K::Version, Frame::CommandBar, {112, 38, 160, 0}},
    controlIn(F::TermsLink, Frame::CommandBar, {kInputScreenClientWidth - 8 - 240, 36, 240, 18},
              Look::Link),
});

// A test build changes the description of one field, to prove that both
// views follow it.
#ifdef TAVILO_CHANGED_FIELD
#include TAVILO_CHANGED_FIELD
#endif
constexpr auto kPieces = [] {
  auto pieces = kDescribedPieces;
#ifdef TAVILO_CHANGED_FIELD
  for (ScreenPiece& piece : pieces) {
    if (piece.kind == K::Control && piece.field == kChangedField)
      piece.rect = {kChangedX, kChangedY, kChangedWidth, kChangedHeight};
  }
#endif
  return pieces;
}();

constexpr ScreenPiece kNoPiece{K::Control, Frame::Client, {}, F::None};

}  // namespace

std::optional<Group> frameGroup(Frame frame) {
  switch (frame) {
    case Frame::Deck:
      return Group::Deck;
    case Frame::Site:
      return Group::Site;
    case Frame::Wind:
      return Group::Wind;
    case Frame::Snow:
      return Group::Snow;
    case Frame::OtherLoads:
      return Group::OtherLoads;
    case Frame::DirectLoad:
      return Group::DirectLoad;
    case Frame::Span:
      return Group::Span;
    default:
      return std::nullopt;
  }
}

std::span<const ScreenPiece> inputScreenPieces() {
  return kPieces;
}

const ScreenPiece& controlPiece(FieldId id) {
  const auto found = std::find_if(kPieces.begin(), kPieces.end(), [id](const ScreenPiece& p) {
    return p.kind == PieceKind::Control && p.field == id;
  });
  return found == kPieces.end() ? kNoPiece : *found;
}

std::string_view captionText(const ScreenPiece& piece) {
  return piece.field == FieldId::None ? piece.text : fieldInfo(piece.field).caption;
}

Rect choiceButtonRect(int position) {
  return {6, 22 + 22 * position, 84, 20};
}

ScreenGeometry inputScreenGeometry(int layoutMethod) {
  const LayoutTops& tops = kLayoutTops[layoutMethod == 1 ? 1 : 0];
  const int clientHeight = tops.windowHeight - kTitleBarHeight;
  constexpr int width = kInputScreenClientWidth;
  return {width,
          clientHeight,
          {kRightColumn, tops.otherLoadsTop, kRightWidth, tops.otherLoadsHeight},
          {kLeftColumn, tops.directLoadTop, kLeftWidth, kDirectLoadHeight},
          {kLeftColumn, tops.spanGroupTop, width - 8, kSpanGroupHeight},
          {0, tops.commandBarTop, width, kCommandBarHeight},
          {0, clientHeight - kStatusBarHeight, width, kStatusBarHeight}};
}

Rect rightOverhangRect(int shownSpanCount) {
  const std::size_t last = static_cast<std::size_t>(std::clamp(shownSpanCount, 1, 4) - 1);
  return {kSpanFieldLefts[last] + kRightOverhangOffset, kSpanFieldTop, kSpanFieldWidth, kRowHeight};
}

std::string builtInArrangementPicture(int spanCount, int overhangCode) {
  constexpr std::array<std::string_view, 4> kSides = {"none", "left", "right", "both"};
  const int code = overhangCode >= 1 && overhangCode <= 3 ? overhangCode : 0;
  return "arrangement_s" + std::to_string(std::clamp(spanCount, 1, 4)) + "_" +
         std::string(kSides[static_cast<std::size_t>(code)]) + ".png";
}

}  // namespace tavilo
