// The list-view control. Its rows live here, in the program's memory; the control only asks for
// the cells it shows, so painting and appending cost the same at any number of rows.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "runtime/core/text_array.h"
#include "runtime/win/window/control.h"

namespace brindor {

class ListView final : public Control {
  public:
    explicit ListView(const ControlDefinition& definition);

    bool create(HWND parent) override;
    LRESULT on_notify(NMHDR* header) override;

    int row_count() const { return static_cast<int>(rows_.size()); }
    int column_count() const { return column_count_; }
    // Position out of range appends. Returns the new row's index.
    int insert(int position, const char* caption);
    // False for a row that does not exist.
    bool remove(int row);
    // False for a row or column that does not exist.
    bool set_cell(int row, int column, const char* text);
    const TextArray& row(int index) const { return rows_[static_cast<size_t>(index)]; }
    const char* column_title(int column) const;
    // The control's own count: no walk over the rows.
    int selected_count() const;
    // Calls `each(row)` for every selected row in order until it returns false.
    template <class F> void for_each_selected(F&& each) const {
        if (selected_count() == row_count()) {
            for (int row = 0; row < row_count(); ++row)
                if (!each(row)) return;
            return;
        }
        for (int row = -1; (row = next_selected(row)) != -1;)
            if (!each(row)) return;
    }
    void select_all();
    // Column widths at 96 DPI, left to right.
    std::vector<int> column_widths() const;
    // A count that is not the columns' changes nothing; the last column of a list that fills its
    // width goes on filling it.
    void set_column_widths(const std::vector<int>& widths);
    void apply_dpi(int dpi, HFONT gui_font) override;

  private:
    static LRESULT CALLBACK subclass_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                               UINT_PTR id, DWORD_PTR self);
    void add_column(int index, const ColumnDefinition& column);
    int next_selected(int after) const;
    void fill_display_text(LVITEMW& item) const;
    // Tells the control of appended rows: once per turn of the message loop rather than per row,
    // and at once before anyone asks the control anything.
    void show_appended_rows();
    void open_menu(LPARAM position);
    void fit_last_column();
    // A cell cut short shows its whole text in a tip while the mouse rests on it.
    void add_cell_tips();
    void follow_mouse_for_tips(LPARAM position);
    void fill_cell_tip(NMTTDISPINFOW& tip);
    bool is_cell_cut(int row, int column, const std::wstring& text) const;

    const ListSettings* settings_;
    int column_count_;
    std::vector<TextArray> rows_; // each holds column_count_ cells, 1-based like every TextArray
    int shown_count_ = 0;         // the rows the control knows of
    bool show_posted_ = false;
    bool updating_control_ = false;
    int dpi_ = 96;
    bool fitting_ = false;
    HWND tips_ = nullptr; // owned by the list's window: it goes with it
    int tip_row_ = -1, tip_column_ = -1;
    std::wstring tip_text_;
};

} // namespace brindor
