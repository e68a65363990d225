#include "commands.h"
#include "remote_memory.h"
#include "targets.h"

#include <commctrl.h>

#include <algorithm>

namespace driver {
namespace {

constexpr int kTextCapacity = 4096; // characters
constexpr size_t kTextOffset = 256; // the structure first, its text buffer after it

HWND list_arg(const Args& args) {
    HWND list = control_arg(args, 0);
    if (window_class(list) != WC_LISTVIEWW) throw Failure{L"not a list view: " + window_class(list)};
    return list;
}

std::wstring read_text(const RemoteMemory& memory, int length) {
    std::wstring text(std::min(length, kTextCapacity - 1), L'\0');
    memory.read(kTextOffset, text.data(), text.size() * sizeof(wchar_t));
    return text;
}

std::wstring cell_text(HWND list, RemoteMemory& memory, int row, int column) {
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = kTextCapacity;
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(memory.address()) + kTextOffset);
    memory.write(0, &item, sizeof item);
    int length = int(send_message(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(memory.address())));
    return read_text(memory, length);
}

int column_count(HWND list) {
    auto header = reinterpret_cast<HWND>(send_message(list, LVM_GETHEADER));
    return header ? int(send_message(header, HDM_GETITEMCOUNT)) : 0;
}

} // namespace

// Arguments: list, then optionally the first row (0-based) and a row count.
// Answer: row count read, column count, then every cell row by row.
Reply list_rows(const Args& args) {
    HWND list = list_arg(args);
    RemoteMemory memory(list, kTextOffset + kTextCapacity * sizeof(wchar_t));
    int total = int(send_message(list, LVM_GETITEMCOUNT));
    int first = std::clamp(int(number_arg(args, 2, L"first", 0)), 0, total);
    int last = std::min(total, first + int(number_arg(args, 3, L"count", total)));
    int columns = std::max(column_count(list), 1);
    Reply reply;
    reply.add(last - first).add(columns);
    for (int row = first; row < last; ++row)
        for (int column = 0; column < columns; ++column)
            reply.add(cell_text(list, memory, row, column));
    return reply;
}

Reply list_count(const Args& args) {
    return Reply().add(int64_t(send_message(list_arg(args), LVM_GETITEMCOUNT)));
}

// Answer: title, width and alignment (left, right, center) of each column.
Reply list_columns(const Args& args) {
    HWND list = list_arg(args);
    RemoteMemory memory(list, kTextOffset + kTextCapacity * sizeof(wchar_t));
    Reply reply;
    int columns = column_count(list);
    for (int index = 0; index < columns; ++index) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.cchTextMax = kTextCapacity;
        column.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(memory.address()) + kTextOffset);
        memory.write(0, &column, sizeof column);
        if (!send_message(list, LVM_GETCOLUMNW, index, reinterpret_cast<LPARAM>(memory.address())))
            throw Failure{L"no column " + std::to_wstring(index)};
        memory.read(0, &column, sizeof column);
        wchar_t title[kTextCapacity];
        memory.read(kTextOffset, title, sizeof title);
        title[kTextCapacity - 1] = L'\0';
        const wchar_t* alignment = (column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT    ? L"right"
                                   : (column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER ? L"center"
                                                                                        : L"left";
        reply.add(title).add(int64_t(send_message(list, LVM_GETCOLUMNWIDTH, index))).add(alignment);
    }
    return reply;
}

// Arguments: list, then the rows (0-based) to select; every other row is unselected.
Reply list_select(const Args& args) {
    HWND list = list_arg(args);
    RemoteMemory memory(list, sizeof(LVITEMW));
    auto set_state = [&](int row, UINT state) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = state;
        memory.write(0, &item, sizeof item);
        send_message(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(memory.address()));
    };
    set_state(-1, 0);
    for (size_t i = 2; i < args.size(); ++i)
        set_state(int(parse_number(args[i])), LVIS_SELECTED | (i == 2 ? LVIS_FOCUSED : 0));
    return {};
}

// Answer: window style and extended list-view style.
Reply list_style(const Args& args) {
    HWND list = list_arg(args);
    return Reply()
        .add_hex(uint32_t(GetWindowLongW(list, GWL_STYLE)))
        .add_hex(uint32_t(send_message(list, LVM_GETEXTENDEDLISTVIEWSTYLE)));
}

} // namespace driver
