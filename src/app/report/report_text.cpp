#include "app/report/report_text.h"

#include "runtime/core/conversions.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "runtime/core/text_builder.h"
#include "submit/service/failure_reason.h"

namespace brindor::app {

namespace {

constexpr const char* kFailedStatus = "提交失败！";

void Append(TextBuilder& out, const char* text) {
    out.append(text, std::strlen(text));
}

// -1, +2.5, -.5: numbers a spreadsheet shows as numbers.
bool IsPlainNumber(const char* cell) {
    const char* p = cell + (*cell == '-' || *cell == '+');
    bool digits = false, point = false;
    for (; *p; ++p) {
        if (*p >= '0' && *p <= '9')
            digits = true;
        else if (*p == '.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

// A spreadsheet runs a cell that begins with one of these as a formula.
bool StartsLikeFormula(const char* cell) {
    return *cell && std::strchr("=+-@\t\r", *cell) && !IsPlainNumber(cell);
}

void AppendCell(TextBuilder& out, const char* cell, char separator) {
    const bool formula = StartsLikeFormula(cell);
    if (separator == '\t') {
        if (formula) out.append('\'');
        // A tab or line break inside a cell would start another column or row.
        for (const char* p = cell; *p; ++p)
            out.append(*p == '\t' || *p == '\r' || *p == '\n' ? ' ' : *p);
        return;
    }
    const bool quoted = std::strpbrk(cell, ",\"\r\n") != nullptr;
    // The mark belongs to the cell's text, so inside its quotes.
    if (quoted) out.append('"');
    if (formula) out.append('\'');
    if (!quoted) return Append(out, cell);
    for (const char* p = cell; *p; ++p) {
        if (*p == '"') out.append('"');
        out.append(*p);
    }
    out.append('"');
}

void AppendLine(TextBuilder& out, const TextArray& cells, char separator) {
    for (int i = 1; i <= cells.count(); ++i) {
        if (i > 1) out.append(separator);
        AppendCell(out, cells.at(i), separator);
    }
    Append(out, "\r\n");
}

const char* Cell(const TextArray& row, int position) {
    return position <= row.count() ? row.at(position) : "";
}

} // namespace

void AppendTabSeparatedLine(TextBuilder& out, const TextArray& cells) {
    AppendLine(out, cells, '\t');
}

void AppendCsvLine(TextBuilder& out, const TextArray& cells) {
    AppendLine(out, cells, ',');
}

void AppendLink(TextBuilder& out, const TextArray& row) {
    Append(out, Cell(row, kLinkCell));
    Append(out, "\r\n");
}

bool IsFailedRow(const TextArray& row) {
    return std::strcmp(Cell(row, kStatusCell), kFailedStatus) == 0;
}

Text JoinLines(const TextArray& lines) {
    TextBuilder out;
    for (int i = 1; i <= lines.count(); ++i) {
        Append(out, lines.at(i));
        Append(out, "\r\n");
    }
    return out.take();
}

Text CsvLine(const TextArray& cells) {
    TextBuilder out;
    AppendCsvLine(out, cells);
    return out.take();
}

Text StampedFileName(const char* stem, const char* extension, int year, int month, int day, int hour,
                     int minute, int second) {
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "-%04d%02d%02d-%02d%02d%02d.", year, month, day, hour, minute, second);
    TextBuilder out;
    Append(out, stem);
    Append(out, stamp);
    Append(out, extension);
    return out.take();
}

TextArray HistoryColumnTitles(const TextArray& report_titles) {
    TextArray titles = report_titles;
    titles.append(Text("开始时间"));
    titles.append(Text("状态"));
    return titles;
}

TextArray HistoryCells(const RecordedLink& link) {
    // Indexed by LinkState; a mark never replaced by an outcome is as unknown as 结果未知, and so is
    // a state this build does not know.
    constexpr const char* kStates[] = {"未提交", "成功", "失败", "结果未知", "结果未知"};
    const int state = static_cast<int>(link.state);
    const bool known = state >= 0 && state < static_cast<int>(std::size(kStates));
    const bool unknown = !known || link.state == LinkState::kCommitting || link.state == LinkState::kUnknown;
    const char* status = unknown                                  ? "结果未知"
                         : link.state == LinkState::kNotSubmitted ? ""
                         : link.state == LinkState::kSucceeded    ? "提交成功！"
                                                                  : "提交失败！";
    // A commit killed in flight has no reason of its own.
    const char* reason = unknown && link.reason.empty() ? kUnknownReason : link.reason.c_str();
    TextArray cells;
    cells.append(to_text(link.number));
    for (const char* cell : {link.title.c_str(), link.size.c_str(), link.link.c_str(), status, reason,
                             link.started.c_str(), known ? kStates[state] : "结果未知"})
        cells.append(Text(cell));
    return cells;
}

} // namespace brindor::app
