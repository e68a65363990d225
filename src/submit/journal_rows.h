// A run's journal as read back: the report's six columns and the time of each row, one line per
// processed link, a header line first, and a closing line once the run is over.
#pragma once
#include <cstddef>
#include <vector>

#include "runtime/core/text.h"
#include "runtime/core/text_array.h"

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

struct JournalSummary {
    int processed = 0;
    int succeeded = 0;
    int failed = 0;
    bool closed = false;
    std::vector<bool> row_succeeded; // per processed link, in the run's order
};

// `rows` as ReadCsvRows gives them, the header line first.
JournalSummary SummariseJournal(const std::vector<TextArray>& rows);
bool IsJournalRow(const TextArray& row);
bool RowSucceeded(const TextArray& row);

// "yyyyMMdd-HHmmss", the journal's file name before ".csv".
Text JournalStem(int year, int month, int day, int hour, int minute, int second);
// "yyyy-MM-dd HH:mm:ss", the time cell of a row.
Text RowTime(int year, int month, int day, int hour, int minute, int second);
// Days since 1970-01-01 of the date a stem begins with; -1 for a name that is no stem.
int StemDay(const char* name);

// Journals are kept for 30 days, the newest 50 at most. `newest_first` counts from 0.
bool KeepJournal(int newest_first, int stem_day, int today);

} // namespace brindor
