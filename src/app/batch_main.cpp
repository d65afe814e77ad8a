// tavilo-calc: the batch command. Loads project files, calculates them and
// prints a summary or, with --json, the whole calculation as JSON; with
// --span-table the span table of each project instead.

#include <iostream>
#include <memory>

#include "app/batch_arguments.h"
#include "app/batch_command.h"
#include "app/report_files.h"
#include "model/session.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  // A file-size limit then fails the write with a message instead of ending
  // the process; the console shows UTF-8.
  tavilo::platform::prepareTerminalProcess();
  const tavilo::BatchArguments parsed = tavilo::parseBatchArguments(argc, argv);
  // --help, --version and a refused command line write here too: their
  // output is checked as the run's is.
  if (parsed.exitStatus)
    return tavilo::finishOutput(*parsed.exitStatus, std::cout, std::cerr);
  tavilo::BatchOptions options = parsed.options;
  options.progress = tavilo::platform::standardErrorIsTerminal();
  std::unique_ptr<tavilo::ReportFileWriter> reports;
  if (options.wantsReportFiles())
    reports = tavilo::makeReportFileWriter(argc, argv);
  return tavilo::runBatch(options, tavilo::executablePath(argc > 0 ? argv[0] : nullptr), std::cout,
                          std::cerr, reports.get());
}
