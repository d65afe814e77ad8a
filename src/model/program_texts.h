#pragma once
// The fixed texts of the program's auxiliary windows, shared by the desktop
// windows and the web page: the terms-of-use notice, the titles of the
// overview and fire-resistance windows and the busy panel's captions.

#include <array>
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

inline constexpr std::string_view kBusyCalculating = "　計算中 ・・・";
inline constexpr std::string_view kBusyPrinting = "　印刷中 ・・・";

}  // namespace tavilo
