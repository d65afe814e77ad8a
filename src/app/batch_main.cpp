// tavilo-calc: the batch command. Loads project files, calculates them and
// prints a summary or, with --json, the whole calculation as JSON; with
// --span-table the span table of each project instead.

#include <QGuiApplication>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>

#include "app/batch_arguments.h"

namespace {

// Qt's own diagnostics (a painter that could not begin, a runtime folder
// taken by default) would only repeat, less clearly, what the command reports
// itself; critical and fatal messages still reach the terminal.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// The report files are drawn with Qt's painter, which needs an application
// object; a terminal command has no screen, so the offscreen platform serves
// unless QT_QPA_PLATFORM says otherwise.
std::unique_ptr<QGuiApplication> drawingApplication(int& argc, char** argv) {
  qInstallMessageHandler(quietQtMessages);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int main(int argc, char** argv) {
  tavilo::BatchArguments parsed = tavilo::parseBatchArguments(argc, argv);
  if (parsed.exitStatus)
    return *parsed.exitStatus;
  const tavilo::BatchOptions& options = parsed.options;
  // A file-size limit then fails the write with a message instead of ending
  // the process.
  std::signal(SIGXFSZ, SIG_IGN);
  std::unique_ptr<QGuiApplication> drawing;
  if (options.pdf || options.png || options.pdfDir || options.pngDir)
    drawing = drawingApplication(argc, argv);
  return tavilo::runBatch(options, tavilo::executablePath(argc > 0 ? argv[0] : nullptr), std::cout,
                          std::cerr);
}
