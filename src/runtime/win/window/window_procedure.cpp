#include "runtime/win/window/window_procedure.h"

#include <shellapi.h>

#include <algorithm>

#include "runtime/win/dialog_ops.h"
#include "runtime/win/program.h"
#include "runtime/win/window/program_window.h"
#include "runtime/win/window/window_commands.h"
#include "runtime/win/window/window_copy_data.h"
#include "runtime/win/window/window_dpi.h"
#include "runtime/win/text_boundary.h"
#include "runtime/win/window/window_registry.h"

namespace brindor {

namespace {

constexpr UINT kRaiseBoxes = WM_APP + 0x4E3;
constexpr UINT_PTR kRaiseBoxesTimer = 0x4E3;
constexpr UINT kRaiseBoxesAgainMs = 250;

void destroying(HWND window, LoadedWindow& loaded) {
    if (loaded.complete && loaded.definition.on_destroying) loaded.definition.on_destroying();
    enable_windows_disabled_by(window);
    for (auto& control : loaded.controls)
        control->close();
    if (loaded.complete) {
        forget_loaded_window(loaded.definition.window_id);
        window_closed(window);
    }
}

void take_dropped_files(const WindowDefinition& definition, HDROP drop) {
    FileNames files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        const UINT length = DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size()));
        files.push_back(file_name_of(path.c_str(), length));
    }
    DragFinish(drop);
    if (definition.on_files_dropped && count > 0) definition.on_files_dropped(files);
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    LoadedWindow* loaded = loaded_window_of(window);
    if (!loaded) return DefWindowProcW(window, message, wparam, lparam);
    switch (message) {
    case kRunOnWindowThread:
        run_window_work(lparam);
        return 0;
    case WM_COMMAND:
        // Controls tell of their first text while the window is still being built: nobody listens yet.
        if (!loaded->complete) return 0;
        if (Control* c = loaded->find(reinterpret_cast<HWND>(lparam))) c->on_command(HIWORD(wparam));
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lparam);
        if (Control* c = loaded->find(header->hwndFrom)) return c->on_notify(header);
        break;
    }
    case WM_SYSCOMMAND:
        if (run_system_menu_item(*loaded, wparam)) return 0;
        break;
    case WM_INITMENUPOPUP:
        if (HIWORD(lparam)) check_system_menu_items(*loaded, reinterpret_cast<HMENU>(wparam));
        break;
    case WM_COPYDATA:
        return take_copy_data(*loaded, reinterpret_cast<const COPYDATASTRUCT*>(lparam));
    case kCopyDataTaken:
        hand_over_copy_data(*loaded);
        return 0;
    case WM_CLIPBOARDUPDATE:
        if (loaded->complete && loaded->definition.on_clipboard_changed)
            loaded->definition.on_clipboard_changed();
        return 0;
    case WM_DROPFILES:
        take_dropped_files(loaded->definition, reinterpret_cast<HDROP>(wparam));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        if (Control* c = loaded->find(reinterpret_cast<HWND>(lparam)))
            if (HBRUSH brush = c->on_color(reinterpret_cast<HDC>(wparam)))
                return reinterpret_cast<LRESULT>(brush);
        break;
    case kRaiseBoxes:
        raise_boxes_in_front();
        return 0;
    case WM_PARENTNOTIFY:
        // A click anywhere in the window, a list included, must not leave a box behind it.
        if (LOWORD(wparam) == WM_LBUTTONDOWN || LOWORD(wparam) == WM_RBUTTONDOWN)
            PostMessageW(window, kRaiseBoxes, 0, 0);
        break;
    case WM_TIMER:
        if (wparam != kRaiseBoxesTimer) break;
        KillTimer(window, kRaiseBoxesTimer);
        raise_boxes_in_front();
        return 0;
    case WM_ACTIVATE:
        // Once the activation is over, or the window would come above the boxes again; and once
        // more a moment later, for a system that finishes placing the window after that.
        if (LOWORD(wparam) != WA_INACTIVE) {
            PostMessageW(window, kRaiseBoxes, 0, 0);
            SetTimer(window, kRaiseBoxesTimer, kRaiseBoxesAgainMs, nullptr);
        }
        if (LOWORD(wparam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window, focus)) loaded->last_focus = focus;
        } else if (loaded->last_focus && IsWindow(loaded->last_focus) && !HIWORD(wparam)) {
            SetFocus(loaded->last_focus);
            return 0;
        }
        break;
    case WM_GETMINMAXINFO:
        if (loaded->definition.resizable) {
            const SIZE least = window_size_for_dpi(loaded->definition, window, loaded->dpi);
            auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
            limits->ptMinTrackSize = {least.cx, least.cy};
            // A screen smaller than the window at its DPI must not squeeze it below its design.
            limits->ptMaxTrackSize.x = std::max(limits->ptMaxTrackSize.x, least.cx);
            limits->ptMaxTrackSize.y = std::max(limits->ptMaxTrackSize.y, least.cy);
            return 0;
        }
        break;
    case WM_SIZE:
        lay_out_window(*loaded);
        if (wparam != SIZE_MINIMIZED && (wparam == SIZE_MAXIMIZED) != loaded->maximized) {
            loaded->maximized = wparam == SIZE_MAXIMIZED;
            if (loaded->complete && loaded->definition.on_placed) loaded->definition.on_placed();
        }
        break;
    case WM_EXITSIZEMOVE:
        if (loaded->complete && loaded->definition.on_placed) loaded->definition.on_placed();
        break;
    case WM_DPICHANGED:
        rescale_window(*loaded, LOWORD(wparam), reinterpret_cast<const RECT*>(lparam));
        return 0;
    case WM_QUERYENDSESSION:
        if (loaded->complete && loaded->definition.on_session_ending) loaded->definition.on_session_ending();
        return TRUE;
    case WM_CLOSE:
        if (loaded->complete && loaded->definition.on_close_asked && !loaded->definition.on_close_asked())
            return 0;
        // The owner must be enabled before this window goes, or the activation leaves the program.
        enable_windows_disabled_by(window);
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        destroying(window, *loaded);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete loaded;
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// The program's own icon (resource 1) at the given size, or the system's default.
HICON program_icon(int size) {
    HANDLE icon =
        LoadImageW(program_instance(), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR);
    return icon ? static_cast<HICON>(icon) : LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
}

} // namespace

const wchar_t* program_window_class() {
    static const wchar_t* name = [] {
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        cls.lpfnWndProc = procedure;
        cls.hInstance = program_instance();
        cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        cls.hIcon = program_icon(GetSystemMetrics(SM_CXICON));
        cls.hIconSm = program_icon(GetSystemMetrics(SM_CXSMICON));
        cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        cls.lpszClassName = kProgramWindowClass;
        RegisterClassExW(&cls);
        return cls.lpszClassName;
    }();
    return name;
}

namespace {

BOOL CALLBACK find_visible_dialog(HWND window, LPARAM found) {
    if (!IsWindowVisible(window) || !is_dialog_box(window)) return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

} // namespace

bool is_dialog_box(HWND window) {
    wchar_t kind[8] = L"";
    return GetClassNameW(window, kind, 8) && lstrcmpW(kind, L"#32770") == 0;
}

void enable_windows_nothing_holds() {
    const std::vector<HWND> windows = loaded_window_handles();
    for (HWND window : windows)
        if (LoadedWindow* loaded = loaded_window_of(window); loaded && !loaded->disabled_while_modal.empty())
            return;
    bool dialog_open = false;
    EnumThreadWindows(GetCurrentThreadId(), find_visible_dialog, reinterpret_cast<LPARAM>(&dialog_open));
    if (dialog_open) return;
    for (HWND window : windows)
        if (!IsWindowEnabled(window)) EnableWindow(window, TRUE);
}

void enable_windows_disabled_by(HWND modal_window) {
    LoadedWindow* loaded = loaded_window_of(modal_window);
    if (!loaded) return;
    for (HWND other : loaded->disabled_while_modal)
        if (IsWindow(other)) EnableWindow(other, TRUE);
    loaded->disabled_while_modal.clear();
}

} // namespace brindor
