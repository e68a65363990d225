// A run's journal as the program once kept it, read back to be recorded: the report's six columns
// and the time of each row, one line per processed link, a header line first, and a closing line
// once the run was over.
#pragma once
#include <cstddef>
#include <vector>

#include "runtime/core/text.h"
#include "runtime/core/text_array.h"
#include "submit/record/record_store.h"

namespace brindor {

constexpr int kJournalCaptionCell = 1;
constexpr int kJournalLinkCell = 4;
constexpr int kJournalStatusCell = 5;
constexpr const char* kSucceededStatus = "提交成功！";
constexpr const char* kFailedStatus = "提交失败！";
// The closing line has an empty first cell and says in its second how the run ended: the end box's
// first line, or this when the run never ended and the user has been asked about it.
constexpr const char* kJournalSeenMark = "未完成";

// CSV as written by CsvLine (quoted cells may hold commas, quotes and line breaks); a byte order
// mark is skipped. Every line becomes one row of cells.
std::vector<TextArray> ReadCsvRows(const char* text, size_t length);

// The run a journal of `run_links` tells: the outcome of each row, matched to its link by the row's
// link cell, and whether and how it ended. A row whose status was cut short is of unknown outcome;
// only a closing line ends a run, not a blank or broken line. False when the run has no links or a
// row names a link the run does not hold (once more than it holds it).
bool PastRunOfJournal(const std::vector<TextArray>& rows, TextArray run_links, PastRun& run);

// "yyyy-MM-dd HH:mm:ss", the time cell of a row.
Text RowTime(int year, int month, int day, int hour, int minute, int second);
// Days since 1970-01-01 of the date a stem begins with; -1 for a name that is no stem.
int StemDay(const char* name);

} // namespace brindor
