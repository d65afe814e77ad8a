// tavilo-calc: the batch command. Loads a project file, calculates it and
// prints a summary or, with --json, the whole calculation as JSON.

#include <CLI/CLI.hpp>
#include <QGuiApplication>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "app/batch_command.h"

namespace {

constexpr const char* kDescription =
    "Tavilo 屋根デッキプレートの計算をバッチで実行します。\n"
    "プロジェクトファイル (.tvl) を画面の「データ読込」と同じ手順で読み込み、\n"
    "「計　算」と同じ入力チェックと計算を行い、結果を標準出力に書きます。";

constexpr const char* kFooter =
    "出力:\n"
    "  既定では所在地・荷重・各荷重ケースの OK/NG・判定の要約を書きます。\n"
    "  --json では設定 (settings)、設計条件 (conditions)、風荷重の算定 (wind、\n"
    "  荷重値直接入力では null)、積雪の割増し (snow、適用なしでは null)、\n"
    "  各荷重ケース (cases) と判定 (verdict) を JSON で書きます。\n"
    "  読込み時のメッセージ (比率の初期値への置換など) は標準エラーに書きます。\n"
    "  --pdf では印刷用の計算書 (A4 縦) を PDF に、--png では計算結果画面の\n"
    "  イメージ (幅 565 ピクセル) を PNG に書き、書いたファイル名を標準エラーに\n"
    "  書きます。どちらも --json と同時に指定できます。書けない場合は終了コード 2。\n"
    "\n"
    "終了コード:\n"
    "  0  計算を実行した (判定が NG でも 0)\n"
    "  2  ファイルを読めない・変換できない、読込みが途中で止まった、入力チェックで\n"
    "     計算できない (理由を標準エラーに 1 行で書き、標準出力には何も書きません)、\n"
    "     または引数の誤り\n"
    "  1  内部エラー\n"
    "\n"
    "所在地データ:\n"
    "  --data-dir を省略すると、実行ファイルと同じフォルダの Load_data を使います。\n"
    "  無い場合は実行ファイルの親フォルダを順にたどり、Data_Address.csv のある\n"
    "  Load_data を使います。";

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
  CLI::App app{kDescription, "tavilo-calc"};
  app.footer(kFooter);
  std::string project;
  std::string dataDir;
  bool json = false;
  std::string pdf;
  std::string png;
  app.add_option("PROJECT", project, "計算するプロジェクトファイル (.tvl)")->required();
  app.add_option("--data-dir", dataDir,
                 "所在地データ (Data_Address.csv, Data_SnowfallV.csv) のフォルダ");
  app.add_flag("--json", json, "要約の代わりに計算の全内容を JSON で出力する");
  const CLI::Option* pdfOption =
      app.add_option("--pdf", pdf, "印刷用の計算書 (A4 縦) を書く PDF ファイル");
  const CLI::Option* pngOption =
      app.add_option("--png", png, "計算結果画面のイメージを書く PNG ファイル");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? 0 : tavilo::kBatchRefused;
  }

  tavilo::BatchOptions options;
  options.project = project;
  if (!dataDir.empty())
    options.dataDir = dataDir;
  options.json = json;
  // An option given with an empty name is refused by the command, not ignored.
  if (pdfOption->count() > 0)
    options.pdf = pdf;
  if (pngOption->count() > 0)
    options.png = png;
  // A file-size limit then fails the write with a message instead of ending
  // the process.
  std::signal(SIGXFSZ, SIG_IGN);
  std::unique_ptr<QGuiApplication> drawing;
  if (options.pdf || options.png)
    drawing = drawingApplication(argc, argv);
  return tavilo::runBatch(options, tavilo::executablePath(argc > 0 ? argv[0] : nullptr), std::cout,
                          std::cerr);
}
