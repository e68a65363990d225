// ListView columns: the last one taking the width the others leave, widths kept at 96 DPI, and the
// tips that show a cell cut short.
#include "runtime/win/window/list_view.h"

#include <windowsx.h>

#include <algorithm>

#include "runtime/win/text_boundary.h"
#include "runtime/win/window/window_dpi.h"

namespace brindor {

namespace {

constexpr int kWidestTip = 400;
// What a cell leaves around its text: a few pixels on each side, more in the first column.
constexpr int kCellPadding = 12;
// Room for a two-character title; below that the list scrolls sideways instead.
constexpr int kNarrowestLastColumn = 40;

int column_width(HWND list, int column) {
    return static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
}

} // namespace

void ListView::apply_dpi(int dpi, HFONT gui_font) {
    Control::apply_dpi(dpi, gui_font);
    dpi_ = dpi;
}

void ListView::fit_last_column() {
    if (!settings_ || !settings_->fill_last_column || settings_->column_count < 1 || fitting_) return;
    const int last = settings_->column_count - 1;
    RECT client{};
    GetClientRect(handle(), &client);
    int others = 0;
    for (int column = 0; column < last; ++column)
        others += column_width(handle(), column);
    const int least = scale_for_dpi(kNarrowestLastColumn, kDefinitionDpi, dpi_);
    const int width = std::max(least, static_cast<int>(client.right) - others);
    if (width == column_width(handle(), last)) return;
    fitting_ = true;
    SendMessageW(handle(), LVM_SETCOLUMNWIDTH, last, MAKELPARAM(width, 0));
    fitting_ = false;
}

std::vector<int> ListView::column_widths() const {
    std::vector<int> widths;
    for (int column = 0; settings_ && column < settings_->column_count; ++column)
        widths.push_back(scale_for_dpi(column_width(handle(), column), dpi_, kDefinitionDpi));
    return widths;
}

void ListView::set_column_widths(const std::vector<int>& widths) {
    if (!settings_ || static_cast<int>(widths.size()) != settings_->column_count) return;
    fitting_ = true;
    for (int column = 0; column < settings_->column_count; ++column)
        SendMessageW(handle(), LVM_SETCOLUMNWIDTH, column,
                     MAKELPARAM(scale_for_dpi(widths[column], kDefinitionDpi, dpi_), 0));
    fitting_ = false;
    fit_last_column();
}

void ListView::add_cell_tips() {
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle(), nullptr,
                            nullptr, nullptr);
    if (!tips_) return;
    SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, kWidestTip);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = handle();
    tool.uId = 1;
    tool.rect = {0, 0, 0x7FFF, 0x7FFF}; // the whole list, however large it grows
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ListView::follow_mouse_for_tips(LPARAM position) {
    if (!tips_) return;
    LVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    const int row =
        static_cast<int>(SendMessageW(handle(), LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    const int column = row >= 0 ? hit.iSubItem : -1;
    if (row == tip_row_ && column == tip_column_) return;
    tip_row_ = row;
    tip_column_ = column;
    // The tip asks for its text again when it next shows.
    SendMessageW(tips_, TTM_POP, 0, 0);
}

bool ListView::is_cell_cut(int row, int column, const std::wstring& text) const {
    RECT cell{LVIR_BOUNDS, column, 0, 0};
    if (!SendMessageW(handle(), LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell))) return false;
    // The first column's bounds are the whole row's.
    const int width = column == 0 ? column_width(handle(), 0) : cell.right - cell.left;
    const int needed = static_cast<int>(
        SendMessageW(handle(), LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
    return needed + scale_for_dpi(kCellPadding, kDefinitionDpi, dpi_) > width;
}

void ListView::fill_cell_tip(NMTTDISPINFOW& tip) {
    tip_text_.clear();
    if (tip_row_ >= 0 && tip_row_ < shown_count_ && tip_column_ >= 0 && tip_column_ < column_count_) {
        std::wstring text = to_wide(row(tip_row_).at(tip_column_ + 1));
        if (is_cell_cut(tip_row_, tip_column_, text)) tip_text_ = std::move(text);
    }
    tip.lpszText = tip_text_.data();
    tip.szText[0] = L'\0';
    tip.hinst = nullptr;
}

} // namespace brindor
