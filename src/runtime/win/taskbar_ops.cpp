#include "runtime/win/taskbar_ops.h"

#include <windows.h>
#include <shobjidl.h>

#include <algorithm>

#include "runtime/win/com_ptr.h"
#include "runtime/win/program.h"
#include "runtime/win/window/window_registry.h"

namespace brindor {

namespace {

// The taskbar object of the window thread, made on first use and let go when the program ends.
ITaskbarList3* taskbar() {
    static ComPtr<ITaskbarList3> list;
    static const bool made = [] {
        // A thread that already has COM keeps its own; this start is balanced at the end.
        bool com = SUCCEEDED(CoInitialize(nullptr));
        if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                       reinterpret_cast<void**>(list.put()))) &&
            FAILED(list->HrInit()))
            list.reset();
        add_shutdown_hook([] { list.reset(); });
        if (com) add_shutdown_hook([] { CoUninitialize(); });
        return true;
    }();
    (void)made;
    return list.get();
}

} // namespace

void show_taskbar_progress(uint32_t window_id, int position, int maximum, TaskbarProgress state) {
    on_loaded_window_thread(window_id, [&](HWND window) {
        ITaskbarList3* list = taskbar();
        if (!list) return;
        ULONGLONG total = static_cast<ULONGLONG>(std::max(maximum, 0));
        ULONGLONG done = std::min(static_cast<ULONGLONG>(std::max(position, 0)), total);
        const TBPFLAG flag = state == TaskbarProgress::Error    ? TBPF_ERROR
                             : state == TaskbarProgress::Paused ? TBPF_PAUSED
                                                                : TBPF_NORMAL;
        list->SetProgressState(window, flag);
        list->SetProgressValue(window, done, total);
    });
}

void clear_taskbar_progress(uint32_t window_id) {
    on_loaded_window_thread(window_id, [](HWND window) {
        if (ITaskbarList3* list = taskbar()) list->SetProgressState(window, TBPF_NOPROGRESS);
    });
}

bool flash_unless_in_front(uint32_t window_id) {
    bool flashed = false;
    on_loaded_window_thread(window_id, [&](HWND window) {
        if (GetForegroundWindow() == window) return;
        FLASHWINFO flash{sizeof flash, window, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
        FlashWindowEx(&flash);
        flashed = true;
    });
    return flashed;
}

void keep_system_awake(bool on) {
    // The setting belongs to the thread that makes it; the main thread outlives any piece of work.
    EXECUTION_STATE state = ES_CONTINUOUS | (on ? ES_SYSTEM_REQUIRED : 0);
    if (HWND hidden = hidden_main_window())
        on_window_thread(hidden, [state] { SetThreadExecutionState(state); });
    else
        SetThreadExecutionState(state);
}

} // namespace brindor
