// The main of a fuzz target built without libFuzzer: every file named on the
// command line, and every file in a folder named there, is given to the
// target once, so that the seed corpus and the kept findings run as tests in
// every build. A finding ends the process as it does under libFuzzer.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// The inputs in a stable order: a folder's files sorted by name.
std::vector<fs::path> inputsOf(const fs::path& argument) {
  if (!fs::is_directory(argument))
    return {argument};
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(argument)) {
    if (entry.is_regular_file())
      files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

bool replay(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", file.string().c_str());
    return false;
  }
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
  // An empty input is still passed a valid pointer, as libFuzzer does.
  static const std::uint8_t empty = 0;
  const auto* data = bytes.empty() ? &empty : reinterpret_cast<const std::uint8_t*>(bytes.data());
  LLVMFuzzerTestOneInput(data, bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    const fs::path argument(argv[i]);
    if (!fs::exists(argument)) {
      std::fprintf(stderr, "no such input: %s\n", argv[i]);
      return 1;
    }
    for (const fs::path& file : inputsOf(argument)) {
      if (!replay(file))
        return 1;
      ++count;
    }
  }
  // Nothing replayed proves nothing: a corpus that went missing fails.
  if (count == 0) {
    std::fprintf(stderr, "usage: %s FILE_OR_FOLDER... (no input found)\n", argv[0]);
    return 1;
  }
  std::printf("replayed %zu inputs\n", count);
  return 0;
}
