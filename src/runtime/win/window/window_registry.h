// The program's window definitions and the windows loaded from them.
#pragma once
#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "runtime/win/window/control.h"
#include "runtime/win/window/control_access.h"
#include "runtime/win/window/window_text.h"

namespace brindor {

// A window built from its definition. Owned by its window handle; used on its own thread only.
struct LoadedWindow {
    explicit LoadedWindow(const WindowDefinition& d) : definition(d) {}
    const WindowDefinition& definition;
    HWND handle = nullptr;
    bool complete = false; // every control created and the window registered
    std::vector<std::unique_ptr<Control>> controls;
    std::vector<HWND> disabled_while_modal;
    HWND last_focus = nullptr;           // given back when the window is activated again
    HWND focus_while_disabled = nullptr; // had the focus when disabled; gets it back when enabled
    int dpi = 96;                        // the DPI its controls are laid out for
    bool maximized = false;              // as of its last WM_SIZE
    std::unique_ptr<GdiFont> gui_font;   // the default font at `dpi`; null: the stock font
    std::deque<std::u16string> copied;   // WM_COPYDATA taken, not yet handed to the application
    size_t copied_bytes = 0;             // in `copied`

    Control* find(uint32_t control_id) const;
    Control* find(HWND control) const;
};

LoadedWindow* loaded_window_of(HWND window);

// Any thread.
void remember_loaded_window(uint32_t window_id, HWND window);
void forget_loaded_window(uint32_t window_id);
std::vector<HWND> loaded_window_handles();
// The window's handle; a window that is not loaded is the runtime error, except while the program
// ends (no window left), when it is null.
HWND require_loaded_window(uint32_t window_id);

// Runs `work` on the thread that owns `window`, waiting for it.
void run_on_window_thread(HWND window, void (*work)(void*), void* argument);
template <class F> void on_window_thread(HWND window, F&& work) {
    run_on_window_thread(
        window, [](void* f) { (*static_cast<F*>(f))(); }, &work);
}

// Runs `work(window)` on the thread of the loaded window `window_id`, waiting for it; nothing when
// the window is not loaded (closed, or the program ending).
template <class F> void on_loaded_window_thread(uint32_t window_id, F&& work) {
    if (HWND window = loaded_window_handle(window_id)) on_window_thread(window, [&] { work(window); });
}

// Runs `work(control)` on the control's window thread; nothing for an unknown control. A window
// that is not loaded is the runtime error, except while the program ends.
template <class F> void with_control(ControlRef ref, F&& work) {
    HWND window = require_loaded_window(ref.window_id);
    if (!window) return;
    on_window_thread(window, [&] {
        if (LoadedWindow* loaded = loaded_window_of(window))
            if (Control* control = loaded->find(ref.control_id)) work(*control);
    });
}

// The message that carries run_on_window_thread's work to the window procedure.
constexpr UINT kRunOnWindowThread = WM_APP + 0x4E1;
// The window procedure's side of kRunOnWindowThread.
void run_window_work(LPARAM item);

} // namespace brindor
