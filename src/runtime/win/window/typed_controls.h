// Controls by kind: each offers only the properties its kind has, so a caption meant for a label
// cannot land on a progress bar. Each is still a ControlRef for the calls that take any control.
#pragma once
#include "runtime/win/window/control_access.h"

namespace brindor {

struct LabelControl : ControlRef {
    static constexpr int kCaption = 8;
    void SetText(const char* text) const { write_property(*this, kCaption, text); }
    Text ReadText() const { return read_text_property(*this, kCaption); }
};

struct ButtonControl : ControlRef {
    static constexpr int kCaption = 8;
    void SetText(const char* text) const { write_property(*this, kCaption, text); }
    void SetEnabled(bool enabled) const { set_enabled(*this, enabled); }
};

struct EditBoxControl : ControlRef {
    static constexpr int kContent = 8;
    void SetText(const char* text) const { write_property(*this, kContent, text); }
    Text ReadText() const { return read_text_property(*this, kContent); }
};

struct ProgressBarControl : ControlRef {
    static constexpr int kMinimum = 11;
    static constexpr int kMaximum = 12;
    static constexpr int kPosition = 13;
    void SetRange(int64_t minimum, int64_t maximum) const {
        write_property(*this, kMinimum, minimum);
        write_property(*this, kMaximum, maximum);
    }
    void SetPosition(int64_t position) const { write_property(*this, kPosition, position); }
};

struct FileDialogControl : ControlRef {
    static constexpr int kFileName = 10;
    static constexpr int kInitialDirectory = 13;
    void SetInitialDirectory(const char* folder) const { write_property(*this, kInitialDirectory, folder); }
    bool Open(FileNames& chosen) const { return dialog_open(*this, chosen); }
};

struct BrowserControl : ControlRef {
    static constexpr int kAddress = 11;
    void Navigate(const char* address) const { write_property(*this, kAddress, address); }
};

// A list in report view: rows of cells, position 0 the caption.
struct ReportListControl : ControlRef {
    int InsertRow(int position = -1, const char* caption = "") const {
        return insert_row(*this, position, caption);
    }
    void RemoveRow(int row) const { remove_row(*this, row); }
    void SetCell(int row, int column, const char* text) const { set_cell_text(*this, row, column, text); }
    int RowCount() const { return list_row_count(*this); }
    int SelectedCount() const { return selected_row_count(*this); }
    void SelectAll() const { select_all_rows(*this); }
    TextArray ColumnTitles() const { return list_column_titles(*this); }
    Text ColumnWidths() const { return list_column_widths(*this); }
    void SetColumnWidths(const char* widths) const { set_list_column_widths(*this, widths); }
    template <class F> void ForEachRow(bool selected_only, F each) const {
        for_each_list_row(*this, selected_only, each);
    }
};

} // namespace brindor
