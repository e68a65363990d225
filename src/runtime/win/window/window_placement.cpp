// A window's place and its list's column widths as texts the settings keep.
#include <algorithm>
#include <vector>

#include "runtime/core/number_list.h"
#include "runtime/win/window/list_view.h"
#include "runtime/win/window/window_dpi.h"
#include "runtime/win/window/window_registry.h"

namespace brindor {

namespace {

// Wider than any screen a column could be dragged across.
constexpr int kWidestColumn = 16384;

template <class F> void with_list_view(ControlRef ref, F&& work) {
    with_control(ref, [&](Control& control) {
        if (control.definition().kind == ControlKind::ListView && control.handle())
            work(static_cast<ListView&>(control));
    });
}

} // namespace

Text list_column_widths(ControlRef list) {
    Text widths;
    with_list_view(list, [&](ListView& view) { widths = number_list_text(view.column_widths()); });
    return widths;
}

void set_list_column_widths(ControlRef list, const char* widths) {
    with_list_view(list, [&](ListView& view) {
        std::vector<int> numbers;
        if (!parse_number_list(widths, view.column_count(), numbers)) return;
        // A negative width asks the control to size the column itself; a huge one hides the rest.
        for (int width : numbers)
            if (width < 0 || width > kWidestColumn) return;
        view.set_column_widths(numbers);
    });
}

Text window_placement(uint32_t window_id) {
    Text placement;
    on_loaded_window_thread(window_id, [&](HWND window) {
        WINDOWPLACEMENT p{};
        p.length = sizeof p;
        if (!GetWindowPlacement(window, &p)) return;
        const bool maximised = p.showCmd == SW_SHOWMAXIMIZED || (p.flags & WPF_RESTORETOMAXIMIZED);
        const RECT& r = p.rcNormalPosition;
        placement = number_list_text({maximised ? 1 : 0, r.left, r.top, r.right, r.bottom});
    });
    return placement;
}

bool restore_window_placement(uint32_t window_id, const char* placement) {
    std::vector<int> n;
    if (!parse_number_list(placement, 5, n) || n[0] < 0 || n[0] > 1) return false;
    bool restored = false;
    on_loaded_window_thread(window_id, [&](HWND window) {
        LoadedWindow* loaded = loaded_window_of(window);
        if (!loaded) return;
        const SIZE least = window_size_for_dpi(loaded->definition, window, loaded->dpi);
        RECT r{n[1], n[2], std::max(n[3], n[1] + static_cast<int>(least.cx)),
               std::max(n[4], n[2] + static_cast<int>(least.cy))};
        // A monitor unplugged since, or another screen layout: the window stays centred.
        if (n[3] <= n[1] || n[4] <= n[2] || !MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) return;
        WINDOWPLACEMENT p{};
        p.length = sizeof p;
        GetWindowPlacement(window, &p);
        p.flags = 0;
        p.showCmd = n[0] ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        p.rcNormalPosition = r;
        restored = SetWindowPlacement(window, &p) != 0;
    });
    return restored;
}

} // namespace brindor
