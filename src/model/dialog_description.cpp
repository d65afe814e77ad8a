#include "model/dialog_description.h"

#include <utility>
#include <vector>

#include "calc/coefficient_settings.h"
#include "model/print_settings_dialog.h"
#include "model/program_texts.h"

namespace tavilo {
namespace {

using K = DialogPieceKind;
using DF = DialogFrame;

DialogPiece piece(K kind, DF parent, Rect rect, std::string_view text) {
  DialogPiece out;
  out.kind = kind;
  out.parent = parent;
  out.rect = rect;
  out.text = text;
  return out;
}

DialogPiece frame(DF which, DF parent, std::string_view title, Rect rect) {
  DialogPiece out = piece(K::Frame, parent, rect, title);
  out.frame = which;
  return out;
}

DialogPiece words(std::string_view text, DF parent, Rect rect, K kind = K::Caption) {
  return piece(kind, parent, rect, text);
}

DialogPiece fieldControl(FieldId id, DF parent, Rect rect) {
  DialogPiece out = piece(K::Control, parent, rect, fieldInfo(id).caption);
  out.field = id;
  return out;
}

DialogPiece ownControl(DialogControl control, DF parent, Rect rect, std::string_view text = {}) {
  DialogPiece out = piece(K::Control, parent, rect, text);
  out.control = control;
  return out;
}

// ---- 係数等の定義

constexpr int kSettingsClientWidth = 468;
constexpr int kSettingsClientHeight = kSettingsDialogHeight - kDialogFrameHeight;
constexpr int kGroupWidth = kSettingsClientWidth - 16;

// One row of ratios: caption, then per load a field followed by its letter.
constexpr int kRowCaptionLeft = 10;
constexpr int kRowCaptionWidth = 92;
constexpr int kFirstTermLeft = 104;
constexpr int kTermPitch = 80;
constexpr int kRatioFieldWidth = 46;
constexpr int kLetterGap = 3;
constexpr int kRowHeight = 22;
constexpr int kRowPitch = 24;
constexpr int kFirstRowTop = 20;
constexpr int kCaseHeight = kFirstRowTop + static_cast<int>(kLoadRatioRows.size()) * kRowPitch + 2;
constexpr int kRatiosTop = 70;
constexpr int kButtonTop = kSettingsClientHeight - 40;

void addRatioCase(std::vector<DialogPiece>& pieces, RatioSet set, int top) {
  const DF caseFrame = set == RatioSet::Ordinary ? DF::OrdinaryRatios : DF::HeavySnowRatios;
  pieces.push_back(frame(caseFrame, DF::Ratios, kRatioSetTitles[static_cast<std::size_t>(set)],
                         {8, top, kSettingsClientWidth - 32, kCaseHeight}));
  for (std::size_t r = 0; r < kLoadRatioRows.size(); ++r) {
    const LoadRatioRow& row = kLoadRatioRows[r];
    const int rowTop = kFirstRowTop + static_cast<int>(r) * kRowPitch;
    pieces.push_back(
        words(row.caption, caseFrame, {kRowCaptionLeft, rowTop, kRowCaptionWidth, kRowHeight}));
    for (int load = 0; load < row.loadCount; ++load) {
      const int position = ratioPosition(set, row, static_cast<RatioLoad>(load));
      const int left = kFirstTermLeft + load * kTermPitch;
      pieces.push_back(fieldControl(ratioField(position), caseFrame,
                                    {left, rowTop, kRatioFieldWidth, kRowHeight}));
      // The row reads ratio·Ｇ ＋ ratio·Ｐ ＋ ratio·Ｓ (＋ ratio·Ｗ).
      std::string letter(kRatioLoadLetters[static_cast<std::size_t>(load)]);
      if (load + 1 < row.loadCount)
        letter += kRatioPlus;
      const int letterLeft = left + kRatioFieldWidth + kLetterGap;
      pieces.push_back(
          words(letter, caseFrame,
                {letterLeft, rowTop, kTermPitch - kRatioFieldWidth - kLetterGap, kRowHeight}));
    }
  }
}

std::vector<DialogPiece> settingsPieces() {
  std::vector<DialogPiece> pieces;
  pieces.push_back(frame(DF::Method, DF::Client, kSettingsMethodTitle, {8, 4, kGroupWidth, 62}));
  pieces.push_back(fieldControl(FieldId::SettingsMethodNotices, DF::Method, {16, 16, 340, 20}));
  pieces.push_back(fieldControl(FieldId::SettingsMethodDirect, DF::Method, {16, 36, 340, 20}));

  pieces.push_back(frame(DF::Ratios, DF::Client, kSettingsRatioTitle,
                         {8, kRatiosTop, kGroupWidth, 2 * kCaseHeight + 52}));
  addRatioCase(pieces, RatioSet::Ordinary, 16);
  addRatioCase(pieces, RatioSet::HeavySnow, 20 + kCaseHeight);
  pieces.push_back(
      words(kRatioLegend, DF::Ratios, {16, 24 + 2 * kCaseHeight, kSettingsClientWidth - 48, 20}));

  pieces.push_back(frame(DF::MaxDeckLength, DF::Client,
                         fieldInfo(FieldId::SettingsMaxDeckLength).caption,
                         {8, kRatiosTop + 2 * kCaseHeight + 56, kGroupWidth, 52}));
  pieces.push_back(
      fieldControl(FieldId::SettingsMaxDeckLength, DF::MaxDeckLength, {16, 20, 100, kRowHeight}));
  pieces.push_back(words(kMillimetres, DF::MaxDeckLength, {122, 20, 40, kRowHeight}));

  pieces.push_back(words(kSettingsNotes[0], DF::Client, {10, kButtonTop - 2, 130, 18}, K::Note));
  pieces.push_back(words(kSettingsNotes[1], DF::Client, {10, kButtonTop + 16, 130, 18}, K::Note));
  pieces.push_back(
      fieldControl(FieldId::SettingsResetButton, DF::Client, {146, kButtonTop, 108, 32}));
  pieces.push_back(
      fieldControl(FieldId::SettingsApplyButton, DF::Client, {262, kButtonTop, 96, 32}));
  pieces.push_back(
      fieldControl(FieldId::SettingsCancelButton, DF::Client, {364, kButtonTop, 96, 32}));
  return pieces;
}

// ---- 印刷用設定

constexpr int kPrintClientWidth = 466;
constexpr int kPrintClientHeight = 185;
// The cells of the position options' grid (kPageNumberPositionPlaces).
constexpr int kOptionLeft = 12;
constexpr int kOptionTop = 16;
constexpr int kOptionWidth = 54;
constexpr int kOptionHeight = 20;

std::vector<DialogPiece> printSettingsPieces() {
  std::vector<DialogPiece> pieces;
  DialogPiece title = words(kProjectNameTitle, DF::Client, {10, 6, 40, 16});
  title.strong = true;
  pieces.push_back(std::move(title));
  pieces.push_back(words(filledIn(kProjectNameLengthNote, std::to_string(kProjectNameMaxLength)),
                         DF::Client, {50, 6, 300, 16}, K::Note));
  pieces.push_back(ownControl(DialogControl::ProjectName, DF::Client, {12, 24, 442, 22}));

  pieces.push_back(
      frame(DF::PageNumber, DF::Client, kPageNumberTitle, {8, 52, kPrintClientWidth - 16, 84}));
  for (std::size_t i = 0; i < kPageNumberPositionCaptions.size(); ++i) {
    const GridPlace place = kPageNumberPositionPlaces[i];
    DialogPiece option =
        ownControl(DialogControl::PageNumberPlace, DF::PageNumber,
                   {kOptionLeft + place.column * kOptionWidth,
                    kOptionTop + place.row * kOptionHeight, kOptionWidth, kOptionHeight},
                   kPageNumberPositionCaptions[i]);
    option.index = static_cast<int>(i);
    pieces.push_back(std::move(option));
  }
  pieces.push_back(frame(DF::NumberGroup, DF::PageNumber, kNumberGroupTitle, {186, 10, 250, 68}));
  pieces.push_back(words(kNumberStyleCaption, DF::NumberGroup, {10, 18, 56, 20}));
  pieces.push_back(ownControl(DialogControl::PageNumberStyle, DF::NumberGroup, {70, 17, 130, 22},
                              kNumberStyleCaption));
  pieces.push_back(words(kStartNumberCaption, DF::NumberGroup, {10, 42, 56, 20}));
  pieces.push_back(ownControl(DialogControl::StartNumber, DF::NumberGroup, {70, 41, 80, 22},
                              kStartNumberCaption));

  pieces.push_back(words(kProjectNameEmptyNote, DF::Client, {10, 142, 276, 16}));
  pieces.push_back(words(kPositionCancelNote, DF::Client, {10, 160, 276, 16}));
  pieces.push_back(ownControl(DialogControl::Confirm, DF::Client, {292, 144, 80, 30},
                              kPrintSettingsConfirm.caption));
  pieces.push_back(ownControl(DialogControl::Cancel, DF::Client, {378, 144, 80, 30},
                              kPrintSettingsCancel.caption));
  return pieces;
}

// A test build changes the rectangle of one control, to prove that both
// views follow it.
#ifdef TAVILO_CHANGED_FIELD
#include TAVILO_CHANGED_FIELD
#endif
std::vector<DialogPiece> describedSettingsPieces() {
  std::vector<DialogPiece> pieces = settingsPieces();
#ifdef TAVILO_CHANGED_FIELD
  for (DialogPiece& piece : pieces) {
    if (piece.kind == K::Control && piece.field == kChangedDialogField)
      piece.rect = {kChangedDialogX, kChangedDialogY, kChangedDialogWidth, kChangedDialogHeight};
  }
#endif
  return pieces;
}

}  // namespace

const DialogDescription& settingsDialogDescription() {
  static const std::vector<DialogPiece> pieces = describedSettingsPieces();
  static const DialogDescription description{kSettingsClientWidth, kSettingsClientHeight, pieces};
  return description;
}

const DialogDescription& printSettingsDialogDescription() {
  static const std::vector<DialogPiece> pieces = printSettingsPieces();
  static const DialogDescription description{kPrintClientWidth, kPrintClientHeight, pieces};
  return description;
}

}  // namespace tavilo
