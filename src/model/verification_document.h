#pragma once
// Where the verification document (検証資料) ships: "docs/verification.pdf"
// beside the data folder, that is beside the programs in the build tree and
// the Windows folder (docs\ next to Load_data\), and in share/tavilo/docs of
// an installed program (next to share/tavilo/Load_data).

#include <filesystem>
#include <string_view>

namespace tavilo {

// Relative to the folder that holds the data folder; the web page serves it
// at this path beside its own Load_data.
inline constexpr std::string_view kVerificationDocument = "docs/verification.pdf";

inline std::filesystem::path verificationDocumentPath(const std::filesystem::path& dataFolder) {
  return (dataFolder / "..").lexically_normal() / kVerificationDocument;
}

}  // namespace tavilo
