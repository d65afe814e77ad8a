// The descriptions both views build the two settings dialogs from: every
// control once, each piece inside its frame, nothing covering a field, and the
// tab order a user expects.

#include "model/dialog_description.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "calc/coefficient_settings.h"
#include "model/print_settings_dialog.h"

namespace tavilo {
namespace {

bool inside(const Rect& inner, const Rect& outer) {
  return inner.x >= 0 && inner.y >= 0 && inner.x + inner.width <= outer.width &&
         inner.y + inner.height <= outer.height;
}

bool overlap(const Rect& a, const Rect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// The rectangle of a piece in client coordinates.
Rect inClient(const DialogPiece& piece, const std::map<DialogFrame, Rect>& frames) {
  const Rect& parent = frames.at(piece.parent);
  return {parent.x + piece.rect.x, parent.y + piece.rect.y, piece.rect.width, piece.rect.height};
}

// Frames come before what they hold (a view makes them in this order), every
// piece lies inside its frame, and no two pieces overlap but a frame and
// what stands in it.
void expectWellPlaced(const DialogDescription& d) {
  std::map<DialogFrame, Rect> frames{{DialogFrame::Client, {0, 0, d.clientWidth, d.clientHeight}}};
  std::map<DialogFrame, DialogFrame> parents;
  const auto holds = [&parents](DialogFrame outer, DialogFrame frame) {
    for (; frame != DialogFrame::Client; frame = parents.at(frame)) {
      if (frame == outer)
        return true;
    }
    return false;
  };
  std::vector<const DialogPiece*> seen;
  for (const DialogPiece& piece : d.pieces) {
    ASSERT_TRUE(frames.contains(piece.parent)) << piece.text;
    EXPECT_GT(piece.rect.width, 0) << piece.text;
    EXPECT_GT(piece.rect.height, 0) << piece.text;
    EXPECT_TRUE(inside(piece.rect, frames.at(piece.parent))) << piece.text;
    const Rect rect = inClient(piece, frames);
    for (const DialogPiece* other : seen) {
      if (other->kind == DialogPieceKind::Frame && holds(other->frame, piece.parent))
        continue;
      EXPECT_FALSE(overlap(rect, inClient(*other, frames))) << piece.text << " / " << other->text;
    }
    if (piece.kind == DialogPieceKind::Frame) {
      EXPECT_TRUE(frames.emplace(piece.frame, rect).second) << piece.text;
      parents[piece.frame] = piece.parent;
    }
    seen.push_back(&piece);
  }
}

TEST(DialogDescription, PiecesStayInsideTheirFramesAndCoverNoOtherPiece) {
  expectWellPlaced(settingsDialogDescription());
  expectWellPlaced(printSettingsDialogDescription());
}

// Every field of the dialog once, the 22 ratios row by row as the rows read,
// then the length and the buttons: the tab key walks the dialog in that order.
TEST(DialogDescription, SettingsDialogHasEveryFieldOnceInTabOrder) {
  std::vector<FieldId> order;
  for (const DialogPiece& piece : settingsDialogDescription().pieces) {
    if (piece.kind == DialogPieceKind::Control) {
      order.push_back(piece.field);
      EXPECT_EQ(piece.control, DialogControl::Field);
      EXPECT_EQ(fieldInfo(piece.field).group, Group::SettingsDialog) << piece.text;
    }
  }
  std::vector<FieldId> expected = {FieldId::SettingsMethodNotices, FieldId::SettingsMethodDirect};
  for (const RatioSet set : {RatioSet::Ordinary, RatioSet::HeavySnow}) {
    for (const LoadRatioRow& row : kLoadRatioRows) {
      for (int load = 0; load < row.loadCount; ++load)
        expected.push_back(ratioField(ratioPosition(set, row, static_cast<RatioLoad>(load))));
    }
  }
  expected.insert(expected.end(), {FieldId::SettingsMaxDeckLength, FieldId::SettingsResetButton,
                                   FieldId::SettingsApplyButton, FieldId::SettingsCancelButton});
  EXPECT_EQ(order, expected);
  EXPECT_EQ(expected.size(), static_cast<std::size_t>(kLoadRatioCount) + 6);
}

// A ratio's field stands on its row, right of the one before it; the
// dialog's window is its client area and frame.
TEST(DialogDescription, RatioFieldsStandInRowsAndTheDialogKeepsItsHeight) {
  std::map<FieldId, Rect> ratios;
  for (const DialogPiece& piece : settingsDialogDescription().pieces) {
    if (ratioPositionOf(piece.field) >= 0)
      ratios[piece.field] = piece.rect;
  }
  ASSERT_EQ(ratios.size(), static_cast<std::size_t>(kLoadRatioCount));
  for (const RatioSet set : {RatioSet::Ordinary, RatioSet::HeavySnow}) {
    for (const LoadRatioRow& row : kLoadRatioRows) {
      for (int load = 1; load < row.loadCount; ++load) {
        const Rect& before = ratios[ratioField(ratioPosition(set, row, RatioLoad(load - 1)))];
        const Rect& here = ratios[ratioField(ratioPosition(set, row, RatioLoad(load)))];
        EXPECT_EQ(here.y, before.y) << row.caption;
        EXPECT_GT(here.x, before.x + before.width) << row.caption;
      }
    }
  }
  EXPECT_EQ(settingsDialogDescription().clientHeight + kDialogFrameHeight, kSettingsDialogHeight);
}

// The print settings dialog: its seven positions on the grid of
// kPageNumberPositionPlaces, the style and start number in the number group
// (which the dialog disables while no position is chosen), in tab order.
TEST(DialogDescription, PrintSettingsDialogPlacesThePositionsOnTheirGrid) {
  std::vector<DialogControl> order;
  std::vector<Rect> positions;
  for (const DialogPiece& piece : printSettingsDialogDescription().pieces) {
    if (piece.kind != DialogPieceKind::Control)
      continue;
    order.push_back(piece.control);
    if (piece.control == DialogControl::PageNumberPlace) {
      EXPECT_EQ(piece.index, static_cast<int>(positions.size()));
      EXPECT_EQ(piece.text, kPageNumberPositionCaptions[positions.size()]);
      EXPECT_EQ(piece.parent, DialogFrame::PageNumber);
      positions.push_back(piece.rect);
    }
    if (piece.control == DialogControl::PageNumberStyle ||
        piece.control == DialogControl::StartNumber) {
      EXPECT_EQ(piece.parent, DialogFrame::NumberGroup);
    }
  }
  using C = DialogControl;
  const std::vector<DialogControl> expected = {
      C::ProjectName,     C::PageNumberPlace, C::PageNumberPlace, C::PageNumberPlace,
      C::PageNumberPlace, C::PageNumberPlace, C::PageNumberPlace, C::PageNumberPlace,
      C::PageNumberStyle, C::StartNumber,     C::Confirm,         C::Cancel};
  EXPECT_EQ(order, expected);
  ASSERT_EQ(positions.size(), kPageNumberPositionPlaces.size());
  for (std::size_t i = 1; i < positions.size(); ++i) {
    const GridPlace a = kPageNumberPositionPlaces[i - 1];
    const GridPlace b = kPageNumberPositionPlaces[i];
    EXPECT_EQ(a.row == b.row, positions[i - 1].y == positions[i].y) << i;
    EXPECT_EQ(a.column == b.column, positions[i - 1].x == positions[i].x) << i;
  }
}

}  // namespace
}  // namespace tavilo
