#pragma once
// A fresh folder of one test under the system's temporary folder, on every
// system.

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tavilo::testing {

inline std::filesystem::path makeScratchFolder(std::string_view prefix) {
  std::random_device device;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto folder = std::filesystem::temp_directory_path() /
                        (std::string(prefix) + "_" + std::to_string(device()));
    if (std::filesystem::create_directory(folder))
      return folder;
  }
  throw std::runtime_error("no scratch folder");
}

}  // namespace tavilo::testing
