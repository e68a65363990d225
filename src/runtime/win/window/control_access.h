// Loading windows and reading and writing control properties by window id and control id.
// Property access works from any thread: the work is done on the window's own thread.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "runtime/core/file_name.h"
#include "runtime/core/text.h"
#include "runtime/core/text_array.h"

namespace brindor {

struct ControlRef {
    uint32_t window_id;
    uint32_t control_id;
};

// Properties 0-7 are shared by every kind: left, top, width, height, tag, visible, disable, mouse pointer.
enum SharedProperty {
    kPropertyLeft = 0,
    kPropertyTop = 1,
    kPropertyWidth = 2,
    kPropertyHeight = 3,
    kPropertyTag = 4,
    kPropertyVisible = 5,
    kPropertyDisable = 6,
    kPropertyMousePointer = 7,
};

// A window that is not loaded is the runtime error "未载入欲访问窗口组件所在的窗口"; an unknown
// control or property reads as empty or 0 and ignores writes.
Text read_text_property(ControlRef control, int number); // fresh text, caller owns
int64_t read_number_property(ControlRef control, int number);
void write_property(ControlRef control, int number, const char* text);
void write_property(ControlRef control, int number, int64_t value);
inline void write_property(ControlRef control, int number, int value) {
    write_property(control, number, static_cast<int64_t>(value));
}
void set_enabled(ControlRef control, bool enabled);

// Already open: restored or activated, true. Modal: the program's other top-level windows are
// disabled and the call returns after the window has closed. False if it cannot be created.
bool load_window(uint32_t window_id, HWND parent = nullptr, bool modal = false);
// Closes a loaded window as its close box would, once the message at hand is handled (so a handler
// may close its own window); nothing for a window that is not loaded.
void close_window(uint32_t window_id);
// Failure is the runtime error "载入启动窗口失败".
void load_start_window(uint32_t window_id);
bool window_is_loaded(uint32_t window_id);
HWND loaded_window_handle(uint32_t window_id);

// Shows the open-file dialog with the control's own properties; on confirmation its file name
// (property 10) holds the chosen path, and `chosen` (when given) the same path in UTF-16.
bool dialog_open(ControlRef file_dialog, FileName* chosen = nullptr);
// The same for a dialog that lets several files be chosen: every chosen path, in UTF-16.
bool dialog_open(ControlRef file_dialog, FileNames& chosen);

// ListView rows; any thread. Position omitted or negative appends. Returns the new row's index or -1.
int insert_row(ControlRef list, int position = -1, const char* caption = "");
// Nothing happens for a row that does not exist; the rows below move up.
void remove_row(ControlRef list, int row);
// Nothing happens for a row or column that does not exist.
void set_cell_text(ControlRef list, int row, int column, const char* text = "");
int list_row_count(ControlRef list);
// The control's own count of selected rows.
int selected_row_count(ControlRef list);
void select_all_rows(ControlRef list);

// Calls `visit` with each row's cells (position 1 the caption) in the list's order, every row or
// only the selected ones, on the list's thread and in place: nothing is copied, however many rows
// there are. Stops when `visit` returns false.
void visit_list_rows(ControlRef list, bool selected_only, bool (*visit)(const TextArray& row, void* context),
                     void* context);
template <class F> void for_each_list_row(ControlRef list, bool selected_only, F each) {
    visit_list_rows(
        list, selected_only, [](const TextArray& row, void* f) -> bool { return (*static_cast<F*>(f))(row); },
        &each);
}
TextArray list_column_titles(ControlRef list);
// The columns' widths at 96 DPI, "50,250,...", left to right; empty for no list.
Text list_column_widths(ControlRef list);
// Widths as list_column_widths gives them; a text that does not fit the columns changes nothing.
void set_list_column_widths(ControlRef list, const char* widths);

// Where the window is when it is not minimised or maximised, and whether it is maximised:
// "maximised,left,top,right,bottom" in the work area's coordinates; empty when it is not loaded.
Text window_placement(uint32_t window_id);
// Puts the window where window_placement said, unless that text is damaged or its place lies on no
// monitor that exists now; a smaller size than the window's least grows to it. False when it stays.
bool restore_window_placement(uint32_t window_id, const char* placement);

// The column titles and the rows' cells (position 1 is the caption), in the list's order.
struct ListTable {
    TextArray titles;
    std::vector<TextArray> rows;
};
// Every row, or only the selected ones: a copy.
ListTable read_list_table(ControlRef list, bool selected_only = false);

} // namespace brindor
