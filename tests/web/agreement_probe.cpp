// Prints what the browser build must compute exactly as the native build
// does, for the web tests to compare the two builds line by line:
//   agreement-probe report PROJECT DATA_DIR   every text of the screen pass
//                                             and of the print pass
//   agreement-probe save PROJECT DATA_DIR OUT the project loaded and saved again
//   agreement-probe time PROJECT DATA_DIR N   the median and lower-decile time of one calculate
//                                             command in microseconds (bench/web)
//   agreement-probe decimals                  each line of stdin as parsed
//   agreement-probe cp932                     every byte pair decoded and
//                                             every code point encoded, as
//                                             digests of blocks

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "calc/errors.h"
#include "calc/numbers.h"
#include "model/session.h"
#include "persistence/text_file.h"
#include "platform/unicode.h"
#include "report/recording_surface.h"
#include "report/report_driver.h"
#include "report/report_passes.h"

namespace tavilo {
namespace {

void printTexts(const char* pass, const RecordingSurface& surface) {
  for (const RecordedText& t : surface.texts()) {
    std::cout << pass << ' ' << t.page << ' ' << t.x << ' ' << t.y << ' ' << t.endX << ' '
              << t.font.sizePt << (t.font.bold ? "b " : " ") << t.text << '\n';
  }
}

int report(const std::string& project, const std::string& dataDir) {
  Session session(ProgramFolders{".", dataDir, "."});
  if (const auto failure = session.startUp("")) {
    std::cerr << *failure << '\n';
    return 2;
  }
  if (const ProjectLoad load = session.load(project); load.failure) {
    std::cerr << *load.failure << '\n';
    return 2;
  }
  const CalculateResult result = session.calculate();
  if (!result.outcome) {
    std::cerr << (result.refusal ? result.refusal->message : "not calculated") << '\n';
    return 2;
  }
  const CalculationOutcome& outcome = *result.outcome;
  const ReportDrawing draw = [&](ReportCanvas& canvas) { drawCalculationReport(canvas, outcome); };

  RecordingSurface screen(72, kScreenImageWidth,
                          screenImageHeight(screenImageBaseHeight(outcome), draw));
  drawScreenPass(screen, draw);
  printTexts("screen", screen);

  // A4 at 600 dpi less the printer margin on every side.
  constexpr int kMargin = static_cast<int>(kPdfMarginMm * 600 / 25.4);
  RecordingSurface paper(600, 4961 - 2 * kMargin, 7016 - 2 * kMargin);
  ReportSetup setup;
  setup.printSettings = session.printSettings();
  setup.projectFilePath = project;
  setup.date = "2024/03/05";
  drawPrintPass(paper, setup, draw);
  printTexts("print", paper);
  return 0;
}

int save(const std::string& project, const std::string& dataDir, const std::string& out) {
  Session session(ProgramFolders{".", dataDir, "."});
  (void)session.startUp("");
  if (const ProjectLoad load = session.load(project); load.failure) {
    std::cerr << *load.failure << '\n';
    return 2;
  }
  try {
    session.save(out);
  } catch (const UserError& error) {
    std::cerr << error.what() << '\n';
    return 2;
  }
  return 0;
}

// The median of the runs' times and their lower decile, in microseconds: the
// decile is what a run costs when nothing else takes the processor.
int calculationTime(const std::string& project, const std::string& dataDir, int runs) {
  Session session(ProgramFolders{".", dataDir, "."});
  (void)session.startUp("");
  if (const ProjectLoad load = session.load(project); load.failure) {
    std::cerr << *load.failure << '\n';
    return 2;
  }
  std::vector<double> micros;
  for (int i = 0; i < std::max(runs, 1); ++i) {
    const auto start = std::chrono::steady_clock::now();
    const CalculateResult result = session.calculate();
    const auto end = std::chrono::steady_clock::now();
    if (!result.outcome)
      return 2;
    micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
  }
  std::sort(micros.begin(), micros.end());
  std::printf("%.1f %.1f\n", micros[micros.size() / 2], micros[micros.size() / 10]);
  return 0;
}

int decimals() {
  for (std::string line; std::getline(std::cin, line);) {
    if (const auto value = parseDecimal(line)) {
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "%a", *value);
      std::cout << buffer << '\n';
    } else {
      std::cout << "refused\n";
    }
  }
  return 0;
}

// The outcome of one conversion: the text, or the message of the refusal.
template <typename Convert>
std::string outcome(Convert convert, const std::string& input) {
  try {
    return convert(input);
  } catch (const UserError& error) {
    return std::string("! ") + error.what();
  }
}

std::string utf8Of(std::uint32_t code) {
  std::string out;
  appendUtf8(out, static_cast<char32_t>(code));
  return out;
}

// FNV-1a over the outcomes of one block of conversions, so that the two
// builds compare a few hundred lines rather than a million.
class BlockDigest {
 public:
  void add(const std::string& text) {
    for (const char c : text)
      hash_ = (hash_ ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    hash_ = (hash_ ^ 0xFF) * 1099511628211ULL;
  }
  void print(const char* what, std::uint32_t block) {
    std::printf("%s %X %016llX\n", what, block, static_cast<unsigned long long>(hash_));
    hash_ = 14695981039346656037ULL;
  }

 private:
  std::uint64_t hash_ = 14695981039346656037ULL;
};

int cp932() {
  const auto decode = [](const std::string& s) { return fromCp932(s); };
  const auto encode = [](const std::string& s) { return toCp932(s); };
  BlockDigest digest;
  for (int first = 0; first < 256; ++first) {
    for (int second = 0; second < 256; ++second)
      digest.add(outcome(decode, std::string{static_cast<char>(first), static_cast<char>(second)}));
    digest.print("decode", static_cast<std::uint32_t>(first));
  }
  for (std::uint32_t code = 0; code <= 0x10FFFF; ++code) {
    if (code < 0xD800 || code > 0xDFFF)
      digest.add(outcome(encode, "a" + utf8Of(code)));
    if (code % 0x1000 == 0xFFF)
      digest.print("encode", code >> 12);
  }
  return 0;
}

}  // namespace
}  // namespace tavilo

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "report" && argc == 4)
    return tavilo::report(argv[2], argv[3]);
  if (command == "save" && argc == 5)
    return tavilo::save(argv[2], argv[3], argv[4]);
  if (command == "time" && argc == 5)
    return tavilo::calculationTime(argv[2], argv[3], std::atoi(argv[4]));
  if (command == "decimals")
    return tavilo::decimals();
  if (command == "cp932")
    return tavilo::cp932();
  std::cerr << "usage: agreement-probe report PROJECT DATA_DIR | save PROJECT DATA_DIR OUT | "
               "decimals | cp932\n";
  return 2;
}
