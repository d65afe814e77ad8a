// tavilo-verification: writes the verification document (検証資料) of this
// version, as A4 PDF pages drawn by the report's own machinery and as its
// Markdown twin. Usage: tavilo-verification [--pdf OUT.pdf] [--md OUT.md]
// (both default to docs/ of the source tree). Exit status 1 when a row
// disagrees beyond its tolerance; the files are written all the same, so
// that the disagreement can be read.

#include <QGuiApplication>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

#include "calc/errors.h"
#include "persistence/text_file.h"
#include "report/qt/report_output.h"
#include "report/report_passes.h"
#include "verification_document.h"
#include "verification_pages.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QGuiApplication app(argc, argv);
  const std::filesystem::path source(TAVILO_SOURCE_DIR);
  std::filesystem::path pdf = source / "docs" / "verification.pdf";
  std::filesystem::path markdown = source / "docs" / "verification.md";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string_view option = argv[i];
    if (option == "--pdf")
      pdf = argv[i + 1];
    else if (option == "--md")
      markdown = argv[i + 1];
  }
  try {
    using namespace tavilo;
    const verification::Document document = verification::buildDocument(TAVILO_VERSION, source);
    writeFileAtomically(markdown, verification::markdownOf(document));
    PrintJob job;
    job.printSettings.pageNumberPosition = PageNumberPosition::BottomCentre;
    job.printSettings.pageNumberStyle = 1;
    writeDocumentPdf(pdf, std::string(verification::kDocumentTitle) + " " + TAVILO_VERSION,
                     "検証資料", job, [&document](ReportCanvas& canvas) {
                       verification::drawVerificationPages(canvas, document);
                     });
    const verification::Summary summary = document.summary();
    std::printf("%d 行、許容差を超えた行 %d\n", summary.rows, summary.disagreeing);
    return summary.disagreeing == 0 ? 0 : 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 2;
  }
}
