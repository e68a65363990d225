// Start-up, the message loop and the end of the program.
#pragma once
#include <windows.h>

namespace brindor {

using EndRoutine = void (*)();
using IdleCallback = void (*)(void* argument);

void initialize_runtime();
void register_end_routine(EndRoutine routine);

// Runs until the last window of the program is gone (or a quit message arrives).
void run_message_loop();
// The nested loop of a modal window: returns when `window` no longer exists.
void run_modal_loop(HWND window);
void add_idle_callback(HWND window, IdleCallback callback, void* argument);
// The framework's handling of a message before dispatch (dialog keys such as Tab); true when
// the message has been handled and must not be dispatched.
bool pretranslate_message(MSG* msg);
// A control kind that handles its own keys (an embedded browser) looks at each message first;
// true when it has handled the message. A hook `ahead` of the others sees the message before them.
void add_pretranslate_hook(bool (*hook)(MSG* msg), bool ahead = false);

// The end-of-program sequence, then the end of the process. From a thread other than the main
// one it hands the request to the main thread and ends the process directly.
[[noreturn]] void end_program(int exit_code);
// After a runtime error: the same without the end routine.
[[noreturn]] void end_program_after_error();

bool on_main_thread();
bool program_is_ending();
HWND hidden_main_window();
HINSTANCE program_instance();

// The window framework tells the runtime which top-level windows belong to the program.
void window_opened(HWND window);
void window_closed(HWND window);
int open_window_count();

// Hooks the end sequence runs after destroying the windows (libraries release their resources).
void add_shutdown_hook(void (*hook)());

} // namespace brindor
