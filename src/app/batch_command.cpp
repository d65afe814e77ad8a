#include "app/batch_command.h"

#include <exception>
#include <sstream>
#include <system_error>

#include "app/outcome_json.h"
#include "app/report_files.h"
#include "calc/errors.h"
#include "location/location_tables.h"
#include "report/results_page.h"
#include "ui/form/calculate_command.h"
#include "ui/form/project_file.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;

std::string oneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r')
      c = ' ';
  }
  return text;
}

void printMessages(const FormEvents& events, std::ostream& err) {
  for (const FormEvent& event : events) {
    if (event.kind == FormEvent::Kind::Message)
      err << event.text << '\n';
  }
}

std::string okText(bool ok) {
  return ok ? "OK" : "NG";
}

// The sign between a value and its limit, as the report writes it.
std::string versus(bool ok) {
  return ok ? " < " : " > ";
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  const auto last = text.find_last_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::string roughnessName(int roughness) {
  const std::string numeral = roughnessNumeral(roughness);
  return numeral.empty() ? std::to_string(roughness) : numeral;
}

void writeJoint(std::ostringstream& text, std::string_view name,
                const std::optional<JointCheck>& joint) {
  if (!joint)
    return;
  // Values as the report prints them.
  text << "  " << name << " V = " << trimmed(CheckValueTexts::jointForce(joint->force)) << " N/m"
       << versus(joint->ok) << trimmed(CheckValueTexts::jointAllowable(joint->allowable))
       << " N/m  " << okText(joint->ok) << '\n';
}

void writeCase(std::ostringstream& text, const ResultsSection& section) {
  const CaseAnalysis& a = section.analysis;
  const CaseChecks& c = section.checks;
  text << "[" << a.caseTitle << "] "
       << a.caseLabels[static_cast<std::size_t>(std::clamp(a.caseIndex, 0, 2))] << " = "
       << shortestDecimal(a.sectionCaseTotal) << " N/m²\n";
  text << "  応力度 σ = " << CheckValueTexts::stress(c.stress.sigma) << " N/mm²"
       << versus(c.stress.ok) << "fb = " << shortestDecimal(c.allowableStress) << " N/mm²  "
       << okText(c.stress.ok) << '\n';
  text << "  たわみ δ = " << trimmed(CheckValueTexts::deflection(c.deflection.deflection)) << " mm"
       << versus(c.deflection.ok) << "L/"
       << trimmed(CheckValueTexts::limitRatio(c.deflectionLimitN)) << " = "
       << trimmed(CheckValueTexts::deflectionLimit(c.deflection.limit)) << " mm  "
       << okText(c.deflection.ok) << '\n';
  writeJoint(text, "端部接合", c.endJoint);
  writeJoint(text, "中間部接合", c.midJoint);
  if (c.overhang) {
    const OverhangCheck& o = *c.overhang;
    text << "  はね出し(" << (o.side == OverhangSide::kLeft ? "左" : "右")
         << ") a = " << shortestDecimal(o.length) << " mm"
         << (o.wallPressure ? " [壁面正圧を考慮]" : "")
         << ": σ = " << CheckValueTexts::overhangStress(o.sigma) << " N/mm² " << okText(o.stressOk)
         << ", δ = " << CheckValueTexts::overhangDeflection(o.deflection.deflection) << " mm"
         << versus(o.deflection.ok) << trimmed(CheckValueTexts::deflectionLimit(o.deflection.limit))
         << " mm " << okText(o.deflection.ok) << '\n';
    writeJoint(text, "はね出し接合", o.joint);
  }
}

bool sameFile(const fs::path& a, const fs::path& b) {
  std::error_code code;
  if (fs::equivalent(a, b, code))
    return true;
  // Neither exists yet: the same name however written.
  return fs::weakly_canonical(fs::absolute(a, code), code) ==
         fs::weakly_canonical(fs::absolute(b, code), code);
}

// A report file may not replace the project it is drawn from, nor the other
// report file; an empty name is no file at all.
std::optional<std::string> outputRefusal(const BatchOptions& options) {
  const std::pair<const char*, const std::optional<fs::path>*> outputs[] = {
      {"--pdf", &options.pdf}, {"--png", &options.png}};
  for (const auto& [option, path] : outputs) {
    if (!*path)
      continue;
    if ((*path)->empty())
      return std::string(option) + " の出力先が空です。書き込むファイル名を指定して下さい。";
    if (sameFile(**path, options.project)) {
      return std::string(option) + " の出力先「" + (*path)->string() +
             "」は読み込むデータファイルそのものです。別のファイル名を指定して下さい。";
    }
  }
  if (options.pdf && options.png && sameFile(*options.pdf, *options.png))
    return "--pdf と --png に同じファイル「" + options.pdf->string() + "」は指定できません。";
  return std::nullopt;
}

}  // namespace

std::string summaryText(const CalculationOutcome& outcome, const fs::path& project) {
  const DesignConditions& d = outcome.conditions;
  std::ostringstream text;
  text << "データファイル: " << project.string() << '\n';
  text << "デッキ: " << d.deckName << "  単位重量 " << shortestDecimal(d.unitWeight)
       << " N/m²  端部: " << d.endJointName << "  中間部: " << d.midJointName << '\n';
  text << "所在地: " << d.prefectureName << " " << d.districtName << "  V0 = " << d.windSpeedV0
       << " m/s  粗度区分 " << roughnessName(d.roughness)
       << "  多雪区域: " << (d.heavySnow == 1 ? "該当" : "非該当") << '\n';
  text << "スパン: ";
  for (int i = 0; i < d.spanCount && i < kMaxSpans; ++i) {
    text << (i == 0 ? "" : " + ") << d.spanLengths[static_cast<std::size_t>(i)];
  }
  text << " mm (" << d.beamKindName << ")  はね出し: 左 " << shortestDecimal(d.leftOverhang)
       << " mm / 右 " << shortestDecimal(d.rightOverhang) << " mm  全長 " << d.totalDeckLength
       << " mm\n";
  text << "荷重: G+P = " << d.deadPlusLive << " N/m²  積雪 Ws = " << d.snowLoad
       << " N/m²  風 Ww+ = " << d.windPositive << " N/m²  Ww- = " << d.windNegative << " N/m²\n";
  for (const ResultsSection& section : outcome.sections)
    writeCase(text, section);
  text << "判定: " << trimmed(outcome.verdict) << '\n';
  return text.str();
}

int runBatch(const BatchOptions& options, const fs::path& executable, std::ostream& out,
             std::ostream& err) {
  try {
    if (const auto refusal = outputRefusal(options)) {
      err << *refusal << '\n';
      return kBatchRefused;
    }
    const fs::path dataDir = options.dataDir.value_or(defaultDataDir(executable));
    Session session({executable.parent_path(), dataDir, {}});
    if (const auto failure = session.startUp("")) {
      err << *failure << '\n';
      return kBatchRefused;
    }
    const ProjectLoad load = session.load(options.project);
    printMessages(load.events, err);
    if (!load.completed()) {
      err << *load.failure << '\n';
      return kBatchRefused;
    }

    const CalculateResult result = session.calculate();
    if (result.refusal) {
      err << oneLine(result.refusal->message) << '\n';
      return kBatchRefused;
    }
    printMessages(result.events, err);
    if (!result.outcome) {
      err << "計算結果がありません。\n";
      return kBatchInternalError;
    }
    // The footer names the project file by its full path, as the file dialogs give it.
    const fs::path current = session.paths().current;
    ReportFileRequest files{options.pdf, options.png, session.printSettings(),
                            fs::absolute(current.empty() ? fs::path(options.project) : current)};
    writeReportFiles(files, *result.outcome, err);
    if (options.json) {
      out << outcomeJson(*result.outcome).dump(2, ' ', false, Json::error_handler_t::replace)
          << '\n';
    } else {
      out << summaryText(*result.outcome, options.project);
    }
    return kBatchCalculated;
  } catch (const UserError& error) {
    err << oneLine(error.what()) << '\n';
    return kBatchRefused;
  } catch (const std::exception& error) {
    err << "内部エラーのため計算できません: " << error.what() << '\n';
    return kBatchInternalError;
  }
}

}  // namespace tavilo
