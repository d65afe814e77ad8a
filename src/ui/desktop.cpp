#include "ui/desktop.h"

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

#include "model/program_texts.h"
#include "model/span_table.h"
#include "ui/auxiliary_windows.h"
#include "ui/live_check_window.h"
#include "ui/result_window.h"
#include "ui/settings_window.h"
#include "ui/span_table_window.h"
#include "ui/ui_support.h"

namespace tavilo::ui {

Desktop::Desktop(Session& session, InputScreenDialogs dialogs, ResultWindowDialogs resultDialogs)
    : session_(session),
      inputScreen_(std::make_unique<InputScreen>(session, std::move(dialogs))),
      settingsWindow_(std::make_unique<SettingsWindow>(session)),
      spanTableWindow_(std::make_unique<SpanTableWindow>(session, resultDialogs)),
      resultWindow_(std::make_unique<ResultWindow>(session, std::move(resultDialogs))),
      overviewWindow_(std::make_unique<OverviewWindow>()),
      fireResistanceWindow_(std::make_unique<FireResistanceWindow>()) {
  InputScreen* screen = inputScreen_.get();
  connect(screen, &InputScreen::overviewRequested, this,
          [this] { overviewWindow_->showOverview(session_.folders().data); });
  connect(screen, &InputScreen::fireResistanceRequested, this,
          [this] { fireResistanceWindow_->showAndFocus(); });
  connect(screen, &InputScreen::noticeRequested, this, [screen] { showNotice(screen); });
  connect(screen, &InputScreen::settingsRequested, this, [this, screen] {
    settingsWindow_->open();
    screen->carryOut({});
  });
  connect(settingsWindow_.get(), &SettingsWindow::closed, screen, &InputScreen::carryOut);
  connect(screen, &InputScreen::calculated, this,
          [this] { resultWindow_->showOutcome(*session_.lastOutcome()); });
  connect(resultWindow_.get(), &ResultWindow::closed, screen, &InputScreen::showAgain);
  // A table of inputs that are about to change is not left standing.
  connect(resultWindow_.get(), &ResultWindow::closed, spanTableWindow_.get(), &QWidget::hide);
  QPushButton* spanTable = resultWindow_->addToolBarCommand(qs(kSpanTableCommand.caption),
                                                            qs(kSpanTableCommand.hint), 80);
  connect(spanTable, &QPushButton::clicked, this, &Desktop::showSpanTable);
  connect(screen, &InputScreen::closedForGood, this, &Desktop::finished);
  liveCheckWindow_ = new LiveCheckWindow(session_, *screen);
  // Settings that change no field still change the calculation.
  connect(settingsWindow_.get(), &SettingsWindow::closed, liveCheckWindow_,
          &LiveCheckWindow::scheduleUpdate);
}

Desktop::~Desktop() = default;

void Desktop::showSpanTable() {
  SpanTableResult result;
  {
    const BusyPanel busy;
    result = buildSpanTable(session_);
  }
  if (result.refusal || !result.table) {
    showMessage(resultWindow_.get(),
                qs(result.refusal ? result.refusal->message : kSpanTableFailure));
    return;
  }
  spanTableWindow_->showTable(std::move(*result.table));
}

std::unique_ptr<Desktop> startDesktop(Session& session, StartUpOptions options) {
  if (const auto failure = ensureSettingsFolder(options.environment, [] { showNotice(nullptr); })) {
    showMessage(nullptr, qs(*failure));
  }

  QApplication::setOverrideCursor(Qt::WaitCursor);
  SplashWindow splash(qs(options.version));
  splash.present();
  if (options.splashWait.count() > 0) {
    // The splash is painted and the window system served while it waits.
    QEventLoop wait;
    QTimer::singleShot(options.splashWait, &wait, &QEventLoop::quit);
    wait.exec();
  }

  const std::optional<std::string> failure = session.startUp(options.version);
  auto desktop = std::make_unique<Desktop>(session, std::move(options.dialogs),
                                           std::move(options.resultDialogs));
  desktop->overviewWindow().setVersion(options.version);
  InputScreen& screen = desktop->inputScreen();
  splash.close();
  desktop->liveCheckWindow().rememberIn(settingsFolderPath(options.environment));
  screen.show();
  screen.carryOut({focusEvent(FieldId::DeckType)});
  QApplication::restoreOverrideCursor();
  if (failure)
    showMessage(&screen, qs(*failure));
  if (!session.tableWarning().empty())
    showMessage(&screen, qs(session.tableWarning()));
  if (options.project)
    screen.openProject(*options.project);
  return desktop;
}

}  // namespace tavilo::ui
