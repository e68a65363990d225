// ListView: the list-view control with its columns from the definition. No label editing, no
// sorting (the header does not react to clicks).
#include "runtime/win/window/list_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "runtime/win/text_boundary.h"
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

constexpr UINT_PTR kSubclassId = 1;
constexpr UINT_PTR kShowRowsTimer = 0x4E2;
constexpr UINT kShowRowsDelay = 25; // milliseconds; new rows appear within about a frame or two
constexpr UINT kColumnsSized = WM_APP + 0x4E2;

bool ends_column_sizing(UINT code) {
    return code == HDN_ENDTRACKW || code == HDN_ENDTRACKA || code == HDN_DIVIDERDBLCLICKW ||
           code == HDN_DIVIDERDBLCLICKA;
}

bool is_list_message(UINT message) {
    return message >= LVM_FIRST && message < LVM_FIRST + 0x100 && message != LVM_SETITEMCOUNT;
}

} // namespace

ListView::ListView(const ControlDefinition& d)
    : Control(d), settings_(d.list), column_count_(d.list ? std::max(d.list->column_count, 1) : 1) {}

bool ListView::create(HWND parent) {
    DWORD style = view_style(settings_ ? settings_->view_type : 3) | LVS_OWNERDATA | LVS_SHOWSELALWAYS |
                  LVS_NOSORTHEADER;
    if (!settings_ || !settings_->multiple_selection) style |= LVS_SINGLESEL;
    if (!create_child(parent, WC_LISTVIEWW, style, WS_EX_CLIENTEDGE)) return false;
    DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_LABELTIP;
    SendMessageW(handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    if (definition().back_color != kDefaultColor) {
        SendMessageW(handle(), LVM_SETBKCOLOR, 0, definition().back_color);
        SendMessageW(handle(), LVM_SETTEXTBKCOLOR, 0, definition().back_color);
    }
    if (definition().text_color != kDefaultColor)
        SendMessageW(handle(), LVM_SETTEXTCOLOR, 0, definition().text_color);
    for (int i = 0; settings_ && i < settings_->column_count; ++i)
        add_column(i, settings_->columns[i]);
    SetWindowSubclass(handle(), subclass_procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    add_cell_tips();
    fit_last_column();
    return true;
}

void ListView::add_column(int index, const ColumnDefinition& column) {
    std::wstring title = to_wide(column.title);
    LVCOLUMNW c{};
    c.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    c.fmt = LVCFMT_LEFT;
    c.cx = column.width;
    c.pszText = title.data();
    c.iSubItem = index;
    SendMessageW(handle(), LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&c));
}

const char* ListView::column_title(int column) const {
    return settings_ && column >= 0 && column < settings_->column_count ? settings_->columns[column].title
                                                                        : "";
}

int ListView::insert(int position, const char* caption) {
    const bool append = position < 0 || position >= row_count();
    TextArray cells;
    cells.append(Text(caption));
    for (int column = 1; column < column_count_; ++column)
        cells.append(Text());
    const int index = append ? row_count() : position;
    rows_.insert(rows_.begin() + index, std::move(cells));
    if (!append) {
        // Rows move down: every row the control shows may change.
        shown_count_ = row_count();
        SendMessageW(handle(), LVM_SETITEMCOUNT, rows_.size(), 0);
        return index;
    }
    // Each count change costs the window's thread a scroll-bar update (milliseconds under some
    // systems): appends in quick succession share one.
    if (!show_posted_) show_posted_ = SetTimer(handle(), kShowRowsTimer, kShowRowsDelay, nullptr) != 0;
    return index;
}

void ListView::show_appended_rows() {
    if (updating_control_ || shown_count_ == row_count()) return;
    updating_control_ = true;
    const int top = static_cast<int>(SendMessageW(handle(), LVM_GETTOPINDEX, 0, 0));
    const int per_page = static_cast<int>(SendMessageW(handle(), LVM_GETCOUNTPERPAGE, 0, 0));
    const bool follow = settings_ && settings_->follow_end && top + per_page >= shown_count_;
    const int old_count = shown_count_;
    shown_count_ = row_count();
    SendMessageW(handle(), LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    SendMessageW(handle(), LVM_REDRAWITEMS, old_count, shown_count_ - 1);
    if (follow && shown_count_ > 0) SendMessageW(handle(), LVM_ENSUREVISIBLE, shown_count_ - 1, FALSE);
    updating_control_ = false;
}

bool ListView::remove(int row) {
    if (row < 0 || row >= row_count()) return false;
    rows_.erase(rows_.begin() + row);
    if (row < shown_count_) {
        shown_count_ = row_count();
        SendMessageW(handle(), LVM_SETITEMCOUNT, rows_.size(), 0);
    }
    return true;
}

bool ListView::set_cell(int row, int column, const char* text) {
    if (row < 0 || column < 0 || row >= row_count() || column >= column_count_) return false;
    rows_[static_cast<size_t>(row)].set(column + 1, Text(text));
    // A row the control does not know yet is drawn with its cells when it learns of it.
    if (row < shown_count_) SendMessageW(handle(), LVM_REDRAWITEMS, row, row);
    return true;
}

int ListView::selected_count() const {
    return static_cast<int>(SendMessageW(handle(), LVM_GETSELECTEDCOUNT, 0, 0));
}

int ListView::next_selected(int after) const {
    return static_cast<int>(SendMessageW(handle(), LVM_GETNEXTITEM, after, LVNI_SELECTED));
}

void ListView::select_all() {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    // Some controls repaint each row they select, even the ones out of view: one repaint instead.
    SendMessageW(handle(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    SendMessageW(handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle(), nullptr, FALSE);
}

void ListView::fill_display_text(LVITEMW& item) const {
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    item.pszText[0] = L'\0';
    if (item.iItem < 0 || item.iItem >= row_count() || item.iSubItem < 0 || item.iSubItem >= column_count_)
        return;
    const std::wstring text = to_wide(row(item.iItem).at(item.iSubItem + 1));
    const size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    std::copy_n(text.c_str(), length, item.pszText);
    item.pszText[length] = L'\0';
}

LRESULT ListView::on_notify(NMHDR* header) {
    switch (header->code) {
    case LVN_GETDISPINFOW:
        fill_display_text(reinterpret_cast<NMLVDISPINFOW*>(header)->item);
        return 0;
    case LVN_ODFINDITEMW:
        return -1; // typing does not jump to rows
    case LVN_DELETEALLITEMS:
        rows_.clear();
        shown_count_ = 0;
        return 0;
    default:
        return 0;
    }
}

void ListView::open_menu(LPARAM position) {
    POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (position == -1) {
        // From the keyboard: below the focused row, or at the list's corner.
        RECT r{LVIR_BOUNDS, 0, 0, 0};
        const int focused = static_cast<int>(SendMessageW(handle(), LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
        at = {0, 0};
        if (focused != -1 && SendMessageW(handle(), LVM_GETITEMRECT, focused, reinterpret_cast<LPARAM>(&r)))
            at = {r.left + 16, r.bottom};
        ClientToScreen(handle(), &at);
    }
    settings_->on_menu(at.x, at.y);
}

LRESULT CALLBACK ListView::subclass_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                              UINT_PTR /*id*/, DWORD_PTR self) {
    auto* list = reinterpret_cast<ListView*>(self);
    const ListSettings* settings = list->settings_;
    if (is_list_message(message)) list->show_appended_rows();
    switch (message) {
    case WM_TIMER:
        if (wparam != kShowRowsTimer) break;
        KillTimer(window, kShowRowsTimer);
        list->show_posted_ = false;
        list->show_appended_rows();
        return 0;
    case kColumnsSized:
        if (settings && settings->on_columns_sized) settings->on_columns_sized();
        return 0;
    case WM_CONTEXTMENU:
        if (settings && settings->on_menu) {
            list->open_menu(lparam);
            return 0;
        }
        break;
    case WM_SYSKEYDOWN:
        if (wparam == VK_F10 && GetKeyState(VK_SHIFT) < 0 && settings && settings->on_menu) {
            list->open_menu(-1);
            return 0;
        }
        break;
    case WM_KEYUP:
        if (wparam == VK_APPS && settings && settings->on_menu) {
            list->open_menu(-1);
            return 0;
        }
        break;
    case WM_CHAR:
        // Ctrl+A, Ctrl+C and Ctrl+V arrive as the control characters 1, 3 and 22.
        if ((wparam == 1 || wparam == 3 || wparam == 22) && settings && settings->on_shortcut) {
            settings->on_shortcut(static_cast<char>('A' - 1 + wparam));
            return 0;
        }
        break;
    case WM_SIZE: {
        const LRESULT result = DefSubclassProc(window, message, wparam, lparam);
        list->fit_last_column();
        return result;
    }
    case WM_MOUSEMOVE:
        list->follow_mouse_for_tips(lparam);
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lparam);
        if (header->hwndFrom == list->tips_ && header->code == TTN_GETDISPINFOW) {
            list->fill_cell_tip(*reinterpret_cast<NMTTDISPINFOW*>(lparam));
            return 0;
        }
        const LRESULT result = DefSubclassProc(window, message, wparam, lparam);
        // The header takes the new width after this notification: tell of it afterwards.
        if (ends_column_sizing(header->code)) PostMessageW(window, kColumnsSized, 0, 0);
        const bool resized = header->code == HDN_ITEMCHANGEDW || header->code == HDN_ITEMCHANGEDA;
        if (resized && settings && reinterpret_cast<NMHEADERW*>(lparam)->iItem != settings->column_count - 1)
            list->fit_last_column();
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, subclass_procedure, kSubclassId);
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wparam, lparam);
}

std::unique_ptr<Control> make_list_view(const ControlDefinition& d) {
    return std::make_unique<ListView>(d);
}

} // namespace brindor
