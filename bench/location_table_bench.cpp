// Reading an address table at the size limit (64 MiB): millions of short
// lines that belong to no prefecture, millions of empty lines, and millions of
// district rows that are all kept. Each reports the time of one read and the
// peak memory of the process while it reads (peak_MiB, Linux); run one case at
// a time for its own peak:
//   build/release/bench/location_table_bench --benchmark_filter=EmptyLines

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "location/location_tables.h"
#include "persistence/text_file.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;

// A data folder holding an address table of `line` repeated up to the limit.
class TableAtTheLimit {
 public:
  explicit TableAtTheLimit(const std::string& line) {
    std::string pattern = (fs::temp_directory_path() / "tavilo_table_bench_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
      return;
    dir_ = pattern;
    std::string bytes;
    bytes.reserve(kTextFileSizeLimit);
    bytes += "番号,よみ,都道府県,地区,積雪区域,V0,標高,積雪量,細則\r\n";
    while (bytes.size() + line.size() <= kTextFileSizeLimit)
      bytes += line;
    std::ofstream(dir_ / kAddressFileName, std::ios::binary) << toCp932(bytes);
  }
  ~TableAtTheLimit() {
    if (!dir_.empty())
      fs::remove_all(dir_);
  }
  TableAtTheLimit(const TableAtTheLimit&) = delete;
  TableAtTheLimit& operator=(const TableAtTheLimit&) = delete;

  const fs::path& dir() const { return dir_; }

 private:
  fs::path dir_;
};

// The peak resident memory since the last reset (VmHWM, which writing 5 to
// clear_refs resets), so that making the table is not counted.
void resetPeak() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

double peakMiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:"))
      return std::stod(line.substr(6)) / 1024.0;  // kB
  }
  return 0;
}

void readTable(benchmark::State& state, const std::string& line) {
  const TableAtTheLimit table(line);
  std::size_t districts = 0;
  resetPeak();
  for (auto _ : state) {
    LocationTables tables(table.dir());
    districts = tables.loadAddressTable().districts.size();
    benchmark::DoNotOptimize(districts);
  }
  state.counters["peak_MiB"] = peakMiB();
  state.counters["districts"] = static_cast<double>(districts);
}

void BM_ShortLinesOfNoPrefecture(benchmark::State& state) {
  readTable(state, "1,a\r\n");
}
BENCHMARK(BM_ShortLinesOfNoPrefecture)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_EmptyLines(benchmark::State& state) {
  readTable(state, "\n");
}
BENCHMARK(BM_EmptyLines)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_DistrictRowsAllKept(benchmark::State& state) {
  // CP932 gives 2 bytes a kanji, as an office's table has them.
  readTable(state, "1,ｶﾅ,北海道,札幌市,3,32,17,140,0\r\n");
}
BENCHMARK(BM_DistrictRowsAllKept)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace tavilo
