// The screen description both views build the input screen from: complete,
// in an order a view can follow, and every piece inside its frame.

#include "model/screen_description.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace tavilo {
namespace {

bool inside(const Rect& inner, const Rect& outer) {
  return inner.x >= 0 && inner.y >= 0 && inner.x + inner.width <= outer.width &&
         inner.y + inner.height <= outer.height;
}

TEST(ScreenDescription, EveryFieldOfTheScreenHasOneControlAndAUniqueName) {
  std::map<FieldId, int> controls;
  for (const ScreenPiece& piece : inputScreenPieces()) {
    if (piece.kind == PieceKind::Control)
      ++controls[piece.field];
  }
  std::set<std::string_view> names;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const auto id = static_cast<FieldId>(i);
    if (i < kInputScreenFieldCount) {
      EXPECT_EQ(controls[id], 1) << fieldInfo(id).name;
    }
    EXPECT_FALSE(fieldInfo(id).name.empty()) << i;
    EXPECT_TRUE(names.insert(fieldInfo(id).name).second) << fieldInfo(id).name;
  }
  EXPECT_EQ(controls.size(), kInputScreenFieldCount);
  EXPECT_EQ(fieldInfo(ratioField(21)).name, "SettingsRatio22");
  EXPECT_EQ(&controlPiece(FieldId::SettingsRatio1), &controlPiece(FieldId::None));
}

// A view makes the pieces in their order: every frame before what it holds,
// and every piece within its frame (the choices' inner places too).
TEST(ScreenDescription, PiecesFollowTheirFramesAndStayInsideThem) {
  std::map<Frame, Rect> frames{{Frame::Client, {0, 0, 791, 580}}};
  bool valueBefore = false;
  for (const ScreenPiece& piece : inputScreenPieces()) {
    ASSERT_TRUE(frames.contains(piece.parent)) << captionText(piece);
    const Rect& parent = frames.at(piece.parent);
    if (piece.kind == PieceKind::Frame) {
      EXPECT_TRUE(frames.emplace(piece.frame, piece.rect).second);
      EXPECT_TRUE(inside(piece.rect, parent)) << piece.text;
      if (piece.parent == Frame::Client && piece.frame != Frame::CommandBar) {
        EXPECT_TRUE(frameGroup(piece.frame).has_value()) << piece.text;
      }
    } else if (piece.kind == PieceKind::AfterValue) {
      EXPECT_TRUE(valueBefore);
    } else if (piece.rect.width != kFitsText && piece.rect.height > 0) {
      EXPECT_TRUE(inside(piece.rect, parent))
          << static_cast<int>(piece.field) << " " << captionText(piece);
    }
    valueBefore = piece.kind == PieceKind::Control;
    if (piece.kind == PieceKind::Caption && piece.field != FieldId::None) {
      EXPECT_EQ(captionText(piece), fieldInfo(piece.field).caption);
    }
  }
  const Rect choice = controlPiece(FieldId::RoofType).rect;
  EXPECT_TRUE(inside(choiceButtonRect(3), choice));
  EXPECT_TRUE(inside(kChoicePictureRect, choice));
  for (int count = 1; count <= 4; ++count)
    EXPECT_TRUE(inside(rightOverhangRect(count), frames.at(Frame::Span))) << count;
}

// In each layout the groups, the command bar and the status bar stand one
// under the other without overlapping, and the status bar ends the window.
TEST(ScreenDescription, EachLayoutStacksItsGroupsAndBars) {
  for (const int method : {0, 1}) {
    const ScreenGeometry g = inputScreenGeometry(method);
    const Rect& upper = method == 0 ? g.otherLoads : g.directLoad;
    EXPECT_LE(upper.y + upper.height, g.span.y) << method;
    EXPECT_LE(g.span.y + g.span.height, g.commandBar.y) << method;
    EXPECT_EQ(g.commandBar.y + g.commandBar.height, g.statusBar.y) << method;
    EXPECT_EQ(g.statusBar.y + g.statusBar.height, g.clientHeight) << method;
    EXPECT_EQ(g.span.x + g.span.width + g.span.x, g.clientWidth) << method;
  }
  EXPECT_EQ(inputScreenGeometry(0).clientHeight, 580);
  EXPECT_EQ(inputScreenGeometry(1).clientHeight, 378);
  // Any other method shows the notices' layout.
  EXPECT_EQ(inputScreenGeometry(7).clientHeight, 580);
}

TEST(ScreenDescription, PictureNamesAndTheRightOverhangFollowTheSpanCount) {
  EXPECT_EQ(builtInArrangementPicture(1, 0), "arrangement_s1_none.png");
  EXPECT_EQ(builtInArrangementPicture(4, 3), "arrangement_s4_both.png");
  // Counts out of range take the nearest; codes outside 1 to 3 show no overhang.
  EXPECT_EQ(builtInArrangementPicture(0, 4), "arrangement_s1_none.png");
  EXPECT_EQ(builtInArrangementPicture(9, -1), "arrangement_s4_none.png");
  EXPECT_EQ(rightOverhangRect(1).x, controlPiece(FieldId::Span1).rect.x + 88);
  EXPECT_EQ(rightOverhangRect(4).x, controlPiece(FieldId::Span4).rect.x + 88);
  EXPECT_EQ(rightOverhangRect(0).x, rightOverhangRect(1).x);
  EXPECT_EQ(rightOverhangRect(5).x, rightOverhangRect(4).x);
}

}  // namespace
}  // namespace tavilo
