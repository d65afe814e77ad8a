// The project file reader in all three layouts (current, version-less and the
// legacy keyed one), from the bytes of a file to the screen it fills; what
// a completed load put on the screen saves to a file that loads again.

#include <cstdint>

#include "fuzz_support.h"
#include "model/project_file.h"
#include "persistence/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavilo;
  const auto lines = fuzz::projectFileLines(data, size);
  fuzz::Project project;
  if (!lines || !project.apply(*lines, "fuzz.tvl"))
    return 0;
  // What a completed load put on the screen saves and loads again.
  const std::vector<std::string> saved =
      projectLines(project.form, project.state.settings, project.print);
  fuzz::Project again;
  // A file the program saved itself always loads.
  if (!again.apply(saved, "saved.tvl"))
    fuzz::finding();
  return 0;
}
