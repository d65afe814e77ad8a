// Draws Tavilo's pictures and writes them into the data folder and the
// resource folder of the source tree. Usage:
//   picture-generator --data-dir Load_data --resource-dir src/ui/resources [--preview DIR]
// --preview also writes an enlarged PNG of every picture for checking by eye.
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>
#include <optional>

#include "pictures.h"

namespace {

constexpr int kPreviewScale = 3;
constexpr int kPreviewMaxWidth = 320;

void fail(const QString& message) {
  std::fprintf(stderr, "picture-generator: %s\n", qPrintable(message));
}

// Written through a temporary file, so that an interrupted run never leaves a
// half-written picture behind.
bool writeFile(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return false;
  }
  return true;
}

bool writePreview(const QDir& folder, const pictures::Picture& picture) {
  const QImage& image = picture.image;
  const QImage enlarged =
      image.width() <= kPreviewMaxWidth
          ? image.scaled(image.size() * kPreviewScale, Qt::KeepAspectRatio, Qt::FastTransformation)
          : image;
  const QString name = QFileInfo(picture.fileName).completeBaseName() + QStringLiteral(".png");
  return writeFile(folder.filePath(name), pictures::encode({name, picture.destination,
                                                            pictures::FileFormat::png, enlarged}));
}

bool ensureFolder(const QString& path) {
  if (QDir().mkpath(path)) {
    return true;
  }
  fail(QStringLiteral("cannot create folder %1").arg(path));
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Drawing needs no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication app(argc, argv);

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Draws the pictures that ship with Tavilo."));
  parser.addHelpOption();
  const QCommandLineOption dataOption(QStringLiteral("data-dir"),
                                      QStringLiteral("Folder of the choice pictures (BMP)."),
                                      QStringLiteral("dir"));
  const QCommandLineOption resourceOption(QStringLiteral("resource-dir"),
                                          QStringLiteral("Folder of the built-in pictures (PNG)."),
                                          QStringLiteral("dir"));
  const QCommandLineOption previewOption(
      QStringLiteral("preview"), QStringLiteral("Also write enlarged PNG copies into this folder."),
      QStringLiteral("dir"));
  parser.addOptions({dataOption, resourceOption, previewOption});
  parser.process(app);
  if (!parser.isSet(dataOption) || !parser.isSet(resourceOption)) {
    fail(QStringLiteral("--data-dir and --resource-dir are required"));
    return 2;
  }

  QString fontError;
  const std::optional<pictures::Fonts> fonts = pictures::loadIpaFonts(fontError);
  if (!fonts) {
    fail(fontError);
    return 1;
  }

  const QString dataDir = parser.value(dataOption);
  const QString resourceDir = parser.value(resourceOption);
  const QString previewDir = parser.value(previewOption);
  if (!ensureFolder(dataDir) || !ensureFolder(resourceDir) ||
      (!previewDir.isEmpty() && !ensureFolder(previewDir))) {
    return 1;
  }

  bool ok = true;
  for (const pictures::Picture& picture : pictures::drawAll(*fonts)) {
    const QByteArray bytes = pictures::encode(picture);
    if (bytes.isEmpty()) {
      fail(QStringLiteral("cannot encode %1").arg(picture.fileName));
      ok = false;
      continue;
    }
    const QDir folder(picture.destination == pictures::Destination::dataFolder ? dataDir
                                                                               : resourceDir);
    ok = writeFile(folder.filePath(picture.fileName), bytes) && ok;
    if (!previewDir.isEmpty()) {
      ok = writePreview(QDir(previewDir), picture) && ok;
    }
    std::printf("%-32s %4d x %-4d\n", qPrintable(picture.fileName), picture.image.width(),
                picture.image.height());
  }
  return ok ? 0 : 1;
}
