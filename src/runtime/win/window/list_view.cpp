// ListView: the list-view control with its columns from the definition. Single selection, no
// label editing, no sorting (the header does not react to clicks).
#include <windows.h>
#include <commctrl.h>

#include "runtime/win/text_boundary.h"
#include "runtime/win/window/control_colors.h"
#include "runtime/win/window/control_kinds.h"

namespace brindor {

namespace {

DWORD view_style(int view_type) {
    switch (view_type) {
    case 0:
        return LVS_ICON;
    case 1:
        return LVS_SMALLICON;
    case 2:
        return LVS_LIST;
    default:
        return LVS_REPORT;
    }
}

class ListView final : public Control {
  public:
    explicit ListView(const ControlDefinition& d) : Control(d), colors_(d) {}

    bool create(HWND parent) override {
        const ListSettings* list = definition().list;
        DWORD style =
            view_style(list ? list->view_type : 3) | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;
        if (!create_child(parent, WC_LISTVIEWW, style, WS_EX_CLIENTEDGE)) return false;
        DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
        SendMessageW(handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
        if (definition().back_color != kDefaultColor) {
            SendMessageW(handle(), LVM_SETBKCOLOR, 0, definition().back_color);
            SendMessageW(handle(), LVM_SETTEXTBKCOLOR, 0, definition().back_color);
        }
        if (definition().text_color != kDefaultColor)
            SendMessageW(handle(), LVM_SETTEXTCOLOR, 0, definition().text_color);
        for (int i = 0; list && i < list->column_count; ++i)
            add_column(i, list->columns[i]);
        return true;
    }

  private:
    void add_column(int index, const ColumnDefinition& column) {
        std::wstring title = to_wide(column.title);
        LVCOLUMNW c{};
        c.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        c.fmt = LVCFMT_LEFT;
        c.cx = column.width;
        c.pszText = title.data();
        c.iSubItem = index;
        SendMessageW(handle(), LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&c));
    }

    ControlColors colors_;
};

} // namespace

std::unique_ptr<Control> make_list_view(const ControlDefinition& d) {
    return std::make_unique<ListView>(d);
}

} // namespace brindor
