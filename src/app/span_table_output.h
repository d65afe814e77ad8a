#pragma once
// The span table of the batch command: a table on the terminal, a JSON
// document and CSV lines.

#include <filesystem>
#include <string>
#include <string_view>

#include "app/outcome_json.h"
#include "calc/span_search.h"

namespace tavilo {

// "2,450 mm たわみ", "なし 応力": the span of a cell and what stops the next
// span; "*" in front marks the project's own deck and span count.
std::string spanCellText(const SpanTableCell& cell);

// The table with its heading (project file, grid, deck length, overhangs)
// and a legend, for a terminal.
std::string spanTableText(const SpanTable& table, const std::filesystem::path& project);

// {"project": path, "step": 10, "cells": [{"deck": "KX-50-12", "spanCount": 1,
// "span": 2450 or null, "stoppedBy": "stress" | "deflection" | "joint" |
// "deckLength" | null, "isProject": bool}, …]}: 16 cells, deck by deck.
Json spanTableJson(const SpanTable& table, const std::filesystem::path& project);

// CSV: the header line, then one line per cell with the project file and
// the values of the JSON document (an empty field for none).
inline constexpr std::string_view kSpanTableCsvHeader =
    "project,deck,spanCount,span,stoppedBy,isProject";
std::string spanTableCsv(const SpanTable& table, const std::filesystem::path& project);

}  // namespace tavilo
