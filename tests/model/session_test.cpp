#include "model/session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <tuple>
#include <utility>

#include "form_test_support.h"
#include "platform/utf8_path.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;

class SessionTest : public testing::FormTest {
 protected:
  Session started() {
    Session session({dir_, dir_, dir_ / "Data"});
    EXPECT_FALSE(session.startUp("5.4"));
    return session;
  }
};

TEST_F(SessionTest, DraftKeepsTheInputsWithoutSavingThem) {
  Session session = started();
  const fs::path file = dir_ / "roof.tvl";
  session.save(file);
  std::ignore = session.form().editText(FieldId::EavesHeightH1, "9000");
  const fs::path draft = dir_ / "draft.tvl";
  session.writeDraft(draft);
  EXPECT_TRUE(session.hasUnsavedChanges()) << "a draft saves nothing";
  EXPECT_EQ(session.paths().current, file);

  // The next start: the inputs are back, still unsaved, and no file is theirs.
  Session next = started();
  EXPECT_TRUE(next.restoreDraft(draft).completed());
  EXPECT_EQ(next.form().text(FieldId::EavesHeightH1), "9000");
  EXPECT_TRUE(next.hasUnsavedChanges());
  EXPECT_TRUE(next.paths().current.empty());
}

TEST_F(SessionTest, UnsavedChangesFollowEditsSavesAndLoads) {
  Session session = started();
  EXPECT_FALSE(session.hasUnsavedChanges()) << "start-up defaults are nothing to save";
  EXPECT_EQ(session.form().versionLabel(), "ver.5.4");

  std::ignore = session.form().editText(FieldId::EavesHeightH1, "9000");
  EXPECT_TRUE(session.hasUnsavedChanges());
  const fs::path file = dir_ / "roof.tvl";
  session.save(file);
  EXPECT_FALSE(session.hasUnsavedChanges());

  // The settings and the print settings travel in the file too.
  session.openPrintSettings();
  session.printDialog().editName("倉庫棟");
  session.confirmPrintSettings();
  EXPECT_TRUE(session.hasUnsavedChanges());

  const ProjectLoad load = session.load(file);
  EXPECT_TRUE(load.completed());
  EXPECT_FALSE(session.hasUnsavedChanges());
  EXPECT_EQ(session.printSettings().projectName, "件名を入力");
  EXPECT_EQ(session.printDialog().nameText(), "件名を入力") << "the dialog shows the loaded name";

  std::ignore = session.form().editText(FieldId::EavesHeightH1, "8000");
  const ProjectLoad missing = session.load(dir_ / "missing.tvl");
  EXPECT_FALSE(missing.completed());
  EXPECT_TRUE(session.hasUnsavedChanges()) << "a file that could not be read changes nothing";
  EXPECT_EQ(session.paths().current, file);
}

TEST_F(SessionTest, CalculateKeepsTheOutcomeWithTheScreenFacts) {
  Session session = started();
  std::ignore = session.form().selectIndex(FieldId::SurfaceTreatment, kSurfaceTreatmentOther);
  std::ignore = session.form().editText(FieldId::UnitWeight, "150");
  const CalculateResult result = session.calculate();
  ASSERT_FALSE(result.refusal) << result.refusal->message;
  ASSERT_TRUE(session.lastOutcome());
  EXPECT_EQ(session.lastOutcome()->facts.surfaceTreatmentText, "他");
  EXPECT_EQ(session.lastOutcome()->facts.unitWeightText, "150");
  EXPECT_TRUE(session.lastOutcome()->wind) << "the detail page draws this derivation";
}

TEST_F(SessionTest, SettingsDialogSwitchesTheLayoutOnlyWhenApplied) {
  Session session = started();
  session.openSettings();
  EXPECT_FALSE(session.form().screenEnabled());
  session.settingsDialog().clickMethod(kCalcMethodDirect);
  std::ignore = session.cancelSettings();
  EXPECT_TRUE(session.form().screenEnabled());
  EXPECT_EQ(session.form().layoutMethod(), 0);

  session.openSettings();
  std::ignore = session.applySettings();
  EXPECT_EQ(session.settings().calcMethod, kCalcMethodDirect) << "the clicked method stayed";
  EXPECT_EQ(session.form().layoutMethod(), 1);
}

TEST(PrintSettingsDialog, PositionsTakeEffectAtOnceAndNamesFallBack) {
  PrintSettings print;
  PrintSettingsDialog dialog;
  dialog.open(print);
  dialog.choosePosition(PageNumberPosition::BottomLeft, print);
  EXPECT_EQ(print.pageNumberPosition, PageNumberPosition::BottomLeft);
  EXPECT_TRUE(dialog.numberGroupEnabled());
  dialog.editStartNumber("5x");
  dialog.cancel(print);
  EXPECT_EQ(print.pageNumberPosition, PageNumberPosition::BottomLeft)
      << "cancelling keeps a chosen position";
  EXPECT_EQ(dialog.startNumberText(), "1") << "but not the start number";

  dialog.open(print);
  dialog.clickNameField();
  EXPECT_EQ(dialog.nameText(), "") << "the placeholder gives way to typing";
  dialog.editName(std::string(70, 'a'));
  EXPECT_EQ(dialog.nameText().size(), 65u);
  dialog.editName("");
  dialog.editStartNumber("0");
  dialog.confirm(print);
  EXPECT_EQ(print.projectName, "件名を入力") << "an empty name means no name box";
  EXPECT_EQ(print.startNumber, "1") << "the start number is at least 1";

  dialog.open(print);
  dialog.choosePosition(PageNumberPosition::None, print);
  dialog.confirm(print);
  EXPECT_EQ(print.pageNumberPosition, PageNumberPosition::None)
      << "confirming 無し removes the numbers";
  EXPECT_FALSE(dialog.numberGroupEnabled());
}

// Both views lay the seven options out from this grid: no two in one cell,
// "無し" alone above the right column, the top and bottom rows left to right.
TEST(PrintSettingsDialog, PositionGridPlacesEachOptionOnce) {
  std::set<std::pair<int, int>> cells;
  for (const GridPlace& place : kPageNumberPositionPlaces) {
    EXPECT_TRUE(place.column >= 0 && place.column < 3 && place.row >= 0 && place.row < 3);
    EXPECT_TRUE(cells.emplace(place.column, place.row).second)
        << "two options in column " << place.column << ", row " << place.row;
  }
  for (std::size_t i = 1; i < kPageNumberPositionPlaces.size(); ++i) {
    const GridPlace place = kPageNumberPositionPlaces[i];
    EXPECT_EQ(place.row, 1 + static_cast<int>(i - 1) / 3) << kPageNumberPositionCaptions[i];
    EXPECT_EQ(place.column, static_cast<int>(i - 1) % 3) << kPageNumberPositionCaptions[i];
  }
  EXPECT_EQ(kPageNumberPositionPlaces[0].row, 0);
  EXPECT_EQ(kPageNumberPositionPlaces[0].column, 2);
}

// A project in a folder and under a file name in Japanese, as engineers name
// them: saved and loaded again, the title and paths keep the name. On
// Windows this crosses the wide file names; the narrow code page would
// garble them.
TEST_F(SessionTest, JapaneseFolderAndFileNames) {
  Session session = started();
  const fs::path folder = dir_ / pathFromUtf8("物件データ") / pathFromUtf8("鉄骨");
  fs::create_directories(folder);
  const fs::path file = folder / pathFromUtf8("屋根（東棟）.tvl");
  std::ignore = session.form().editText(FieldId::EavesHeightH1, "9000");
  session.save(file);
  EXPECT_TRUE(fs::is_regular_file(file));
  EXPECT_EQ(utf8FromPath(session.saveLocation().folder.filename()), "鉄骨");
  EXPECT_EQ(session.saveLocation().fileName, "屋根（東棟）.tvl");

  Session fresh = started();
  const ProjectLoad load = fresh.load(file);
  ASSERT_TRUE(load.completed()) << load.failure.value_or("");
  EXPECT_EQ(fresh.form().text(FieldId::EavesHeightH1), "9000");
  EXPECT_THAT(projectWindowTitle(fresh.paths().current), ::testing::HasSubstr("屋根（東棟）.tvl"));
  EXPECT_THAT(projectWindowTitle(fresh.paths().current), ::testing::HasSubstr("物件データ"));
}

}  // namespace
}  // namespace tavilo
