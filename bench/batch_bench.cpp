// The batch command over 1,000 projects in one process: `tavilo-calc` with
// 1,000 project files (the three samples with varied spans) and --json, as a
// script would run it. The rate is reported as projects per second.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "persistence/text_file.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = TAVILO_SOURCE_DIR;
constexpr int kProjects = 1000;

// 1,000 project files in a temporary folder, removed at the end.
class ProjectFolder {
 public:
  ProjectFolder() {
    std::string pattern = (fs::temp_directory_path() / "tavilo_batch_bench_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
      return;
    dir_ = pattern;
    const char* samples[] = {"ordinary-3span.tvl", "heavy-snow-overhangs.tvl", "direct-1span.tvl"};
    for (int i = 0; i < kProjects; ++i) {
      std::vector<std::string> lines = readTextLines(kSource / "examples" / samples[i % 3]);
      const int count = std::stoi(lines[24]);
      for (int span = 1; span <= count; ++span)
        lines[static_cast<std::size_t>(24 + span)] = std::to_string(1500 + 10 * (i % 100));
      const fs::path file = dir_ / ("project-" + std::to_string(i) + ".tvl");
      writeTextLines(file, lines);
      files_ += " '" + file.string() + "'";
    }
  }
  ~ProjectFolder() {
    if (!dir_.empty())
      fs::remove_all(dir_);
  }
  ProjectFolder(const ProjectFolder&) = delete;
  ProjectFolder& operator=(const ProjectFolder&) = delete;

  bool ready() const { return !files_.empty(); }
  const std::string& arguments() const { return files_; }

 private:
  fs::path dir_;
  std::string files_;
};

void BM_BatchJsonOfAThousandProjects(benchmark::State& bench) {
  const ProjectFolder folder;
  if (!folder.ready()) {
    bench.SkipWithError("no temporary folder");
    return;
  }
  const std::string command =
      "'" + std::string(TAVILO_CALC_EXE) + "'" + folder.arguments() + " --json >/dev/null";
  for (auto _ : bench) {
    const int status = std::system(command.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      bench.SkipWithError("tavilo-calc did not calculate every project");
      return;
    }
  }
  bench.SetItemsProcessed(bench.iterations() * kProjects);
}
BENCHMARK(BM_BatchJsonOfAThousandProjects)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace tavilo
