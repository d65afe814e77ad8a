#pragma once
// What the fuzz targets share: the sample tables of the source tree and an
// input screen started on them, as the batch command starts one.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "calc/app_state.h"
#include "calc/errors.h"
#include "location/location_tables.h"
#include "model/input_form.h"
#include "model/project_file.h"
#include "persistence/text_file.h"

namespace tavilo::fuzz {

inline const std::filesystem::path kDataDir =
    std::filesystem::path(TAVILO_SOURCE_DIR) / "Load_data";

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A fresh screen after start-up; the sample tables always start.
inline InputForm startedForm() {
  InputForm form{LocationTables(kDataDir)};
  std::ignore = form.startUp();
  return form;
}

// What loading a project changes, fresh as after start-up.
struct Project {
  InputForm form = startedForm();
  SettingsDialog dialog;
  AppState state;
  PrintSettings print;
  ProjectPaths paths;

  // Applies the lines as the load command does; true when the load completed.
  bool apply(const std::vector<std::string>& lines, const std::string& label) {
    return applyProjectLines(lines, label, {form, dialog, state.settings, print, paths})
        .completed();
  }
};

// The lines of a fuzz input read as a project file; nothing when the bytes
// are no text the reader takes.
inline std::optional<std::vector<std::string>> projectFileLines(const std::uint8_t* data,
                                                                std::size_t size) {
  try {
    return decodeTextLines(bytesOf(data, size), "fuzz.tvl");
  } catch (const UserError&) {
    return std::nullopt;
  }
}

// A finding: the process ends so that libFuzzer keeps the input.
[[noreturn]] inline void finding() {
  std::abort();
}

}  // namespace tavilo::fuzz
