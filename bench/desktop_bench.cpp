// The desktop program as a user waits for it: from start-up to the input
// screen shown (without the splash's deliberate one-second wait), and from a
// click on 計　算 to the result window shown with the report of the
// heavy-snow sample. Runs on the offscreen platform unless QT_QPA_PLATFORM
// says otherwise.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <tuple>

#include "persistence/settings_folder.h"
#include "ui/desktop.h"
#include "ui/result_window.h"

namespace tavilo::ui {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceRoot = fs::path(__FILE__).parent_path().parent_path();

// A program run's folders and a settings folder whose marker exists, so that
// no notice waits for an answer.
struct Scratch {
  QTemporaryDir folder;
  Environment environment{(fs::path(folder.path().toStdString()) / "home").string(), ""};

  Scratch() {
    std::ignore = ensureSettingsFolder(environment, [] {});
  }

  ProgramFolders folders() const {
    const fs::path own = folder.path().toStdString();
    return {own, kSourceRoot / "Load_data", own};
  }
  StartUpOptions options() const {
    StartUpOptions o;
    o.version = "5.4";
    o.environment = environment;
    o.splashWait = std::chrono::milliseconds(0);
    o.dialogs = {};
    return o;
  }
};

void StartUpToInputScreen(benchmark::State& state) {
  const Scratch scratch;
  for (auto _ : state) {
    Session session(scratch.folders());
    const auto desktop = startDesktop(session, scratch.options());
    QApplication::processEvents();
    if (!desktop->inputScreen().isVisible())
      throw std::runtime_error("the input screen is not shown");
    state.PauseTiming();
    desktop->inputScreen().hide();
    state.ResumeTiming();
  }
}
BENCHMARK(StartUpToInputScreen)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void CalculateToResultWindow(benchmark::State& state) {
  const Scratch scratch;
  Session session(scratch.folders());
  const auto desktop = startDesktop(session, scratch.options());
  const ProjectLoad load = session.load(kSourceRoot / "examples" / "heavy-snow-overhangs.tvl");
  if (!load.completed())
    throw std::runtime_error(*load.failure);
  InputScreen& screen = desktop->inputScreen();
  screen.carryOut(load.events);
  ResultWindow& result = desktop->resultWindow();
  for (auto _ : state) {
    screen.calculate();
    QApplication::processEvents();
    if (!result.isVisible())
      throw std::runtime_error("the result window is not shown");
    state.PauseTiming();
    result.closeButton()->click();
    QApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(CalculateToResultWindow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace tavilo::ui

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
