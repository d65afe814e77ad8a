// The live check against the full calculation: for every sample and golden
// project, and for each of them with other spans, the panel's verdict and
// figures are those of the --json document's cases; the documents of
// --every-deck are those of --json for the project saved with that deck.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/batch_command.h"
#include "app/outcome_json.h"
#include "calc/catalogue.h"
#include "calc/codes.h"
#include "command_test_support.h"
#include "model/live_check.h"
#include "model/session.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = TAVILO_SOURCE_DIR;
const fs::path kDataDir = kSource / "Load_data";

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

std::unique_ptr<Session> loaded(const fs::path& project) {
  auto session = std::make_unique<Session>(ProgramFolders{kDataDir, kDataDir, {}});
  std::ignore = session->startUp("");
  const ProjectLoad load = session->load(project);
  EXPECT_TRUE(load.completed()) << project;
  return session;
}

// The largest ratio of each check as read from the document's cases alone;
// nothing where no case has the check.
std::optional<double> largestFromCases(const Json& cases, CheckKind kind) {
  std::optional<double> largest;
  const auto take = [&](double ratio) { largest = std::max(largest.value_or(ratio), ratio); };
  for (const Json& c : cases) {
    switch (kind) {
      case CheckKind::kStress:
        take(c["stress"].get<double>() / c["allowableStress"].get<double>());
        break;
      case CheckKind::kDeflection:
        take(c["maxDeflection"].get<double>() /
             (c["maxDeflectionSpan"].get<double>() / c["deflectionLimit"].get<double>()));
        break;
      case CheckKind::kEndJoint:
        if (!c["endJointOk"].is_null())
          take(std::fabs(c["endReaction"].get<double>()) / c["endJointAllowable"].get<double>());
        break;
      case CheckKind::kMidJoint:
        if (!c["midJointOk"].is_null())
          take(std::fabs(c["midReaction"].get<double>()) / c["midJointAllowable"].get<double>());
        break;
      case CheckKind::kOverhang: {
        const Json& o = c["overhang"];
        if (o.is_null())
          break;
        take(o["stress"].get<double>() / c["allowableStress"].get<double>());
        take(o["deflection"].get<double>() /
             (o["length"].get<double>() / c["deflectionLimit"].get<double>()));
        if (!o["jointForce"].is_null())
          take(o["jointForce"].get<double>() / c["endJointAllowable"].get<double>());
        break;
      }
    }
  }
  return largest;
}

bool closeEnough(double expected, double actual) {
  return std::fabs(expected - actual) <= 1e-12 * std::max(1.0, std::fabs(expected));
}

void expectAgreement(Session& session, const std::string& name) {
  SCOPED_TRACE(name);
  const LiveCheck live = runLiveCheck(session);
  const CalculateResult full = session.calculate();
  if (full.refusal) {
    ASSERT_TRUE(live.refusal);
    EXPECT_EQ(live.refusal->message, full.refusal->message);
    EXPECT_TRUE(livePanel(session).checks.empty());
    return;
  }
  ASSERT_FALSE(live.refusal) << live.refusal->message;
  const Json document = outcomeJson(*full.outcome);
  const std::string verdict = document["verdict"]["text"];
  EXPECT_NE(verdict.find(live.verdict), std::string::npos) << live.verdict;
  EXPECT_EQ(live.ok, full.outcome->allOk);
  const Json utilisation = utilisationJson(live.utilisation);
  for (const CheckKind kind : kCheckKinds) {
    const CheckUtilisation& check = live.utilisation.of(kind);
    const auto expected = largestFromCases(document["cases"], kind);
    ASSERT_EQ(check.applies, expected.has_value()) << checkKey(kind);
    if (!expected)
      continue;
    EXPECT_TRUE(closeEnough(*expected, check.ratio))
        << checkKey(kind) << " " << *expected << " vs " << check.ratio;
    EXPECT_EQ(check.ok, check.ratio < 1) << checkKey(kind);
    EXPECT_FALSE(check.place.empty()) << checkKey(kind);
    EXPECT_EQ(check.caseTitle,
              document["cases"][static_cast<std::size_t>(check.caseIndex)]["title"]);
    EXPECT_EQ(utilisation[std::string(checkKey(kind))].get<double>(), check.ratio);
  }
  // Any failing check makes the verdict NG and is the governing one's peer.
  EXPECT_EQ(live.ok, live.utilisation.largest() < 1);
  const DeckComparison& own =
      live.decks[static_cast<std::size_t>(session.form().index(FieldId::DeckType))];
  EXPECT_TRUE(own.current);
  EXPECT_EQ(own.utilisation.largest(), live.utilisation.largest());
}

TEST(LiveCheckAgreement, EveryProjectAndItsSpanVariantsAgreeWithTheFullCalculation) {
  for (const fs::path& project : goldenProjects()) {
    std::unique_ptr<Session> session = loaded(project);
    expectAgreement(*session, project.filename().string());
    // Generated projects: shorter and longer spans, passing and failing.
    for (const char* span : {"900", "1800", "2700", "4200", ""}) {
      std::unique_ptr<Session> varied = loaded(project);
      const int count = varied->form().spinValue(FieldId::SpanCount);
      for (int n = 1; n <= count; ++n)
        std::ignore = varied->form().typeText(spanField(n), span);
      expectAgreement(*varied, project.filename().string() + " spans " + span);
    }
  }
}

// Runs the command in this process; the status, stdout and stderr.
struct CommandRun {
  int status;
  std::string out;
  std::string err;
};

CommandRun runCommand(BatchOptions options) {
  options.dataDir = kDataDir;
  std::ostringstream out;
  std::ostringstream err;
  const int status = runBatch(options, TAVILO_CALC_EXE, out, err, nullptr);
  return {status, out.str(), err.str()};
}

std::vector<Json> jsonLines(const std::string& text) {
  std::vector<Json> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(Json::parse(line));
  return lines;
}

class EveryDeckTest : public testing::CommandTest {};

TEST_F(EveryDeckTest, DocumentsAreThoseOfTheProjectSavedWithEachDeck) {
  for (const fs::path& project : goldenProjects()) {
    SCOPED_TRACE(project.filename().string());
    BatchOptions options;
    options.projects = {project};
    options.json = true;
    options.everyDeck = true;
    const CommandRun every = runCommand(options);
    ASSERT_EQ(every.status, kBatchCalculated) << every.err;
    std::vector<Json> lines = jsonLines(every.out);
    ASSERT_EQ(lines.size(), kDeckSections.size());
    for (int deck = 0; deck < kDeckCount; ++deck) {
      std::unique_ptr<Session> session = loaded(project);
      InputForm& form = session->form();
      if (deck != form.index(FieldId::DeckType)) {
        const std::string typed = form.text(FieldId::UnitWeight);
        std::ignore = chooseDeck(form, deck);
        if (form.index(FieldId::SurfaceTreatment) == kSurfaceTreatmentOther)
          std::ignore = form.typeText(FieldId::UnitWeight, typed);
      }
      const fs::path saved = dir_ / "chosen.tvl";
      session->save(saved);
      BatchOptions single;
      single.projects = {saved};
      single.json = true;
      const CommandRun one = runCommand(single);
      ASSERT_EQ(one.status, kBatchCalculated) << one.err;
      Json& line = lines[static_cast<std::size_t>(deck)];
      ASSERT_TRUE(line.contains("utilisation"));
      const Json utilisation = line["utilisation"];
      line.erase("utilisation");
      EXPECT_EQ(line, Json::parse(one.out)) << "deck " << deck;
      EXPECT_EQ(line["conditions"]["deckType"], deck);
      EXPECT_EQ(utilisation["governing"].get<std::string>().empty(), false);
      EXPECT_EQ(utilisation.size(), kCheckKinds.size() + 1);
    }
  }
}

TEST_F(EveryDeckTest, RefusalsAndTextAreThoseOfTheCommand) {
  const fs::path empty = dir_ / "empty-span.tvl";
  {
    std::unique_ptr<Session> session = loaded(kSource / "examples" / "ordinary-3span.tvl");
    std::ignore = session->form().typeText(FieldId::Span2, "\b");
    session->save(empty);
  }
  BatchOptions every;
  every.projects = {empty};
  every.json = true;
  every.everyDeck = true;
  BatchOptions plain = every;
  plain.everyDeck = false;
  const CommandRun deckRun = runCommand(every);
  const CommandRun plainRun = runCommand(plain);
  EXPECT_EQ(deckRun.status, kBatchRefused);
  EXPECT_EQ(deckRun.status, plainRun.status);
  EXPECT_EQ(deckRun.err, plainRun.err);
  EXPECT_EQ(deckRun.out, "");

  BatchOptions text;
  text.projects = {kSource / "examples" / "ordinary-3span.tvl"};
  text.everyDeck = true;
  const CommandRun table = runCommand(text);
  ASSERT_EQ(table.status, kBatchCalculated) << table.err;
  for (const DeckSection& deck : kDeckSections)
    EXPECT_NE(table.out.find(std::string(deck.name)), std::string::npos) << table.out;
  EXPECT_NE(table.out.find("現在"), std::string::npos) << table.out;

  BatchOptions both = text;
  both.spanTable = true;
  const CommandRun refused = runCommand(both);
  EXPECT_EQ(refused.status, kBatchRefused);
  EXPECT_NE(refused.err.find("--every-deck"), std::string::npos);
}

}  // namespace
}  // namespace tavilo
