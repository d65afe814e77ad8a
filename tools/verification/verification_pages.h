#pragma once
// The verification document drawn as A4 pages in the style of the report:
// a first page with its purpose, method, version and summary, then every
// section with its cases and their tables, breaking pages where a row would
// pass the foot of the page.

#include <string>
#include <vector>

#include "report/report_canvas.h"
#include "verification_document.h"

namespace tavilo::verification {

inline constexpr std::string_view kDocumentTitle = "Tavilo 検証資料";

// The paragraphs of the first page, shared with the Markdown twin.
std::vector<std::string> purposeParagraphs(const Document& document);
// The summary lines of the first page: label and value.
std::vector<std::pair<std::string, std::string>> summaryLines(const Document& document);

// Draws every page onto a printer canvas freshly set up (drawPrintPass).
void drawVerificationPages(ReportCanvas& canvas, const Document& document);

}  // namespace tavilo::verification
