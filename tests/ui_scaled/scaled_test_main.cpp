// The windows on a HiDPI screen too small for them: the offscreen platform
// with one 1600 × 1200 screen at a scale factor of 2, so that 800 × 600
// device-independent pixels are available. Both must be set before the
// QApplication exists, hence a test program of its own.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryFile>

int main(int argc, char** argv) {
  QTemporaryFile config;
  if (!config.open())
    return 2;
  config.write(R"({"screens": [{"name": "hidpi", "x": 0, "y": 0, "width": 1600, "height": 1200,
                    "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  config.flush();
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
