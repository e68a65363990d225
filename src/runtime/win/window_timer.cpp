#include "runtime/win/window_timer.h"

#include <map>

namespace brindor {

namespace {

// The window thread's own: timers are started, stopped and called there.
std::map<uintptr_t, void (*)()>& handlers() {
    static std::map<uintptr_t, void (*)()> by_id;
    return by_id;
}

void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD) {
    // The handler may stop or restart its own timer.
    const auto found = handlers().find(id);
    if (found == handlers().end()) return;
    const auto handler = found->second;
    handler();
}

} // namespace

void start_window_timer(HWND window, uintptr_t id, unsigned interval_ms, void (*on_tick)()) {
    handlers()[id] = on_tick;
    SetTimer(window, id, interval_ms, tick);
}

void stop_window_timer(HWND window, uintptr_t id) {
    KillTimer(window, id);
    handlers().erase(id);
}

} // namespace brindor
