#pragma once
// The sections of the verification document, each built by its own unit.

#include <filesystem>

#include "verification_document.h"

namespace tavilo::verification {

Section loadSection();
Section beamSection();
Section checkSection();
Section roundingSection();
// One sample project of examples/, on the shipped location tables of Load_data/.
Section projectSection(const std::filesystem::path& sourceDir);

}  // namespace tavilo::verification
