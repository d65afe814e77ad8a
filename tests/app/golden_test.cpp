// The golden results: the full --json outcome of every sample project and of
// the projects under tests/golden/projects/, compared field by field with the
// documents committed under tests/golden/expected/. Any drift in the wind or
// snow derivation, the solver, the checks or the file reader shows here as the
// JSON path of each changed field with its expected and actual value.
// scripts/regenerate-golden writes the documents anew.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>
#include "../support/process.h"
#include "../support/scratch_folder.h"
#include "platform/utf8_path.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

const fs::path kSource = TAVILO_SOURCE_DIR;
const fs::path kExpected = kSource / "tests" / "golden" / "expected";

std::string readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> goldenProjects() {
  std::vector<fs::path> projects;
  for (const fs::path& folder : {kSource / "examples", kSource / "tests" / "golden" / "projects"}) {
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path().extension() == ".tvl")
        projects.push_back(entry.path());
    }
  }
  std::sort(projects.begin(), projects.end());
  return projects;
}

// Numbers agree to a relative 1e-9: far below any rounding step of the
// results (the smallest, 0.0001 mm of a deflection), far above the last-place
// differences an optimiser may bring.
bool sameNumber(double expected, double actual) {
  return std::fabs(expected - actual) <= 1e-9 * std::max(1.0, std::fabs(expected));
}

void compare(const Json& expected, const Json& actual, const std::string& path,
             std::vector<std::string>& diffs) {
  const auto differ = [&](const std::string& what) { diffs.push_back(path + ": " + what); };
  if (expected.is_number() && actual.is_number()) {
    if (!sameNumber(expected.get<double>(), actual.get<double>()))
      differ("expected " + expected.dump() + ", actual " + actual.dump());
    return;
  }
  if (expected.type() != actual.type()) {
    differ("expected " + expected.dump() + ", actual " + actual.dump());
    return;
  }
  if (expected.is_object()) {
    for (auto it = expected.begin(); it != expected.end(); ++it) {
      if (!actual.contains(it.key()))
        diffs.push_back(path + "." + it.key() + ": expected " + it.value().dump() + ", missing");
      else
        compare(it.value(), actual[it.key()], path + "." + it.key(), diffs);
    }
    for (auto it = actual.begin(); it != actual.end(); ++it) {
      if (!expected.contains(it.key()))
        diffs.push_back(path + "." + it.key() + ": not expected, actual " + it.value().dump());
    }
    return;
  }
  if (expected.is_array()) {
    if (expected.size() != actual.size()) {
      differ("expected " + std::to_string(expected.size()) + " entries, actual " +
             std::to_string(actual.size()));
    }
    for (std::size_t i = 0; i < std::min(expected.size(), actual.size()); ++i)
      compare(expected[i], actual[i], path + "[" + std::to_string(i) + "]", diffs);
    return;
  }
  if (expected != actual)
    differ("expected " + expected.dump() + ", actual " + actual.dump());
}

class GoldenTest : public ::testing::TestWithParam<fs::path> {};

TEST_P(GoldenTest, JsonOutcomeMatchesTheCommittedDocument) {
  const fs::path project = GetParam();
  const fs::path expectedFile = kExpected / (project.stem().string() + ".json");
  ASSERT_TRUE(fs::exists(expectedFile))
      << expectedFile << " is missing: run scripts/regenerate-golden and review the new file";

  const fs::path dir = testing::makeScratchFolder("tavilo_golden");
  const testing::Process run = testing::runProgram(
      TAVILO_CALC_EXE,
      {utf8FromPath(project), "--json", "--data-dir", utf8FromPath(kSource / "Load_data")}, dir);
  fs::remove_all(dir);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string& out = run.out;
  // A build for another system (Windows) prints the very document of the
  // Linux build: the same decimals of every number and the same line ends.
  if (TAVILO_GOLDEN_BYTE_FOR_BYTE) {
    EXPECT_EQ(out, readFile(expectedFile)) << "not byte for byte the document of Linux";
  }

  std::vector<std::string> diffs;
  compare(Json::parse(readFile(expectedFile)), Json::parse(out), "$", diffs);
  std::ostringstream report;
  for (std::size_t i = 0; i < diffs.size() && i < 60; ++i)
    report << "  " << diffs[i] << '\n';
  if (diffs.size() > 60)
    report << "  … and " << diffs.size() - 60 << " more\n";
  EXPECT_TRUE(diffs.empty()) << project.filename().string() << " differs from "
                             << expectedFile.filename().string() << " in " << diffs.size()
                             << " fields:\n"
                             << report.str()
                             << "A change meant to move results: run scripts/regenerate-golden "
                                "and review the diff.";
}

std::string nameOf(const ::testing::TestParamInfo<fs::path>& info) {
  std::string name = info.param.stem().string();
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); },
      '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Projects, GoldenTest, ::testing::ValuesIn(goldenProjects()), nameOf);

// A golden document without its project would compare nothing.
TEST(GoldenFiles, EveryDocumentHasItsProject) {
  std::vector<std::string> projects;
  for (const fs::path& p : goldenProjects())
    projects.push_back(p.stem().string());
  for (const auto& entry : fs::directory_iterator(kExpected)) {
    EXPECT_NE(std::find(projects.begin(), projects.end(), entry.path().stem().string()),
              projects.end())
        << entry.path() << " has no project";
  }
}

// The comparison itself: a moved field is named by its path.
TEST(GoldenFiles, DiffNamesThePathAndBothValues) {
  const Json expected = Json::parse(R"({"a": {"b": [1, 2.5]}, "c": "x", "d": 1})");
  const Json actual = Json::parse(R"({"a": {"b": [1, 2.6]}, "c": "x", "e": 2})");
  std::vector<std::string> diffs;
  compare(expected, actual, "$", diffs);
  EXPECT_EQ(diffs,
            (std::vector<std::string>{"$.a.b[1]: expected 2.5, actual 2.6",
                                      "$.d: expected 1, missing", "$.e: not expected, actual 2"}));
  diffs.clear();
  compare(Json::parse("[519500.0]"), Json::parse("[519500.0000000001]"), "$", diffs);
  EXPECT_TRUE(diffs.empty());
}

}  // namespace
}  // namespace tavilo
