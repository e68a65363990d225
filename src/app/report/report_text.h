// The report's rows as the user takes them away: on the clipboard, in a spreadsheet, as a link file.
// Rows are the list's cells in order, 1-based (position 1 the caption).
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_array.h"
#include "runtime/core/text_builder.h"
#include "submit/record/record_store.h"

namespace brindor::app {

constexpr int kLinkCell = 4;
constexpr int kStatusCell = 5;

// Lines end in CR LF, the last one too.
Text JoinLines(const TextArray& lines);
// Every cell that leaves the program goes through one of these, which keep it inert: a cell that
// a spreadsheet would take for a formula (= + - @, tab or CR first, a plain number aside) gets a
// leading '. Appended where the rows live: no copy of the rows needed.
// Cells separated by tabs; tabs and line breaks in a cell as spaces.
void AppendTabSeparatedLine(TextBuilder& out, const TextArray& cells);
// A cell with a comma, quote or line break is quoted.
void AppendCsvLine(TextBuilder& out, const TextArray& cells);
Text CsvLine(const TextArray& cells);
void AppendLink(TextBuilder& out, const TextArray& row);
bool IsFailedRow(const TextArray& row);

// 导出提交记录…: the report's columns, then the run's start and the link's state.
TextArray HistoryColumnTitles(const TextArray& report_titles);
TextArray HistoryCells(const RecordedLink& link);

// stem-YYYYMMDD-HHMMSS.extension
Text StampedFileName(const char* stem, const char* extension, int year, int month, int day, int hour,
                     int minute, int second);

} // namespace brindor::app
