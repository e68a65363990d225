// Rows of a ListView, from any thread: each call is one synchronous message to the list's thread.
#include "runtime/win/window/list_view.h"
#include "runtime/win/window/window_registry.h"

namespace brindor {

namespace {

// Runs `work(list)` on the list's thread in one synchronous message: every step of a row
// operation then happens there without further round trips between threads.
template <class F> void with_list(ControlRef ref, F&& work) {
    with_control(ref, [&](Control& control) {
        if (control.definition().kind == ControlKind::ListView && control.handle())
            work(static_cast<ListView&>(control));
    });
}

} // namespace

int insert_row(ControlRef list, int position, const char* caption) {
    int index = -1;
    with_list(list, [&](ListView& view) { index = view.insert(position, caption); });
    return index;
}

void remove_row(ControlRef list, int row) {
    with_list(list, [&](ListView& view) { view.remove(row); });
}

void set_cell_text(ControlRef list, int row, int column, const char* text) {
    with_list(list, [&](ListView& view) { view.set_cell(row, column, text); });
}

int list_row_count(ControlRef list) {
    int count = 0;
    with_list(list, [&](ListView& view) { count = view.row_count(); });
    return count;
}

int selected_row_count(ControlRef list) {
    int count = 0;
    with_list(list, [&](ListView& view) { count = view.selected_count(); });
    return count;
}

void visit_list_rows(ControlRef list, bool selected_only, bool (*visit)(const TextArray& row, void* context),
                     void* context) {
    with_list(list, [&](ListView& view) {
        if (selected_only) {
            view.for_each_selected([&](int row) { return visit(view.row(row), context); });
            return;
        }
        for (int row = 0; row < view.row_count(); ++row)
            if (!visit(view.row(row), context)) return;
    });
}

TextArray list_column_titles(ControlRef list) {
    TextArray titles;
    with_list(list, [&](ListView& view) {
        for (int column = 0; column < view.column_count(); ++column)
            titles.append(Text(view.column_title(column)));
    });
    return titles;
}

ListTable read_list_table(ControlRef list, bool selected_only) {
    ListTable table{list_column_titles(list), {}};
    for_each_list_row(list, selected_only, [&](const TextArray& row) {
        table.rows.push_back(row);
        return true;
    });
    return table;
}

void select_all_rows(ControlRef list) {
    with_list(list, [&](ListView& view) { view.select_all(); });
}

} // namespace brindor
