#include "app/batch_arguments.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/errors.h"
#include "platform/platform.h"
#include "platform/utf8_path.h"

namespace tavilo {
namespace {

constexpr const char* kDescription =
    "Tavilo 屋根デッキプレートの計算をバッチで実行します。\n"
    "プロジェクトファイル (.tvl) を画面の「データ読込」と同じ手順で読み込み、\n"
    "「計　算」と同じ入力チェックと計算を行い、結果を標準出力に書きます。\n"
    "複数のファイルを指定すると 1 つずつ順に、それぞれプログラムを起動し直した\n"
    "ときと同じ状態から計算します。";

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
    "複数のデータファイル:\n"
    "  要約はファイルごとに「データファイル: 名前」で始まるブロックを空行で区切って\n"
    "  書きます。--json では 1 行に 1 つの JSON (JSON Lines) を書き、先頭に\n"
    "  \"file\" (ファイル名) を加えます。--pdf と --png は使えません。代わりに\n"
    "  --pdf-dir DIR と --png-dir DIR で、ファイルごとに DIR/名前.pdf と\n"
    "  DIR/名前.png を書きます (名前はデータファイル名から拡張子を除いたもの。\n"
    "  フォルダが無ければ作ります。1 つのファイルでも使えます)。\n"
    "  計算できないファイルは、そのファイルの名前の下 (--json では\n"
    "  {\"file\": 名前, \"refusal\": 理由} の行) と標準エラーに理由を書き、次の\n"
    "  ファイルに進みます。標準エラーの各行はファイル名で始まります。\n"
    "  --pdf-dir と --png-dir では、標準エラーが端末のとき、何番目のファイルを\n"
    "  処理中かを 1 行で表示します。\n"
    "\n"
    "スパン表 (--span-table):\n"
    "  プロジェクトの全ての入力 (所在地・風・積雪・荷重・接合方法・はね出し・\n"
    "  係数等の定義・計算方法) のまま、4 種類のデッキとスパン数 1〜4 (等スパン)\n"
    "  のそれぞれについて、全ての荷重ケースの検討が OK となる最長のスパンを\n"
    "  100 mm から --step MM 刻み (既定 10、1〜1000) で求めます。スパンの上限は\n"
    "  はね出しを含む全長がデッキ最大長さ以下となる長さです。デッキ自重は\n"
    "  表面処理 Z12・Z27 ではデッキの種類に従い、「他」では入力値のままです。\n"
    "  各欄には次の刻みで NG となる検討 (応力・たわみ・接合部、上限に達した\n"
    "  ときはデッキ長さ) を添え、プロジェクトのデッキとスパン数に * を付けます。\n"
    "  --json では {\"project\", \"step\", \"cells\": [{\"deck\", \"spanCount\",\n"
    "  \"span\" (OK となるスパンが無ければ null), \"stoppedBy\" (\"stress\",\n"
    "  \"deflection\", \"joint\", \"deckLength\"), \"isProject\"} × 16]} を、\n"
    "  --csv では見出し行 project,deck,spanCount,span,stoppedBy,isProject と\n"
    "  各欄の行を書きます。--pdf (または --pdf-dir) では A4 1 ページの\n"
    "  「スパン表」を PDF に書きます。\n"
    "\n"
    "デッキ比較 (--every-deck):\n"
    "  プロジェクトの他の入力のまま、カタログの全デッキ (KX-50-12 など) について\n"
    "  判定、最大の検定比とその検討、現在のデッキと OK となる最軽量のデッキを\n"
    "  書きます。デッキ自重は表面処理 Z12・Z27 ではデッキの種類に従い、「他」\n"
    "  では入力値のままです。--json ではデッキごとに 1 行、カタログの順に、\n"
    "  そのデッキを選んだプロジェクトの --json と同じ JSON に \"utilisation\"\n"
    "  ({\"stress\", \"deflection\", \"endJoint\", \"midJoint\", \"overhang\"\n"
    "  (各検討の最大の検定比、該当しない検討は null), \"governing\" (最大の\n"
    "  検討の名前)}) を加えて書きます。\n"
    "\n"
    "終了コード:\n"
    "  0  計算を実行した (判定が NG でも 0)\n"
    "  2  ファイルを読めない・変換できない、読込みが途中で止まった、入力チェックで\n"
    "     計算できない (理由を標準エラーに 1 行で書き、標準出力には何も書きません)、\n"
    "     出力ファイルを書けない、または引数の誤り。複数のファイルでは、1 つでも\n"
    "     計算できないファイルがあったとき。標準出力・標準エラーに書き込めな\n"
    "     かったとき (ディスクが一杯など) もその時点で止めて 2\n"
    "  1  内部エラー\n"
    "\n"
    "所在地データ:\n"
    "  --data-dir を省略すると、実行ファイルと同じフォルダの Load_data を使います。\n"
    "  無い場合はインストールした配置の ../share/tavilo/Load_data (実行ファイルの\n"
    "  フォルダから見て) を、それも無い場合は実行ファイルの親フォルダを順にたどり、\n"
    "  Data_Address.csv のある Load_data を使います。";

// The Japanese texts of CLI11's own words in the help.
void japaneseHelp(CLI::App& app) {
  const auto formatter = app.get_formatter();
  formatter->label("Usage", "使い方");
  formatter->label("OPTIONS", "オプション");
  formatter->label("Positionals", "引数");
  app.set_help_flag("-h,--help", "この説明を表示して終了する");
  app.set_version_flag("--version", std::string("tavilo-calc ") + TAVILO_VERSION,
                       "版数を表示して終了する");
}

// The option of ours that CLI11 names in its message, so that ours can name
// it too; nothing when the message names none.
const CLI::Option* namedOption(const CLI::App& app, std::string_view message) {
  for (const CLI::Option* option : app.get_options()) {
    for (const std::string& name : option->get_lnames()) {
      const std::string flag = "--" + name;
      const std::size_t at = message.find(flag);
      const std::size_t end = at + flag.size();
      if (at != std::string_view::npos &&
          (end == message.size() ||
           (message[end] != '-' && !std::isalnum(static_cast<unsigned char>(message[end])))))
        return option;
    }
  }
  return nullptr;
}

std::string optionName(const CLI::Option& option) {
  return option.get_name(false, true);
}

std::string joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words)
    text += (text.empty() ? "「" : "」「") + visibleName(word);
  return text.empty() ? text : text + "」";
}

// CLI11's message of a refused command line in the program's words.
std::string parseErrorText(const CLI::App* command, const CLI::Error& error) {
  const CLI::App& app = *command;
  std::string text;
  const CLI::Option* option = namedOption(app, error.what());
  if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
    text = "データファイル (.tvl) を指定して下さい。";
  } else if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
    text = "使えない引数です: " + joined(app.remaining()) + "。";
  } else if (option != nullptr && option->count() > 1) {
    text = optionName(*option) + " は 1 回だけ指定できます。";
  } else if (option != nullptr && option->get_expected_max() == 0) {
    text = optionName(*option) + " には値を付けられません。";
  } else if (option != nullptr) {
    text = optionName(*option) + " の値がありません。";
  } else {
    text = "引数が正しくありません。";
  }
  return text + "\n使い方は --help で表示します。\n";
}

// --step as plain decimal digits: "010" is 10, "0x10" and "1e3" are no step.
std::optional<int> stepFrom(const std::string& text) {
  if (text.empty()) {
    std::cerr << "--step の値が空です。" << spanStepAdvice() << '\n';
    return std::nullopt;
  }
  const bool digits =
      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  const std::size_t first = text.find_first_not_of('0');
  const std::string_view significant =
      first == std::string::npos ? std::string_view("0") : std::string_view(text).substr(first);
  if (!digits || significant.size() > 4) {
    std::cerr << "--step " << visibleName(text) << ": " << spanStepAdvice() << '\n';
    return std::nullopt;
  }
  return std::stoi(std::string(significant));
}

}  // namespace

BatchArguments parseBatchArguments(int argc, char** argv) {
  CLI::App app{kDescription, "tavilo-calc"};
  app.footer(kFooter);
  app.option_defaults()->group("オプション");
  japaneseHelp(app);
  app.failure_message(parseErrorText);
  // On Windows too an option starts with "-" or "--": a leading "/" is a
  // (root-relative) path, as on every other system.
  app.allow_windows_style_options(false);
  std::vector<std::string> projects;
  std::string dataDir;
  bool json = false;
  bool csv = false;
  bool spanTable = false;
  bool everyDeck = false;
  std::string step;
  std::string pdf;
  std::string png;
  std::string pdfDir;
  std::string pngDir;
  app.add_option("PROJECT", projects, "計算するプロジェクトファイル (.tvl)。複数指定できます")
      ->required()
      ->option_text("...");
  const CLI::Option* dataDirOption =
      app.add_option("--data-dir", dataDir,
                     "所在地データ (Data_Address.csv, Data_SnowfallV.csv) のフォルダ")
          ->option_text("DIR");
  app.add_flag("--json", json, "要約の代わりに計算の全内容 (またはスパン表) を JSON で出力する");
  const CLI::Option* pdfOption =
      app.add_option("--pdf", pdf,
                     "印刷用の計算書 (A4 縦、--span-table ではスパン表) を書く PDF ファイル")
          ->option_text("FILE");
  const CLI::Option* pngOption =
      app.add_option("--png", png, "計算結果画面のイメージを書く PNG ファイル")
          ->option_text("FILE");
  const CLI::Option* pdfDirOption =
      app.add_option("--pdf-dir", pdfDir, "データファイルごとの PDF (名前.pdf) を書くフォルダ")
          ->option_text("DIR");
  const CLI::Option* pngDirOption =
      app.add_option("--png-dir", pngDir, "データファイルごとの PNG (名前.png) を書くフォルダ")
          ->option_text("DIR");
  app.add_flag("--span-table", spanTable,
               "計算の代わりにスパン表 (デッキ 4 種類 × スパン数 1〜4 の最長スパン) を出力する");
  const CLI::Option* stepOption =
      app.add_option("--step", step, "スパン表のスパンの刻み (mm、既定 10、1〜1000)")
          ->option_text("MM");
  app.add_flag("--csv", csv, "スパン表を CSV で出力する");
  app.add_flag("--every-deck", everyDeck,
               "計算の代わりに、カタログの全デッキについて判定と最大検定比を比べる");
  // Arguments are UTF-8 on every system (on Windows read from the wide
  // command line, not the ANSI code page).
  std::vector<std::string> arguments = platform::commandLineArguments(argc, argv);
  std::vector<char*> argumentPointers;
  for (std::string& argument : arguments)
    argumentPointers.push_back(argument.data());
  try {
    app.parse(static_cast<int>(argumentPointers.size()), argumentPointers.data());
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return {{}, status == 0 ? 0 : kBatchRefused};
  }

  BatchArguments parsed;
  BatchOptions& options = parsed.options;
  for (const std::string& project : projects)
    options.projects.push_back(pathFromUtf8(project));
  options.json = json;
  options.csv = csv;
  options.spanTable = spanTable;
  options.everyDeck = everyDeck;
  // An option given with an empty name is refused by the command, not ignored.
  if (dataDirOption->count() > 0)
    options.dataDir = pathFromUtf8(dataDir);
  if (pdfOption->count() > 0)
    options.pdf = pathFromUtf8(pdf);
  if (pngOption->count() > 0)
    options.png = pathFromUtf8(png);
  if (pdfDirOption->count() > 0)
    options.pdfDir = pathFromUtf8(pdfDir);
  if (pngDirOption->count() > 0)
    options.pngDir = pathFromUtf8(pngDir);
  if (stepOption->count() > 0) {
    options.step = stepFrom(step);
    if (!options.step)
      parsed.exitStatus = kBatchRefused;
  }
  return parsed;
}

}  // namespace tavilo
