#pragma once
// What the fuzz targets share: the sample tables of the source tree and an
// input screen started on them, as the batch command starts one.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "calc/errors.h"
#include "location/location_tables.h"
#include "ui/form/input_form.h"

namespace tavilo::fuzz {

inline const std::filesystem::path kDataDir =
    std::filesystem::path(TAVILO_SOURCE_DIR) / "Load_data";

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A fresh screen after start-up; the sample tables always start.
inline InputForm startedForm() {
  InputForm form{LocationTables(kDataDir)};
  form.startUp();
  return form;
}

// A finding: the process ends so that libFuzzer keeps the input.
[[noreturn]] inline void finding() {
  std::abort();
}

}  // namespace tavilo::fuzz
