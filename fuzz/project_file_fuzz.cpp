// The project file reader in all three layouts (current, version-less and the
// legacy keyed one), from the bytes of a file to the screen it fills; what
// a completed load put on the screen saves to a file that loads again.

#include <cstdint>

#include "fuzz_support.h"
#include "persistence/text_file.h"
#include "ui/form/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavilo;
  std::vector<std::string> lines;
  try {
    lines = decodeTextLines(fuzz::bytesOf(data, size), "fuzz.tvl");
  } catch (const UserError&) {
    return 0;
  }
  InputForm form = fuzz::startedForm();
  SettingsDialog dialog;
  CoefficientSettings settings;
  PrintSettings print;
  ProjectPaths paths;
  const ProjectContext context{form, dialog, settings, print, paths};
  const ProjectLoad load = applyProjectLines(lines, "fuzz.tvl", context);
  if (!load.completed())
    return 0;
  // What a completed load put on the screen saves and loads again.
  const std::vector<std::string> saved = projectLines(form, settings, print);
  InputForm again = fuzz::startedForm();
  SettingsDialog dialog2;
  CoefficientSettings settings2;
  PrintSettings print2;
  ProjectPaths paths2;
  const ProjectLoad reload =
      applyProjectLines(saved, "saved.tvl", {again, dialog2, settings2, print2, paths2});
  // A file the program saved itself always loads.
  if (!reload.completed())
    fuzz::finding();
  return 0;
}
