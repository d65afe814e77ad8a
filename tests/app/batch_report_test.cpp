// The report files of tavilo-calc: --pdf and --png, alone and with --json.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace tavilo {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(TAVILO_SOURCE_DIR) / "examples";

std::string readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class BatchReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tavilo_batch_report_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the built command; answers its exit status.
  int run(const std::string& arguments) {
    const std::string command = "'" + std::string(TAVILO_CALC_EXE) + "' " + arguments + " >'" +
                                (dir_ / "stdout").string() + "' 2>'" + (dir_ / "stderr").string() +
                                "'";
    const int status = std::system(command.c_str());
    out_ = readFile(dir_ / "stdout");
    err_ = readFile(dir_ / "stderr");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path dir_;
  std::string out_;
  std::string err_;
};

TEST_F(BatchReportTest, PdfAndPngBesideTheJson) {
  const fs::path pdf = dir_ / "report.pdf";
  const fs::path png = dir_ / "report.png";
  ASSERT_EQ(run("'" + (kExamples / "heavy-snow-overhangs.tvl").string() + "' --json --pdf '" +
                pdf.string() + "' --png '" + png.string() + "'"),
            0)
      << err_;
  EXPECT_EQ(readFile(pdf).substr(0, 5), "%PDF-");
  EXPECT_EQ(readFile(png).substr(1, 3), "PNG");
  // Standard output holds the JSON document alone; the file names go to the
  // error stream.
  const nlohmann::json json = nlohmann::json::parse(out_);
  EXPECT_TRUE(json.contains("verdict"));
  EXPECT_NE(err_.find(pdf.string()), std::string::npos);
  EXPECT_NE(err_.find(png.string()), std::string::npos);
  // Only the two files and the captured streams are left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 4);
}

TEST_F(BatchReportTest, UnwritableReportStopsWithoutOutput) {
  const fs::path pdf = dir_ / "missing" / "report.pdf";
  EXPECT_EQ(
      run("'" + (kExamples / "ordinary-3span.tvl").string() + "' --pdf '" + pdf.string() + "'"), 2);
  EXPECT_TRUE(out_.empty());
  EXPECT_NE(err_.find("PDFファイル"), std::string::npos);
  EXPECT_FALSE(fs::exists(pdf.parent_path()));
}

// ---- Faults injected into the report files

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr uid_t kNobody = 65534;
const std::string kOldReport = "%PDF-1.4 the old report";

std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

struct Child {
  pid_t pid = -1;
  int status = 0;
  bool asNobody = false;  // root only: runs with an ordinary user's rights
  rlim_t fileSizeLimit = RLIM_INFINITY;
  std::string output = "/dev/null";  // where the standard output goes
};

class ReportFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tavilo_report_fault_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    out_ = dir_ / "out";
    fs::create_directory(out_);
    fs::permissions(dir_, fs::perms::all);
    fs::permissions(out_, fs::perms::all);
    pdf_ = out_ / "report.pdf";
    png_ = out_ / "report.png";
    std::ofstream(pdf_, std::ios::binary) << kOldReport;
    std::ofstream(png_, std::ios::binary) << kOldReport;
    fs::permissions(pdf_, fs::perms::all);
    fs::permissions(png_, fs::perms::all);
    project_ = dir_ / "project.tvl";
    fs::copy_file(kExamples / "ordinary-3span.tvl", project_);
    fs::permissions(project_, fs::perms::all);
  }
  void TearDown() override {
    fs::permissions(out_, fs::perms::all);
    fs::remove_all(dir_);
  }

  // Starts the command with its streams in files of dir_.
  void start(Child& child, const std::vector<std::string>& arguments) const {
    const std::string err = (dir_ / "stderr").string();
    child.pid = fork();
    if (child.pid != 0)
      return;
    const int null = open(child.output.c_str(), O_WRONLY);
    const int errFile = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    dup2(null, 1);
    dup2(errFile, 2);
    if (child.asNobody && (setgid(kNobody) != 0 || setuid(kNobody) != 0))
      _exit(77);
    const rlimit limit{child.fileSizeLimit, child.fileSizeLimit};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::vector<char*> argv;
    std::string exe = TAVILO_CALC_EXE;
    argv.push_back(exe.data());
    std::vector<std::string> copies = arguments;
    for (std::string& a : copies)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }

  int run(Child child, const std::vector<std::string>& arguments) {
    start(child, arguments);
    waitpid(child.pid, &child.status, 0);
    err_ = readFile(dir_ / "stderr");
    if (WIFEXITED(child.status) && WEXITSTATUS(child.status) == 77)
      return 77;
    return WIFEXITED(child.status) ? WEXITSTATUS(child.status) : -1;
  }

  // Both old files byte for byte and nothing else in their folder.
  void expectOldFilesOnly() const {
    EXPECT_EQ(readFile(pdf_), kOldReport);
    EXPECT_EQ(readFile(png_), kOldReport);
    EXPECT_EQ(namesIn(out_), (std::set<std::string>{"report.pdf", "report.png"}));
  }

  fs::path dir_, out_, pdf_, png_, project_;
  std::string err_;
};

TEST_F(ReportFaultTest, ReadOnlyFolder) {
  fs::permissions(out_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  Child child;
  child.asNobody = geteuid() == 0;  // root writes anywhere
  const int status = run(child, {project_.string(), "--pdf", pdf_.string()});
  if (status == 77)
    GTEST_SKIP() << "cannot take an ordinary user's rights here";
  EXPECT_EQ(status, 2);
  EXPECT_THAT(err_, AllOf(HasSubstr(pdf_.string()), HasSubstr("アクセス権がありません"),
                          HasSubstr("既存のファイルは変更していません")));
  expectOldFilesOnly();
}

TEST_F(ReportFaultTest, FolderAsTarget) {
  for (const char* option : {"--pdf", "--png"}) {
    EXPECT_EQ(run({}, {project_.string(), option, out_.string()}), 2) << option;
    EXPECT_THAT(err_, AllOf(HasSubstr(out_.string()), HasSubstr("フォルダです")));
    expectOldFilesOnly();
  }
}

// A device, a named pipe, a link to a device and the file behind the
// command's own output are refused before anything runs or is written.
TEST_F(ReportFaultTest, SpecialTargetsAreRefusedAndLeftAsTheyWere) {
  const fs::path pipe = out_ / "pipe.pdf";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const fs::path device = out_ / "full";
  const bool root = mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;
  const fs::path link = out_ / "link.png";
  fs::create_symlink(root ? device : pipe, link);
  std::vector<std::pair<const char*, fs::path>> targets = {{"--pdf", pipe}, {"--png", link}};
  if (root)
    targets.emplace_back("--pdf", device);
  for (const auto& [option, target] : targets) {
    EXPECT_EQ(run({}, {project_.string(), option, target.string()}), 2) << target;
    EXPECT_THAT(err_, AllOf(HasSubstr("「" + target.string() + "」"),
                            HasSubstr("通常のファイルではありません")));
    EXPECT_THAT(err_, Not(HasSubstr("アクセス権"))) << "the real reason";
  }
  EXPECT_TRUE(fs::is_fifo(pipe));
  EXPECT_TRUE(fs::is_symlink(link));
  if (root) {
    EXPECT_TRUE(fs::is_character_file(device));
  }

  const fs::path output = dir_ / "stdout.txt";
  std::ofstream(output) << "before";
  Child child;
  child.output = output.string();
  EXPECT_EQ(run(child, {project_.string(), "--pdf", "/dev/stdout"}), 2);
  EXPECT_THAT(err_, HasSubstr("標準入出力"));
  EXPECT_EQ(readFile(output), "before");
  fs::remove(pipe);
  fs::remove(link);
  fs::remove(device);
  expectOldFilesOnly();
}

TEST_F(ReportFaultTest, ReplacedReportKeepsTheModeOfTheOldOne) {
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(pdf_, readOnly);
  fs::permissions(png_, readOnly);
  const int status = run({}, {project_.string(), "--pdf", pdf_.string(), "--png", png_.string()});
  EXPECT_EQ(fs::status(pdf_).permissions() & fs::perms::all, readOnly);
  EXPECT_EQ(fs::status(png_).permissions() & fs::perms::all, readOnly);
  if (status == 0) {  // root replaces a read-only file; anyone else is refused
    EXPECT_EQ(readFile(pdf_).substr(0, 5), "%PDF-");
  } else {
    expectOldFilesOnly();
  }
}

TEST_F(ReportFaultTest, DiskFull) {
  Child child;
  child.fileSizeLimit = 16 * 1024;  // both reports are larger
  for (const char* option : {"--pdf", "--png"}) {
    const fs::path target = std::string(option) == "--pdf" ? pdf_ : png_;
    EXPECT_EQ(run(child, {project_.string(), option, target.string()}), 2) << option;
    EXPECT_THAT(err_, AllOf(HasSubstr(target.string()), HasSubstr("上限を超えました")));
    expectOldFilesOnly();
  }
}

// A PNG that cannot be written is said in the command's words alone: the
// image library's own English line never reaches the user, and among several
// projects every line names its project.
TEST_F(ReportFaultTest, FailedPngIsSaidOnlyInTheCommandsWords) {
  Child child;
  child.fileSizeLimit = 16 * 1024;  // the image is about 290 KB
  EXPECT_EQ(run(child, {project_.string(), "--png", png_.string()}), 2);
  EXPECT_EQ(err_, "画像ファイル「" + png_.string() +
                      "」を書き込めません: ファイルの大きさが上限を超えました。"
                      "既存のファイルは変更していません。\n");
  expectOldFilesOnly();

  const fs::path second = dir_ / "second.tvl";
  fs::copy_file(project_, second);
  const fs::path pngs = dir_ / "pngs";
  EXPECT_EQ(run(child, {project_.string(), second.string(), "--png-dir", pngs.string()}), 2);
  EXPECT_THAT(err_, Not(HasSubstr("libpng")));
  std::istringstream lines(err_);
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    EXPECT_TRUE(line.starts_with(project_.string() + ": 画像ファイル") ||
                line.starts_with(second.string() + ": 画像ファイル"))
        << line;
  }
  EXPECT_EQ(count, 2);
}

TEST_F(ReportFaultTest, ProcessKilledWhileTheReportIsWritten) {
  // Killed at moments spread over the whole run, one of them between the
  // last write and the rename: never a half-written report, never a
  // temporary file left behind.
  for (const int delayMs : {30, 80, 150, 250, 400, 600, 900}) {
    Child child;
    start(child, {project_.string(), "--pdf", pdf_.string(), "--png", png_.string()});
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    kill(child.pid, delayMs % 20 == 0 ? SIGKILL : SIGTERM);
    waitpid(child.pid, &child.status, 0);
    const std::string pdf = readFile(pdf_);
    EXPECT_TRUE(pdf == kOldReport ||
                (pdf.starts_with("%PDF-") && pdf.find("%%EOF") != std::string::npos))
        << delayMs;
    EXPECT_EQ(namesIn(out_), (std::set<std::string>{"report.pdf", "report.png"})) << delayMs;
  }
}

TEST_F(ReportFaultTest, OutputThatIsTheProjectOrEmptyIsRefused) {
  const std::string before = readFile(project_);
  const fs::path sameByLink = dir_ / "link.pdf";
  fs::create_symlink(project_, sameByLink);
  for (const fs::path& named : {project_, dir_ / "out" / ".." / "project.tvl", sameByLink}) {
    EXPECT_EQ(run({}, {project_.string(), "--pdf", named.string()}), 2) << named;
    EXPECT_THAT(err_, HasSubstr("読み込むデータファイルそのもの"));
    EXPECT_EQ(run({}, {project_.string(), "--png", named.string()}), 2) << named;
  }
  EXPECT_EQ(readFile(project_), before);
  EXPECT_EQ(run({}, {project_.string(), "--pdf", ""}), 2);
  EXPECT_THAT(err_, HasSubstr("--pdf の出力先が空です"));
  EXPECT_EQ(run({}, {project_.string(), "--pdf", pdf_.string(), "--png", pdf_.string()}), 2);
  expectOldFilesOnly();
}

TEST_F(ReportFaultTest, SaysWhichReportWasWrittenAndWhichFailed) {
  // A folder as a target is refused before anything is written; a size
  // limit between the two reports (the PDF about 70 KB, the image about
  // 290 KB) stops the second one.
  EXPECT_EQ(run({}, {project_.string(), "--pdf", pdf_.string(), "--png", out_.string()}), 2);
  EXPECT_THAT(err_, AllOf(HasSubstr("--png の出力先"), HasSubstr("フォルダです")));
  expectOldFilesOnly();

  Child between;
  between.fileSizeLimit = 150 * 1024;
  EXPECT_EQ(run(between, {project_.string(), "--pdf", pdf_.string(), "--png", png_.string()}), 2);
  EXPECT_THAT(err_,
              AllOf(HasSubstr("計算書 (PDF) を書きました: " + pdf_.string()),
                    HasSubstr("上限を超えました"), HasSubstr("計算書 (PDF) は書き終えています")));
  EXPECT_EQ(readFile(pdf_).substr(0, 5), "%PDF-");
  EXPECT_EQ(readFile(png_), kOldReport);

  Child small;
  small.fileSizeLimit = 16 * 1024;
  EXPECT_EQ(run(small, {project_.string(), "--pdf", pdf_.string(), "--png", png_.string()}), 2);
  EXPECT_THAT(err_, HasSubstr("画面イメージ (PNG) は書いていません"));
  EXPECT_EQ(readFile(png_), kOldReport);
}

}  // namespace
}  // namespace tavilo
