#include "app/report/report_text.h"

#include <cstdio>
#include <cstring>

#include "runtime/core/text_builder.h"

namespace brindor::app {

namespace {

constexpr const char* kFailedStatus = "提交失败！";

void Append(TextBuilder& out, const char* text) {
    out.append(text, std::strlen(text));
}

void AppendLine(TextBuilder& out, const TextArray& cells, char separator, bool quote) {
    for (int i = 1; i <= cells.count(); ++i) {
        if (i > 1) out.append(separator);
        const char* cell = cells.at(i);
        if (!quote || !std::strpbrk(cell, ",\"\r\n")) {
            Append(out, cell);
            continue;
        }
        out.append('"');
        for (const char* p = cell; *p; ++p) {
            if (*p == '"') out.append('"');
            out.append(*p);
        }
        out.append('"');
    }
    Append(out, "\r\n");
}

Text Lines(const TextArray& titles, const ReportRows& rows, char separator, bool quote) {
    TextBuilder out;
    AppendLine(out, titles, separator, quote);
    for (const TextArray& row : rows)
        AppendLine(out, row, separator, quote);
    return out.take();
}

const char* Cell(const TextArray& row, int position) {
    return position <= row.count() ? row.at(position) : "";
}

} // namespace

Text JoinLinks(const ReportRows& rows) {
    TextBuilder out;
    for (const TextArray& row : rows) {
        Append(out, Cell(row, kLinkCell));
        Append(out, "\r\n");
    }
    return out.take();
}

Text JoinLines(const TextArray& lines) {
    TextBuilder out;
    for (int i = 1; i <= lines.count(); ++i) {
        Append(out, lines.at(i));
        Append(out, "\r\n");
    }
    return out.take();
}

Text TabSeparatedRows(const TextArray& titles, const ReportRows& rows) {
    return Lines(titles, rows, '\t', false);
}

Text CsvRows(const TextArray& titles, const ReportRows& rows) {
    return Lines(titles, rows, ',', true);
}

TextArray FailedLinks(const ReportRows& rows) {
    TextArray links;
    for (const TextArray& row : rows)
        if (std::strcmp(Cell(row, kStatusCell), kFailedStatus) == 0) links.append(Text(Cell(row, kLinkCell)));
    return links;
}

bool HasFailedRow(const ReportRows& rows) {
    for (const TextArray& row : rows)
        if (std::strcmp(Cell(row, kStatusCell), kFailedStatus) == 0) return true;
    return false;
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

} // namespace brindor::app
