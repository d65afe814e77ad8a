#pragma once
// A started session over the shipped data folder, with a scratch folder of
// its own for the program and project folders.

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <tuple>
#include <utility>

#include "model/session.h"
#include "ui/ui_support.h"

namespace tavilo::ui::testing {

struct StartedSession {
  QTemporaryDir scratch;
  Session session;

  StartedSession() : session({folder(), TAVILO_SOURCE_DIR "/Load_data", folder()}) {
    std::ignore = session.startUp("5.4");
  }

  std::filesystem::path folder() const { return scratch.path().toStdString(); }
};

// Collects what the windows show in message boxes while it lives.
struct MessageLog {
  QStringList texts;
  MessagePresenter previous;

  MessageLog()
      : previous(setMessagePresenter([this](QWidget*, const QString& text) { texts << text; })) {}
  ~MessageLog() { setMessagePresenter(std::move(previous)); }
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;
};

}  // namespace tavilo::ui::testing
