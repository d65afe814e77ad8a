#pragma once
// A QGuiApplication on the offscreen platform for the painting tests.

#include <QGuiApplication>

namespace tavilo::testing {

inline void ensureGuiApplication() {
  if (QCoreApplication::instance() != nullptr)
    return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "test_report";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

}  // namespace tavilo::testing
