#include "app/batch_command.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <memory>
#include <new>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <utility>
#include <vector>

#include "app/outcome_json.h"
#include "app/span_table_output.h"
#include "calc/case_titles.h"
#include "calc/errors.h"
#include "location/location_tables.h"
#include "model/calculate_command.h"
#include "model/project_file.h"
#include "model/span_table.h"
#include "persistence/text_file.h"
#include "platform/system_reason.h"
#include "platform/utf8_path.h"
#include "report/results_page.h"

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

// A file name in a message or a summary: its control characters visible.
std::string shown(const fs::path& path) {
  return visibleName(utf8FromPath(path));
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
  text << "[" << caseTitle(a) << "] "
       << a.caseLabels[static_cast<std::size_t>(std::clamp(a.caseIndex, 0, kLoadCaseCount - 1))]
       << " = " << shortestDecimal(a.sectionCaseTotal) << " N/m²\n";
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

// The report files of one project: --pdf and --png name them, --pdf-dir and
// --png-dir hold one per project named after it.
struct ProjectFiles {
  std::optional<fs::path> pdf;
  std::optional<fs::path> png;
};

ProjectFiles filesOf(const BatchOptions& options, const fs::path& project) {
  ProjectFiles files{options.pdf, options.png};
  const fs::path name = project.filename().replace_extension();
  if (options.pdfDir)
    files.pdf = *options.pdfDir / fs::path(name).concat(".pdf");
  if (options.pngDir)
    files.png = *options.pngDir / fs::path(name).concat(".png");
  return files;
}

std::optional<std::string> combinationRefusal(const BatchOptions& options) {
  if (options.projects.empty())
    return "データファイルを指定して下さい。";
  if (options.csv && !options.spanTable)
    return std::string(
        "--csv はスパン表 (--span-table) の出力です。--span-table と一緒に指定して下さい。");
  if (options.step && !options.spanTable)
    return std::string("--step はスパン表の刻みです。--span-table と一緒に指定して下さい。");
  if (options.csv && options.json)
    return std::string("--json と --csv は同時に指定できません。");
  if (options.spanTable && (options.png || options.pngDir))
    return std::string(
        "スパン表には画面イメージがありません。--png と --png-dir は --span-table "
        "と一緒には指定できません。");
  if (options.pdf && options.pdfDir)
    return std::string("--pdf と --pdf-dir は同時に指定できません。");
  if (options.png && options.pngDir)
    return std::string("--png と --png-dir は同時に指定できません。");
  if (options.projects.size() > 1 && (options.pdf || options.png)) {
    return std::string(options.pdf ? "--pdf" : "--png") +
           " は 1 つのデータファイルにだけ使えます。複数のデータファイルでは " +
           (options.pdf ? "--pdf-dir" : "--png-dir") + " を指定して下さい。";
  }
  for (const auto& [option, dir] :
       {std::pair{"--pdf-dir", &options.pdfDir}, std::pair{"--png-dir", &options.pngDir}}) {
    if (*dir && (*dir)->empty())
      return std::string(option) + " のフォルダ名が空です。書き込むフォルダを指定して下さい。";
  }
  if (options.dataDir && options.dataDir->empty())
    return std::string("--data-dir のフォルダ名が空です。所在地データのフォルダを指定して下さい。");
  if (options.step && (*options.step < kMinSpanStep || *options.step > kMaxSpanStep))
    return "--step " + std::to_string(*options.step) + ": " + spanStepAdvice();
  return std::nullopt;
}

// A report file may not replace a project file of the run, another report
// file of the run, or be nameless; a build without a report writer writes
// none.
std::optional<std::string> outputRefusal(const BatchOptions& options,
                                         const ReportFileWriter* reports) {
  if (auto refusal = combinationRefusal(options))
    return refusal;
  if (options.wantsReportFiles() && reports == nullptr)
    return std::string(
        "このビルドの tavilo-calc は計算書のファイルを書きません (--pdf, --png, --pdf-dir, "
        "--png-dir は使えません)。要約、--json と --span-table は使えます。");
  std::vector<std::pair<fs::path, const fs::path*>> written;  // file, its project
  for (const fs::path& project : options.projects) {
    const ProjectFiles files = filesOf(options, project);
    const std::pair<const char*, const std::optional<fs::path>*> outputs[] = {
        {options.pdfDir ? "--pdf-dir" : "--pdf", &files.pdf},
        {options.pngDir ? "--png-dir" : "--png", &files.png}};
    for (const auto& [option, path] : outputs) {
      if (!*path)
        continue;
      if ((*path)->empty())
        return std::string(option) + " の出力先が空です。書き込むファイル名を指定して下さい。";
      // Before any project runs: a device, a pipe or the command's own output.
      if (const auto refusal = unwritableTarget(**path)) {
        return std::string(option) + " の出力先「" + shown(**path) +
               "」には書き込めません: " + *refusal + "。";
      }
      for (const fs::path& read : options.projects) {
        if (sameFile(**path, read)) {
          return std::string(option) + " の出力先「" + shown(**path) +
                 "」は読み込むデータファイルそのものです。別のファイル名を指定して下さい。";
        }
      }
      for (const auto& [other, otherProject] : written) {
        if (!sameFile(**path, other))
          continue;
        if (otherProject == &project && options.pdf && options.png)
          return "--pdf と --png に同じファイル「" + shown(*options.pdf) + "」は指定できません。";
        return "「" + shown(*otherProject) + "」と「" + shown(project) +
               "」の出力先が同じファイル「" + shown(**path) +
               "」になります。データファイルの名前を変えるか、別々に実行して下さい。";
      }
      written.emplace_back(**path, &project);
    }
  }
  return std::nullopt;
}

// --pdf-dir and --png-dir are made when they do not exist yet.
void makeOutputFolders(const BatchOptions& options) {
  for (const auto& dir : {options.pdfDir, options.pngDir}) {
    if (!dir)
      continue;
    std::error_code code;
    fs::create_directories(*dir, code);
    if (code || !fs::is_directory(*dir)) {
      throw UserError("出力フォルダ「" + shown(*dir) +
                      "」を作れません: " + systemReasonText(code ? code.value() : ENOTDIR) + "。");
    }
  }
}

// How the results of one project are written.
enum class RunShape {
  kSingle,  // one project: exactly as the command always wrote it
  kMany,    // several projects: blocks headed by the file name, JSON Lines
};

// Messages to stderr; with several projects each line names its file.
class Notes {
 public:
  Notes(std::ostream& err, RunShape shape, const fs::path& project)
      : err_(err), prefix_(shape == RunShape::kMany ? shown(project) + ": " : "") {}

  void line(const std::string& text) const {
    std::istringstream lines(text);
    for (std::string each; std::getline(lines, each);)
      err_ << prefix_ << each << '\n';
  }
  void events(const FormEvents& events) const {
    for (const FormEvent& event : events) {
      if (event.kind == FormEvent::Kind::Message)
        line(event.text);
    }
  }

 private:
  std::ostream& err_;
  std::string prefix_;
};

// Why a project was not calculated (or its table not built). A refusal is
// reported under the project's name and the run goes on.
struct Refused {
  std::string message;
};

// A fresh session, as a new start of the program, with the project loaded.
std::unique_ptr<Session> openProject(const fs::path& project, const fs::path& dataDir,
                                     const fs::path& executable, const Notes& notes) {
  auto session = std::make_unique<Session>(ProgramFolders{executable.parent_path(), dataDir, {}});
  if (const auto failure = session->startUp(""))
    throw Refused{*failure};
  const ProjectLoad load = session->load(project);
  notes.events(load.events);
  if (!load.completed())
    throw Refused{*load.failure};
  return session;
}

fs::path footerPath(const Session& session, const fs::path& project) {
  // The footer names the project file by its full path, as the file dialogs give it.
  const fs::path current = session.paths().current;
  return fs::absolute(current.empty() ? project : current);
}

// Writes the report files, naming each written file in the notes.
template <typename Write>
void writeFiles(const Notes& notes, Write write) {
  std::ostringstream written;
  try {
    write(written);
  } catch (...) {
    notes.line(written.str());
    throw;
  }
  notes.line(written.str());
}

void calculateProject(const BatchOptions& options, const fs::path& project, Session& session,
                      RunShape shape, const Notes& notes, ReportFileWriter* reports,
                      std::ostream& out) {
  const CalculateResult result = session.calculate();
  if (result.refusal)
    throw Refused{oneLine(result.refusal->message)};
  notes.events(result.events);
  if (!result.outcome)
    throw std::runtime_error("計算結果がありません。");
  const ProjectFiles files = filesOf(options, project);
  ReportFileRequest request{files.pdf, files.png, session.printSettings(),
                            footerPath(session, project)};
  if (request.any()) {
    writeFiles(notes, [&](std::ostream& written) {
      reports->writeReport(request, *result.outcome, written);
    });
  }
  if (!options.json) {
    out << summaryText(*result.outcome, project);
    return;
  }
  if (shape == RunShape::kSingle) {
    out << outcomeJson(*result.outcome).dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
    return;
  }
  Json line = {{"file", utf8FromPath(project)}};
  line.update(outcomeJson(*result.outcome));
  out << line.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
}

void spanTableOfProject(const BatchOptions& options, const fs::path& project, Session& session,
                        RunShape shape, const Notes& notes, ReportFileWriter* reports,
                        std::ostream& out) {
  SpanTableResult result = buildSpanTable(session, options.step.value_or(kDefaultSpanStep));
  if (result.refusal)
    throw Refused{oneLine(result.refusal->message)};
  const SpanTable& table = *result.table;
  if (const auto pdf = filesOf(options, project).pdf) {
    writeFiles(notes, [&](std::ostream& written) {
      reports->writeSpanTable(*pdf, table, session.printSettings(), footerPath(session, project),
                              written);
    });
  }
  if (options.json) {
    const int indent = shape == RunShape::kSingle ? 2 : -1;
    out << spanTableJson(table, project).dump(indent, ' ', false, Json::error_handler_t::replace)
        << '\n';
  } else if (options.csv) {
    out << spanTableCsv(table, project);
  } else {
    out << spanTableText(table, project);
  }
}

// A project that was not calculated: its message goes to stderr (among
// several projects after the project's name); among several it also stands
// under the project's name where its results would have stood, as a line
// with "refusal" in JSON, and the run goes on.
void reportRefusal(const BatchOptions& options, const fs::path& project, RunShape shape,
                   const std::string& message, const Notes& notes, std::ostream& out) {
  notes.line(message);
  if (shape == RunShape::kSingle || options.csv)
    return;
  if (options.json) {
    const Json line = {{options.spanTable ? "project" : "file", utf8FromPath(project)},
                       {"refusal", message}};
    out << line.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    return;
  }
  out << "データファイル: " << shown(project) << '\n' << message << "\n\n";
}

// One project from a fresh session; the exit status of that project.
int runProject(const BatchOptions& options, const fs::path& project, const fs::path& dataDir,
               const fs::path& executable, RunShape shape, ReportFileWriter* reports,
               std::ostream& out, std::ostream& err) {
  const Notes notes(err, shape, project);
  // The results go out only once everything of the project has succeeded.
  std::ostringstream results;
  try {
    std::unique_ptr<Session> session = openProject(project, dataDir, executable, notes);
    if (options.spanTable)
      spanTableOfProject(options, project, *session, shape, notes, reports, results);
    else
      calculateProject(options, project, *session, shape, notes, reports, results);
  } catch (const Refused& refused) {
    reportRefusal(options, project, shape, refused.message, notes, out);
    return kBatchRefused;
  } catch (const UserError& error) {
    reportRefusal(options, project, shape, oneLine(error.what()), notes, out);
    return kBatchRefused;
  } catch (const std::exception& error) {
    reportRefusal(options, project, shape,
                  "内部エラーのため計算できません: " + internalErrorText(error), notes, out);
    return kBatchInternalError;
  }
  out << results.str();
  if (shape == RunShape::kMany && !options.json && !options.csv)
    out << '\n';
  return kBatchCalculated;
}

}  // namespace

std::string spanStepAdvice() {
  return "スパン表の刻みは 1〜1,000 (mm) の整数で指定して下さい。";
}

std::string summaryText(const CalculationOutcome& outcome, const fs::path& project) {
  const DesignConditions& d = outcome.conditions;
  std::ostringstream text;
  text << "データファイル: " << shown(project) << '\n';
  text << "デッキ: " << d.deckName << "  単位重量 " << shortestDecimal(d.unitWeight)
       << " N/m²  端部: " << d.endJointName << "  中間部: " << d.midJointName << '\n';
  text << "所在地: " << d.prefectureName << " " << d.districtName << "  V0 = " << d.windSpeedV0
       << " m/s  粗度区分 " << roughnessName(d.roughness)
       << "  多雪区域: " << (d.heavySnow ? "該当" : "非該当") << '\n';
  if (outcome.facts.sampleSiteData) {
    text << kSampleSiteDataMark
         << "（見本の所在地データです。--data-dir で実際の所在地データを指定して下さい）\n";
  }
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
             std::ostream& err, ReportFileWriter* reports) {
  try {
    if (const auto refusal = outputRefusal(options, reports)) {
      err << *refusal << '\n';
      return kBatchRefused;
    }
    makeOutputFolders(options);
  } catch (const UserError& error) {
    err << oneLine(error.what()) << '\n';
    return kBatchRefused;
  }
  const fs::path dataDir = options.dataDir.value_or(defaultDataDir(executable));
  const RunShape shape = options.projects.size() == 1 ? RunShape::kSingle : RunShape::kMany;
  if (options.csv)
    out << kSpanTableCsvHeader << '\n';
  int status = kBatchCalculated;
  for (const fs::path& project : options.projects) {
    const int projectStatus =
        runProject(options, project, dataDir, executable, shape, reports, out, err);
    if (projectStatus == kBatchRefused)
      status = kBatchRefused;
    else if (projectStatus == kBatchInternalError && status == kBatchCalculated)
      status = kBatchInternalError;
  }
  return status;
}

}  // namespace tavilo
