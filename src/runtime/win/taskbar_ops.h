// What the taskbar and the power manager show of a long piece of work. Any thread: each operation
// is one trip to the window's thread. A window that is not loaded is quiet, as is a system without
// taskbar progress (before Windows 7).
#pragma once
#include <cstdint>

namespace brindor {

enum class TaskbarProgress { Normal, Error, Paused };

// The window's taskbar button shows position of maximum (clamped), in the state's colour.
void show_taskbar_progress(uint32_t window_id, int position, int maximum, TaskbarProgress state);
void clear_taskbar_progress(uint32_t window_id);
// Flashes the taskbar button until the window comes to the front; true when it flashed, false
// when the window already is in front.
bool flash_unless_in_front(uint32_t window_id);
// While on, the system does not go to sleep for want of input (the display may still turn off).
void keep_system_awake(bool on);

} // namespace brindor
