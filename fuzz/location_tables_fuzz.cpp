// The location tables: the input replaces the address table (first byte even)
// or the snow coefficient table (odd) beside the other sample table, and every
// lookup of the start-up and of site selection runs over it.

#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz_support.h"
#include "location/prefectures.h"

namespace {

namespace fs = std::filesystem;

// One folder per process for the two table files, under TMPDIR (scripts/fuzz
// points it into the build tree).
const fs::path& workFolder() {
  static const fs::path folder = [] {
    fs::path path = fs::temp_directory_path() / ("tavilo-fuzz-tables-" + std::to_string(getpid()));
    fs::create_directories(path);
    fs::copy_file(tavilo::fuzz::kDataDir / tavilo::kAddressFileName,
                  path / tavilo::kAddressFileName, fs::copy_options::overwrite_existing);
    fs::copy_file(tavilo::fuzz::kDataDir / tavilo::kSnowCoefficientFileName,
                  path / tavilo::kSnowCoefficientFileName, fs::copy_options::overwrite_existing);
    return path;
  }();
  return folder;
}

void write(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavilo;
  if (size == 0)
    return 0;
  const bool address = data[0] % 2 == 0;
  const fs::path& folder = workFolder();
  const fs::path fuzzed = folder / (address ? kAddressFileName : kSnowCoefficientFileName);
  const fs::path other = folder / (address ? kSnowCoefficientFileName : kAddressFileName);
  write(fuzzed, fuzz::bytesOf(data + 1, size - 1));
  fs::copy_file(fuzz::kDataDir / other.filename(), other, fs::copy_options::overwrite_existing);

  LocationTables tables(folder);
  try {
    tables.loadAddressTable();
  } catch (const UserError&) {
  }
  for (const auto prefecture : kPrefectures) {
    try {
      const DistrictList list = tables.districtsOfPrefecture(prefecture);
      for (const std::string& district : list.districts)
        tables.lookupDistrict(prefecture, district);
      const int region = list.first ? list.first->snowRegion : 4;
      tables.loadSnowCoefficients(region);
    } catch (const UserError&) {
    }
  }
  for (int region = -1; region < 12; ++region) {
    try {
      tables.lookupSnowCoefficients(region);
    } catch (const UserError&) {
    }
  }
  return 0;
}
