#include "app/batch/report_rows.h"

#include "app/program_ids.h"

namespace brindor::app {

namespace {

void WriteRow(InFlightRows::Slot slot, TextRef caption, const TextRef (&cells)[5]) {
    const int row = slot.existing ? slot.row : insert_row(kReportList, slot.row, caption.c_str());
    for (int column = 1; column <= 5; ++column)
        set_cell_text(kReportList, row, column, cells[column - 1].c_str());
}

} // namespace

void ShowRowInFlight(InFlightRows& rows, int number, TextRef caption, const TextRef (&cells)[5]) {
    WriteRow(rows.Show(number, list_row_count(kReportList)), caption, cells);
}

void FillRow(InFlightRows& rows, int number, TextRef caption, const TextRef (&cells)[5]) {
    WriteRow(rows.Fill(number), caption, cells);
}

void DropUnfilledRows(InFlightRows& rows) {
    for (int row : rows.TakeUnfilled())
        remove_row(kReportList, row);
}

Text SwapProgressLabel(const char* label) {
    Text before = read_text_property(kProgressLabel, kLabelCaption);
    write_property(kProgressLabel, kLabelCaption, label);
    return before;
}

} // namespace brindor::app
