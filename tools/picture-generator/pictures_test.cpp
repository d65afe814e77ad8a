// The windows load these pictures by name and place them at fixed positions:
// names, sizes and formats must hold, and the span fields of the input screen
// stand under the supports of the arrangement pictures.
#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QMap>
#include <tuple>

#include "pictures.h"

namespace {

using pictures::Destination;
using pictures::FileFormat;
using pictures::Picture;

const std::vector<Picture>& allPictures() {
  static const std::vector<Picture> all = [] {
    QString error;
    const std::optional<pictures::Fonts> fonts = pictures::loadIpaFonts(error);
    if (!fonts) {
      ADD_FAILURE() << error.toStdString();
      return std::vector<Picture>{};
    }
    return pictures::drawAll(*fonts);
  }();
  return all;
}

const Picture* find(const QString& fileName) {
  for (const Picture& picture : allPictures()) {
    if (picture.fileName == fileName) {
      return &picture;
    }
  }
  return nullptr;
}

struct Expected {
  Destination destination;
  FileFormat format;
  QSize size;
};

QMap<QString, Expected> expectedPictures() {
  QMap<QString, Expected> expected;
  for (const char* name :
       {"Shed_roof", "Gable_roof", "Circular_arc_roof", "Independent_roof", "Shape_close",
        "Shape_windward", "Shape_leeward", "Shape_gable", "Shape_wing_roof"}) {
    expected[QString::fromLatin1(name) + ".bmp"] = {Destination::dataFolder, FileFormat::bmp24,
                                                    QSize(100, 64)};
  }
  for (const char* name : {"roof_type_default", "building_shape_default", "roof_shape_default"}) {
    expected[QString::fromLatin1(name) + ".png"] = {Destination::resources, FileFormat::png,
                                                    QSize(100, 64)};
  }
  expected["roughness.png"] = {Destination::resources, FileFormat::png, QSize(200, 60)};
  expected["building_dimensions.png"] = {Destination::resources, FileFormat::png, QSize(170, 80)};
  expected["fire_resistance.png"] = {Destination::resources, FileFormat::png, QSize(436, 592)};
  expected["tavilo.png"] = {Destination::resources, FileFormat::png, QSize(256, 256)};
  for (int count = 1; count <= 4; ++count) {
    for (const char* side : {"none", "left", "right", "both"}) {
      expected[QStringLiteral("arrangement_s%1_%2.png").arg(count).arg(side)] = {
          Destination::resources, FileFormat::png, QSize(640, 40)};
    }
  }
  return expected;
}

TEST(Pictures, EveryFileTheWindowsLoadIsDrawnOnceWithItsSizeAndFormat) {
  const QMap<QString, Expected> expected = expectedPictures();
  ASSERT_EQ(allPictures().size(), static_cast<std::size_t>(expected.size()));
  for (const Picture& picture : allPictures()) {
    SCOPED_TRACE(picture.fileName.toStdString());
    ASSERT_TRUE(expected.contains(picture.fileName));
    const Expected& want = expected[picture.fileName];
    EXPECT_EQ(picture.destination, want.destination);
    EXPECT_EQ(picture.format, want.format);
    EXPECT_EQ(picture.image.size(), want.size);

    const QByteArray bytes = pictures::encode(picture);
    ASSERT_FALSE(bytes.isEmpty());
    if (picture.format == FileFormat::bmp24) {
      EXPECT_EQ(pictures::bmpBitDepth(bytes), 24);
    }
    EXPECT_EQ(QImage::fromData(bytes).size(), want.size);
  }
}

TEST(Pictures, InitialPicturesAreTheDrawingsOfTheInitialChoices) {
  for (const auto& [builtIn, choice] : {std::pair{"roof_type_default.png", "Shed_roof.bmp"},
                                        std::pair{"building_shape_default.png", "Shape_close.bmp"},
                                        std::pair{"roof_shape_default.png", "Shape_gable.bmp"}}) {
    const Picture* a = find(QString::fromLatin1(builtIn));
    const Picture* b = find(QString::fromLatin1(choice));
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(a->image == b->image) << builtIn;
  }
}

// Ink is anything clearly darker than the light fills.
bool inked(const QImage& image, int x, int y) {
  return qGray(image.pixel(x, y)) < 190;
}

bool columnInked(const QImage& image, int x, int top, int bottom) {
  for (int y = top; y <= bottom; ++y) {
    if (inked(image, x, y)) {
      return true;
    }
  }
  return false;
}

TEST(Pictures, ArrangementsPutSupportsUnderTheSpanFieldsAndLoadTheWholeDeck) {
  constexpr int kFirstSupport = 91;
  constexpr int kPitch = 106;
  constexpr int kOverhang = 76;
  constexpr int kDeckRow = 24;
  constexpr int kLoadRow = 13;
  constexpr int kApexRow = 27;
  for (int count = 1; count <= 4; ++count) {
    for (const auto& [side, left, right] :
         {std::tuple{"none", false, false}, std::tuple{"left", true, false},
          std::tuple{"right", false, true}, std::tuple{"both", true, true}}) {
      const QString name = QStringLiteral("arrangement_s%1_%2.png").arg(count).arg(side);
      SCOPED_TRACE(name.toStdString());
      const Picture* picture = find(name);
      ASSERT_TRUE(picture);
      const QImage& image = picture->image;

      for (int k = 0; k <= 4; ++k) {
        const int x = kFirstSupport + kPitch * k;
        const bool present = k <= count;
        EXPECT_EQ(columnInked(image, x, 27, 36), present) << "support " << k;
        if (present) {  // the apex is centred on the support's column
          EXPECT_TRUE(inked(image, x, kApexRow)) << "support " << k;
          EXPECT_FALSE(inked(image, x - 3, kApexRow) || inked(image, x + 3, kApexRow))
              << "support " << k;
        }
      }

      const int deckLeft = kFirstSupport - (left ? kOverhang : 0);
      const int deckRight = kFirstSupport + kPitch * count + (right ? kOverhang : 0);
      for (const int row : {kDeckRow, kLoadRow}) {
        EXPECT_TRUE(inked(image, deckLeft + 1, row)) << "row " << row;
        EXPECT_TRUE(inked(image, deckRight - 2, row)) << "row " << row;
        EXPECT_FALSE(inked(image, deckLeft - 3, row)) << "row " << row;
        EXPECT_FALSE(inked(image, deckRight + 2, row)) << "row " << row;
      }
    }
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
