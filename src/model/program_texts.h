#pragma once
// The fixed texts of the program's windows and dialogs, shared by the
// desktop windows and the web page: the terms-of-use notice, the titles of
// the overview and fire-resistance windows, the busy panel's captions, the
// words of the settings and print-settings dialogs, the commands of the
// result and span-table windows and the messages the windows give. A "%1"
// stands for the value the window fills in.

#include <array>
#include <string>
#include <string_view>

namespace tavilo {

inline constexpr std::string_view kApplicationTitle = "Tavilo for win";
inline constexpr std::string_view kMakerName = "Morenta";

inline constexpr std::string_view kNoticeCaption = "ご確認下さい";
inline constexpr std::string_view kNoticeHeading = "「Tavilo for win」のご利用について";
inline constexpr std::string_view kNoticeConfirm = "確　認";
// The lines of the notice; the last one stands at the right.
inline constexpr std::array<std::string_view, 15> kNoticeLines = {
    "本ソフトウェアのご使用にあたり、下記事項についてご了承下さい。",
    "ご了承頂けない場合は、本ソフトウェアのご利用を中止願います。",
    "",
    "□著作権等",
    " 本ソフトウェアの著作権はMorentaに帰属します。",
    " プログラムは改変せず、そのままご利用下さい。",
    "",
    "□免責事項",
    " 本プログラムの使用にあたっては、使用者自身の責任の下に行ってください。",
    " 本プログラムの使用によるいかなる損害に対しても、作者は一切の責任を",
    " 負いかねます。",
    " 本プログラムの内容に不都合・不具合が生じた場合、または作者が必要と",
    " 認めた場合、その修正・改訂のためのプログラムの訂正を行います。",
    " ただし、作者はプログラム訂正の義務を負うものではありません。",
    "以上",
};

inline constexpr std::string_view kOverviewCaption = "概　　要　[ Tavilo屋根計算プログラム ]";
inline constexpr std::string_view kOverviewDocument = "Tvl_general.md";
// The overview's button that opens the verification document (検証資料).
inline constexpr std::string_view kVerificationButton = "検証資料を開く (PDF)";
inline constexpr std::string_view kVerificationHint =
    "各計算式を公式・告示の計算例・手計算と照合した資料（A4）を開きます";
// The overview's line of the program's version (%1, "5.4").
inline constexpr std::string_view kOverviewVersion = "バージョン %1";
inline constexpr std::string_view kFireResistanceCaption = "耐火仕様";
inline constexpr std::string_view kResultCaption = "Tavilo for Win [計算結果の表示]";

// Asked before inputs that were not saved are replaced or left.
inline constexpr std::string_view kUnsavedQuestion =
    "入力内容が保存されていません。\n保存しますか？";
inline constexpr std::array<std::string_view, 3> kUnsavedAnswers = {"保存", "保存しない",
                                                                    "キャンセル"};

// When a project handed to the page by the Windows launcher (tavilo.exe) did
// not arrive; %1 stands for the file's name.
inline constexpr std::string_view kHandedProjectTooLarge =
    "データファイル「%1」は大きすぎるため、そのままでは開けません。\nデータ読込で開いて下さい。";
inline constexpr std::string_view kHandedProjectUnreadable =
    "データファイル「%1」を読み込めませんでした。\nデータ読込で開いて下さい。";

// The splash panel while the program starts: the product, "ver." before the
// version, and what it is doing.
inline constexpr std::string_view kSplashProduct = "Tavilo  for win";
inline constexpr std::string_view kSplashVersionPrefix = "ver.";
inline constexpr std::string_view kSplashStarting = "プログラムを起動中です ・・・";

inline constexpr std::string_view kBusyCalculating = "　計算中 ・・・";
inline constexpr std::string_view kBusyPrinting = "　印刷中 ・・・";

// "係数等の定義"
inline constexpr std::string_view kSettingsMethodTitle = "計算の方法";
inline constexpr std::string_view kSettingsRatioTitle = " 荷重の比率 ";
// The two sets of ratios as the dialog titles them (kRatioSetNames in messages).
inline constexpr std::array<std::string_view, 2> kRatioSetTitles = {" 一般の場合 ",
                                                                    " 多 雪 区 域 "};
inline constexpr std::string_view kRatioPlus = " ＋";
inline constexpr std::string_view kRatioLegend = "Ｇ:固定荷重/Ｐ:積載荷重/Ｓ:積雪荷重/Ｗ:風荷重";
inline constexpr std::string_view kMillimetres = "mm";
inline constexpr std::array<std::string_view, 2> kSettingsNotes = {"積載荷重Ｐは入力不可",
                                                                   "Ｇと同値"};

// "印刷用設定"
inline constexpr std::string_view kPrintSettingsCaption = "印刷用設定";
inline constexpr std::string_view kProjectNameTitle = "物件名";
inline constexpr std::string_view kProjectNameLengthNote = " [文字数は全角半角共に%1以下]";
inline constexpr std::string_view kProjectNameHint = "計算書の表題を記述します";
inline constexpr std::string_view kProjectNameEmptyNote =
    "物件名が不要な場合、何も入力しないで下さい。";
inline constexpr std::string_view kPageNumberTitle = "ページ番号表示/位置";
// The hint of the "無し" button, then that of every position.
inline constexpr std::array<std::string_view, 2> kPageNumberHints = {"ページ番号の記述無し",
                                                                     "ページ番号位置"};
inline constexpr std::string_view kPositionCancelNote = "ページ表示位置のキャンセルは無効です。";
inline constexpr std::string_view kNumberGroupTitle = "表示内容";
inline constexpr std::string_view kNumberStyleCaption = "番号書式";
inline constexpr std::string_view kStartNumberCaption = "開始番号";
inline constexpr std::string_view kStartNumberHint = "1以上の整数を入力します。";

// A command button with its hint.
struct Command {
  std::string_view caption;
  std::string_view hint;
};
inline constexpr Command kPrintSettingsConfirm{"    設　定", "設定終了"};
inline constexpr Command kPrintSettingsCancel{" キャンセル", "設定を破棄します"};

// The result window "Tavilo for Win [計算結果の表示]" and the span table window.
inline constexpr Command kPrintCommand{"印刷", "用紙をA4 縦に設定して下さい"};
inline constexpr Command kPrintSettingsCommand{"印刷の設定", "件名・ページの設定"};
inline constexpr Command kReportPreviewCommand{"プレビュー", "印刷される計算書を画面で確認します"};
inline constexpr Command kReportPdfCommand{"PDF保存", "計算書をPDFファイルに保存します"};
inline constexpr Command kSpanTableCommand{"スパン表",
                                           "デッキ・スパン数ごとの最長スパンを表示します"};
inline constexpr Command kCloseResultCommand{"閉じる", "条件入力へ戻る"};
inline constexpr std::string_view kSpanTableCaption = "Tavilo for Win [スパン表]";
inline constexpr std::string_view kSpanTableName = "スパン表";
inline constexpr Command kSpanTablePreviewCommand{"プレビュー",
                                                  "印刷されるスパン表を画面で確認します"};
inline constexpr Command kSpanTablePdfCommand{"PDF保存", "スパン表をPDFファイルに保存します"};
inline constexpr Command kCloseSpanTableCommand{"閉じる", "計算結果の表示へ戻る"};
// The stem of a report's PDF before the project has a file.
inline constexpr std::string_view kReportPdfStem = "計算書";

// Messages of the windows.
inline constexpr std::string_view kSpanTableFailure = "スパン表を作成できません。";
inline constexpr std::string_view kOverviewMissing = "概要の文書「%1」が見つかりません。";
inline constexpr std::string_view kOverviewUnreadable = "概要の文書「%1」を読み込めません。";
inline constexpr std::string_view kPictureUnreadable = "画像ファイル「%1」を開けません。";
inline constexpr std::string_view kVerificationMissing = "検証資料「%1」が見つかりません。";
inline constexpr std::string_view kVerificationNoViewer =
    "検証資料「%1」を開くプログラムがありません。";

// The titles of the file dialogs.
inline constexpr std::string_view kOpenProjectTitle = "データ読込";
inline constexpr std::string_view kSaveProjectTitle = "データ保存";
inline constexpr std::string_view kSavePdfTitle = "PDF保存";
// When the printer reports an error after the pages were sent.
inline constexpr std::string_view kPrinterFailed =
    "プリンタでの印刷に失敗しました。プリンタの状態を確認して下さい。";

// File types of the save dialogs.
inline constexpr std::string_view kProjectFileType = "データファイル";
inline constexpr std::string_view kAllFilesType = "全てのファイル";
inline constexpr std::string_view kPdfFileType = "PDFファイル";

// The web page's own words: its buttons without a caption, and the choice of
// an office's own location tables kept in the browser.
inline constexpr std::string_view kMessageConfirm = "OK";
inline constexpr std::string_view kCloseBox = "閉じる";
inline constexpr std::array<std::string_view, 2> kSpinArrows = {"増やす", "減らす"};
inline constexpr std::string_view kOwnTableChoice = "所在地データは %1 を選択して下さい。";
inline constexpr std::string_view kOwnTableSeparator = " または ";
inline constexpr std::string_view kOwnTablesInUse = "使用中: %1 (ブラウザに保存)";
inline constexpr std::string_view kShippedTablesInUse = "使用中: 標準の所在地データ";
// Between the names of several own tables in use, and of several pictures
// that cannot be opened ("画像ファイル「a」「b」を開けません。").
inline constexpr std::string_view kOwnTableNameSeparator = ", ";
inline constexpr std::string_view kPictureNameSeparator = "」「";
// The glyphs of the close box and of a spin field's arrows (up, down).
inline constexpr std::string_view kCloseBoxGlyph = "×";
inline constexpr std::array<std::string_view, 2> kSpinArrowGlyphs = {"▲", "▼"};

// The browser's own situations: the report fonts and the PDF library fetched
// from the server, the location tables served beside the page or kept in the
// browser, the draft of unsaved inputs, a new version of the page's files and
// the print preview (its caption also the desktop's). "%1" and "%2" stand for
// the values in their order.
// The busy panel once the verdict stands (%1) and the report fonts are late.
inline constexpr std::string_view kPreparingReport = "%1\n計算書を準備しています…";
inline constexpr std::string_view kReportFontsFailed =
    "計算書のフォントをサーバーから読み込めませんでした。"
    "サーバーに接続できるか確かめてから、もう一度 計　算 を押して下さい。";
inline constexpr std::string_view kPdfLibraryFailed =
    "PDF保存に必要なファイル「%1」を読み込めませんでした。サーバーに接続できるか確かめて下さい。";
// %2: kHttpStatusNote with the server's answer, or nothing without one.
inline constexpr std::string_view kTableNotServed =
    "所在地データ「%1」をサーバーから読み込めませんでした%2。"
    "配布されたフォルダーの Load_data がサーバーにあるか確かめて下さい。";
inline constexpr std::string_view kHttpStatusNote = " (HTTP %1)";
// %2: the file's size in megabytes, one decimal.
inline constexpr std::string_view kTableTooLarge =
    "所在地データ「%1」(%2 MB) はこのブラウザーに保存できる大きさを超えています。"
    "所在地データは変更されていません。";
inline constexpr std::string_view kDraftOffer =
    "前回の入力内容が保存されずに残っています。復元しますか?";
inline constexpr std::array<std::string_view, 2> kDraftAnswers = {"復元する", "破棄する"};
inline constexpr std::string_view kNewVersionNote =
    "新しい版のTavilo屋根計算プログラムに更新されました。";
inline constexpr std::string_view kPreviewCaption = "印刷プレビュー";
inline constexpr std::string_view kPreviewClose = "閉じる";

// A text with "%1" replaced by a value.
inline std::string filledIn(std::string_view text, std::string_view value) {
  std::string out(text);
  if (const std::size_t at = out.find("%1"); at != std::string::npos)
    out.replace(at, 2, value);
  return out;
}

}  // namespace tavilo
