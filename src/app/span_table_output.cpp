#include "app/span_table_output.h"

#include <cstddef>
#include <sstream>

#include "calc/errors.h"
#include "calc/numbers.h"
#include "platform/utf8_path.h"
#include "text/utf8.h"

namespace tavilo {
namespace {

constexpr int kDeckColumnWidth = 24;
constexpr int kCellColumnWidth = 20;

// Columns a text takes on a terminal: one for ASCII and half-width kana,
// two for the other (full-width) characters; one for a malformed byte.
int displayWidth(const std::string& text) {
  int width = 0;
  for (std::size_t at = 0; at < text.size(); at += utf8StepAt(text, at)) {
    const auto character = decodeUtf8At(text, at);
    const char32_t code = character ? character->code : 0;
    const bool narrow = code < 0x1100 || (code >= 0xFF61 && code <= 0xFF9F);
    width += narrow ? 1 : 2;
  }
  return width;
}

std::string padded(const std::string& text, int width) {
  const int missing = width - displayWidth(text);
  return text + std::string(static_cast<std::size_t>(missing > 0 ? missing : 1), ' ');
}

std::string spanCountName(int count) {
  return count == 1 ? "単純梁" : std::to_string(count) + "連続梁";
}

std::string overhangText(const DesignConditions& c) {
  if (c.leftOverhang <= 0 && c.rightOverhang <= 0)
    return "はね出し無し";
  return "はね出し 左 " + shortestDecimal(c.leftOverhang) + " mm / 右 " +
         shortestDecimal(c.rightOverhang) + " mm";
}

// A field quoted when it holds a comma, a quote or a line break.
std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos)
    return text;
  std::string quoted = "\"";
  for (const char c : text)
    quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

std::string spanCellText(const SpanTableCell& cell) {
  std::string text = cell.isProject ? "*" : "";
  text += cell.span ? groupedInteger(*cell.span) + " mm" : "なし";
  if (cell.stoppedBy)
    text += " " + std::string(spanLimitName(*cell.stoppedBy));
  return text;
}

std::string spanTableText(const SpanTable& table, const std::filesystem::path& project) {
  const DesignConditions& c = table.conditions;
  std::ostringstream text;
  text << "データファイル: " << visibleName(utf8FromPath(project)) << '\n';
  text << "スパン表: 等スパンで全ての荷重ケースの検討が OK となる最長のスパン ("
       << kSpanTableFirstSpan << " mm から " << table.step << " mm 刻み)\n";
  text << "デッキ最大長さ " << groupedInteger(table.settings.maxDeckLength)
       << " mm (はね出しを含む)、" << overhangText(c) << '\n';
  text << padded("デッキ (単位重量)", kDeckColumnWidth);
  for (int count = 1; count <= kSpanTableSpanCounts; ++count) {
    const std::string name = spanCountName(count);
    text << (count < kSpanTableSpanCounts ? padded(name, kCellColumnWidth) : name);
  }
  text << '\n';
  for (const SpanTableDeck& deck : table.decks) {
    text << padded(deck.name + " (" + shortestDecimal(deck.unitWeight) + " N/m²)",
                   kDeckColumnWidth);
    for (int count = 1; count <= kSpanTableSpanCounts; ++count) {
      const std::string cell = spanCellText(table.cell(deck.deckType, count));
      text << (count < kSpanTableSpanCounts ? padded(cell, kCellColumnWidth) : cell);
    }
    text << '\n';
  }
  text << "* プロジェクトのデッキとスパン数。スパンの後は次の刻みで NG となる検討"
          " (デッキ長さ: 次の刻みでデッキ最大長さを超える)。\n";
  return text.str();
}

Json spanTableJson(const SpanTable& table, const std::filesystem::path& project) {
  Json cells = Json::array();
  for (const SpanTableCell& cell : table.cells) {
    cells.push_back({
        {"deck", cell.deckName},
        {"spanCount", cell.spanCount},
        {"span", cell.span ? Json(*cell.span) : Json(nullptr)},
        {"stoppedBy",
         cell.stoppedBy ? Json(std::string(spanLimitKey(*cell.stoppedBy))) : Json(nullptr)},
        {"isProject", cell.isProject},
    });
  }
  return {{"project", utf8FromPath(project)}, {"step", table.step}, {"cells", std::move(cells)}};
}

std::string spanTableCsv(const SpanTable& table, const std::filesystem::path& project) {
  const std::string file = csvField(utf8FromPath(project));
  std::ostringstream csv;
  for (const SpanTableCell& cell : table.cells) {
    csv << file << ',' << cell.deckName << ',' << cell.spanCount << ','
        << (cell.span ? std::to_string(*cell.span) : "") << ','
        << (cell.stoppedBy ? std::string(spanLimitKey(*cell.stoppedBy)) : "") << ','
        << (cell.isProject ? "true" : "false") << '\n';
  }
  return csv.str();
}

}  // namespace tavilo
