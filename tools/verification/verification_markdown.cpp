// The Markdown twin of the pages and the document's assembly.

#include <sstream>
#include <string>

#include "verification_cases.h"
#include "verification_document.h"
#include "verification_pages.h"

namespace tavilo::verification {
namespace {

// A table cell: "|" would end it, a line break would end the table.
std::string cellText(const std::string& text) {
  std::string out;
  for (const char ch : text) {
    if (ch == '|')
      out += "\\|";
    else if (ch == '\n')
      out += ' ';
    else
      out += ch;
  }
  return out.empty() ? " " : out;
}

}  // namespace

Document buildDocument(const std::string& version, const std::filesystem::path& sourceDir) {
  Document d;
  d.version = version;
  d.sections = {loadSection(), beamSection(), checkSection(), roundingSection(),
                projectSection(sourceDir)};
  return d;
}

std::string markdownOf(const Document& document) {
  std::ostringstream out;
  out << "# " << kDocumentTitle << "\n\n";
  out << "デッキプレート構造計算プログラム　バージョン " << document.version << "\n\n";
  out << "<!-- tavilo-verification が書き出す文書。手で編集しないこと。 -->\n\n";
  for (const std::string& text : purposeParagraphs(document)) {
    if (text.starts_with("■"))
      out << "## " << text.substr(std::string("■ ").size()) << "\n\n";
    else
      out << text << "\n\n";
  }
  out << "## 要約\n\n| 項目 | 値 |\n|---|---|\n";
  for (const auto& [label, value] : summaryLines(document))
    out << "| " << cellText(label) << " | " << cellText(value) << " |\n";
  for (const Section& section : document.sections) {
    out << "\n## " << section.heading << "\n\n" << section.introduction << "\n";
    for (const Case& c : section.cases) {
      out << "\n### " << c.title << "\n\n根拠: " << c.source << "\n\n";
      for (const std::string& note : c.notes)
        out << "- " << note << "\n";
      if (!c.notes.empty())
        out << "\n";
      out << "| 項目 | 参照値の求め方 | 参照値 | Tavilo | 単位 | 相対差 | 一致 |\n"
          << "|---|---|--:|--:|---|--:|:-:|\n";
      for (const Row& row : c.rows) {
        out << "| " << cellText(row.item) << " | " << cellText(row.method) << " | `"
            << row.reference << "` | `" << row.program << "` | " << cellText(row.unit) << " | "
            << differenceText(row) << " | " << (row.agrees ? "○" : "×") << " |\n";
      }
    }
  }
  return out.str();
}

}  // namespace tavilo::verification
