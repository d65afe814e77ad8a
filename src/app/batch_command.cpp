#include "app/batch_command.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <memory>
#include <new>
#include <set>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/outcome_json.h"
#include "app/span_table_output.h"
#include "calc/case_titles.h"
#include "calc/catalogue.h"
#include "calc/errors.h"
#include "location/location_tables.h"
#include "model/calculate_command.h"
#include "model/live_check.h"
#include "model/project_file.h"
#include "model/span_table.h"
#include "persistence/text_file.h"
#include "platform/system_reason.h"
#include "platform/utf8_path.h"
#include "report/results_page.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;

// A project whose results could not be written to standard output.
constexpr int kOutputLost = -1;

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

// A path as the output-name check compares it: absolute, with its symbolic
// links, "." and ".." resolved as far as it exists, so that two spellings of
// one file give one name.
fs::path::string_type normalisedName(const fs::path& path) {
  std::error_code code;
  const fs::path absolute = fs::absolute(path, code);
  const fs::path canonical = fs::weakly_canonical(absolute, code);
  return (code ? absolute.lexically_normal() : canonical).native();
}

// An existing report file with more than one name may be a hard link to a
// project: only such a file is compared with every project.
bool hardLinkToAProject(const fs::path& output, const std::vector<fs::path>& projects) {
  std::error_code code;
  const auto links = fs::hard_link_count(output, code);
  if (code || links < 2)
    return false;
  return std::any_of(projects.begin(), projects.end(), [&](const fs::path& project) {
    return fs::equivalent(output, project, code);
  });
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
  if (options.everyDeck && options.spanTable)
    return std::string("--every-deck と --span-table は同時に指定できません。");
  if (options.everyDeck && options.wantsReportFiles())
    return std::string(
        "--every-deck では計算書のファイルを書きません。--pdf, --png, --pdf-dir, --png-dir "
        "は --every-deck と一緒には指定できません。");
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

}  // namespace

std::optional<std::string> outputNameRefusal(const BatchOptions& options,
                                             const ReportFileWriter* reports) {
  if (auto refusal = combinationRefusal(options))
    return refusal;
  if (options.wantsReportFiles() && reports == nullptr)
    return std::string(
        "このビルドの tavilo-calc は計算書のファイルを書きません (--pdf, --png, --pdf-dir, "
        "--png-dir は使えません)。要約、--json と --span-table は使えます。");
  if (!options.wantsReportFiles())
    return std::nullopt;
  std::unordered_set<fs::path::string_type> projectNames;
  for (const fs::path& project : options.projects)
    projectNames.insert(normalisedName(project));
  // Every report file of the run by its normalised name, with its project.
  std::unordered_map<fs::path::string_type, const fs::path*> written;
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
      const fs::path::string_type name = normalisedName(**path);
      if (projectNames.contains(name) || hardLinkToAProject(**path, options.projects)) {
        return std::string(option) + " の出力先「" + shown(**path) +
               "」は読み込むデータファイルそのものです。別のファイル名を指定して下さい。";
      }
      const auto [other, added] = written.emplace(name, &project);
      if (added)
        continue;
      if (other->second == &project && options.pdf && options.png)
        return "--pdf と --png に同じファイル「" + shown(*options.pdf) + "」は指定できません。";
      return "「" + shown(*other->second) + "」と「" + shown(project) +
             "」の出力先が同じファイル「" + shown(**path) +
             "」になります。データファイルの名前を変えるか、別々に実行して下さい。";
    }
  }
  return std::nullopt;
}

namespace {

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

// The progress line of a batch that writes report files: "n / N" and the
// current project on one line of a terminal, erased before any message and
// at the end.
class Progress {
 public:
  Progress(std::ostream& err, bool shown, std::size_t total)
      : err_(err), shown_(shown), total_(total) {}
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;
  ~Progress() { erase(); }

  void at(std::size_t number, const fs::path& project) {
    if (!shown_)
      return;
    err_ << kEraseLine << "計算書を作成しています: " << number << " / " << total_ << "  "
         << shown(project) << std::flush;
    onScreen_ = true;
  }
  void erase() {
    if (!onScreen_)
      return;
    err_ << kEraseLine << std::flush;
    onScreen_ = false;
  }

 private:
  static constexpr const char* kEraseLine = "\r\x1b[K";
  std::ostream& err_;
  bool shown_;
  std::size_t total_;
  bool onScreen_ = false;
};

// Messages to stderr; with several projects each line names its file.
class Notes {
 public:
  Notes(std::ostream& err, RunShape shape, const fs::path& project,
        std::set<std::string>& shownWarnings, Progress& progress)
      : err_(err),
        prefix_(shape == RunShape::kMany ? shown(project) + ": " : ""),
        shownWarnings_(shownWarnings),
        progress_(progress) {}

  void line(const std::string& text) const {
    progress_.erase();
    std::istringstream lines(text);
    for (std::string each; std::getline(lines, each);)
      err_ << prefix_ << each << '\n';
  }
  // A warning of the location tables, once per run however many projects
  // read them.
  void tableWarning(const std::string& text) const {
    if (text.empty() || !shownWarnings_.insert(text).second)
      return;
    line(text);
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
  std::set<std::string>& shownWarnings_;
  Progress& progress_;
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
  notes.tableWarning(session->tableWarning());
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

// The deck comparison of the live check as text: one line per deck of the
// catalogue with its verdict, largest utilisation, the check with it and the
// marks, then how the other decks' unit weight is taken.
std::string deckComparisonText(const LiveCheckPanel& panel, const fs::path& project) {
  std::ostringstream text;
  text << "データファイル: " << shown(project) << '\n' << panel.decksCaption << '\n';
  for (const PanelDeckRow& row : panel.decks) {
    text << "  " << row.name << "  " << row.verdict;
    if (!row.ratioText.empty())
      text << "  " << row.ratioText << " (" << row.governing << ")";
    if (!row.marks.empty())
      text << "  [" << row.marks << "]";
    if (row.ratioText.empty())
      text << "  " << oneLine(row.tooltip);
    text << '\n';
  }
  text << panel.deckNote << '\n';
  return text.str();
}

// --every-deck: the project with each deck of the catalogue, as the input
// screen would choose it, calculated as --json calculates it. A deck that
// cannot be calculated refuses the project.
void everyDeckOfProject(const BatchOptions& options, const fs::path& project,
                        const Session& session, RunShape shape, const Notes& notes,
                        std::ostream& out) {
  const InputForm& form = session.form();
  // The project as it stands first: its refusal is the one --json gives.
  const CalculateResult asEntered = calculateCopy(form, session.settings());
  if (asEntered.refusal)
    throw Refused{oneLine(asEntered.refusal->message)};
  notes.events(asEntered.events);
  if (!options.json) {
    out << deckComparisonText(livePanel(session), project);
    return;
  }
  std::vector<Json> lines;
  for (int deck = 0; deck < kDeckCount; ++deck) {
    const bool own = deck == form.index(FieldId::DeckType);
    const CalculateResult other =
        own ? CalculateResult{} : calculateCopy(form, session.settings(), deck);
    const CalculateResult& result = own ? asEntered : other;
    if (result.refusal) {
      throw Refused{std::string(kDeckSections[static_cast<std::size_t>(deck)].name) + ": " +
                    oneLine(result.refusal->message)};
    }
    if (!result.outcome)
      throw std::runtime_error("計算結果がありません。");
    Json line = Json::object();
    if (shape == RunShape::kMany)
      line["file"] = utf8FromPath(project);
    line.update(outcomeJson(*result.outcome));
    line["utilisation"] = utilisationJson(utilisationOf(*result.outcome));
    lines.push_back(std::move(line));
  }
  for (const Json& line : lines)
    out << line.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
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

// Writes text to standard output and flushes it at once, so that a full
// disk or a vanished output is seen at the project whose text it lost; the
// errno of the failure, if any.
std::optional<int> writeFailure(std::ostream& out, const std::string& text) {
  errno = 0;
  out << text;
  out.flush();
  if (out)
    return std::nullopt;
  return errno != 0 ? errno : EIO;
}

std::string lostOutputText(int error) {
  return "標準出力に書き込めません: " + systemReasonText(error) + "。";
}

// The status of one project, the text it leaves on standard output.
struct ProjectRun {
  int status = kBatchCalculated;
  std::string output;
};

ProjectRun runProject(const BatchOptions& options, const fs::path& project, const fs::path& dataDir,
                      const fs::path& executable, RunShape shape, ReportFileWriter* reports,
                      const Notes& notes) {
  // The results go out only once everything of the project has succeeded.
  std::ostringstream results;
  std::ostringstream refusal;
  try {
    std::unique_ptr<Session> session = openProject(project, dataDir, executable, notes);
    if (options.spanTable)
      spanTableOfProject(options, project, *session, shape, notes, reports, results);
    else if (options.everyDeck)
      everyDeckOfProject(options, project, *session, shape, notes, results);
    else
      calculateProject(options, project, *session, shape, notes, reports, results);
  } catch (const Refused& refused) {
    reportRefusal(options, project, shape, refused.message, notes, refusal);
    return {kBatchRefused, refusal.str()};
  } catch (const UserError& error) {
    reportRefusal(options, project, shape, oneLine(error.what()), notes, refusal);
    return {kBatchRefused, refusal.str()};
  } catch (const std::exception& error) {
    reportRefusal(options, project, shape,
                  "内部エラーのため計算できません: " + internalErrorText(error), notes, refusal);
    return {kBatchInternalError, refusal.str()};
  }
  if (shape == RunShape::kMany && !options.json && !options.csv)
    results << '\n';
  return {kBatchCalculated, results.str()};
}

// One project from a fresh session with its text written out; the exit
// status of that project, kOutputLost when its text could not be written.
int runAndWriteProject(const BatchOptions& options, const fs::path& project,
                       const fs::path& dataDir, const fs::path& executable, RunShape shape,
                       ReportFileWriter* reports, std::ostream& out, std::ostream& err,
                       std::set<std::string>& shownWarnings, Progress& progress) {
  const Notes notes(err, shape, project, shownWarnings, progress);
  const ProjectRun run = runProject(options, project, dataDir, executable, shape, reports, notes);
  if (const auto error = writeFailure(out, run.output)) {
    notes.line(lostOutputText(*error) +
               (shape == RunShape::kMany ? "このデータファイルから後の結果は出力されていません。"
                                         : "結果は出力されていません。"));
    return kOutputLost;
  }
  return run.status;
}

}  // namespace

int finishOutput(int status, std::ostream& out, std::ostream& err, bool lossReported) {
  const int lastError = errno;
  if (!out.good() && !lossReported) {
    // Failed on the way (--help is written in pieces): flushing again what
    // is left, or else the last failure, tells why.
    out.clear();
    const auto error = writeFailure(out, "");
    err << lostOutputText(error.value_or(lastError != 0 ? lastError : EIO))
        << "出力は途中で途切れています。\n";
    status = kBatchRefused;
  } else if (!out.good()) {
    status = kBatchRefused;
  } else if (const auto error = writeFailure(out, "")) {
    err << lostOutputText(*error) << "出力は途中で途切れています。\n";
    status = kBatchRefused;
  }
  err.flush();
  // When standard error itself is gone, the status still says so.
  return err.good() ? status : kBatchRefused;
}

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
    if (const auto refusal = outputNameRefusal(options, reports)) {
      err << *refusal << '\n';
      return finishOutput(kBatchRefused, out, err);
    }
    makeOutputFolders(options);
  } catch (const UserError& error) {
    err << oneLine(error.what()) << '\n';
    return finishOutput(kBatchRefused, out, err);
  }
  const fs::path dataDir = options.dataDir.value_or(defaultDataDir(executable));
  const RunShape shape = options.projects.size() == 1 ? RunShape::kSingle : RunShape::kMany;
  if (options.csv) {
    if (const auto error = writeFailure(out, std::string(kSpanTableCsvHeader) + '\n')) {
      err << lostOutputText(*error) << "結果は出力されていません。\n";
      return finishOutput(kBatchRefused, out, err, true);
    }
  }
  int status = kBatchCalculated;
  std::set<std::string> shownWarnings;
  Progress progress(err, options.progress && options.wantsReportFiles(), options.projects.size());
  std::size_t number = 0;
  for (const fs::path& project : options.projects) {
    progress.at(++number, project);
    const int projectStatus = runAndWriteProject(options, project, dataDir, executable, shape,
                                                 reports, out, err, shownWarnings, progress);
    if (projectStatus == kOutputLost) {
      // Nothing more can reach the output: the projects after it are not run.
      progress.erase();
      return finishOutput(kBatchRefused, out, err, true);
    }
    if (projectStatus == kBatchRefused)
      status = kBatchRefused;
    else if (projectStatus == kBatchInternalError && status == kBatchCalculated)
      status = kBatchInternalError;
  }
  progress.erase();
  return finishOutput(status, out, err);
}

}  // namespace tavilo
