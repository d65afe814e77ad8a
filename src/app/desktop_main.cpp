// tavilo: the desktop program. Starts the windows of one program run and runs
// them until the input screen is closed.

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "location/location_tables.h"
#include "persistence/project_paths.h"
#include "persistence/settings_folder.h"
#include "platform/platform.h"
#include "platform/system_reason.h"
#include "platform/utf8_path.h"
#include "report/qt/qt_path.h"
#include "ui/desktop.h"
#include "ui/ui_support.h"

namespace {

// An error that escapes a command is shown with its text, as every message
// of the program is, and the program goes on.
class DesktopApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
      tavilo::ui::showMessage(nullptr, QString::fromStdString(tavilo::internalErrorText(error)));
    }
    return false;
  }
};

// The major and minor parts of the program's version, "5.4".
std::string versionText() {
  return TAVILO_VERSION;
}

// "tavilo --version" answers on the terminal, before any window or display
// is needed.
bool versionAsked(int argc, char** argv) {
  return std::any_of(argv + std::min(argc, 1), argv + argc,
                     [](const char* argument) { return std::strcmp(argument, "--version") == 0; });
}

// "tavilo PROJECT.tvl" (as the file manager starts it for a project) opens
// the project: the first argument that is no option, once Qt has taken its own.
std::optional<std::filesystem::path> projectArgument(int argc, char** argv) {
  const std::vector<std::string> arguments = tavilo::platform::commandLineArguments(argc, argv);
  const auto project =
      std::find_if(arguments.begin() + std::min<std::ptrdiff_t>(1, std::ssize(arguments)),
                   arguments.end(), [](const std::string& a) { return !a.starts_with('-'); });
  if (project == arguments.end())
    return std::nullopt;
  return tavilo::pathFromUtf8(*project);
}

tavilo::ProgramFolders programFolders(const char* argv0) {
  const std::filesystem::path executable = tavilo::executablePath(argv0);
  const std::filesystem::path program = executable.parent_path();
  const std::filesystem::path data = tavilo::defaultDataDir(executable);
  const std::filesystem::path documents =
      tavilo::pathFromQString(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  // An installed program keeps its data in share/tavilo; its projects belong
  // to the user, not beside the system's programs.
  const bool installed = data != program / tavilo::kDataFolderName;
  const std::filesystem::path projects = installed
                                             ? documents / tavilo::kDocumentsFolderName
                                             : tavilo::defaultProjectFolder(program, documents);
  if (installed) {
    std::error_code ignored;
    std::filesystem::create_directories(projects, ignored);
  }
  return {program, data, projects};
}

}  // namespace

int main(int argc, char** argv) {
  if (versionAsked(argc, argv)) {
    std::printf("tavilo %s\n", versionText().c_str());
    return 0;
  }
  DesktopApplication app(argc, argv);
  // The program speaks Japanese; Qt's own dialogs speak the desktop's language.
  const std::unique_ptr<QTranslator> qtTexts = tavilo::ui::qtTranslator(QLocale::system());
  if (qtTexts)
    QCoreApplication::installTranslator(qtTexts.get());
  QApplication::setApplicationName(QStringLiteral("tavilo"));
  QGuiApplication::setDesktopFileName(QStringLiteral("tavilo"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/resources/tavilo.png")));
  QApplication::setFont(tavilo::ui::windowFont());
  // Only the input screen ends the program; the other windows just hide.
  QApplication::setQuitOnLastWindowClosed(false);

  tavilo::Session session(programFolders(argc > 0 ? argv[0] : nullptr));
  tavilo::ui::StartUpOptions options;
  options.version = versionText();
  options.environment = tavilo::processEnvironment();
  options.project = projectArgument(argc, argv);
  const auto desktop = tavilo::ui::startDesktop(session, std::move(options));
  QObject::connect(desktop.get(), &tavilo::ui::Desktop::finished, &app,
                   [] { QCoreApplication::exit(0); });
  return QApplication::exec();
}
