// tavilo-screenshots: draws every window of the desktop program as a user
// sees it and writes PNGs for the documentation: the input screen in both
// layouts and with the roof-shape group, the settings dialog, the
// terms-of-use notice, the overview, the fire-resistance window, the result
// window of a sample project, its print settings dialog and the span table. Usage:
// tavilo-screenshots OUT_DIR (scripts/screenshots runs it under Xvfb).

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <filesystem>
#include <tuple>

#include "ui/auxiliary_windows.h"
#include "ui/desktop.h"
#include "ui/live_check_window.h"
#include "ui/print_settings_window.h"
#include "ui/result_window.h"
#include "ui/settings_window.h"
#include "ui/span_table_window.h"
#include "ui/ui_support.h"

namespace {

namespace fs = std::filesystem;
using tavilo::FieldId;

void settle() {
  for (int i = 0; i < 5; ++i)
    QApplication::processEvents();
}

void save(QWidget& window, const fs::path& folder, const char* name) {
  settle();
  const QString file = QString::fromStdString((folder / name).string());
  if (!window.grab().save(file))
    std::fprintf(stderr, "could not write %s\n", file.toLocal8Bit().constData());
}

// The input screen with the live check beside it, as one picture.
void saveBeside(QWidget& screen, tavilo::ui::LiveCheckWindow& panel, const fs::path& folder,
                const char* name) {
  panel.updateNow();
  panel.followScreen();
  settle();
  const QPixmap left = screen.grab();
  const QPixmap right = panel.grab();
  const qreal ratio = left.devicePixelRatio();
  const int gap = tavilo::kLivePanelLayout.gap;
  QPixmap both(static_cast<int>((left.width() / ratio + gap + right.width() / ratio) * ratio),
               static_cast<int>(std::max(left.height(), right.height())));
  both.setDevicePixelRatio(ratio);
  both.fill(QColor(93, 111, 125));
  QPainter painter(&both);
  painter.drawPixmap(0, 0, left);
  painter.drawPixmap(QPointF(left.width() / ratio + gap, 0), right);
  painter.end();
  const QString file = QString::fromStdString((folder / name).string());
  if (!both.save(file))
    std::fprintf(stderr, "could not write %s\n", file.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setFont(tavilo::ui::windowFont());
  if (argc < 2) {
    std::fprintf(stderr, "usage: tavilo-screenshots OUT_DIR\n");
    return 2;
  }
  const fs::path out = argv[1];
  fs::create_directories(out);
  const fs::path source = TAVILO_SOURCE_DIR;

  tavilo::Session session({source, source / "Load_data", source / "examples"});
  tavilo::ui::StartUpOptions options;
  options.version = "5.4";
  options.splashWait = std::chrono::milliseconds(0);
  // A settings folder with its marker, so that no notice interrupts start-up.
  const fs::path home = fs::temp_directory_path() / "tavilo-screenshots-home";
  options.environment = {home.string(), ""};
  std::ignore = tavilo::ensureSettingsFolder(options.environment, [] {});
  options.dialogs.askToSaveChanges = [](QWidget*) { return tavilo::ui::SaveAnswer::kDiscard; };
  options.dialogs.busyWhileCalculating = [] { return std::make_shared<tavilo::ui::BusyPanel>(); };
  auto desktop = tavilo::ui::startDesktop(session, std::move(options));
  tavilo::ui::InputScreen& screen = desktop->inputScreen();
  save(screen, out, "input-screen.png");

  // The canopy roof: the roof-shape group replaces the building shape.
  for (QRadioButton* button : screen.findChildren<QRadioButton*>()) {
    if (button->text() == QStringLiteral("独立上屋"))
      button->click();
  }
  save(screen, out, "input-screen-canopy.png");

  desktop->settingsWindow().open();
  screen.carryOut({});
  save(desktop->settingsWindow(), out, "settings-dialog.png");
  for (QRadioButton* button : desktop->settingsWindow().findChildren<QRadioButton*>()) {
    if (button->text() == QStringLiteral("風・雪荷重値を直接入力する"))
      button->click();
  }
  if (auto* apply = desktop->settingsWindow().control(FieldId::SettingsApplyButton))
    QMetaObject::invokeMethod(apply, "click");
  save(screen, out, "input-screen-direct.png");

  QTimer::singleShot(300, [&out] {
    if (QWidget* notice = QApplication::activeModalWidget()) {
      save(*notice, out, "notice.png");
      // The notice is left only through its button.
      for (QPushButton* button : notice->findChildren<QPushButton*>())
        button->click();
    }
  });
  tavilo::ui::showNotice(&screen);

  desktop->overviewWindow().showOverview(session.folders().data);
  save(desktop->overviewWindow(), out, "overview.png");
  desktop->overviewWindow().hide();
  desktop->fireResistanceWindow().showAndFocus();
  save(desktop->fireResistanceWindow(), out, "fire-resistance.png");
  desktop->fireResistanceWindow().hide();

  const tavilo::ProjectLoad load = session.load(source / "examples" / "heavy-snow-overhangs.tvl");
  screen.carryOut(load.events);
  save(screen, out, "input-screen-loaded.png");
  saveBeside(screen, desktop->liveCheckWindow(), out, "live-check.png");
  {
    // A span too long for the deck: NG before 計　算, the other decks compared.
    tavilo::InputForm& form = session.form();
    screen.carryOut(form.typeText(FieldId::Span1, "3600"));
    saveBeside(screen, desktop->liveCheckWindow(), out, "live-check-ng.png");
    screen.carryOut(form.typeText(FieldId::Span1, "2000"));
  }
  screen.calculate();
  save(desktop->resultWindow(), out, "result-window.png");
  desktop->resultWindow().scrollBox()->verticalScrollBar()->setValue(1400);
  save(desktop->resultWindow(), out, "result-window-scrolled.png");
  desktop->resultWindow().openPrintSettings();
  save(desktop->resultWindow().printSettingsWindow(), out, "print-settings-dialog.png");
  desktop->resultWindow().printSettingsWindow().hide();
  desktop->resultWindow().setEnabled(true);
  desktop->showSpanTable();
  save(desktop->spanTableWindow(), out, "span-table-window.png");
  return 0;
}
