// A handler called again and again on a window's thread, from its message loop (modal loops
// included).
#pragma once
#include <windows.h>

#include <cstdint>

namespace brindor {

// Every `interval_ms` until stopped; starting a running timer again restarts it. `id` is the
// caller's, one handler per id.
void start_window_timer(HWND window, uintptr_t id, unsigned interval_ms, void (*on_tick)());
void stop_window_timer(HWND window, uintptr_t id);

} // namespace brindor
