#include "submit/record/journal_rows.h"

#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <unordered_map>
#include <utility>

#include "runtime/core/text_builder.h"
#include "text/civil_days.h"

namespace brindor {

namespace {

const char* Cell(const TextArray& row, int position) {
    return position <= row.count() ? row.at(position) : "";
}

// Reads one cell from `p`; leaves `p` on the separator, line end or end that follows it.
Text ReadCell(const char*& p, const char* end) {
    TextBuilder cell;
    if (p < end && *p == '"') {
        for (++p; p < end; ++p) {
            if (*p == '"') {
                if (p + 1 < end && p[1] == '"') {
                    cell.append('"');
                    ++p;
                    continue;
                }
                ++p;
                break;
            }
            cell.append(*p);
        }
    }
    // Whatever follows a closing quote up to the separator belongs to the cell, as spreadsheets read it.
    while (p < end && *p != ',' && *p != '\r' && *p != '\n')
        cell.append(*p++);
    return cell.take();
}

LinkState RowState(const TextArray& row) {
    if (std::strcmp(Cell(row, kJournalStatusCell), kSucceededStatus) == 0) return LinkState::kSucceeded;
    if (std::strcmp(Cell(row, kJournalStatusCell), kFailedStatus) == 0) return LinkState::kFailed;
    return LinkState::kUnknown;
}

} // namespace

std::vector<TextArray> ReadCsvRows(const char* text, size_t length) {
    const char* p = text;
    const char* end = text + length;
    if (length >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0) p += 3;
    std::vector<TextArray> rows;
    while (p < end) {
        TextArray row;
        for (;;) {
            row.append(ReadCell(p, end));
            if (p < end && *p == ',') {
                ++p;
                continue;
            }
            break;
        }
        if (p < end && *p == '\r') ++p;
        if (p < end && *p == '\n') ++p;
        rows.push_back(std::move(row));
    }
    return rows;
}

bool PastRunOfJournal(const std::vector<TextArray>& rows, TextArray run_links, PastRun& run) {
    run = PastRun{};
    run.links = std::move(run_links);
    // Each row names its link: a link twice in the run takes its numbers in turn.
    std::unordered_map<std::string, std::deque<int>> numbers;
    for (int i = 1; i <= run.links.count(); ++i)
        numbers[run.links.at(i)].push_back(i);
    for (size_t i = 1; i < rows.size(); ++i) {
        const TextArray& row = rows[i];
        if (*Cell(row, kJournalCaptionCell) != '\0') {
            auto found = numbers.find(Cell(row, kJournalLinkCell));
            if (found == numbers.end() || found->second.empty()) return false;
            run.outcomes.push_back(PastLink{RowState(row), Text(Cell(row, 2)), Text(Cell(row, 3)),
                                            Text(Cell(row, 6)), found->second.front()});
            found->second.pop_front();
            continue;
        }
        const char* how = Cell(row, 2);
        if (!*how) continue;
        if (std::strcmp(how, kJournalSeenMark) == 0) {
            run.answered = true;
        } else {
            run.ended = true;
            run.how = Text(how);
        }
    }
    return !run.links.empty();
}

Text RowTime(int year, int month, int day, int hour, int minute, int second) {
    char time[32];
    std::snprintf(time, sizeof time, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
    return Text(time);
}

int StemDay(const char* name) {
    int digits[8];
    for (int i = 0; i < 8; ++i) {
        if (name[i] < '0' || name[i] > '9') return -1;
        digits[i] = name[i] - '0';
    }
    if (name[8] != '-') return -1;
    const int year = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
    const int month = digits[4] * 10 + digits[5];
    const int day = digits[6] * 10 + digits[7];
    if (month < 1 || month > 12 || day < 1 || day > 31) return -1;
    return static_cast<int>(DaysFromCivil(year, month, day));
}

} // namespace brindor
