#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "runtime/core/runtime_error.h"
#include "runtime/win/program.h"
#include "runtime/win/text_boundary.h"
#include "runtime/win/window/control_kinds.h"
#include "runtime/win/window/program_window.h"
#include "runtime/win/window/window_commands.h"
#include "runtime/win/window/window_dpi.h"
#include "runtime/win/window/window_procedure.h"
#include "runtime/win/window/window_registry.h"

namespace brindor {

namespace {

void initialize_common_controls() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                 ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

DWORD window_style(const WindowDefinition& d) {
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (d.minimize_box) style |= WS_MINIMIZEBOX;
    if (d.maximize_box) style |= WS_MAXIMIZEBOX;
    if (d.resizable) style |= WS_THICKFRAME;
    return style;
}

void disable_other_windows(LoadedWindow& modal) {
    for (HWND other : loaded_window_handles())
        if (other != modal.handle && IsWindowEnabled(other)) {
            EnableWindow(other, FALSE);
            modal.disabled_while_modal.push_back(other);
        }
}

// Esc closes a window that asks for it like its close box, wherever the focus is inside it (an
// embedded browser would otherwise take the key), so this runs ahead of the other key hooks.
bool escape_closes_window(MSG* msg) {
    if (msg->message != WM_KEYDOWN || msg->wParam != VK_ESCAPE) return false;
    HWND top = GetAncestor(msg->hwnd, GA_ROOT);
    if (!is_program_window(top)) return false;
    LoadedWindow* loaded = loaded_window_of(top);
    if (!loaded || !loaded->definition.close_on_escape || !IsWindowEnabled(top)) return false;
    PostMessageW(top, WM_CLOSE, 0, 0);
    return true;
}

// Ctrl+V arrives as the character 0x16 at whichever control has the focus; an edit box pastes
// into itself, anywhere else the window takes it.
bool paste_reaches_window(MSG* msg) {
    if (msg->message != WM_CHAR || msg->wParam != 0x16) return false;
    HWND top = GetAncestor(msg->hwnd, GA_ROOT);
    if (!is_program_window(top)) return false;
    LoadedWindow* loaded = loaded_window_of(top);
    if (!loaded || !loaded->definition.on_paste || !IsWindowEnabled(top)) return false;
    wchar_t kind[8] = L"";
    if (GetClassNameW(msg->hwnd, kind, 8) && lstrcmpiW(kind, L"Edit") == 0) return false;
    loaded->definition.on_paste();
    return true;
}

constexpr int kWidestTip = 400;

void add_tips(const LoadedWindow& loaded) {
    HWND tips = nullptr;
    for (const auto& control : loaded.controls) {
        const char* tip = control->definition().tip;
        if (!tip || !*tip || !control->handle()) continue;
        if (!tips)
            tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, loaded.handle, nullptr, program_instance(),
                                   nullptr); // owned: it goes with the window
        if (!tips) return;
        // Wider tips wrap instead of running off the screen; the short ones stay one line.
        SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, kWidestTip);
        std::wstring text = to_wide(tip);
        TTTOOLINFOW info{};
        info.cbSize = TTTOOLINFOW_V2_SIZE;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = loaded.handle;
        info.uId = reinterpret_cast<UINT_PTR>(control->handle());
        info.lpszText = text.data();
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void give_initial_focus(const LoadedWindow& loaded) {
    uint32_t id = loaded.definition.initial_focus;
    Control* control = id ? loaded.find(id) : nullptr;
    if (control && control->handle() && IsWindowEnabled(control->handle())) SetFocus(control->handle());
}

// Null when the window or one of its controls cannot be created.
LoadedWindow* create_window(const WindowDefinition& d, HWND owner) {
    initialize_common_controls();
    static const bool key_hooks =
        (add_pretranslate_hook(run_window_shortcut, true), add_pretranslate_hook(escape_closes_window, true),
         add_pretranslate_hook(paste_reaches_window, true), true);
    (void)key_hooks;
    int left = (GetSystemMetrics(SM_CXSCREEN) - d.width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - d.height) / 2;
    std::wstring caption = to_wide(d.caption);
    HWND window = CreateWindowExW(0, program_window_class(), caption.c_str(), window_style(d), left, top,
                                  d.width, d.height, owner, nullptr, program_instance(), nullptr);
    if (!window) return nullptr;
    auto* loaded = new LoadedWindow(d); // owned by the window from here, freed on WM_NCDESTROY
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(loaded));
    loaded->handle = window;
    for (int i = 0; i < d.control_count; ++i) {
        loaded->controls.push_back(make_control(d.controls[i]));
        if (!loaded->controls.back()->create(window)) {
            DestroyWindow(window);
            return nullptr;
        }
    }
    add_tips(*loaded);
    add_system_menu_items(*loaded);
    fit_new_window_to_dpi(*loaded);
    if (d.on_files_dropped) DragAcceptFiles(window, TRUE);
    remember_loaded_window(d.window_id, window);
    window_opened(window);
    loaded->complete = true;
    lay_out_window(*loaded); // a sizing frame leaves the controls a little less room
    return loaded;
}

} // namespace

bool load_window(uint32_t window_id, HWND parent, bool modal) {
    if (HWND open = loaded_window_handle(window_id)) {
        bring_to_front(open);
        return true;
    }
    const WindowDefinition* definition = find_window_definition(window_id);
    if (!definition) return false;
    HWND owner = parent ? parent : modal ? GetActiveWindow() : nullptr;
    LoadedWindow* loaded = create_window(*definition, owner);
    if (!loaded) return false;
    HWND window = loaded->handle;
    if (modal) disable_other_windows(*loaded);
    if (definition->on_showing) definition->on_showing();
    if (!IsWindow(window)) return true;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    if (definition->on_created) definition->on_created();
    if (IsWindow(window)) give_initial_focus(*loaded);
    if (modal) run_modal_loop(window);
    return true;
}

void close_window(uint32_t window_id) {
    if (HWND window = loaded_window_handle(window_id)) PostMessageW(window, WM_CLOSE, 0, 0);
}

void load_start_window(uint32_t window_id) {
    if (!load_window(window_id)) report_runtime_error_text("载入启动窗口失败");
}

std::unique_ptr<Control> make_control(const ControlDefinition& d) {
    switch (d.kind) {
    case ControlKind::Label:
        return make_label(d);
    case ControlKind::Button:
        return make_button(d);
    case ControlKind::EditBox:
        return make_edit_box(d);
    case ControlKind::ProcessBar:
        return make_process_bar(d);
    case ControlKind::ListView:
        return make_list_view(d);
    case ControlKind::CommonDlg:
        return make_common_dlg(d);
    case ControlKind::HtmlViewer:
        return make_html_viewer(d);
    }
    return make_label(d);
}

} // namespace brindor
