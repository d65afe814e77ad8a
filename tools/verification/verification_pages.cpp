#include "verification_pages.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

#include "report/report_style.h"

namespace tavilo::verification {
namespace {

constexpr int kTitleSize = 18;
constexpr int kHeadingSize = 12;
constexpr int kCaseSize = 9;
constexpr int kBodySize = 8;
constexpr double kLeftMm = 8;      // left edge of the text column
constexpr double kWidthMm = 184;   // width of the text column and the tables
constexpr double kTopMm = 14;      // first line below the running head
constexpr double kBottomMm = 272;  // no row reaches below this
constexpr double kLinePitchMm = 3.8;
constexpr double kCellPadMm = 0.8;
constexpr ReportColor kHeaderFill{225, 232, 238};
constexpr ReportColor kRuleColor{120, 120, 120};

struct Column {
  const char* caption;
  double widthMm;
  bool right;  // numbers stand at the right of their cell
};
constexpr std::array<Column, 7> kColumns = {{{"項目", 42, false},
                                             {"参照値の求め方", 56, false},
                                             {"参照値", 25, true},
                                             {"Tavilo", 25, true},
                                             {"単位", 13, false},
                                             {"相対差", 14, true},
                                             {"一致", 9, false}}};

// Characters that never begin a line (Japanese line breaking).
bool opensNoLine(std::string_view rest) {
  for (const std::string_view mark : {"。", "、", "）", "」", "・", "，", ")", ",", "."}) {
    if (rest.starts_with(mark))
      return true;
  }
  return false;
}

bool inWord(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u < 0x80 &&
         (std::isalnum(u) != 0 || std::string_view("._/-+=^").find(c) != std::string_view::npos);
}

std::size_t nextCharacter(std::string_view text, std::size_t at) {
  std::size_t next = at + 1;
  while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80)
    ++next;
  return next;
}

std::size_t previousCharacter(std::string_view text, std::size_t at) {
  std::size_t previous = at - 1;
  while (previous > 0 && (static_cast<unsigned char>(text[previous]) & 0xC0) == 0x80)
    --previous;
  return previous;
}

// The text cut into lines no wider than maxWidth, between any two
// characters, never before a closing mark.
std::vector<std::string> wrapLines(const ReportCanvas& canvas, std::string_view text,
                                   int maxWidth) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    std::size_t fits = nextCharacter(text, 0);
    while (fits < text.size() &&
           canvas.textWidth(text.substr(0, nextCharacter(text, fits))) <= maxWidth)
      fits = nextCharacter(text, fits);
    // A closing mark pulls the character before it onto the next line.
    const std::size_t first = nextCharacter(text, 0);
    while (fits > first && fits < text.size() && opensNoLine(text.substr(fits)))
      fits = previousCharacter(text, fits);
    // A number, a file name or a formula in ASCII stays whole where it can.
    if (fits < text.size() && inWord(text[fits]) && inWord(text[fits - 1])) {
      std::size_t start = fits - 1;
      while (start > 0 && inWord(text[start - 1]))
        --start;
      if (start > 0)
        fits = start;
    }
    lines.emplace_back(text.substr(0, fits));
    text.remove_prefix(fits);
  }
  return lines;
}

std::string withoutBlanks(std::string_view text) {
  for (bool trimmed = true; trimmed;) {
    trimmed = false;
    for (const std::string_view blank : {" ", "　"}) {
      if (text.starts_with(blank)) {
        text.remove_prefix(blank.size());
        trimmed = true;
      }
      if (text.ends_with(blank)) {
        text.remove_suffix(blank.size());
        trimmed = true;
      }
    }
  }
  return std::string(text);
}

class Pages {
 public:
  Pages(ReportCanvas& canvas, const Document& document) : canvas_(canvas), document_(document) {}

  void draw() {
    canvas_.setFontFace(kReportFace);
    canvas_.setFontColor(kTextColor);
    canvas_.setPenColor(kTextColor);
    canvas_.setPenWidth(canvas_.finePenWidth(3));
    firstPage();
    for (const Section& section : document_.sections)
      drawSection(section);
    canvas_.lastPage = true;
    canvas_.endPage();
  }

 private:
  int px(double mm) const { return canvas_.mmToPx(mm); }
  int x(double mm) const { return px(kLeftMm + mm); }

  void font(int size, bool bold = false) {
    canvas_.setFontSize(size);
    canvas_.setBold(bold);
  }

  void runningHead() {
    font(7);
    const std::string head = std::string(kDocumentTitle) + "　Tavilo " + document_.version;
    canvas_.writeAt(x(kWidthMm) - canvas_.textWidth(head), px(6), head);
    canvas_.setPenColor(kRuleColor);
    canvas_.drawLine(x(0), px(10), x(kWidthMm), px(10));
    canvas_.setPenColor(kTextColor);
    yMm_ = kTopMm;
  }

  void newPage() {
    canvas_.endPage();
    runningHead();
  }

  // Room for `heightMm` more on this page, else a new page.
  bool ensureRoom(double heightMm) {
    if (yMm_ + heightMm <= kBottomMm)
      return false;
    newPage();
    return true;
  }

  void paragraph(const std::string& text, int size, double indentMm = 0, bool bold = false) {
    font(size, bold);
    const double pitch = size * 0.3528 * 1.45;
    for (const std::string& line : wrapLines(canvas_, text, px(kWidthMm - indentMm))) {
      ensureRoom(pitch);
      canvas_.writeAt(x(indentMm), px(yMm_), line);
      yMm_ += pitch;
    }
  }

  // ---- First page
  void firstPage() {
    canvas_.setPenWidth(canvas_.finePenWidth(3));
    yMm_ = 16;
    font(kTitleSize, true);
    canvas_.writeAt(x(0), px(yMm_), kDocumentTitle);
    yMm_ += 10;
    font(10);
    canvas_.writeAt(x(0), px(yMm_),
                    "デッキプレート構造計算プログラム　バージョン " + document_.version);
    yMm_ += 6;
    canvas_.setPenWidth(canvas_.finePenWidth(8));
    canvas_.drawLine(x(0), px(yMm_), x(kWidthMm), px(yMm_));
    canvas_.setPenWidth(canvas_.finePenWidth(3));
    yMm_ += 6;
    for (const std::string& text : purposeParagraphs(document_)) {
      if (text.starts_with("■")) {
        yMm_ += 2;
        paragraph(text, 10, 0, true);
        yMm_ += 1;
      } else {
        paragraph(text, 9, 4);
      }
    }
    yMm_ += 4;
    paragraph("■ 要約", 10, 0, true);
    yMm_ += 1;
    font(9);
    const double top = yMm_;
    for (const auto& [label, value] : summaryLines(document_)) {
      canvas_.writeAt(x(6), px(yMm_ + 1), label);
      canvas_.writeAt(x(70), px(yMm_ + 1), value);
      yMm_ += 6;
      canvas_.setPenColor(kRuleColor);
      canvas_.drawLine(x(4), px(yMm_), x(150), px(yMm_));
      canvas_.setPenColor(kTextColor);
    }
    canvas_.drawLine(x(4), px(top), x(150), px(top));
    canvas_.drawLine(x(66), px(top), x(66), px(yMm_));
    newPage();
  }

  // ---- Sections
  void drawSection(const Section& section) {
    ensureRoom(40);
    yMm_ += 2;
    font(kHeadingSize, true);
    canvas_.writeAt(x(0), px(yMm_), section.heading);
    yMm_ += 7;
    paragraph(section.introduction, kBodySize + 1);
    yMm_ += 2;
    for (const Case& c : section.cases)
      drawCase(c);
  }

  void drawCase(const Case& c) {
    // The title, the source, the notes and the first rows stay together.
    ensureRoom(24 + kLinePitchMm * static_cast<double>(c.notes.size()));
    yMm_ += 2;
    paragraph("□ " + c.title, kCaseSize, 0, true);
    paragraph("根拠: " + c.source, kBodySize, 4);
    for (const std::string& note : c.notes)
      paragraph(note, kBodySize, 4);
    yMm_ += 1;
    tableHeader();
    for (const Row& row : c.rows)
      drawRow(row);
    yMm_ += 2;
  }

  void tableHeader() {
    const double height = kLinePitchMm + 2 * kCellPadMm;
    ensureRoom(height + kLinePitchMm * 2);
    canvas_.fillRect(x(0), px(yMm_), x(kWidthMm), px(yMm_ + height), kHeaderFill);
    font(kBodySize, true);
    double left = 0;
    for (const Column& column : kColumns) {
      cell(column, left, yMm_ + kCellPadMm, column.caption);
      left += column.widthMm;
    }
    rules(yMm_, yMm_ + height);
    canvas_.drawLine(x(0), px(yMm_), x(kWidthMm), px(yMm_));
    yMm_ += height;
    canvas_.drawLine(x(0), px(yMm_), x(kWidthMm), px(yMm_));
  }

  // The text of one cell at the top of its row, left or right in the cell.
  void cell(const Column& column, double leftMm, double topMm, const std::string& text) {
    const int width = canvas_.textWidth(text);
    const int at =
        column.right ? x(leftMm + column.widthMm - kCellPadMm) - width : x(leftMm + kCellPadMm);
    canvas_.writeAt(at, px(topMm), text);
  }

  // The column rules between top and bottom.
  void rules(double topMm, double bottomMm) {
    double left = 0;
    canvas_.drawLine(x(0), px(topMm), x(0), px(bottomMm));
    for (const Column& column : kColumns) {
      left += column.widthMm;
      canvas_.drawLine(x(left), px(topMm), x(left), px(bottomMm));
    }
  }

  void drawRow(const Row& row) {
    font(kBodySize);
    // The verdict texts carry the report's blank padding, which a narrow
    // cell would only break on; the Markdown keeps them whole.
    const std::array<std::string, 7> texts = {
        row.item, row.method,          withoutBlanks(row.reference), withoutBlanks(row.program),
        row.unit, differenceText(row), row.agrees ? "○" : "×"};
    std::array<std::vector<std::string>, 7> lines;
    std::size_t count = 1;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      lines[i] = wrapLines(canvas_, texts[i], px(kColumns[i].widthMm - 2 * kCellPadMm));
      count = std::max(count, lines[i].size());
    }
    const double height = kLinePitchMm * static_cast<double>(count) + 2 * kCellPadMm;
    if (ensureRoom(height))
      tableHeader();
    font(kBodySize);
    double left = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      double lineTop = yMm_ + kCellPadMm;
      for (const std::string& line : lines[i]) {
        cell(kColumns[i], left, lineTop, line);
        lineTop += kLinePitchMm;
      }
      left += kColumns[i].widthMm;
    }
    rules(yMm_, yMm_ + height);
    yMm_ += height;
    canvas_.setPenColor(kRuleColor);
    canvas_.drawLine(x(0), px(yMm_), x(kWidthMm), px(yMm_));
    canvas_.setPenColor(kTextColor);
  }

  ReportCanvas& canvas_;
  const Document& document_;
  double yMm_ = 0;
};

std::string differenceSummary(double d) {
  if (d == 0)
    return "0";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1e", d);
  return d < 1e-12 ? "1e-12 未満" : buffer;
}

}  // namespace

std::vector<std::string> purposeParagraphs(const Document& document) {
  return {
      "■ この資料について",
      "計算書に署名する技術者と、それを審査する確認検査機関の審査者のために、Tavilo "
      "の計算結果を、プログラムとは独立に求めた値と一行ずつ比べたものです。",
      "■ 確かめたこと",
      "1. 告示による荷重: 風荷重（速度圧 q、Er、Gpe、ピーク風力係数、屋根とはね出し部の "
      "Ww+・Ww−）、積雪荷重（μb、割り増し係数 α、標高・海率による積雪量、Ws）。告示の計算例と、"
      "地表面粗度区分Ⅰ～Ⅳ・屋根の種類と形状・建物の形状・一般地域と多雪区域・α が 1.00 "
      "ちょうどの各分岐を通る敷地。",
      "2. 連続梁: 単純梁、2・3等スパン、片持ちはね出し、不等スパン（三連モーメント式）と、"
      "等スパンの計算例。",
      "3. 検定: 曲げ応力度（長期・短期）、たわみ、接合部、はね出し部を、限界ちょうどと1段手前で。",
      "4. 丸め: 計算と計算書の切捨て・切上げ・0方向切捨て・四捨五入を境目の例で。",
      "5. 見本データ一件を入力から判定まで手で追い、計算書の値と並べる。",
      "■ 方法",
      "参照値は (1) 教科書の公式を本資料の生成プログラム自身の数行で評価した値、(2) "
      "計算例に印刷された値、(3) 手計算の手順を書き出した値のいずれかです。Tavilo "
      "の値は、プログラムが使う関数そのもの（荷重の導出、連続梁の計算核、検定、丸め、"
      "計算書の書式）から得ており、書き写した値はありません。",
      "許容差: 公式は相対 1e-9（プログラムと同じ 5mm 間隔の点、同じ丸めで）、計算例は印刷された"
      "桁まで一致、判定と文字列は完全一致。",
      "本資料はこの版（" + document.version +
          "）のテスト（ctest）が毎回生成し直します。いずれかの行が許容差を超えるか、値が"
          "リポジトリに収めた docs/verification.md と一つでも異なれば、テストは失敗します。"
          "公式をわざと誤らせる（δ=5wL⁴/384EI の 384 を 385 に）とテストが失敗することも、"
          "テストで確かめています。",
  };
}

std::vector<std::pair<std::string, std::string>> summaryLines(const Document& document) {
  const Summary s = document.summary();
  return {
      {"バージョン", "Tavilo " + document.version},
      {"比較した行", std::to_string(s.rows) + " 行（数値 " + std::to_string(s.numericRows) +
                         "、判定 " + std::to_string(s.verdictRows) + "、文字列 " +
                         std::to_string(s.rows - s.numericRows - s.verdictRows) + "）"},
      {"最大の相対差（数値の行）", differenceSummary(s.largestRelativeDifference)},
      {"許容差を超えた行", std::to_string(s.disagreeing) + " 行"},
      {"判定の一致", s.disagreeingVerdicts == 0
                         ? "全ての判定が一致（" + std::to_string(s.verdictRows) + " 件）"
                         : std::to_string(s.disagreeingVerdicts) + " 件が不一致"},
  };
}

void drawVerificationPages(ReportCanvas& canvas, const Document& document) {
  Pages(canvas, document).draw();
}

}  // namespace tavilo::verification
